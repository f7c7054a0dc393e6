#!/usr/bin/env bash
# Fails when a file under src/ makes or destroys a GDI object, icon, image list, menu or window
# with a raw platform call instead of the counted one of src/toolkit/live_handles.h (tk::live::),
# so that the soak's live-handle counts miss nothing. Prints each offending line.
# Usage: check-live-handles.sh [source folder]   (default: the src folder of this checkout)
set -euo pipefail
src="${1:-$(cd "$(dirname "$0")/../.." && pwd)/src}"

# Every platform function that makes or destroys such a handle, whether the program uses it
# today or not: a new use must go through a counted wrapper (add one when needed).
made='Create(Bitmap|BitmapIndirect|CompatibleBitmap|DIBitmap|DIBSection|DiscardableBitmap'
made+='|SolidBrush|PatternBrush|HatchBrush|BrushIndirect|DIBPatternBrush|DIBPatternBrushPt'
made+='|Pen|PenIndirect|Font|FontA|FontW|FontIndirect|FontIndirectA|FontIndirectW'
made+='|FontIndirectExA|FontIndirectExW|Palette|HalftonePalette|RectRgn|RectRgnIndirect'
made+='|RoundRectRgn|EllipticRgn|EllipticRgnIndirect|PolygonRgn|PolyPolygonRgn|CompatibleDC'
made+='|DC|DCA|DCW|IC|ICA|ICW|Icon|IconIndirect|IconFromResource|IconFromResourceEx|Cursor'
made+='|Menu|PopupMenu|AcceleratorTable|AcceleratorTableA|AcceleratorTableW|Window|WindowA'
made+='|WindowW|WindowEx|WindowExA|WindowExW|Dialog|DialogA|DialogW|DialogParam|DialogParamA'
made+='|DialogParamW|DialogIndirect|DialogIndirectParam|DialogIndirectParamA|DialogIndirectParamW)'
made+='|ExtCreatePen|ExtCreateRegion|CopyIcon|CopyCursor|CopyImage|LoadImage|LoadImageA'
made+='|LoadImageW|LoadBitmap|LoadBitmapA|LoadBitmapW|LoadMenu|LoadMenuA|LoadMenuW|GetIconInfo'
made+='|GetIconInfoEx|GetIconInfoExA|GetIconInfoExW|ImageList_(Create|Duplicate|Merge|Read'
made+='|LoadImage|LoadImageA|LoadImageW|LoadBitmap|GetIcon|ExtractIcon|Destroy)'
gone='DeleteObject|DeleteDC|DestroyIcon|DestroyCursor|DestroyMenu|DestroyWindow'
gone+='|DestroyAcceleratorTable'

# A call: the name not preceded by a letter, digit, '_', '.', '>' (a member) or '::' (a
# qualified name: tk::live:: wrappers and the program's own classes), nor by 'void ' (a
# declaration of a method of the same name). The PNG image's own one-argument CopyImage is no
# platform call.
pattern="(?<![\\w.>:])(?<!void )\\b(${made}|${gone})\\s*\\("
found=$(grep -rnP --include='*.cpp' --include='*.h' "$pattern" "$src" |
        grep -v '^[^:]*/toolkit/live_handles\.h:' |
        grep -vP '^[^:]+:[0-9]+:\s*//' |
        grep -vP '(?<![\w.>:])CopyImage\(\*?\w+\);' || true)
if [ -n "$found" ]; then
    echo "Raw handle calls outside src/toolkit/live_handles.h (use tk::live:: instead):"
    echo "$found"
    exit 1
fi
echo "No raw handle calls in $src"

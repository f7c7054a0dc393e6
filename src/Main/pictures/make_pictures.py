#!/usr/bin/env python3
"""Makes the start centre's pictures from the Tango icon theme (public domain).

Needs tango-icon-theme and librsvg2-bin (rsvg-convert); the PNG files it writes are committed,
so the build needs neither. Each picture is a Tango icon, optionally with a second one laid
over its lower right corner, rendered as an 8-bit RGBA PNG at its design size ("name.png") and
again from the scalable sources at 1.5 and 2 times that size ("name-150.png", "name-200.png")
for screens of 144 and 192 DPI.

    python3 make_pictures.py [output folder]
"""
import base64
import subprocess
import sys
from pathlib import Path

TANGO = Path("/usr/share/icons/Tango/scalable")
HERE = Path(__file__).resolve().parent

# A green tick for the OK button, drawn in the theme's manner (Tango has none).
TICK_SVG = """<svg xmlns="http://www.w3.org/2000/svg" width="48" height="48" viewBox="0 0 48 48">
<defs><linearGradient id="g" x1="0" y1="0" x2="0" y2="1">
<stop offset="0" stop-color="#8ae234"/><stop offset="1" stop-color="#4e9a06"/></linearGradient></defs>
<path d="M6 26 L18 38 L42 10 L36 6 L18 28 L12 20 Z" fill="url(#g)" stroke="#2e5c06"
 stroke-width="2.5" stroke-linejoin="round"/>
<path d="M9.5 25.5 L18 34 L37.5 10.5" fill="none" stroke="#ffffff" stroke-opacity="0.45"
 stroke-width="1.5" stroke-linejoin="round" stroke-linecap="round"/>
</svg>"""

# The scales made besides the design size, in per cent, and the file name suffix of each.
SCALES = {150: "-150", 200: "-200"}

# file name: (design size, base icon, overlay icon or None)
PICTURES = {
    "category-data.png": (48, "devices/media-optical", "places/folder"),
    "category-music.png": (48, "devices/media-optical", "mimetypes/audio-x-generic"),
    "category-video.png": (48, "devices/media-optical", "categories/applications-multimedia"),
    "category-tools.png": (48, "categories/preferences-system", "devices/media-optical"),
    "task-rip.png": (48, "devices/drive-optical", "mimetypes/audio-x-generic"),
    "task-erase.png": (48, "devices/media-optical", "actions/edit-clear"),
    "task-device-info.png": (48, "devices/drive-optical", "status/dialog-information"),
    "task-image-write.png": (48, "devices/media-optical", "actions/media-record"),
    "task-image-read.png": (48, "devices/media-optical", "actions/document-save"),
    "button-help.png": (32, "apps/help-browser", None),
    "button-ok.png": (32, "tick", None),
}


def render(icon, size):
    if icon == "tick":
        args, data = ["rsvg-convert", "-w", str(size), "-h", str(size)], TICK_SVG.encode()
    else:
        args, data = ["rsvg-convert", "-w", str(size), "-h", str(size), str(TANGO / (icon + ".svg"))], None
    return subprocess.run(args, input=data, capture_output=True, check=True).stdout


def compose(size, base, overlay):
    if overlay is None:
        return render(base, size)
    small = size * 7 // 12  # 28 of 48
    layers = [(0, 0, size, render(base, size)), (size - small, size - small, small, render(overlay, small))]
    svg = f'<svg xmlns="http://www.w3.org/2000/svg" width="{size}" height="{size}">'
    for x, y, s, png in layers:
        b64 = base64.b64encode(png).decode()
        svg += f'<image x="{x}" y="{y}" width="{s}" height="{s}" href="data:image/png;base64,{b64}"/>'
    svg += "</svg>"
    return subprocess.run(["rsvg-convert"], input=svg.encode(), capture_output=True, check=True).stdout


def main():
    out = Path(sys.argv[1]) if len(sys.argv) > 1 else HERE
    out.mkdir(parents=True, exist_ok=True)
    for name, (size, base, overlay) in PICTURES.items():
        (out / name).write_bytes(compose(size, base, overlay))
        stem = name[: -len(".png")]
        for percent, suffix in SCALES.items():
            scaled = size * percent // 100
            (out / (stem + suffix + ".png")).write_bytes(compose(scaled, base, overlay))


if __name__ == "__main__":
    main()

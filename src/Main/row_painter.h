#pragma once
// Painting of the category and task rows of the main window's owner-drawn lists, as an ordered
// list of drawing operations that the window replays on its canvas.

#include "graphics/colour.h"
#include "graphics/rect.h"

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

namespace sc {

inline constexpr unsigned odSelected = 0x1, odFocused = 0x10;

struct Point {
    std::int32_t x = 0, y = 0;
    bool operator==(const Point&) const = default;
};
struct Size {
    std::int32_t cx = 0, cy = 0;
    bool operator==(const Size&) const = default;
};

enum class FontStyle { regular, bold };
enum class ImageListId { main, data };

// Fill `rect` with a solid colour (the brush colour at that moment).
struct FillOp {
    Rect rect;
    Colour colour;
    bool operator==(const FillOp&) const = default;
};
// The dotted focus rectangle along the border of `rect`, drawn by inverting pixels.
struct FocusOp {
    Rect rect;
    bool operator==(const FocusOp&) const = default;
};
// Picture `index` of an image list, enabled, top-left at `at`, blended with its alpha.
struct ImageOp {
    ImageListId list;
    int index;
    Point at;
    bool operator==(const ImageOp&) const = default;
};
// Text at `at` in `colour` and `style`, on an opaque background of `background` (the brush
// colour then).
struct TextOp {
    Point at;
    std::string text;
    Colour colour;
    Colour background;
    FontStyle style;
    bool operator==(const TextOp&) const = default;
};

using DrawOp = std::variant<FillOp, FocusOp, ImageOp, TextOp>;
using DrawOps = std::vector<DrawOp>;

struct CategoryRowInput {
    Rect rect;
    int index;
    unsigned state;
    int outerWidth; // the list's width with its borders
    int rowHeight;
    Size imageSize;
    std::string_view text;
    Size textSize; // of text, regular
    int dpi = 96;  // the form's: the painter's offsets are 96-DPI figures
    // A contrast theme is on: the system colours in place of the fixed ones, and no focus
    // rectangle of the row's own beside the list's, so that the focused row shows one.
    bool highContrast = false;
};

struct TaskRowInput {
    Rect rect;
    int index;
    unsigned state;
    int selectedCategory; // selected row of the category list, -1 for none
    std::string_view textBlock;
    int dpi = 96;
    bool highContrast = false; // as for category rows
};

DrawOps paintCategoryRow(const CategoryRowInput& row); // ListBoxMainDrawItem's painting
DrawOps paintTaskRow(const TaskRowInput& row);         // ListBoxDataDrawItem's painting

// The four lines of a task text block: title and three description lines, taken one after
// another up to a carriage return; the fourth line is whatever remains.
std::array<std::string, 4> splitTaskLines(std::string_view block);

// A task row as screen readers get it: the title as its name, and the three description lines,
// which break sentences where the row has no room, as one text without line breaks.
struct TaskRowSpeech {
    std::string name, description;
};
TaskRowSpeech taskRowSpeech(std::string_view block);

// In 96-DPI pixels; the lists scale them to their form's DPI.
inline constexpr int kCategoryRowHeight = 80, kTaskRowHeight = 75;

} // namespace sc

#include "Main/row_painter.h"

#include "catalogue/task_catalogue.h"
#include "graphics/dpi_scale.h"

#include <algorithm>
#include <cstdint>
#include <limits>
#include <utility>

namespace sc {
namespace {

// Layout offsets of a task row, relative to the row rectangle, in 96-DPI pixels.
constexpr std::int32_t kTaskImageX = 25, kTaskImageY = 15;
constexpr std::int32_t kTaskTextX = 100;
constexpr std::array<std::int32_t, 4> kTaskLineY = {5, 25, 40, 55};
// Offsets of a category row's picture and name from the row's vertical centre.
constexpr std::int32_t kCategoryImageLift = 10, kCategoryTextDrop = 25;

// Sums of list coordinates; saturated so that absurd inputs cannot overflow.
std::int32_t clampedSum(std::int64_t value) {
    return static_cast<std::int32_t>(std::clamp<std::int64_t>(
        value, std::numeric_limits<std::int32_t>::min(), std::numeric_limits<std::int32_t>::max()));
}

// Half of (outer - inner), truncated towards zero also when negative.
std::int64_t halfGap(std::int64_t outer, std::int64_t inner) {
    return (outer - inner) / 2;
}

// Appends in place; copying a temporary variant alternative upsets GCC's flow analysis.
template <typename Op> void add(DrawOps& ops, Op op) {
    ops.emplace_back(std::in_place_type<Op>, std::move(op));
}

struct RowColours {
    Colour background;
    Colour text;
};

// White row with black text; a selected row grey with white text and, when it also has the
// focus, a focus rectangle (which the list's own one cancels out). In a contrast theme the
// system's window and highlight colours, and the list's focus rectangle alone.
RowColours paintBackground(DrawOps& ops, const Rect& r, unsigned state, bool highContrast) {
    const RowColours plain =
        highContrast ? RowColours{kWindow, kWindowText} : RowColours{kWhite, kBlack};
    add<FillOp>(ops, {r, plain.background});
    if ((state & odSelected) == 0) {
        return plain;
    }
    if (highContrast) {
        add<FillOp>(ops, {r, kHighlight});
        return {kHighlight, kHighlightText};
    }
    add<FillOp>(ops, {r, kGray});
    if ((state & odFocused) != 0) {
        add<FocusOp>(ops, {r});
    }
    return {kGray, kWhite};
}

} // namespace

DrawOps paintCategoryRow(const CategoryRowInput& row) {
    DrawOps ops;
    const Rect& r = row.rect;
    const RowColours colours = paintBackground(ops, r, row.state, row.highContrast);
    const Point imageAt{clampedSum(r.left + halfGap(row.outerWidth, row.imageSize.cx)),
                        clampedSum(r.top + halfGap(row.rowHeight, row.imageSize.cy) -
                                   tk::scaleToDpi(kCategoryImageLift, row.dpi))};
    add<ImageOp>(ops, {ImageListId::main, row.index, imageAt});
    const Point textAt{clampedSum(r.left + halfGap(row.outerWidth, row.textSize.cx)),
                       clampedSum(r.top + halfGap(row.rowHeight, row.textSize.cy) +
                                  tk::scaleToDpi(kCategoryTextDrop, row.dpi))};
    add<TextOp>(
        ops, {textAt, std::string(row.text), colours.text, colours.background, FontStyle::regular});
    return ops;
}

DrawOps paintTaskRow(const TaskRowInput& row) {
    DrawOps ops;
    const Rect& r = row.rect;
    const int picture = taskImageIndex(row.selectedCategory, row.index);
    const RowColours colours = paintBackground(ops, r, row.state, row.highContrast);
    auto scaled = [&row](std::int32_t design) { return tk::scaleToDpi(design, row.dpi); };
    add<ImageOp>(ops, {ImageListId::data, picture,
                       Point{clampedSum(std::int64_t{r.left} + scaled(kTaskImageX)),
                             clampedSum(std::int64_t{r.top} + scaled(kTaskImageY))}});
    std::array<std::string, 4> lines = splitTaskLines(row.textBlock);
    for (std::size_t i = 0; i < lines.size(); ++i) {
        const Point at{clampedSum(std::int64_t{r.left} + scaled(kTaskTextX)),
                       clampedSum(std::int64_t{r.top} + scaled(kTaskLineY[i]))};
        add<TextOp>(ops, {at, std::move(lines[i]), colours.text, colours.background,
                          i == 0 ? FontStyle::bold : FontStyle::regular});
    }
    return ops;
}

TaskRowSpeech taskRowSpeech(std::string_view block) {
    std::array<std::string, 4> lines = splitTaskLines(block);
    TaskRowSpeech speech{std::move(lines[0]), {}};
    // Words run on over the line ends; blanks and line breaks become single spaces.
    bool blank = false;
    for (std::size_t i = 1; i < lines.size(); ++i) {
        for (char c : lines[i]) {
            if (c == ' ' || c == '\r' || c == '\n' || c == '\t') {
                blank = !speech.description.empty();
                continue;
            }
            if (blank) {
                speech.description += ' ';
                blank = false;
            }
            speech.description += c;
        }
        blank = !speech.description.empty();
    }
    return speech;
}

std::array<std::string, 4> splitTaskLines(std::string_view block) {
    std::array<std::string, 4> lines;
    std::string_view rest = block;
    for (std::size_t i = 0; i < 3; ++i) {
        const std::size_t cr = rest.find('\r');
        // Text without a carriage return yields an empty line.
        const std::string_view line =
            cr == std::string_view::npos ? std::string_view{} : rest.substr(0, cr);
        lines[i] = std::string(line);
        // The rest keeps its last (length - line length - 1) characters: the text after the
        // carriage return, or, without one, all but the first character.
        const std::size_t taken = line.size() + 1;
        rest = taken >= rest.size() ? std::string_view{} : rest.substr(taken);
    }
    lines[3] = std::string(rest);
    return lines;
}

} // namespace sc

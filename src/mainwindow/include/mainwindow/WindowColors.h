#pragma once
// The colours the main window draws besides the palette's own, chosen so
// that text and marks stay readable (a contrast ratio of at least
// kMinContrast) on a light desktop palette and on a dark one. The grids'
// row colours are light in every palette, so what is drawn on them is
// dark; what is drawn on the palette's own colours follows the palette.

#include "app/ColorContrast.h"

#include <QColor>
#include <QPalette>

namespace WindowColors {

// The contrast rules every window shares.
using ColorContrast::Contrast;
using ColorContrast::kMinContrast;
using ColorContrast::kMinGraphicContrast;
using ColorContrast::Luminance;
using ColorContrast::Readable;

// Grid text on a row of the window colour, and on the header row.
[[nodiscard]] QColor GridText(const QPalette& palette);
[[nodiscard]] QColor HeaderText(const QPalette& palette);
// Grid text on a row with a colour of its own.
[[nodiscard]] QColor TextOnRow(const QColor& row);
// Behind the characters of a changed row that differ from its counterpart:
// a stronger tint of the changed rows' colour.
[[nodiscard]] QColor DifferingCharacters();

// The detail pane's characters on the palette's base colour: common ones
// in the text colour, differing ones red.
[[nodiscard]] QColor DetailCommon(const QPalette& palette);
[[nodiscard]] QColor DetailDiffer(const QPalette& palette);
// Selected text: the palette's highlight, its text made readable on it.
[[nodiscard]] QColor SelectedText(const QPalette& palette);

// The row marker's arrow on the picture's background, and the bookmark
// block on a row's background.
[[nodiscard]] QColor MarkerArrow(const QColor& background);
[[nodiscard]] QColor BookmarkBlock(const QColor& row);
// The difference bar's current-row mark on the frame around the bar.
[[nodiscard]] QColor BarMark(const QPalette& palette);
// The mark of the control that has the keyboard focus, drawn on a
// background: the palette's highlight, made to stand out from it.
[[nodiscard]] QColor FocusMark(const QPalette& palette, const QColor& background);

}  // namespace WindowColors

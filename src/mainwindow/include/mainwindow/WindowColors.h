#pragma once
// The colours the main window draws besides the palette's own, chosen so
// that text and marks stay readable (a contrast ratio of at least
// kMinContrast) on a light desktop palette and on a dark one. The grids'
// row colours are light in every palette, so what is drawn on them is
// dark; what is drawn on the palette's own colours follows the palette.

#include <QColor>
#include <QPalette>

namespace WindowColors {

inline constexpr double kMinContrast = 4.5;

// Relative luminance (0 black to 1 white) and the contrast ratio of two
// colours (1 to 21), as the WCAG define them.
[[nodiscard]] double Luminance(const QColor& color);
[[nodiscard]] double Contrast(const QColor& a, const QColor& b);

// `wanted` when it reaches kMinContrast on `background`; otherwise `wanted`
// mixed with black or with white, whichever gets there with less of the
// mix, so that a red stays a darker or a lighter red.
[[nodiscard]] QColor Readable(const QColor& wanted, const QColor& background);

// Grid text on a row of the window colour, and on the header row.
[[nodiscard]] QColor GridText(const QPalette& palette);
[[nodiscard]] QColor HeaderText(const QPalette& palette);
// Grid text on a row with a colour of its own.
[[nodiscard]] QColor TextOnRow(const QColor& row);
// Behind the characters of a changed row that differ from its counterpart:
// a stronger tint of the changed rows' colour.
[[nodiscard]] QColor DifferingCharacters();

// The detail pane shows its lines on white in every palette.
[[nodiscard]] QColor DetailBackground();
[[nodiscard]] QColor DetailCommon();
[[nodiscard]] QColor DetailDiffer();
// Selected text: the palette's highlight, its text made readable on it.
[[nodiscard]] QColor SelectedText(const QPalette& palette);

// The row marker's arrow on the picture's background, and the bookmark
// block on a row's background.
[[nodiscard]] QColor MarkerArrow(const QColor& background);
[[nodiscard]] QColor BookmarkBlock(const QColor& row);
// The difference bar's current-row mark on the frame around the bar.
[[nodiscard]] QColor BarMark(const QPalette& palette);

}  // namespace WindowColors

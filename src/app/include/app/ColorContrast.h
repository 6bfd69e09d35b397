#pragma once
// How readable one colour is on another, and the nearest readable colour,
// as every window of the program draws text and pictures on colours that
// the desktop's palette chooses.

#include <QColor>

namespace ColorContrast {

// The least contrast of text with what it stands on, and of the edges of
// pictures (icons, marks).
inline constexpr double kMinContrast = 4.5;
inline constexpr double kMinGraphicContrast = 3.0;

// Relative luminance (0 black to 1 white) and the contrast ratio of two
// colours (1 to 21), as the WCAG define them.
[[nodiscard]] double Luminance(const QColor& color);
[[nodiscard]] double Contrast(const QColor& a, const QColor& b);

// `wanted` when it reaches minContrast on `background`; otherwise `wanted`
// mixed with black or with white, whichever gets there with less of the
// mix, so that a red stays a darker or a lighter red.
[[nodiscard]] QColor Readable(const QColor& wanted, const QColor& background, double minContrast = kMinContrast);

// The colour `share` (0 to 1) of the way from `from` to `to`.
[[nodiscard]] QColor Mix(const QColor& from, const QColor& to, double share);

}  // namespace ColorContrast

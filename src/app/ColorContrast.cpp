#include "app/ColorContrast.h"

#include <algorithm>
#include <cmath>

namespace ColorContrast {
namespace {

double Linear(int channel)
{
    const double c = channel / 255.0;
    return c <= 0.04045 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4);
}

}  // namespace

QColor Mix(const QColor& from, const QColor& to, double share)
{
    const QColor a = from.toRgb();
    const QColor b = to.toRgb();
    const auto channel = [share](int x, int y) { return static_cast<int>(std::lround(x + (y - x) * share)); };
    return QColor(channel(a.red(), b.red()), channel(a.green(), b.green()), channel(a.blue(), b.blue()));
}

double Luminance(const QColor& color)
{
    const QColor rgb = color.toRgb();
    return 0.2126 * Linear(rgb.red()) + 0.7152 * Linear(rgb.green()) + 0.0722 * Linear(rgb.blue());
}

double Contrast(const QColor& a, const QColor& b)
{
    const double la = Luminance(a);
    const double lb = Luminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

QColor Readable(const QColor& wanted, const QColor& background, double minContrast)
{
    if (Contrast(wanted, background) >= minContrast)
        return wanted.toRgb();
    // Black or white reaches the ratio on any background (one of them has
    // at least 4.58 on the worst grey), so one of the mixes ends there.
    constexpr int kSteps = 64;
    for (int step = 1; step <= kSteps; ++step) {
        const double share = static_cast<double>(step) / kSteps;
        for (const QColor& end : {QColor(Qt::black), QColor(Qt::white)}) {
            const QColor mixed = Mix(wanted, end, share);
            if (Contrast(mixed, background) >= minContrast)
                return mixed;
        }
    }
    return Contrast(Qt::black, background) >= Contrast(Qt::white, background) ? QColor(Qt::black) : QColor(Qt::white);
}

}  // namespace ColorContrast

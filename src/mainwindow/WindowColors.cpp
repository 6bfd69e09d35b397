#include "mainwindow/WindowColors.h"

#include <algorithm>
#include <cmath>

namespace WindowColors {
namespace {

// The red of differences and markers, and the bookmark's blue-green, before
// they are made readable on what they are drawn on.
const QColor kRed(255, 0, 0);
const QColor kBookmark(32, 160, 192);

double Linear(int channel)
{
    const double c = channel / 255.0;
    return c <= 0.04045 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4);
}

QColor Mix(const QColor& from, const QColor& to, double share)
{
    const auto channel = [share](int a, int b) { return static_cast<int>(std::lround(a + (b - a) * share)); };
    return QColor(channel(from.red(), to.red()), channel(from.green(), to.green()), channel(from.blue(), to.blue()));
}

}  // namespace

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

QColor Readable(const QColor& wanted, const QColor& background)
{
    if (Contrast(wanted, background) >= kMinContrast)
        return wanted.toRgb();
    // Black or white reaches the ratio on any background (one of them has
    // at least 4.58 on the worst grey), so one of the mixes ends there.
    constexpr int kSteps = 64;
    for (int step = 1; step <= kSteps; ++step) {
        const double share = static_cast<double>(step) / kSteps;
        for (const QColor& end : {QColor(Qt::black), QColor(Qt::white)}) {
            const QColor mixed = Mix(wanted.toRgb(), end, share);
            if (Contrast(mixed, background) >= kMinContrast)
                return mixed;
        }
    }
    return Contrast(Qt::black, background) >= Contrast(Qt::white, background) ? QColor(Qt::black) : QColor(Qt::white);
}

QColor GridText(const QPalette& palette)
{
    return Readable(palette.color(QPalette::Text), palette.color(QPalette::Base));
}

QColor HeaderText(const QPalette& palette)
{
    return Readable(palette.color(QPalette::ButtonText), palette.color(QPalette::Button));
}

QColor TextOnRow(const QColor& row)
{
    return Readable(Qt::black, row);
}

QColor DifferingCharacters()
{
    return QColor(178, 178, 255);
}

QColor DetailBackground()
{
    return QColor(Qt::white);
}

QColor DetailCommon()
{
    return QColor(Qt::black);
}

QColor DetailDiffer()
{
    return Readable(kRed, DetailBackground());
}

QColor SelectedText(const QPalette& palette)
{
    return Readable(palette.color(QPalette::HighlightedText), palette.color(QPalette::Highlight));
}

QColor MarkerArrow(const QColor& background)
{
    return Readable(kRed, background);
}

QColor BookmarkBlock(const QColor& row)
{
    // One block serves every row at least as light as the changed rows (the
    // least light of the row colours), so a bookmark looks the same on all
    // rows of a light palette.
    const QColor changed(221, 221, 255);
    return Readable(kBookmark, Luminance(row) >= Luminance(changed) ? changed : row);
}

QColor BarMark(const QPalette& palette)
{
    return Readable(kRed, palette.color(QPalette::Window));
}

}  // namespace WindowColors

#include "mainwindow/RowMarkers.h"

#include <array>

namespace RowMarkers {
namespace {

// The arrow, row by row from the top: '#' an arrow pixel, '.' background.
constexpr std::array<const char*, kHeight> kArrow = {
    "......#...",
    "......##..",
    "......###.",
    "##########",
    "##########",
    "......###.",
    "......##..",
    "......#...",
};

QColor Background(Marker marker)
{
    switch (marker) {
    case Marker::Bookmark:
    case Marker::BookmarkArrow: return QColor(32, 160, 192);
    case Marker::DifferArrow: return QColor(222, 223, 255);
    case Marker::OrphanArrow: return QColor(255, 227, 198);
    case Marker::Arrow: break;
    }
    return QColor(255, 255, 255);
}

}  // namespace

QImage DrawMarker(Marker marker)
{
    QImage image(kWidth, kHeight, QImage::Format_RGB32);
    image.fill(Background(marker));
    if (marker == Marker::Bookmark)
        return image;
    const QRgb red = qRgb(255, 0, 0);
    for (int y = 0; y < kHeight; ++y) {
        for (int x = 0; x < kWidth; ++x) {
            if (kArrow[static_cast<std::size_t>(y)][x] == '#')
                image.setPixel(x, y, red);
        }
    }
    return image;
}

}  // namespace RowMarkers

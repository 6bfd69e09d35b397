#include "mainwindow/RowMarkers.h"

#include "compare/AlignedRows.h"
#include "mainwindow/WindowColors.h"

namespace RowMarkers {
namespace {

// The arrow, row by row from the top: '#' an arrow pixel, '.' background.
constexpr std::array<const char*, kHeight> kArrow = {
    "......#...", "......##..", "......###.", "##########", "##########", "......###.", "......##..", "......#...",
};

// Moved: an arrow up beside an arrow down.
constexpr std::array<const char*, kHeight> kMoved = {
    "..#....#..", ".###...#..", "#####..#..", "..#....#..", "..#....#..", "..#..#####", "..#...###.", "..#....#..",
};

QColor FromColorValue(std::uint32_t value)
{
    return QColor(static_cast<int>(value & 0xFFu), static_cast<int>((value >> 8) & 0xFFu),
                  static_cast<int>((value >> 16) & 0xFFu));
}

}  // namespace

QImage DrawMarker(Marker marker, const QColor& row)
{
    const bool bookmark = marker == Marker::Bookmark || marker == Marker::BookmarkArrow;
    const QColor background = bookmark ? WindowColors::BookmarkBlock(row) : row;
    QImage image(kWidth, kHeight, QImage::Format_RGB32);
    image.fill(background);
    if (marker == Marker::Bookmark)
        return image;
    const QRgb arrow = WindowColors::MarkerArrow(background).rgb();
    const std::array<const char*, kHeight>& shape = marker == Marker::Moved ? kMoved : kArrow;
    for (int y = 0; y < kHeight; ++y) {
        for (int x = 0; x < kWidth; ++x) {
            if (shape[static_cast<std::size_t>(y)][x] == '#')
                image.setPixel(x, y, arrow);
        }
    }
    return image;
}

Pictures::Pictures(const QColor& window)
{
    const std::array<QColor, 4> rows = {window, FromColorValue(Alignment::kOrphanColor),
                                        FromColorValue(Alignment::kChangedColor),
                                        FromColorValue(Alignment::kMovedColor)};
    // Rows that get the same picture share one pixmap, so that a picture
    // can be told by its cache key as before.
    for (std::size_t m = 0; m < m_pictures.size(); ++m) {
        const QImage plain = DrawMarker(static_cast<Marker>(m), rows[0]);
        m_pictures[m][0] = QPixmap::fromImage(plain);
        for (std::size_t r = 1; r < rows.size(); ++r) {
            const QImage image = DrawMarker(static_cast<Marker>(m), rows[r]);
            m_pictures[m][r] = image == plain ? m_pictures[m][0] : QPixmap::fromImage(image);
        }
    }
}

const QPixmap& Pictures::Get(Marker marker, std::uint32_t rowColor) const
{
    const std::size_t row = rowColor == Alignment::kOrphanColor    ? 1
                            : rowColor == Alignment::kChangedColor ? 2
                            : rowColor == Alignment::kMovedColor   ? 3
                                                                   : 0;
    return m_pictures[static_cast<std::size_t>(marker)][row];
}

}  // namespace RowMarkers

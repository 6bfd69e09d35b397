#pragma once
// The five row-marker pictures that grid one shows at the left of a cell:
// a bookmark block and a right-pointing arrow, drawn for the colour of the
// row they stand on so that they stay readable on light and dark palettes.

#include <QColor>
#include <QImage>
#include <QPixmap>
#include <array>
#include <cstdint>

namespace RowMarkers {

// Moved stands on every row that shows a moved line, but the current one.
enum class Marker { Bookmark, BookmarkArrow, DifferArrow, OrphanArrow, Arrow, Moved };

inline constexpr int kWidth = 10;
inline constexpr int kHeight = 8;

// The marker as a 10 x 8 pixel image for a row of the colour `row`: an
// arrow stands on the row's own colour, a bookmark is a block that stands
// out from it, and the arrow is readable on what it is drawn on.
[[nodiscard]] QImage DrawMarker(Marker marker, const QColor& row);

// Every marker for rows of the window colour, the orphan colour, the
// changed colour and the moved colour.
class Pictures {
public:
    explicit Pictures(const QColor& window = QColor(Qt::white));
    // rowColor: a grid's cell colour value; any other than the orphan,
    // changed and moved colours stands for the window colour.
    [[nodiscard]] const QPixmap& Get(Marker marker, std::uint32_t rowColor) const;

private:
    std::array<std::array<QPixmap, 4>, 6> m_pictures;
};

}  // namespace RowMarkers

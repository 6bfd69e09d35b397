#pragma once
// The five row-marker pictures that grid one shows at the left of a cell:
// a bookmark block and a red right-pointing arrow on four backgrounds.

#include <QImage>

namespace RowMarkers {

enum class Marker { Bookmark, BookmarkArrow, DifferArrow, OrphanArrow, Arrow };

inline constexpr int kWidth = 10;
inline constexpr int kHeight = 8;

// The marker as a 10 x 8 pixel image.
[[nodiscard]] QImage DrawMarker(Marker marker);

}  // namespace RowMarkers

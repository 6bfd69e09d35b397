#include "compare/DiffBarGeometry.h"

#include "compare/Rounding.h"

#include <algorithm>
#include <limits>

namespace DiffBar {
namespace {

std::int32_t ClampToInt32(std::int64_t v)
{
    return static_cast<std::int32_t>(std::clamp<std::int64_t>(v, std::numeric_limits<std::int32_t>::min(),
                                                              std::numeric_limits<std::int32_t>::max()));
}

}  // namespace

float RowStep(std::int32_t barHeight, std::int32_t rowCount)
{
    if (rowCount <= 0) {
        return 0.0f;
    }
    return static_cast<float>(static_cast<double>(barHeight) / static_cast<double>(rowCount));
}

Band BandForBlock(std::int64_t firstRow, std::int64_t rowCount, std::uint32_t color, std::int32_t gridRows,
                  std::int32_t barHeight)
{
    Band band;
    band.color = color;
    if (gridRows <= 0 || barHeight <= 0 || rowCount <= 0) {
        return band;
    }
    const double step = RowStep(barHeight, gridRows);
    const std::int64_t height = Rounding::RoundHalfEven(step * static_cast<double>(rowCount));
    // The top is taken from H, not from S, so it does not inherit S's error.
    const std::int64_t top =
        Rounding::RoundHalfEven(barHeight * (static_cast<double>(firstRow - 1) / static_cast<double>(gridRows)));
    band.height = ClampToInt32(std::clamp<std::int64_t>(height, 1, barHeight));
    band.top = ClampToInt32(std::clamp<std::int64_t>(top, 0, barHeight - band.height));
    return band;
}

std::vector<Band> BandsForBlocks(const std::vector<Alignment::DiffBlock>& blocks, std::int32_t gridRows,
                                 std::int32_t barHeight)
{
    std::vector<Band> bands;
    bands.reserve(blocks.size());
    for (const Alignment::DiffBlock& block : blocks) {
        bands.push_back(BandForBlock(block.firstRow, block.rowCount, block.Color(), gridRows, barHeight));
    }
    return bands;
}

std::int32_t CurrentRowMarkY(std::int32_t currentRow, std::int32_t gridRows, std::int32_t barHeight)
{
    const double step = RowStep(barHeight, gridRows);
    return ClampToInt32(Rounding::RoundHalfEven(step * (static_cast<double>(currentRow) - 1.0)));
}

std::int32_t RowAtBarY(float y, std::int32_t gridRows, std::int32_t barHeight)
{
    const float step = RowStep(barHeight, gridRows);
    if (gridRows <= 0 || !(step > 0.0f)) {
        return 1;
    }
    const float quotient = y / step;  // single precision, as the row step is
    const std::int64_t row = Rounding::RoundHalfEven(static_cast<double>(quotient));
    return ClampToInt32(std::clamp<std::int64_t>(row, 1, gridRows));
}

}  // namespace DiffBar

// Fuzzes the alignment of difference blocks into rows with any blocks and
// line counts. Accepted or not, each pane shows every line of its file once,
// in order, and ends in one empty row; when accepted, both panes are as long,
// the blocks cover exactly the coloured rows, unchanged rows face each other
// and RowOfLine finds every line's row.

#include "FuzzInput.h"
#include "compare/Alignment.h"

#include <vector>

using namespace Alignment;

namespace {

void CheckPane(const PaneRows& pane, std::int32_t lines)
{
    Check(pane.size() != 0 && pane.line.back() == kNoLine && pane.color.size() == pane.line.size());
    std::int32_t next = 0;
    for (const std::int32_t line : pane.line)
        Check(line == kNoLine || line == next++);
    Check(next == lines);
}

void CheckAligned(const AlignedRows& rows)
{
    Check(rows.one.size() == rows.two.size());
    std::vector<bool> inBlock(rows.one.size(), false);
    for (const DiffBlock& block : rows.blocks) {
        for (std::int32_t r = block.firstRow; r < block.firstRow + block.rowCount; ++r) {
            Check(r >= 1 && std::size_t(r) < rows.one.size() && !inBlock[std::size_t(r - 1)]);
            inBlock[std::size_t(r - 1)] = true;
        }
    }
    for (std::size_t i = 0; i < rows.one.size(); ++i) {
        const bool coloured = rows.one.color[i] != kDefaultColor || rows.two.color[i] != kDefaultColor;
        const bool facing = rows.one.line[i] != kNoLine && rows.two.line[i] != kNoLine;
        Check(inBlock[i] || (!coloured && (i + 1 == rows.one.size() || facing)));
        for (int side = 0; side < 2; ++side) {
            const std::int32_t line = (side == 0 ? rows.one : rows.two).line[i];
            Check(line == kNoLine || RowOfLine(rows.blocks, side, line) == std::int32_t(i + 1));
        }
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    FuzzInput input(data, size);
    const std::int32_t linesOne = input.Byte() - 8;  // a few negative counts too
    const std::int32_t linesTwo = input.Byte() - 8;
    std::vector<LineDiff::Hunk> hunks;
    while (!input.AtEnd() && hunks.size() < 64) {
        // Mostly small steps forward, now and then anything at all.
        const std::uint8_t kind = input.Byte();
        const std::int64_t scale = kind & 0x80 ? std::int64_t{1} << 40 : 1;
        hunks.push_back({std::int64_t(input.Byte() % 40) * scale - (kind & 1), input.Byte() % 6,
                         std::int64_t(input.Byte() % 40), input.Byte() % 6});
    }
    AlignOutcome outcome = AlignHunks(hunks, linesOne, linesTwo);
    // A negative count is refused before any line is placed.
    const bool counted = linesOne >= 0 && linesTwo >= 0;
    CheckPane(outcome.rows.one, counted ? linesOne : 0);
    CheckPane(outcome.rows.two, counted ? linesTwo : 0);
    if (outcome.ok())
        CheckAligned(outcome.rows);
    PadShorterPane(outcome.rows);
    Check(outcome.rows.one.size() == outcome.rows.two.size());
    return 0;
}

#include "compare/Alignment.h"

#include <algorithm>
#include <limits>
#include <optional>
#include <vector>

namespace Alignment {
namespace {

enum class CommandKind { Add, Delete, Change };

// A block as two line ranges, 1-based and inclusive; an empty range (the
// File One side of an insertion, the File Two side of a deletion) has
// last == first - 1, first being the line it would start at.
struct Command {
    CommandKind kind = CommandKind::Change;
    std::int64_t first1 = 0, last1 = 0, first2 = 0, last2 = 0;
    bool ignored = false;
    [[nodiscard]] std::int64_t count1() const { return last1 - first1 + 1; }
    [[nodiscard]] std::int64_t count2() const { return last2 - first2 + 1; }
    [[nodiscard]] std::int64_t rows() const { return std::max(count1(), count2()); }
};

std::optional<Command> CommandOf(const LineDiff::Hunk& h)
{
    if (h.first1 < 0 || h.first2 < 0 || h.count1 < 0 || h.count2 < 0 || (h.count1 == 0 && h.count2 == 0)) {
        return std::nullopt;
    }
    // Positions beyond the 32-bit range are beyond any file the grids show;
    // capping them keeps the sums below from overflowing.
    constexpr std::int64_t kBeyond = std::int64_t{std::numeric_limits<std::int32_t>::max()} + 1;
    const std::int64_t first1 = std::min(h.first1, kBeyond), count1 = std::min(h.count1, kBeyond);
    const std::int64_t first2 = std::min(h.first2, kBeyond), count2 = std::min(h.count2, kBeyond);
    const CommandKind kind = count1 == 0 ? CommandKind::Add : count2 == 0 ? CommandKind::Delete : CommandKind::Change;
    return Command{kind, first1 + 1, first1 + count1, first2 + 1, first2 + count2, h.ignored};
}

// Line numbers must lie in their files.
bool InRange(const Command& c, std::int64_t lines1, std::int64_t lines2)
{
    auto fits = [](std::int64_t first, std::int64_t last, std::int64_t lines, bool mayBeEmpty) {
        if (mayBeEmpty && last == first - 1) {
            return first >= 1 && last <= lines;
        }
        return first >= 1 && last >= first && last <= lines;
    };
    return fits(c.first1, c.last1, lines1, c.kind == CommandKind::Add)
           && fits(c.first2, c.last2, lines2, c.kind == CommandKind::Delete);
}

// The accepted blocks and where reading stopped.
struct AcceptedBlocks {
    std::vector<Command> commands;
    std::int64_t done1 = 0, done2 = 0;  // lines of each file accounted for
    std::int64_t rowsSoFar = 0;         // aligned rows up to line done1/done2
    AlignStatus status = AlignStatus::Ok;
    std::int64_t failedBlock = -1;
};

// Checks one command against the lines already accounted for and, when it
// fits, records it. The unchanged lines before it must be as many in File One
// as in File Two, or the rows after it could not stand side by side.
AlignStatus Accept(AcceptedBlocks& s, const Command& c, std::int64_t lines1, std::int64_t lines2)
{
    if (!InRange(c, lines1, lines2)) {
        return AlignStatus::OutOfRange;
    }
    const std::int64_t gap1 = c.first1 - 1 - s.done1;
    const std::int64_t gap2 = c.first2 - 1 - s.done2;
    if (gap1 < 0 || gap1 != gap2) {
        return AlignStatus::OutOfOrder;
    }
    s.rowsSoFar += gap1 + c.rows();
    s.done1 = c.last1;
    s.done2 = c.last2;
    s.commands.push_back(c);
    return AlignStatus::Ok;
}

AcceptedBlocks AcceptBlocks(const std::vector<LineDiff::Hunk>& hunks, std::int64_t lines1, std::int64_t lines2)
{
    AcceptedBlocks s;
    for (std::size_t i = 0; i < hunks.size(); ++i) {
        const auto command = CommandOf(hunks[i]);
        s.status = command ? Accept(s, *command, lines1, lines2) : AlignStatus::EmptyBlock;
        if (s.status != AlignStatus::Ok) {
            s.failedBlock = static_cast<std::int64_t>(i);
            return s;
        }
    }
    if (lines1 - s.done1 != lines2 - s.done2) {
        s.status = AlignStatus::CountMismatch;
    }
    return s;
}

// Appends rows to both panes; reserve() is called once so that the million-row
// case costs no reallocation.
class RowWriter {
public:
    explicit RowWriter(AlignedRows& rows) : m_rows(rows) {}

    void reserve(std::int64_t paneOne, std::int64_t paneTwo)
    {
        m_rows.one.line.reserve(static_cast<std::size_t>(paneOne));
        m_rows.one.color.reserve(static_cast<std::size_t>(paneOne));
        m_rows.two.line.reserve(static_cast<std::size_t>(paneTwo));
        m_rows.two.color.reserve(static_cast<std::size_t>(paneTwo));
    }

    // Unchanged lines stand side by side up to (and not including) the given
    // 1-based lines.
    void unchangedUpTo(std::int64_t first1, std::int64_t first2)
    {
        lines(m_rows.one, m_next1, first1 - 1, kDefaultColor);
        lines(m_rows.two, m_next2, first2 - 1, kDefaultColor);
    }

    void block(const Command& c)
    {
        const auto firstRow = static_cast<std::int32_t>(m_rows.one.size() + 1);
        const bool changed = c.kind == CommandKind::Change;
        // An ignored block's rows are not coloured at all.
        const std::uint32_t color = c.ignored ? kDefaultColor : changed ? kChangedColor : kOrphanColor;
        // Fillers facing orphan lines keep the default colour; fillers that
        // pad the shorter side of a changed block belong to the block.
        const std::uint32_t fillerColor = changed && !c.ignored ? kChangedColor : kDefaultColor;
        lines(m_rows.one, m_next1, c.last1, color);
        lines(m_rows.two, m_next2, c.last2, color);
        fillers(m_rows.one, c.rows() - c.count1(), fillerColor);
        fillers(m_rows.two, c.rows() - c.count2(), fillerColor);
        m_rows.blocks.push_back(
            DiffBlock{firstRow, static_cast<std::int32_t>(c.rows()), static_cast<std::int32_t>(c.first1 - 1),
                      static_cast<std::int32_t>(c.count1()), static_cast<std::int32_t>(c.first2 - 1),
                      static_cast<std::int32_t>(c.count2()), c.ignored});
    }

    // The lines not yet written (all of them after a fault) and the trailing row.
    void finish(std::int64_t lines1, std::int64_t lines2)
    {
        lines(m_rows.one, m_next1, lines1, kDefaultColor);
        lines(m_rows.two, m_next2, lines2, kDefaultColor);
        fillers(m_rows.one, 1, kDefaultColor);
        fillers(m_rows.two, 1, kDefaultColor);
    }

private:
    // Lines next..last (1-based; next is advanced past them).
    static void lines(PaneRows& pane, std::int64_t& next, std::int64_t last, std::uint32_t color)
    {
        for (; next <= last; ++next) {
            pane.line.push_back(static_cast<std::int32_t>(next - 1));
            pane.color.push_back(color);
        }
    }

    static void fillers(PaneRows& pane, std::int64_t count, std::uint32_t color)
    {
        pane.line.insert(pane.line.end(), static_cast<std::size_t>(count), kNoLine);
        pane.color.insert(pane.color.end(), static_cast<std::size_t>(count), color);
    }

    AlignedRows& m_rows;
    std::int64_t m_next1 = 1;
    std::int64_t m_next2 = 1;
};

}  // namespace

AlignOutcome AlignHunks(const std::vector<LineDiff::Hunk>& hunks, std::int32_t lineCountOne, std::int32_t lineCountTwo)
{
    AlignOutcome outcome;
    if (lineCountOne < 0 || lineCountTwo < 0) {
        outcome.status = AlignStatus::OutOfRange;
        RowWriter(outcome.rows).finish(0, 0);
        return outcome;
    }
    AcceptedBlocks script = AcceptBlocks(hunks, lineCountOne, lineCountTwo);
    // Either pane may hold every row of the other file's unchanged tail, plus
    // its own rest after a fault, plus the trailing row.
    const std::int64_t paneOne = script.rowsSoFar + (lineCountOne - script.done1) + 1;
    const std::int64_t paneTwo = script.rowsSoFar + (lineCountTwo - script.done2) + 1;
    if (std::max(paneOne, paneTwo) > std::numeric_limits<std::int32_t>::max()) {
        script.status = AlignStatus::TooManyRows;
        script.commands.clear();
    }
    RowWriter writer(outcome.rows);
    writer.reserve(std::min<std::int64_t>(paneOne, std::numeric_limits<std::int32_t>::max()),
                   std::min<std::int64_t>(paneTwo, std::numeric_limits<std::int32_t>::max()));
    outcome.rows.blocks.reserve(script.commands.size());
    for (const Command& c : script.commands) {
        writer.unchangedUpTo(c.first1, c.first2);
        writer.block(c);
    }
    writer.finish(lineCountOne, lineCountTwo);
    outcome.status = script.status;
    outcome.failedBlock = script.failedBlock;
    return outcome;
}

std::int64_t RowsNeeded(const std::vector<LineDiff::Hunk>& hunks, std::int64_t lineCountOne)
{
    // Each block takes as many rows as its longer side; the other lines of
    // File One stand one to a row.
    std::int64_t rows = lineCountOne + 1;
    for (const LineDiff::Hunk& h : hunks)
        rows += std::max<std::int64_t>(0, h.count2 - h.count1);
    return rows;
}

std::int32_t RowOfLine(const std::vector<DiffBlock>& blocks, int side, std::int32_t line)
{
    const auto firstLine = [side](const DiffBlock& b) { return side == 0 ? b.firstLineOne : b.firstLineTwo; };
    const auto lineCount = [side](const DiffBlock& b) { return side == 0 ? b.lineCountOne : b.lineCountTwo; };
    // The last block starting at or before the line: the line is either in
    // it or among the unchanged lines after it.
    const auto after = std::upper_bound(blocks.begin(), blocks.end(), line,
                                        [&](std::int32_t l, const DiffBlock& b) { return l < firstLine(b); });
    if (after == blocks.begin()) {
        return line + 1;
    }
    const DiffBlock& b = *std::prev(after);
    const std::int32_t offset = line - firstLine(b);
    return offset < lineCount(b) ? b.firstRow + offset : b.firstRow + b.rowCount + (offset - lineCount(b));
}

void PadShorterPane(AlignedRows& rows)
{
    PaneRows& shorter = rows.one.size() < rows.two.size() ? rows.one : rows.two;
    const std::size_t target = std::max(rows.one.size(), rows.two.size());
    shorter.line.resize(target, kNoLine);
    shorter.color.resize(target, kDefaultColor);
}

QString DescribeAlignStatus(AlignStatus status)
{
    switch (status) {
    case AlignStatus::Ok: return QStringLiteral("the difference blocks were aligned");
    case AlignStatus::EmptyBlock: return QStringLiteral("a difference block holds no line");
    case AlignStatus::OutOfRange: return QStringLiteral("a difference block names a line that the file does not have");
    case AlignStatus::OutOfOrder: return QStringLiteral("a difference block does not follow on from the one before it");
    case AlignStatus::CountMismatch:
        return QStringLiteral("the difference blocks do not account for every line of both files");
    case AlignStatus::TooManyRows: return QStringLiteral("the comparison has too many rows to show");
    }
    return QString();
}

}  // namespace Alignment

#include "compare/Alignment.h"

#include "compare/DiffListEntry.h"

#include <algorithm>
#include <limits>
#include <optional>
#include <vector>

namespace Alignment {
namespace {

enum class CommandKind { Add, Delete, Change };

// A command as two line ranges, 1-based and inclusive; an empty range (the
// File One side of "a", the File Two side of "d") has last == first - 1 and
// first is the line it would start at.
struct Command {
    CommandKind kind = CommandKind::Change;
    std::int64_t first1 = 0, last1 = 0, first2 = 0, last2 = 0;
    [[nodiscard]] std::int64_t count1() const { return last1 - first1 + 1; }
    [[nodiscard]] std::int64_t count2() const { return last2 - first2 + 1; }
    [[nodiscard]] std::int64_t rows() const { return std::max(count1(), count2()); }
};

struct Range {
    std::int64_t first = 0, last = 0;
    bool single = true;
};

// Reads "N" or "N,M"; numbers above the 32-bit range are refused so that no
// arithmetic on them can overflow.
std::optional<Range> readRange(QStringView text, qsizetype& pos)
{
    auto readNumber = [&](std::int64_t& out) {
        const qsizetype start = pos;
        out = 0;
        while (pos < text.size() && text[pos].isDigit() && text[pos].unicode() < 0x80) {
            out = out * 10 + (text[pos].unicode() - u'0');
            if (out > std::numeric_limits<std::int32_t>::max()) {
                return false;
            }
            ++pos;
        }
        return pos > start;
    };
    Range range;
    if (!readNumber(range.first)) {
        return std::nullopt;
    }
    range.last = range.first;
    if (pos < text.size() && text[pos] == u',') {
        ++pos;
        range.single = false;
        if (!readNumber(range.last)) {
            return std::nullopt;
        }
    }
    return range;
}

std::optional<Command> parseCommand(QStringView text)
{
    qsizetype pos = 0;
    const auto left = readRange(text, pos);
    if (!left || pos >= text.size()) {
        return std::nullopt;
    }
    const QChar letter = text[pos++];
    const auto right = readRange(text, pos);
    if (!right) {
        return std::nullopt;
    }
    for (; pos < text.size(); ++pos) {
        if (!text[pos].isSpace()) {
            return std::nullopt;
        }
    }
    // "a" names one line of File One, "d" one line of File Two: a range
    // there is not a command this syntax has.
    if (letter == u'a' && left->single) {
        return Command{CommandKind::Add, left->first + 1, left->first, right->first, right->last};
    }
    if (letter == u'd' && right->single) {
        return Command{CommandKind::Delete, left->first, left->last, right->first + 1, right->first};
    }
    if (letter == u'c') {
        return Command{CommandKind::Change, left->first, left->last, right->first, right->last};
    }
    return std::nullopt;
}

// Line numbers must lie in their files; a non-empty range must not run
// backwards and may not start at line 0.
bool inRange(const Command& c, std::int64_t lines1, std::int64_t lines2)
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

// The parsed commands and where reading stopped.
struct ParsedScript {
    std::vector<Command> commands;
    std::int64_t done1 = 0, done2 = 0;  // lines of each file accounted for
    std::int64_t rowsSoFar = 0;         // aligned rows up to line done1/done2
    AlignStatus status = AlignStatus::Ok;
    qsizetype failedLine = -1;
};

// Checks one command against the lines already accounted for and, when it
// fits, records it. The unchanged lines before it must be as many in File One
// as in File Two, or the rows after it could not stand side by side.
AlignStatus accept(ParsedScript& s, const Command& c, std::int64_t lines1, std::int64_t lines2)
{
    if (!inRange(c, lines1, lines2)) {
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

ParsedScript parseScript(qsizetype count, const ResultLineAt& lineAt, std::int64_t lines1,
                         std::int64_t lines2)
{
    ParsedScript s;
    for (qsizetype i = 0; i < count; ++i) {
        const QString line = lineAt(i);
        if (line.isEmpty() || !line.front().isDigit() || line.front().unicode() >= 0x80) {
            continue;
        }
        const auto command = parseCommand(line);
        s.status = command ? accept(s, *command, lines1, lines2) : AlignStatus::MalformedCommand;
        if (s.status != AlignStatus::Ok) {
            s.failedLine = i;
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
        const std::int64_t firstRow = static_cast<std::int64_t>(m_rows.one.size()) + 1;
        const bool changed = c.kind == CommandKind::Change;
        const std::uint32_t color = changed ? kChangedColor : kOrphanColor;
        // Fillers facing orphan lines keep the default colour; fillers that
        // pad the shorter side of a changed block belong to the block.
        const std::uint32_t fillerColor = changed ? kChangedColor : kDefaultColor;
        lines(m_rows.one, m_next1, c.last1, color);
        lines(m_rows.two, m_next2, c.last2, color);
        fillers(m_rows.one, c.rows() - c.count1(), fillerColor);
        fillers(m_rows.two, c.rows() - c.count2(), fillerColor);
        m_rows.DiffList.append(formatDiffListEntry(firstRow, c.rows(), color));
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

AlignOutcome alignResultLines(qsizetype resultLineCount, const ResultLineAt& lineAt,
                              std::int32_t lineCountOne, std::int32_t lineCountTwo)
{
    AlignOutcome outcome;
    if (lineCountOne < 0 || lineCountTwo < 0) {
        outcome.status = AlignStatus::OutOfRange;
        RowWriter(outcome.rows).finish(0, 0);
        return outcome;
    }
    ParsedScript script = parseScript(resultLineCount, lineAt, lineCountOne, lineCountTwo);
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
    outcome.rows.DiffList.reserve(static_cast<qsizetype>(script.commands.size()));
    for (const Command& c : script.commands) {
        writer.unchangedUpTo(c.first1, c.first2);
        writer.block(c);
    }
    writer.finish(lineCountOne, lineCountTwo);
    outcome.status = script.status;
    outcome.failedResultLine = script.failedLine;
    return outcome;
}

AlignOutcome alignResultLines(const QStringList& resultLines, std::int32_t lineCountOne,
                              std::int32_t lineCountTwo)
{
    return alignResultLines(
        resultLines.size(), [&resultLines](qsizetype i) { return resultLines.at(i); },
        lineCountOne, lineCountTwo);
}

void padShorterPane(AlignedRows& rows)
{
    PaneRows& shorter = rows.one.size() < rows.two.size() ? rows.one : rows.two;
    const std::size_t target = std::max(rows.one.size(), rows.two.size());
    shorter.line.resize(target, kNoLine);
    shorter.color.resize(target, kDefaultColor);
}

QString describeAlignStatus(AlignStatus status)
{
    switch (status) {
    case AlignStatus::Ok:
        return QStringLiteral("the result lines were aligned");
    case AlignStatus::MalformedCommand:
        return QStringLiteral("a result line is not a well-formed command");
    case AlignStatus::OutOfRange:
        return QStringLiteral("a result line names a line that the file does not have");
    case AlignStatus::OutOfOrder:
        return QStringLiteral("a result line does not follow on from the one before it");
    case AlignStatus::CountMismatch:
        return QStringLiteral("the result lines do not account for every line of both files");
    case AlignStatus::TooManyRows:
        return QStringLiteral("the comparison has too many rows to show");
    }
    return QString();
}

}  // namespace Alignment

#include "compare/RowSearch.h"

#include "compare/Alignment.h"
#include "compare/RowText.h"
#include "engine/LineFile.h"

#include <QChar>
#include <algorithm>
#include <array>
#include <string_view>

namespace RowSearch {
namespace {

// Bytes a chunk of an upward search covers: small enough that collecting
// every match in it costs little, large enough to keep the scan streaming.
constexpr std::size_t kUpwardChunkBytes = std::size_t{1} << 20;

// ASCII characters that some non-ASCII character folds into (such as the
// Kelvin sign into "k"): found once from Qt's own case folding, so the byte
// scan and the row test never disagree.
const std::array<bool, 128>& AsciiFoldTargets()
{
    static const std::array<bool, 128> targets = [] {
        std::array<bool, 128> found{};
        for (char32_t c = 0x80; c <= 0x10FFFF; ++c) {
            const char32_t folded = QChar::toCaseFolded(c);
            if (folded < 0x80)
                found[folded] = true;
        }
        return found;
    }();
    return targets;
}

std::string_view TextOf(const LineFile& file, std::int64_t line)
{
    const auto text = file.Line(line);
    return {text.data(), static_cast<std::size_t>(text.size())};
}

}  // namespace

Needle::Needle(const QString& text) : m_text(RowText::widenTabs(text))
{
    m_matchesNothing = m_text.isEmpty() || m_text.contains(u'\n');
    m_ascii = std::all_of(m_text.cbegin(), m_text.cend(), [](QChar c) { return c.unicode() < 0x80; });
    if (!m_ascii || m_matchesNothing)
        return;
    const QByteArray latin = m_text.toLatin1();
    m_bytes.emplace(std::string_view(latin.constData(), static_cast<std::size_t>(latin.size())));
    m_hasBlank = m_text.contains(u' ');
    const auto& targets = AsciiFoldTargets();
    m_foldsFromWide = std::any_of(m_text.cbegin(), m_text.cend(),
                                  [&](QChar c) { return targets[QChar::toCaseFolded(c.unicode())]; });
    const QChar first = m_text.front();
    m_mayStartInNumber = first == u' ' || first == u'.' || (first >= u'0' && first <= u'9');
}

bool Needle::MatchesRowText(const QString& rowText) const
{
    return !m_matchesNothing && rowText.contains(m_text, Qt::CaseInsensitive);
}

// One search over one pane.
class PaneSearch {
public:
    PaneSearch(const LineFile& file, const Needle& needle)
        : m_file(file), m_needle(needle), m_base(file.Bytes().data())
    {
    }

    // The first matching line of lo..hi in the direction, or -1.
    [[nodiscard]] std::int64_t Find(std::int64_t lo, std::int64_t hi, Direction direction)
    {
        // A text that may begin inside a row's number, or that is not ASCII,
        // is tested row by row; any other goes through the byte scan.
        if (!m_needle.m_ascii || m_needle.m_mayStartInNumber)
            return direction == Direction::Down ? EachLine(lo, hi, 1) : EachLine(hi, lo, -1);
        return direction == Direction::Down ? ScanDown(lo, hi) : ScanUp(lo, hi);
    }

private:
    [[nodiscard]] std::size_t Start(std::int64_t line) const
    {
        return static_cast<std::size_t>(TextOf(m_file, line).data() - m_base);
    }
    [[nodiscard]] std::size_t End(std::int64_t line) const { return Start(line) + TextOf(m_file, line).size(); }

    // The line in lo..hi whose bytes (with its line ending) hold offset.
    [[nodiscard]] std::int64_t LineAt(std::size_t offset, std::int64_t lo, std::int64_t hi) const
    {
        while (lo < hi) {
            const std::int64_t mid = lo + (hi - lo + 1) / 2;
            if (Start(mid) <= offset)
                lo = mid;
            else
                hi = mid - 1;
        }
        return lo;
    }

    // The row test of one line, reading as little as it can.
    [[nodiscard]] bool LineMatches(std::int64_t line)
    {
        const std::string_view text = TextOf(m_file, line);
        const bool wide = std::any_of(text.begin(), text.end(), [](char c) { return static_cast<unsigned char>(c) >= 0x80; });
        if (!m_needle.m_ascii || (wide && m_needle.m_foldsFromWide))
            return m_needle.MatchesRowText(RowText::rowText(line + 1, QByteArrayView(text.data(), qsizetype(text.size()))));
        // The row's bytes: number, period and text with TABs widened. Bytes
        // of 0x80 and above only match themselves, which an ASCII text has not.
        m_row.assign(1, ' ');
        m_row += std::to_string(line + 1);
        m_row += '.';
        for (const char c : text) {
            if (c == '\t')
                m_row.append(3, ' ');
            else
                m_row.push_back(c);
        }
        return m_needle.m_bytes->findIn(m_row) != ByteSearch::kNotFound;
    }

    [[nodiscard]] std::int64_t EachLine(std::int64_t from, std::int64_t to, int step)
    {
        for (std::int64_t line = from; step > 0 ? line <= to : line >= to; line += step) {
            if (LineMatches(line))
                return line;
        }
        return -1;
    }

    // The lines of lo..hi that the byte scan cannot judge alone, ascending.
    void SpecialLines(std::int64_t lo, std::int64_t hi, std::vector<std::int64_t>& out) const
    {
        if (lo > hi)
            return;
        const std::string_view region(m_base, End(hi));
        const bool tabs = m_needle.m_hasBlank;
        const bool wide = m_needle.m_foldsFromWide;
        for (std::size_t at = ByteSearch::findTrigger(region, Start(lo), tabs, wide); at != ByteSearch::kNotFound;) {
            const std::int64_t line = LineAt(at, lo, hi);
            if (at < End(line))  // not in the line ending
                out.push_back(line);
            if (line == hi)
                break;
            at = ByteSearch::findTrigger(region, Start(line + 1), tabs, wide);
        }
    }

    // A scan hit is a match when it stays inside its line's text.
    [[nodiscard]] bool HitFits(std::size_t hit, std::int64_t line) const
    {
        return hit + m_needle.m_bytes->size() <= End(line);
    }

    [[nodiscard]] std::int64_t ScanDown(std::int64_t lo, std::int64_t hi)
    {
        const std::string_view region(m_base, End(hi));
        std::int64_t checkedTo = lo;  // special lines below this were tested
        for (std::size_t from = Start(lo);;) {
            const std::size_t hit = m_needle.m_bytes->findIn(region, from);
            const std::int64_t hitLine = hit == ByteSearch::kNotFound ? hi + 1 : LineAt(hit, lo, hi);
            m_special.clear();
            SpecialLines(checkedTo, hitLine - 1, m_special);
            for (const std::int64_t line : m_special) {
                if (LineMatches(line))
                    return line;
            }
            if (hitLine > hi)
                return -1;
            if (HitFits(hit, hitLine) || LineMatches(hitLine))
                return hitLine;
            checkedTo = hitLine + 1;
            if (checkedTo > hi)
                return -1;
            from = Start(checkedTo);
        }
    }

    [[nodiscard]] std::int64_t ScanUp(std::int64_t lo, std::int64_t hi)
    {
        for (std::int64_t top = hi; top >= lo;) {
            // The chunk: lines first..top, about kUpwardChunkBytes long.
            const std::size_t end = End(top);
            const std::size_t floor = end - std::min(end - Start(lo), kUpwardChunkBytes);
            const std::int64_t first = std::min(LineAt(floor, lo, top), top);
            const std::string_view region(m_base, end);
            std::int64_t last = -1;  // the chunk's last line with a fitting hit
            for (std::size_t from = Start(first);;) {
                const std::size_t hit = m_needle.m_bytes->findIn(region, from);
                if (hit == ByteSearch::kNotFound)
                    break;
                const std::int64_t line = LineAt(hit, first, top);
                if (HitFits(hit, line))
                    last = line;
                from = hit + 1;
            }
            m_special.clear();
            SpecialLines(std::max(last + 1, first), top, m_special);
            for (auto it = m_special.rbegin(); it != m_special.rend(); ++it) {
                if (LineMatches(*it))
                    return *it;
            }
            if (last >= 0)
                return last;
            top = first - 1;
        }
        return -1;
    }

    const LineFile& m_file;
    const Needle& m_needle;
    const char* m_base;
    std::string m_row;
    std::vector<std::int64_t> m_special;
};

std::optional<std::int32_t> findInPane(const LineFile& file, const Alignment::PaneRows& pane,
                                       const std::vector<Alignment::DiffBlock>& blocks, int side,
                                       const Needle& needle, std::int32_t firstRow, std::int32_t lastRow,
                                       Direction direction)
{
    firstRow = std::max(firstRow, 1);
    lastRow = std::min<std::int32_t>(lastRow, static_cast<std::int32_t>(pane.size()));
    if (needle.MatchesNothing() || firstRow > lastRow)
        return std::nullopt;
    // The first and last lines the rows show; filler rows between them
    // show no line and never match.
    const auto lineAt = [&pane](std::int32_t row) { return pane.line[static_cast<std::size_t>(row - 1)]; };
    while (firstRow <= lastRow && lineAt(firstRow) == Alignment::kNoLine)
        ++firstRow;
    while (lastRow >= firstRow && lineAt(lastRow) == Alignment::kNoLine)
        --lastRow;
    if (firstRow > lastRow)
        return std::nullopt;
    PaneSearch search(file, needle);
    const std::int64_t line = search.Find(lineAt(firstRow), lineAt(lastRow), direction);
    if (line < 0)
        return std::nullopt;
    return Alignment::rowOfLine(blocks, side, static_cast<std::int32_t>(line));
}

}  // namespace RowSearch

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

// Bytes one step of the scan covers. A step collects every hit it holds
// (an upward search wants the last), so it is kept small; large enough to
// keep the scan streaming.
constexpr std::size_t kChunkBytes = std::size_t{64} << 10;

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

bool IsNumberCharacter(QChar c)
{
    return c == u' ' || c == u'.' || (c >= u'0' && c <= u'9');
}

bool IsAscii(QChar c)
{
    return c.unicode() < 0x80;
}

// The longest run of ASCII characters, without the characters a row's
// number is made of at its start, so that the run cannot begin there.
QStringView AsciiPart(QStringView text)
{
    QStringView best;
    for (qsizetype i = 0; i < text.size();) {
        qsizetype end = i;
        while (end < text.size() && IsAscii(text[end]))
            ++end;
        qsizetype start = i;
        while (start < end && IsNumberCharacter(text[start]))
            ++start;
        if (end - start > best.size())
            best = text.mid(start, end - start);
        i = end + 1;
    }
    return best;
}

std::string_view TextOf(const LineFile& file, std::int64_t line)
{
    const auto text = file.Line(line);
    return {text.data(), static_cast<std::size_t>(text.size())};
}

}  // namespace

Needle::Needle(const QString& text) : m_text(RowText::WidenTabs(text))
{
    m_matchesNothing = m_text.isEmpty() || m_text.contains(u'\n');
    if (m_matchesNothing)
        return;
    m_ascii = std::all_of(m_text.cbegin(), m_text.cend(), IsAscii);
    // A match that begins in " 12." either stays inside it (the whole text
    // is made of such characters) or leaves it through its period.
    const auto numberRun = std::find_if_not(m_text.cbegin(), m_text.cend(), IsNumberCharacter);
    m_mayStartInNumber =
        m_ascii && (numberRun == m_text.cend() || std::find(m_text.cbegin(), numberRun, u'.') != numberRun);
    const QStringView part = m_ascii ? QStringView(m_text) : AsciiPart(m_text);
    if (part.isEmpty())
        return;
    const QByteArray latin = part.toLatin1();
    m_scan.emplace(std::string_view(latin.constData(), static_cast<std::size_t>(latin.size())));
    m_scanHasBlank = part.contains(u' ');
    const auto& targets = AsciiFoldTargets();
    m_scanFoldsFromWide =
        std::any_of(part.cbegin(), part.cend(), [&](QChar c) { return targets[QChar::toCaseFolded(c.unicode())]; });
}

bool Needle::MatchesRowText(const QString& rowText) const
{
    return !m_matchesNothing && rowText.contains(m_text, Qt::CaseInsensitive);
}

std::optional<Span> MatchInLine(const Needle& needle, QStringView rowText)
{
    if (needle.MatchesNothing())
        return std::nullopt;
    const QString& text = needle.Text();
    const qsizetype lineStart = rowText.indexOf(u'.') + 1;
    for (qsizetype at = rowText.indexOf(text, 0, Qt::CaseInsensitive); at >= 0;
         at = rowText.indexOf(text, at + 1, Qt::CaseInsensitive)) {
        const qsizetype end = at + text.size();
        if (end > lineStart) {
            const qsizetype start = std::max(at, lineStart);
            return Span{start - lineStart, end - start};
        }
    }
    return std::nullopt;
}

// One search over one pane.
class PaneSearch {
public:
    PaneSearch(const LineFile& file, const Needle& needle) : m_file(file), m_needle(needle), m_base(file.Bytes().data())
    {
    }

    // The first matching line of lo..hi in the direction, or -1.
    [[nodiscard]] std::int64_t Find(std::int64_t lo, std::int64_t hi, Direction direction)
    {
        if (!m_needle.m_scan)
            return EachLine(lo, hi, direction);
        if (direction == Direction::Down) {
            for (std::int64_t first = lo, last = 0; first <= hi; first = last + 1) {
                last = std::max(first, LineAt(std::min(Start(first) + kChunkBytes, End(hi)), first, hi));
                if (const std::int64_t line = SearchChunk(first, last, direction); line >= 0)
                    return line;
            }
        } else {
            for (std::int64_t last = hi, first = 0; last >= lo; last = first - 1) {
                first = std::min(last, LineAt(End(last) - std::min(End(last) - Start(lo), kChunkBytes), lo, last));
                if (const std::int64_t line = SearchChunk(first, last, direction); line >= 0)
                    return line;
            }
        }
        return -1;
    }

private:
    struct Hit {
        std::int64_t line;
        bool fits;  // the scanned text lies wholly inside the line's text
    };

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

    [[nodiscard]] std::int64_t EachLine(std::int64_t lo, std::int64_t hi, Direction direction)
    {
        const bool down = direction == Direction::Down;
        for (std::int64_t line = down ? lo : hi; down ? line <= hi : line >= lo; line += down ? 1 : -1) {
            if (LineMatches(line))
                return line;
        }
        return -1;
    }

    // The row of a line in bytes, TABs widened; with `limit`, only the
    // number and that many bytes of the text.
    void RowBytes(std::int64_t line, std::string_view text, std::size_t limit)
    {
        m_row.assign(1, ' ');
        m_row += std::to_string(line + 1);
        m_row += '.';
        const std::size_t end = m_row.size() + limit;
        for (const char c : text) {
            if (m_row.size() >= end)
                break;
            if (c == '\t')
                m_row.append(3, ' ');
            else
                m_row.push_back(c);
        }
    }

    // The row test of one line, in bytes where that gives the same answer.
    [[nodiscard]] bool LineMatches(std::int64_t line)
    {
        const std::string_view text = TextOf(m_file, line);
        const auto wide = [&text] {
            return std::any_of(text.begin(), text.end(), [](char c) { return static_cast<unsigned char>(c) >= 0x80; });
        };
        if (!m_needle.m_ascii || (m_needle.m_scanFoldsFromWide && wide())) {
            const QByteArrayView bytes(text.data(), static_cast<qsizetype>(text.size()));
            return m_needle.MatchesRowText(RowText::Format(line + 1, bytes));
        }
        // Bytes of 0x80 and above only match themselves, which an ASCII
        // text does not hold.
        RowBytes(line, text, text.size() * 3);
        return m_needle.m_scan->findIn(m_row) != ByteSearch::kNotFound;
    }

    // A match that begins in the line's number ends within the text's
    // first size - 1 characters: only those are formed.
    [[nodiscard]] bool HeadMatches(std::int64_t line)
    {
        RowBytes(line, TextOf(m_file, line), m_needle.m_scan->size() - 1);
        return m_needle.m_scan->findIn(m_row) != ByteSearch::kNotFound;
    }

    // Hits of the scan in lines first..last, ascending, one per line. Going
    // down, a fitting hit of the whole text ends the collection.
    void CollectHits(std::int64_t first, std::int64_t last, Direction direction)
    {
        m_hits.clear();
        const std::string_view region(m_base, End(last));
        const std::size_t size = m_needle.m_scan->size();
        for (std::size_t from = Start(first);;) {
            const std::size_t hit = m_needle.m_scan->findIn(region, from);
            if (hit == ByteSearch::kNotFound)
                return;
            const std::int64_t line = LineAt(hit, first, last);
            const bool fits = hit + size <= End(line);
            if (m_hits.empty() || m_hits.back().line != line)
                m_hits.push_back({line, fits});
            else
                m_hits.back().fits = m_hits.back().fits || fits;
            const bool settled = fits || !m_needle.m_ascii;
            if (settled && m_needle.m_ascii && direction == Direction::Down)
                return;
            if (settled && line == last)
                return;
            from = settled ? Start(line + 1) : hit + 1;
        }
    }

    // Lines of first..last, ascending, that a hit-free scan cannot clear:
    // a TAB where the scanned text has a blank, or a non-ASCII byte where
    // a character of it can be reached by case folding.
    void CollectUnclearLines(std::int64_t first, std::int64_t last)
    {
        m_unclear.clear();
        const bool tabs = m_needle.m_scanHasBlank;
        const bool wide = m_needle.m_scanFoldsFromWide;
        const std::string_view region(m_base, End(last));
        for (std::size_t at = ByteSearch::FindTrigger(region, Start(first), tabs, wide); at != ByteSearch::kNotFound;) {
            const std::int64_t line = LineAt(at, first, last);
            if (at < End(line))  // not in the line ending
                m_unclear.push_back(line);
            if (line == last)
                break;
            at = ByteSearch::FindTrigger(region, Start(line + 1), tabs, wide);
        }
    }

    // Hit lines and unclear lines of the chunk, merged, ascending.
    void MergeCandidates()
    {
        m_candidates.clear();
        auto unclear = m_unclear.begin();
        for (const Hit& hit : m_hits) {
            for (; unclear != m_unclear.end() && *unclear < hit.line; ++unclear)
                m_candidates.push_back({*unclear, false});
            if (unclear != m_unclear.end() && *unclear == hit.line)
                ++unclear;
            m_candidates.push_back(hit);
        }
        for (; unclear != m_unclear.end(); ++unclear)
            m_candidates.push_back({*unclear, false});
    }

    [[nodiscard]] bool CandidateMatches(const Hit& candidate)
    {
        return (candidate.fits && m_needle.m_ascii) || LineMatches(candidate.line);
    }

    [[nodiscard]] std::int64_t SearchChunk(std::int64_t first, std::int64_t last, Direction direction)
    {
        CollectHits(first, last, direction);
        CollectUnclearLines(first, last);
        MergeCandidates();
        const bool down = direction == Direction::Down;
        if (!m_needle.m_mayStartInNumber) {
            // Lines that are not candidates cannot match.
            if (down) {
                const auto it = std::find_if(m_candidates.begin(), m_candidates.end(),
                                             [this](const Hit& c) { return CandidateMatches(c); });
                return it == m_candidates.end() ? -1 : it->line;
            }
            const auto it = std::find_if(m_candidates.rbegin(), m_candidates.rend(),
                                         [this](const Hit& c) { return CandidateMatches(c); });
            return it == m_candidates.rend() ? -1 : it->line;
        }
        // The text may begin in a line's number: every line gets a look at
        // its head, candidates a whole reading.
        std::size_t index = down ? 0 : m_candidates.size();
        for (std::int64_t line = down ? first : last; down ? line <= last : line >= first; line += down ? 1 : -1) {
            const Hit* candidate = nullptr;
            if (down && index < m_candidates.size() && m_candidates[index].line == line)
                candidate = &m_candidates[index++];
            else if (!down && index > 0 && m_candidates[index - 1].line == line)
                candidate = &m_candidates[--index];
            if (candidate ? CandidateMatches(*candidate) : HeadMatches(line))
                return line;
        }
        return -1;
    }

    const LineFile& m_file;
    const Needle& m_needle;
    const char* m_base;
    std::string m_row;
    std::vector<Hit> m_hits;
    std::vector<std::int64_t> m_unclear;
    std::vector<Hit> m_candidates;
};

std::optional<std::int32_t> FindInPane(const LineFile& file, const Alignment::PaneRows& pane,
                                       const std::vector<Alignment::DiffBlock>& blocks, int side, const Needle& needle,
                                       std::int32_t firstRow, std::int32_t lastRow, Direction direction)
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
    return Alignment::RowOfLine(blocks, side, static_cast<std::int32_t>(line));
}

}  // namespace RowSearch

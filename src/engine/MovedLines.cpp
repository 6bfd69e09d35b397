#include "engine/MovedLines.h"

#include <algorithm>
#include <limits>
#include <unordered_map>

namespace MovedLines {
namespace {

// Gained lines with the same hash that are tried as the start of a move.
// Lines that many files hold in great numbers ("}", blank lines) would
// otherwise make the search quadratic; a move that starts with such a line
// is still found from its next line.
constexpr std::size_t kMaxCandidates = 64;

// The lines of one side (1: File One, 2: File Two) in the blocks that
// differ, ascending, without those the filters skipped.
std::vector<std::int64_t> ChangedLines(const std::vector<LineDiff::Hunk>& hunks, int side, const LineMask* skipped)
{
    std::vector<std::int64_t> lines;
    for (const LineDiff::Hunk& hunk : hunks) {
        if (hunk.ignored)
            continue;
        const std::int64_t first = side == 1 ? hunk.first1 : hunk.first2;
        const std::int64_t count = side == 1 ? hunk.count1 : hunk.count2;
        for (std::int64_t line = first; line < first + count; ++line)
            if (!skipped || static_cast<std::size_t>(line) >= skipped->size()
                || !(*skipped)[static_cast<std::size_t>(line)])
                lines.push_back(line);
    }
    return lines;
}

LineView View(const LineFile& file, std::int64_t line)
{
    return {file.RawLine(line), file.LineLacksNewline(line)};
}

// Letters and digits: ASCII ones, and every character beyond ASCII (counted
// by its first byte), which in the texts compared are mostly letters.
std::int64_t LettersAndDigits(std::string_view text)
{
    return std::count_if(text.begin(), text.end(), [](char c) {
        const auto byte = static_cast<unsigned char>(c);
        return (byte >= '0' && byte <= '9') || ((byte | 0x20) >= 'a' && (byte | 0x20) <= 'z') || byte >= 0xC0;
    });
}

bool Meaningful(const LineFile& file, std::int64_t first, std::int64_t count)
{
    std::int64_t letters = 0;
    for (std::int64_t line = first; line < first + count && letters < kMinAlnum; ++line)
        letters += LettersAndDigits(file.Line(line));
    return letters >= kMinAlnum || (count >= kMinLines && letters > 0);
}

// Changed lines of one offset at most this many lines apart are pieces of
// one moved block: the comparison matches some lines of a moved block
// (blank lines, braces) with equal lines elsewhere, and cuts it there.
constexpr std::int64_t kMaxGap = 3;
// No run has this offset.
constexpr std::int64_t kNoOffset = std::numeric_limits<std::int64_t>::min();

struct Run {
    Move move;
    bool meaningful = false;  // meaningful alone
    [[nodiscard]] std::int64_t Offset() const { return move.lineTwo - move.lineOne; }
    [[nodiscard]] std::int64_t End() const { return move.lineOne + move.count; }
};

class Search {
public:
    Search(const LineFile& one, const LineFile& two, const TextNormalizer& normalizer, std::vector<std::int64_t> lost,
           std::vector<std::int64_t> gained)
        : m_one(one), m_two(two), m_normalizer(normalizer), m_lost(std::move(lost)), m_gained(std::move(gained)),
          m_lostUsed(m_lost.size(), false), m_gainedUsed(m_gained.size(), false)
    {
        m_byHash.reserve(m_gained.size());
        for (std::size_t k = 0; k < m_gained.size(); ++k)
            m_byHash[m_normalizer.Hash(View(m_two, m_gained[k]))].push_back(k);
    }

    // First the runs that mean something alone, longest first at each line;
    // then, among the lines left, the pieces that may belong to a block;
    // then the blocks that mean something, their pieces joined where they
    // touch.
    std::vector<Move> Moves()
    {
        Pass(true);
        std::sort(m_runs.begin(), m_runs.end(),
                  [](const Run& a, const Run& b) { return a.move.lineOne < b.move.lineOne; });
        Pass(false);
        std::sort(m_runs.begin(), m_runs.end(),
                  [](const Run& a, const Run& b) { return a.move.lineOne < b.move.lineOne; });
        return Blocks();
    }

private:
    // Both runs go on while their lines follow each other in the file, are
    // still free and are equal.
    [[nodiscard]] std::size_t RunLength(std::size_t i, std::size_t k) const
    {
        std::size_t length = 0;
        while (i + length < m_lost.size() && k + length < m_gained.size() && !m_lostUsed[i + length]
               && !m_gainedUsed[k + length] && m_lost[i + length] == m_lost[i] + static_cast<std::int64_t>(length)
               && m_gained[k + length] == m_gained[k] + static_cast<std::int64_t>(length)
               && m_normalizer.Same(View(m_one, m_lost[i + length]), View(m_two, m_gained[k + length])))
            ++length;
        return length;
    }

    // The offset of a run next to File One's `line`, ending at most kMaxGap
    // lines before it or starting at most kMaxGap after it: one of an
    // earlier pass first, else the last one found in this pass; kNoOffset
    // when there is none.
    [[nodiscard]] std::int64_t NeighbourOffset(std::int64_t line, const std::vector<Run>& found) const
    {
        const auto after = std::upper_bound(m_runs.begin(), m_runs.end(), line,
                                            [](std::int64_t l, const Run& r) { return l < r.move.lineOne; });
        if (after != m_runs.begin() && line - std::prev(after)->End() <= kMaxGap)
            return std::prev(after)->Offset();
        if (after != m_runs.end() && after->move.lineOne - line <= kMaxGap)
            return after->Offset();
        if (!found.empty() && line - found.back().End() <= kMaxGap)
            return found.back().Offset();
        return kNoOffset;
    }

    void Pass(bool meaningfulOnly)
    {
        std::vector<Run> found;
        for (std::size_t i = 0; i < m_lost.size();) {
            if (m_lostUsed[i]) {
                ++i;
                continue;
            }
            // The longest run, but one that keeps a neighbour's offset goes
            // first: equal lines elsewhere (a declaration repeated through a
            // header) must not pull a block apart.
            const std::int64_t wanted = NeighbourOffset(m_lost[i], found);
            std::size_t longest = 0;
            std::size_t longestStart = 0;
            std::size_t kept = 0;
            std::size_t keptStart = 0;
            if (const auto bucket = m_byHash.find(m_normalizer.Hash(View(m_one, m_lost[i])));
                bucket != m_byHash.end()) {
                std::size_t tried = 0;
                for (const std::size_t k : bucket->second) {
                    if (m_gainedUsed[k])
                        continue;
                    const std::size_t length = RunLength(i, k);
                    if (length > longest) {
                        longest = length;
                        longestStart = k;
                    }
                    if (m_gained[k] - m_lost[i] == wanted && length > kept) {
                        kept = length;
                        keptStart = k;
                    }
                    if (++tried == kMaxCandidates)
                        break;
                }
            }
            const bool takeKept =
                kept > 0 && (!meaningfulOnly || Meaningful(m_one, m_lost[i], static_cast<std::int64_t>(kept)));
            // A piece beside a block that cannot keep its offset would only
            // cut the block: it is left alone.
            if (!meaningfulOnly && !takeKept && wanted != kNoOffset) {
                ++i;
                continue;
            }
            const std::size_t best = takeKept ? kept : longest;
            const std::size_t bestStart = takeKept ? keptStart : longestStart;
            const auto count = static_cast<std::int64_t>(best);
            const bool meaningful = best > 0 && Meaningful(m_one, m_lost[i], count);
            // A longer run has at least the lines and letters of a shorter
            // one: when the longest means nothing, no move starts here.
            if (best == 0 || (meaningfulOnly && !meaningful)) {
                ++i;
                continue;
            }
            found.push_back({{m_lost[i], m_gained[bestStart], count}, meaningful});
            std::fill_n(m_gainedUsed.begin() + static_cast<std::ptrdiff_t>(bestStart), best, true);
            std::fill_n(m_lostUsed.begin() + static_cast<std::ptrdiff_t>(i), best, true);
            i += best;
        }
        m_runs.insert(m_runs.end(), found.begin(), found.end());
    }

    // The runs in blocks: one offset, at most kMaxGap lines apart. A block
    // counts when one of its runs means something alone or all of them do
    // together.
    [[nodiscard]] std::vector<Move> Blocks() const
    {
        std::vector<Move> moves;
        for (std::size_t first = 0; first < m_runs.size();) {
            std::size_t last = first;
            while (last + 1 < m_runs.size() && m_runs[last + 1].Offset() == m_runs[first].Offset()
                   && m_runs[last + 1].move.lineOne - m_runs[last].End() <= kMaxGap)
                ++last;
            bool counts = false;
            std::int64_t lines = 0;
            std::int64_t letters = 0;
            for (std::size_t r = first; r <= last; ++r) {
                counts = counts || m_runs[r].meaningful;
                lines += m_runs[r].move.count;
                for (std::int64_t line = m_runs[r].move.lineOne; line < m_runs[r].End(); ++line)
                    letters += LettersAndDigits(m_one.Line(line));
            }
            if (counts || letters >= kMinAlnum || (lines >= kMinLines && letters > 0))
                for (std::size_t r = first; r <= last; ++r) {
                    const Move& move = m_runs[r].move;
                    if (!moves.empty() && moves.back().lineOne + moves.back().count == move.lineOne
                        && moves.back().lineTwo + moves.back().count == move.lineTwo)
                        moves.back().count += move.count;
                    else
                        moves.push_back(move);
                }
            first = last + 1;
        }
        return moves;
    }

    const LineFile& m_one;
    const LineFile& m_two;
    const TextNormalizer& m_normalizer;
    std::vector<std::int64_t> m_lost;    // changed lines of File One
    std::vector<std::int64_t> m_gained;  // changed lines of File Two
    std::vector<bool> m_lostUsed;
    std::vector<bool> m_gainedUsed;
    std::unordered_map<std::uint64_t, std::vector<std::size_t>> m_byHash;  // gained lines by hash
    std::vector<Run> m_runs;
};

}  // namespace

std::vector<Move> Find(const LineFile& one, const LineFile& two, const std::vector<LineDiff::Hunk>& hunks,
                       const TextNormalizer& normalizer, const LineMask* skippedOne, const LineMask* skippedTwo)
{
    std::vector<std::int64_t> lost = ChangedLines(hunks, 1, skippedOne);
    std::vector<std::int64_t> gained = ChangedLines(hunks, 2, skippedTwo);
    if (lost.empty() || gained.empty())
        return {};
    return Search(one, two, normalizer, std::move(lost), std::move(gained)).Moves();
}

}  // namespace MovedLines

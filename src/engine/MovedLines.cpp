#include "engine/MovedLines.h"

#include <algorithm>
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

// The index of `line` in the ascending `lines`, or -1.
std::ptrdiff_t IndexOf(const std::vector<std::int64_t>& lines, std::int64_t line)
{
    const auto at = std::lower_bound(lines.begin(), lines.end(), line);
    return at != lines.end() && *at == line ? at - lines.begin() : -1;
}

// A moved block comes out of the comparison in pieces when some of its lines
// (blank lines, braces) were matched with lines elsewhere. The changed lines
// within a few lines after a move that keep its offset join it, however
// short they are on their own, as do those right before it; then moves that
// touch are joined.
template <class Same>
void Grow(std::vector<Move>& moves, const std::vector<std::int64_t>& lost, const std::vector<std::int64_t>& gained,
          std::vector<bool>& lostUsed, std::vector<bool>& gainedUsed, const Same& same)
{
    constexpr std::int64_t kMaxGap = 3;
    std::sort(moves.begin(), moves.end(), [](const Move& a, const Move& b) { return a.lineOne < b.lineOne; });
    std::vector<Move> grown;
    for (Move move : moves) {
        // Back over the lines before the move, then on over those after it.
        for (std::int64_t before = move.lineOne - 1; before >= move.lineOne - 1; --before) {
            const std::ptrdiff_t i = IndexOf(lost, before);
            const std::ptrdiff_t k = i < 0 ? -1 : IndexOf(gained, before + move.lineTwo - move.lineOne);
            if (k < 0 || lostUsed[static_cast<std::size_t>(i)] || gainedUsed[static_cast<std::size_t>(k)]
                || !same(before, gained[static_cast<std::size_t>(k)]))
                break;
            lostUsed[static_cast<std::size_t>(i)] = true;
            gainedUsed[static_cast<std::size_t>(k)] = true;
            --move.lineOne;
            --move.lineTwo;
            ++move.count;
        }
        for (std::int64_t next = move.lineOne + move.count, gap = 0; gap <= kMaxGap; ++next, ++gap) {
            const std::ptrdiff_t i = IndexOf(lost, next);
            const std::ptrdiff_t k = i < 0 ? -1 : IndexOf(gained, next + move.lineTwo - move.lineOne);
            if (k < 0 || lostUsed[static_cast<std::size_t>(i)] || gainedUsed[static_cast<std::size_t>(k)]
                || !same(next, gained[static_cast<std::size_t>(k)]))
                continue;
            lostUsed[static_cast<std::size_t>(i)] = true;
            gainedUsed[static_cast<std::size_t>(k)] = true;
            if (gap > 0) {
                grown.push_back(move);
                move = {next, gained[static_cast<std::size_t>(k)], 0};
            }
            ++move.count;
            gap = -1;
        }
        grown.push_back(move);
    }
    moves.clear();
    for (const Move& move : grown) {
        if (!moves.empty() && moves.back().lineOne + moves.back().count == move.lineOne
            && moves.back().lineTwo + moves.back().count == move.lineTwo)
            moves.back().count += move.count;
        else
            moves.push_back(move);
    }
}

}  // namespace

std::vector<Move> Find(const LineFile& one, const LineFile& two, const std::vector<LineDiff::Hunk>& hunks,
                       const TextNormalizer& normalizer, const LineMask* skippedOne, const LineMask* skippedTwo)
{
    const std::vector<std::int64_t> lost = ChangedLines(hunks, 1, skippedOne);
    const std::vector<std::int64_t> gained = ChangedLines(hunks, 2, skippedTwo);
    std::vector<Move> moves;
    if (lost.empty() || gained.empty())
        return moves;
    std::unordered_map<std::uint64_t, std::vector<std::size_t>> byHash;
    byHash.reserve(gained.size());
    for (std::size_t k = 0; k < gained.size(); ++k)
        byHash[normalizer.Hash(View(two, gained[k]))].push_back(k);
    std::vector<bool> used(gained.size(), false);
    // Both runs go on while their lines follow each other in the file, are
    // still free and are equal.
    const auto runLength = [&](std::size_t i, std::size_t k) {
        std::size_t length = 0;
        while (i + length < lost.size() && k + length < gained.size() && !used[k + length]
               && lost[i + length] == lost[i] + static_cast<std::int64_t>(length)
               && gained[k + length] == gained[k] + static_cast<std::int64_t>(length)
               && normalizer.Same(View(one, lost[i + length]), View(two, gained[k + length])))
            ++length;
        return length;
    };
    std::vector<bool> lostUsed(lost.size(), false);
    for (std::size_t i = 0; i < lost.size();) {
        std::size_t best = 0;
        std::size_t bestStart = 0;
        if (const auto bucket = byHash.find(normalizer.Hash(View(one, lost[i]))); bucket != byHash.end()) {
            std::size_t tried = 0;
            for (const std::size_t k : bucket->second) {
                if (used[k])
                    continue;
                if (const std::size_t length = runLength(i, k); length > best) {
                    best = length;
                    bestStart = k;
                }
                if (++tried == kMaxCandidates)
                    break;
            }
        }
        // A longer run has at least the lines and letters of a shorter one:
        // when the longest means nothing, no move starts here.
        const auto count = static_cast<std::int64_t>(best);
        if (best == 0 || !Meaningful(one, lost[i], count)) {
            ++i;
            continue;
        }
        moves.push_back({lost[i], gained[bestStart], count});
        std::fill(used.begin() + static_cast<std::ptrdiff_t>(bestStart),
                  used.begin() + static_cast<std::ptrdiff_t>(bestStart + best), true);
        std::fill(lostUsed.begin() + static_cast<std::ptrdiff_t>(i),
                  lostUsed.begin() + static_cast<std::ptrdiff_t>(i + best), true);
        i += best;
    }
    Grow(moves, lost, gained, lostUsed, used,
         [&](std::int64_t a, std::int64_t b) { return normalizer.Same(View(one, a), View(two, b)); });
    return moves;
}

}  // namespace MovedLines

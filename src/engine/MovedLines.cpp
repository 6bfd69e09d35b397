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
        i += best;
    }
    return moves;
}

}  // namespace MovedLines

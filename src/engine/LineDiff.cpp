#include "engine/LineDiff.h"

#include "engine/MiddleSnake.h"

namespace LineDiff {

void MarkChanges(const std::vector<std::uint32_t>& a, const std::vector<std::uint32_t>& b,
                 std::uint32_t classCount, bool minimal,
                 std::vector<std::uint8_t>& changedA, std::vector<std::uint8_t>& changedB)
{
    // A line whose class never occurs in the other file cannot be part of
    // any common subsequence: mark it now and keep it out of the search.
    // This is exact, and on typical edits it removes most changed lines.
    std::vector<std::uint32_t> reducedA;
    std::vector<std::uint32_t> reducedB;
    std::vector<std::uint32_t> mapA;
    std::vector<std::uint32_t> mapB;
    {
        std::vector<std::uint8_t> inA(classCount, 0);
        std::vector<std::uint8_t> inB(classCount, 0);
        for (std::uint32_t c : a)
            inA[c] = 1;
        for (std::uint32_t c : b)
            inB[c] = 1;
        auto reduce = [](const std::vector<std::uint32_t>& seq, const std::vector<std::uint8_t>& inOther,
                         std::vector<std::uint8_t>& changed, std::vector<std::uint32_t>& reduced,
                         std::vector<std::uint32_t>& map) {
            size_t kept = 0;
            for (std::uint32_t c : seq)
                kept += inOther[c];
            reduced.reserve(kept);
            map.reserve(kept);
            for (size_t i = 0; i < seq.size(); ++i) {
                if (inOther[seq[i]]) {
                    reduced.push_back(seq[i]);
                    map.push_back(static_cast<std::uint32_t>(i));
                } else {
                    changed[i] = 1;
                }
            }
        };
        reduce(a, inB, changedA, reducedA, mapA);
        reduce(b, inA, changedB, reducedB, mapB);
    }
    if (reducedA.empty() && reducedB.empty())
        return;
    MiddleSnakeSearch search(reducedA, reducedB, classCount, minimal);
    search.Run([&](bool sideB, std::int64_t index) {
        if (sideB)
            changedB[mapB[static_cast<size_t>(index)]] = 1;
        else
            changedA[mapA[static_cast<size_t>(index)]] = 1;
    });
}

std::vector<Hunk> CollectHunks(const std::vector<std::uint8_t>& changedA,
                               const std::vector<std::uint8_t>& changedB)
{
    std::vector<Hunk> hunks;
    const auto n = static_cast<std::int64_t>(changedA.size());
    const auto m = static_cast<std::int64_t>(changedB.size());
    std::int64_t i = 0;
    std::int64_t j = 0;
    while (i < n || j < m) {
        if (i < n && j < m && !changedA[static_cast<size_t>(i)] && !changedB[static_cast<size_t>(j)]) {
            ++i;
            ++j;
            continue;
        }
        Hunk h{i, 0, j, 0};
        while (i < n && changedA[static_cast<size_t>(i)])
            ++i;
        while (j < m && changedB[static_cast<size_t>(j)])
            ++j;
        h.count1 = i - h.first1;
        h.count2 = j - h.first2;
        if (h.count1 == 0 && h.count2 == 0) {
            // Unchanged lines left on one side only: the flags do not
            // describe a common subsequence. Treat the rest as changed
            // rather than emit a result that cannot be applied.
            h.count1 = n - i;
            h.count2 = m - j;
            i = n;
            j = m;
        }
        hunks.push_back(h);
    }
    return hunks;
}

}  // namespace LineDiff

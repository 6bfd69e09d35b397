#include "engine/LineDiff.h"

#include "engine/MiddleSnake.h"
#include "engine/Prepare.h"
#include "engine/Slide.h"

#include <algorithm>

namespace LineDiff {
namespace {

// The search over the lines the prepare stage kept; its findings are
// added to the lines already set aside.
void Search(Side& one, Side& two, std::uint32_t classCount, const Settings& settings)
{
    if (one.Searched().empty() && two.Searched().empty())
        return;
    // Where a side kept every line, the search marks its flags directly.
    std::vector<std::uint8_t> keptChangedA(one.keptAll ? 0 : one.kept.size(), 0);
    std::vector<std::uint8_t> keptChangedB(two.keptAll ? 0 : two.kept.size(), 0);
    MiddleSnakeSearch(one.Searched(), two.Searched(), classCount, settings.minimal, settings.cutoff)
        .Run(one.keptAll ? one.changed : keptChangedA, two.keptAll ? two.changed : keptChangedB);
    for (std::size_t i = 0; i < keptChangedA.size(); ++i)
        one.changed[one.keptIndex[i]] |= keptChangedA[i];
    for (std::size_t j = 0; j < keptChangedB.size(); ++j)
        two.changed[two.keptIndex[j]] |= keptChangedB[j];
    // The search's inputs are no longer needed; free them before sliding.
    one.kept = {};
    one.keptIndex = {};
    two.kept = {};
    two.keptIndex = {};
}

}  // namespace

std::vector<Hunk> FindHunks(const LineFile& a, const LineFile& b, const Settings& settings)
{
    const TextNormalizer normalizer(settings.ignoreCase, settings.ignoreWhiteSpace);
    Prepared p = Prepare(a, b, normalizer);
    Search(p.one, p.two, p.classCount, settings);

    const std::int64_t prefix = p.prefix;
    std::vector<std::uint8_t> changedA(static_cast<std::size_t>(a.LineCount()), 0);
    std::vector<std::uint8_t> changedB(static_cast<std::size_t>(b.LineCount()), 0);
    std::copy(p.one.changed.begin(), p.one.changed.end(), changedA.begin() + prefix);
    std::copy(p.two.changed.begin(), p.two.changed.end(), changedB.begin() + prefix);
    p.one.changed = {};
    p.two.changed = {};

    SlideChanges({changedA, a, p.one.classes, prefix, normalizer}, {changedB, b, p.two.classes, prefix, normalizer});
    return CollectHunks(changedA, changedB);
}

std::vector<Hunk> CollectHunks(const std::vector<std::uint8_t>& changedA, const std::vector<std::uint8_t>& changedB)
{
    std::vector<Hunk> hunks;
    const auto n = static_cast<std::int64_t>(changedA.size());
    const auto m = static_cast<std::int64_t>(changedB.size());
    std::int64_t i = 0;
    std::int64_t j = 0;
    while (i < n || j < m) {
        if (i < n && j < m && !changedA[static_cast<std::size_t>(i)] && !changedB[static_cast<std::size_t>(j)]) {
            ++i;
            ++j;
            continue;
        }
        Hunk h{i, 0, j, 0};
        while (i < n && changedA[static_cast<std::size_t>(i)])
            ++i;
        while (j < m && changedB[static_cast<std::size_t>(j)])
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

#include "engine/LineDiff.h"

#include "engine/MiddleSnake.h"
#include "engine/Prepare.h"
#include "engine/Slide.h"

namespace LineDiff {
namespace {

// The search over the lines the prepare stage kept; its findings are
// added to the lines already set aside.
void Search(Prepared& p, const Settings& settings)
{
    Side& one = p.one;
    Side& two = p.two;
    if (one.Searched().empty() && two.Searched().empty())
        return;
    // Where a side kept every line, the search marks its flags directly.
    Flags keptChangedA(one.keptAll ? 0 : one.kept.size());
    Flags keptChangedB(two.keptAll ? 0 : two.kept.size());
    std::uint8_t* middleA = p.changedOne.data() + p.prefix;
    std::uint8_t* middleB = p.changedTwo.data() + p.prefix;
    MiddleSnakeSearch(one.Searched(), two.Searched(), p.classCount, settings.minimal, settings.cutoff)
        .Run(one.keptAll ? middleA : keptChangedA.data(), two.keptAll ? middleB : keptChangedB.data());
    for (std::size_t i = 0; i < keptChangedA.size(); ++i)
        middleA[one.keptIndex[i]] |= keptChangedA[i];
    for (std::size_t j = 0; j < keptChangedB.size(); ++j)
        middleB[two.keptIndex[j]] |= keptChangedB[j];
    // The search's inputs are no longer needed; free them before sliding.
    one.kept = {};
    one.keptIndex = {};
    two.kept = {};
    two.keptIndex = {};
}

}  // namespace

std::vector<Hunk> FindHunks(const LineFile& a, const LineFile& b, const Settings& settings)
{
    const TextNormalizer normalizer(settings);
    Prepared p = Prepare(a, b, normalizer, settings.horizon, settings.diffPlacement);
    Search(p, settings);
    SlideChanges({p.changedOne, a, p.one.classes, p.prefix, normalizer, settings.diffPlacement},
                 {p.changedTwo, b, p.two.classes, p.prefix, normalizer, settings.diffPlacement});
    return CollectHunks(p.changedOne, p.changedTwo);
}

std::vector<Hunk> CollectHunks(const Flags& changedA, const Flags& changedB)
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

#include "engine/MiddleSnake.h"

#include <algorithm>
#include <bit>

namespace LineDiff {

MiddleSnakeSearch::MiddleSnakeSearch(const std::vector<std::uint32_t>& x, const std::vector<std::uint32_t>& y,
                                     std::uint32_t classCount, bool minimal, std::int64_t cutoff)
    : m_x(x), m_y(y), m_classCount(classCount), m_minimal(minimal), m_cutoff(cutoff > 0 ? cutoff : kCutoff)
{
    const auto n = static_cast<std::int64_t>(x.size());
    const auto m = static_cast<std::int64_t>(y.size());
    // Diagonals run from -m to n; one spare slot on each side.
    m_offset = m + 1;
    m_forward = std::make_unique_for_overwrite<std::int64_t[]>(static_cast<size_t>(n + m + 3));
    m_backward = std::make_unique_for_overwrite<std::int64_t[]>(static_cast<size_t>(n + m + 3));
}

void MiddleSnakeSearch::MarkAll(const Box& box, std::uint8_t* changedX, std::uint8_t* changedY)
{
    for (std::int64_t i = box.x0; i < box.x1; ++i)
        changedX[static_cast<size_t>(i)] = 1;
    for (std::int64_t j = box.y0; j < box.y1; ++j)
        changedY[static_cast<size_t>(j)] = 1;
}

void MiddleSnakeSearch::Run(std::uint8_t* changedX, std::uint8_t* changedY)
{
    Solve({0, static_cast<std::int64_t>(m_x.size()), 0, static_cast<std::int64_t>(m_y.size())}, changedX, changedY);
    if (!m_guesses.empty())
        Polish(changedX, changedY);
}

void MiddleSnakeSearch::Solve(const Box& whole, std::uint8_t* changedX, std::uint8_t* changedY)
{
    std::vector<Box> pending{whole};
    // An explicit stack: heuristic splits can make the recursion deep.
    while (!pending.empty()) {
        Box box = pending.back();
        pending.pop_back();
        while (box.x0 < box.x1 && box.y0 < box.y1
               && m_x[static_cast<size_t>(box.x0)] == m_y[static_cast<size_t>(box.y0)]) {
            ++box.x0;
            ++box.y0;
        }
        while (box.x0 < box.x1 && box.y0 < box.y1
               && m_x[static_cast<size_t>(box.x1 - 1)] == m_y[static_cast<size_t>(box.y1 - 1)]) {
            --box.x1;
            --box.y1;
        }
        if (box.x0 == box.x1 || box.y0 == box.y1 || (box.checkShared && !SharesAnyLine(box))) {
            MarkAll(box, changedX, changedY);
            continue;
        }
        bool expensive = false;
        const Point p = Split(box, expensive);
        if (expensive && SplitAtUniqueLines(box, pending))
            continue;
        const bool corner = (p.x == box.x0 && p.y == box.y0) || (p.x == box.x1 && p.y == box.y1);
        if (corner || p.x < box.x0 || p.x > box.x1 || p.y < box.y0 || p.y > box.y1) {
            // Cannot happen for a sound search; never loop forever on it.
            MarkAll(box, changedX, changedY);
            continue;
        }
        if (expensive)
            m_guesses.push_back(p);
        pending.push_back({p.x, box.x1, p.y, box.y1});
        pending.push_back({box.x0, p.x, box.y0, p.y});
    }
}

void MiddleSnakeSearch::Polish(std::uint8_t* changedX, std::uint8_t* changedY)
{
    std::vector<Point> guesses = std::move(m_guesses);
    m_guesses.clear();
    std::sort(guesses.begin(), guesses.end(), [](Point a, Point b) { return a.x < b.x; });
    const auto n = static_cast<std::int64_t>(m_x.size());
    const auto m = static_cast<std::int64_t>(m_y.size());
    // Walks the result from (i, j) until i reaches `target`; every point
    // passed lies on the path the flags describe.
    auto walk = [&](std::int64_t& i, std::int64_t& j, std::int64_t target) {
        while (i < target && (i < n || j < m)) {
            if (i < n && changedX[static_cast<size_t>(i)])
                ++i;
            else if (j < m && changedY[static_cast<size_t>(j)])
                ++j;
            else {
                ++i;
                ++j;
            }
        }
    };
    const bool minimal = m_minimal;
    m_minimal = true;
    std::int64_t i = 0;
    std::int64_t j = 0;
    // Half the cut-off on each side: the guess is where a heuristic result
    // loses most, and a region of about the cut-off's cost is still cheap
    // to search exactly.
    const std::int64_t reach = m_cutoff / 2;
    for (const Point p : guesses) {
        if (p.x - reach > i)
            walk(i, j, p.x - reach);
        std::int64_t i1 = i;
        std::int64_t j1 = j;
        walk(i1, j1, std::min(n, p.x + reach));
        if (i1 <= p.x)
            continue;
        // Between two points of the path the region may be solved again;
        // an exact answer there is never larger than what it replaces.
        std::fill(changedX + i, changedX + i1, 0);
        std::fill(changedY + j, changedY + j1, 0);
        Solve({i, i1, j, j1}, changedX, changedY);
        i = i1;
        j = j1;
    }
    m_minimal = minimal;
}

namespace {

// The number of equal pairs from (x, y) on, at most `limit`. Four pairs are
// compared at a time without a branch between them: on inputs of few
// distinct lines most runs end within four, and a mispredicted branch per
// pair would cost more than the comparisons.
template <class Equal>
std::int64_t SnakeLength(std::int64_t x, std::int64_t y, std::int64_t limit, Equal equal)
{
    std::int64_t length = 0;
    while (limit - length >= 4) {
        const unsigned differ = static_cast<unsigned>(!equal(x + length, y + length))
                                | static_cast<unsigned>(!equal(x + length + 1, y + length + 1)) << 1U
                                | static_cast<unsigned>(!equal(x + length + 2, y + length + 2)) << 2U
                                | static_cast<unsigned>(!equal(x + length + 3, y + length + 3)) << 3U;
        if (differ != 0)
            return length + std::countr_zero(differ);
        length += 4;
    }
    while (length < limit && equal(x + length, y + length))
        ++length;
    return length;
}

}  // namespace

template <bool Meet, class Equal>
std::int64_t MiddleSnakeSearch::Advance(Frontier& f, std::int64_t n, std::int64_t m, Equal equal, const Frontier& other,
                                        std::int64_t delta)
{
    std::int64_t* v = f.v;
    std::int64_t lo = f.lo - 1;
    std::int64_t hi = f.hi + 1;
    if (lo < -m)
        lo += 2;
    if (hi > n)
        hi -= 2;
    // The slots just outside the last range read as unreachable, so each
    // diagonal reads both neighbours without a bounds check. Diagonals of
    // this cost have the other parity than those of the last cost, so the
    // slots read (k - 1, k + 1) are not overwritten here.
    if (lo < f.lo)
        v[lo - 1] = -1;
    if (hi > f.hi)
        v[hi + 1] = -1;
    std::int64_t met = kNoMeeting;
    for (std::int64_t k = hi; k >= lo; k -= 2) {
        std::int64_t x = -1;
        if (v[k + 1] >= 0 && v[k + 1] - (k + 1) < m)
            x = v[k + 1];  // one line of y inserted
        if (v[k - 1] >= 0 && v[k - 1] < n)
            x = std::max(x, v[k - 1] + 1);  // one line of x deleted
        if (x >= 0)
            x += SnakeLength(x, x - k, std::min(n - x, m - (x - k)), equal);
        v[k] = x;
        if constexpr (Meet) {
            // Checked here rather than in a second pass over the diagonals,
            // which cost a third of the search's time.
            const std::int64_t c = delta - k;
            if (x >= 0 && c >= other.lo && c <= other.hi && other.v[c] >= 0 && x + other.v[c] >= n)
                met = k;
        }
    }
    f.lo = lo;
    f.hi = hi;
    return met;
}

MiddleSnakeSearch::Point MiddleSnakeSearch::Split(const Box& box, bool& expensive)
{
    const std::int64_t n = box.x1 - box.x0;
    const std::int64_t m = box.y1 - box.y0;
    const std::int64_t delta = n - m;
    const bool odd = (delta & 1) != 0;
    const std::uint32_t* xs = m_x.data() + box.x0;
    const std::uint32_t* ys = m_y.data() + box.y0;
    auto forwardEqual = [xs, ys](std::int64_t x, std::int64_t y) { return xs[x] == ys[y]; };
    // The backward search runs forward over both sequences read from the end.
    const std::uint32_t* xe = m_x.data() + box.x1 - 1;
    const std::uint32_t* ye = m_y.data() + box.y1 - 1;
    auto backwardEqual = [xe, ye](std::int64_t x, std::int64_t y) { return xe[-x] == ye[-y]; };

    Frontier f{m_forward.get() + m_offset, 0, 0};
    Frontier b{m_backward.get() + m_offset, 0, 0};
    f.v[0] = 0;
    b.v[0] = 0;
    // Both ends of the box differ, so the cost-0 snakes are empty.
    for (std::int64_t d = 1;; ++d) {
        // With an odd delta the forward search meets the backward one on
        // its own step, with an even delta the backward search does.
        if (odd) {
            const std::int64_t k = Advance<true>(f, n, m, forwardEqual, b, delta);
            if (k != kNoMeeting)
                return {box.x0 + f.v[k], box.y0 + f.v[k] - k};
            Advance<false>(b, n, m, backwardEqual, f, delta);
        } else {
            Advance<false>(f, n, m, forwardEqual, b, delta);
            const std::int64_t c = Advance<true>(b, n, m, backwardEqual, f, delta);
            if (c != kNoMeeting)
                return {box.x1 - b.v[c], box.y1 - (b.v[c] - c)};
        }
        if (!m_minimal && d >= m_cutoff) {
            expensive = true;
            return BestProgress(box, f, b);
        }
    }
}

MiddleSnakeSearch::Point MiddleSnakeSearch::BestProgress(const Box& box, const Frontier& f, const Frontier& b) const
{
    Point best{box.x0, box.y0};
    std::int64_t bestProgress = -1;
    auto consider = [&](std::int64_t progress, Point p) {
        const bool corner = (p.x == box.x0 && p.y == box.y0) || (p.x == box.x1 && p.y == box.y1);
        if (!corner && progress > bestProgress) {
            bestProgress = progress;
            best = p;
        }
    };
    for (std::int64_t k = f.lo; k <= f.hi; k += 2) {
        if (f.v[k] >= 0)
            consider(2 * f.v[k] - k, {box.x0 + f.v[k], box.y0 + f.v[k] - k});
    }
    for (std::int64_t c = b.lo; c <= b.hi; c += 2) {
        if (b.v[c] >= 0)
            consider(2 * b.v[c] - c, {box.x1 - b.v[c], box.y1 - (b.v[c] - c)});
    }
    return best;
}

bool MiddleSnakeSearch::SharesAnyLine(const Box& box)
{
    for (std::int64_t j = box.y0; j < box.y1; ++j)
        m_countY[m_y[static_cast<size_t>(j)]] = 1;
    bool shared = false;
    for (std::int64_t i = box.x0; i < box.x1 && !shared; ++i)
        shared = m_countY[m_x[static_cast<size_t>(i)]] != 0;
    for (std::int64_t j = box.y0; j < box.y1; ++j)
        m_countY[m_y[static_cast<size_t>(j)]] = 0;
    return shared;
}

bool MiddleSnakeSearch::SplitAtUniqueLines(const Box& box, std::vector<Box>& pending)
{
    if (m_countX.empty()) {
        m_countX.assign(m_classCount, 0);
        m_countY.assign(m_classCount, 0);
        m_posY.assign(m_classCount, 0);
    }
    for (std::int64_t i = box.x0; i < box.x1; ++i)
        ++m_countX[m_x[static_cast<size_t>(i)]];
    for (std::int64_t j = box.y0; j < box.y1; ++j) {
        const std::uint32_t c = m_y[static_cast<size_t>(j)];
        ++m_countY[c];
        m_posY[c] = static_cast<std::uint32_t>(j);
    }
    // Pairs of lines that occur once on each side, in x order.
    std::vector<Point> pairs;
    for (std::int64_t i = box.x0; i < box.x1; ++i) {
        const std::uint32_t c = m_x[static_cast<size_t>(i)];
        if (m_countX[c] == 1 && m_countY[c] == 1)
            pairs.push_back({i, m_posY[c]});
    }
    for (std::int64_t i = box.x0; i < box.x1; ++i)
        m_countX[m_x[static_cast<size_t>(i)]] = 0;
    for (std::int64_t j = box.y0; j < box.y1; ++j)
        m_countY[m_y[static_cast<size_t>(j)]] = 0;
    if (pairs.empty())
        return false;

    // Longest run of pairs increasing in y (patience sorting): tails[l] is
    // the pair ending the best run of length l + 1 with the smallest y.
    std::vector<std::uint32_t> tails;
    std::vector<std::int64_t> previous(pairs.size(), -1);
    for (size_t p = 0; p < pairs.size(); ++p) {
        auto it = std::lower_bound(tails.begin(), tails.end(), pairs[p].y,
                                   [&](std::uint32_t t, std::int64_t y) { return pairs[t].y < y; });
        if (it != tails.begin())
            previous[p] = *(it - 1);
        if (it == tails.end())
            tails.push_back(static_cast<std::uint32_t>(p));
        else
            *it = static_cast<std::uint32_t>(p);
    }
    // In unrelated text the few unique pairs are chance matches in no
    // common order; anchoring on them would cost more than it saves. (Where
    // most lines pair up, as in a reordered file, the anchors still serve.)
    const std::int64_t shorter = std::min(box.x1 - box.x0, box.y1 - box.y0);
    if (tails.size() * 2 < pairs.size() && static_cast<std::int64_t>(pairs.size()) * 2 < shorter)
        return false;
    // Walk the run backwards, queueing the gaps between anchors.
    std::int64_t x1 = box.x1;
    std::int64_t y1 = box.y1;
    for (std::int64_t p = tails.back(); p >= 0; p = previous[static_cast<size_t>(p)]) {
        const Point anchor = pairs[static_cast<size_t>(p)];
        pending.push_back({anchor.x + 1, x1, anchor.y + 1, y1, true});
        x1 = anchor.x;
        y1 = anchor.y;
    }
    pending.push_back({box.x0, x1, box.y0, y1, true});
    return true;
}

}  // namespace LineDiff

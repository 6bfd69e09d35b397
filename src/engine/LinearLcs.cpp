#include "engine/LinearLcs.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstring>
#include <unordered_map>
#include <optional>

namespace modVantrel::detail {
namespace {

// Stretches up to this many table cells (and no more than the caller's table
// budget) are solved with the table and its tie rule.
constexpr std::int64_t kSmallTableCells = 4 * 1024 * 1024;
// A table cell costs about a quarter of a search step.
constexpr std::int64_t kCellsPerWorkUnit = 4;
constexpr std::int32_t kUnreached = -1;

// Below this many characters in both lines together no anchors are used, so
// the result is a longest common subsequence.
constexpr std::size_t kAnchorThreshold = 64 * 1024;

struct Point {
    std::int64_t x = 0;
    std::int64_t y = 0;
};

// Stretches of this many characters that occur exactly once in each line,
// in the same order in both, are taken as fixed matches on long lines: they
// cut one large problem into many small ones.
constexpr std::int64_t kAnchorLength = 32;

struct Anchor {
    std::int64_t one = 0;  // start in line one
    std::int64_t two = 0;  // start in line two
};

// The value of a character: bytes count as unsigned.
inline std::uint64_t Code(char c)
{
    return static_cast<unsigned char>(c);
}
inline std::uint64_t Code(char32_t c)
{
    return c;
}

// A random 64-bit value per character (fixed, so results repeat).
std::uint64_t Gear(std::uint64_t c)
{
    static const std::array<std::uint64_t, 256> values = [] {
        std::array<std::uint64_t, 256> table{};
        std::uint64_t state = 0x5EED5EED5EED5EEDULL;
        for (std::uint64_t& value : table) {
            state += 0x9E3779B97F4A7C15ULL;  // splitmix64
            std::uint64_t z = state;
            z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ULL;
            z = (z ^ (z >> 27)) * 0x94D049BB133111EBULL;
            value = z ^ (z >> 31);
        }
        return table;
    }();
    return values[c & 0xFF] ^ ((c >> 8) * 0x9E3779B97F4A7C15ULL);
}

// A gear hash of kAnchorLength characters: each character adds its value
// and every later one shifts the sum two bits up, so a character has left
// the 64-bit hash 32 characters later. The hash of the stretch ending at
// each position of a line is then one shift and one add away from the last.
static_assert(2 * kAnchorLength == 64);

inline std::uint64_t RollIn(std::uint64_t h, std::uint64_t c)
{
    return (h << 2) + Gear(c);
}

template <class Char>
std::uint64_t HashOf(const Char* text)
{
    std::uint64_t h = 0;
    for (std::int64_t k = 0; k < kAnchorLength; ++k)
        h = RollIn(h, Code(text[k]));
    return h;
}

// At most this many stretches of line one are candidates: on longer lines
// they are spread out, so the table stays small whatever the line's length.
constexpr std::int64_t kMaxCandidates = 1 << 16;
// Bits of the filter that most positions of line two are turned away by
// before the table is asked, indexed by the hash's top bits.
constexpr std::uint64_t kFilterBits = 1u << 22;
constexpr int kFilterShift = 64 - 22;

// Candidates: stretches of line one at evenly spaced starts (every anchor
// length, or further apart on long lines), unique among themselves, found
// once among all stretches of line two (by a rolling hash, checked character
// by character afterwards).
template <class Char>
std::vector<Anchor> CandidateAnchors(std::basic_string_view<Char> one, std::basic_string_view<Char> two)
{
    struct Seen {
        std::int64_t one;
        std::int64_t two;
        int countOne;
        int countTwo;
    };
    const std::int64_t stride = std::max(kAnchorLength, static_cast<std::int64_t>(one.size()) / kMaxCandidates + 1);
    std::unordered_map<std::uint64_t, Seen> table;
    table.reserve(one.size() / static_cast<std::size_t>(stride) + 1);
    std::vector<bool> filter(kFilterBits, false);
    for (std::int64_t i = 0; i + kAnchorLength <= static_cast<std::int64_t>(one.size()); i += stride) {
        const std::uint64_t h = HashOf(one.data() + i);
        auto [it, fresh] = table.try_emplace(h, Seen{i, -1, 0, 0});
        ++it->second.countOne;
        filter[h >> kFilterShift] = true;
    }
    const auto m = static_cast<std::int64_t>(two.size());
    std::uint64_t h = 0;
    for (std::int64_t end = 0; end < m; ++end) {
        h = RollIn(h, Code(two[static_cast<std::size_t>(end)]));
        if (end + 1 < kAnchorLength || !filter[h >> kFilterShift])
            continue;
        const auto it = table.find(h);
        if (it != table.end() && ++it->second.countTwo == 1)
            it->second.two = end + 1 - kAnchorLength;
    }
    std::vector<Anchor> out;
    for (const auto& [hash, seen] : table) {
        if (seen.countOne == 1 && seen.countTwo == 1
            && one.substr(static_cast<std::size_t>(seen.one), kAnchorLength)
                   == two.substr(static_cast<std::size_t>(seen.two), kAnchorLength)) {
            out.push_back({seen.one, seen.two});
        }
    }
    std::sort(out.begin(), out.end(), [](const Anchor& l, const Anchor& r) { return l.one < r.one; });
    return out;
}

// The longest chain of candidates that rises in both lines without overlap
// (longest increasing subsequence by patience sorting, O(c log c)).
template <class Char>
std::vector<Anchor> FindAnchors(std::basic_string_view<Char> one, std::basic_string_view<Char> two)
{
    const std::vector<Anchor> c = CandidateAnchors(one, two);
    std::vector<std::size_t> tails, previous(c.size(), SIZE_MAX);
    for (std::size_t i = 0; i < c.size(); ++i) {
        // Two anchors may not share characters of line two.
        auto pos = std::lower_bound(tails.begin(), tails.end(), i,
                                    [&](std::size_t t, std::size_t) { return c[t].two + kAnchorLength <= c[i].two; });
        if (pos != tails.begin())
            previous[i] = *(pos - 1);
        if (pos == tails.end())
            tails.push_back(i);
        else
            *pos = i;
    }
    std::vector<Anchor> chain;
    for (std::size_t i = tails.empty() ? SIZE_MAX : tails.back(); i != SIZE_MAX; i = previous[i])
        chain.push_back(c[i]);
    std::reverse(chain.begin(), chain.end());
    return chain;
}

template <class Char>
class LinearLcs {
public:
    using View = std::basic_string_view<Char>;
    LinearLcs(View one, View two, std::vector<bool>& marks1, std::vector<bool>& marks2, std::int64_t cellBudget,
              std::int64_t budget)
        : m_one(one), m_two(two), m_marks1(marks1), m_marks2(marks2),
          m_tableCells(std::min(cellBudget, kSmallTableCells)), m_budget(budget),
          m_maxD(maxRounds(one.size() + two.size(), budget)),
          m_forward(2 * static_cast<std::size_t>(m_maxD) + 5, kUnreached),
          m_backward(2 * static_cast<std::size_t>(m_maxD) + 5, kUnreached),
          m_centre(static_cast<std::size_t>(m_maxD) + 2)
    {
    }

    LinearLcsOutcome run(bool useAnchors)
    {
        const auto n = static_cast<std::int64_t>(m_one.size());
        const auto m = static_cast<std::int64_t>(m_two.size());
        const std::vector<Anchor> anchors = useAnchors ? FindAnchors(m_one, m_two) : std::vector<Anchor>{};
        std::int64_t x = 0, y = 0;
        for (const Anchor& anchor : anchors) {
            solve(x, anchor.one, y, anchor.two);
            for (std::int64_t k = 0; k < kAnchorLength; ++k)
                match(anchor.one + k, anchor.two + k);
            x = anchor.one + kAnchorLength;
            y = anchor.two + kAnchorLength;
        }
        solve(x, n, y, m);
        return {m_length, m_complete, !anchors.empty()};
    }

private:
    // Round d of the search costs at least 2 (d + 1) units of work, so the
    // budget ends it before round sqrt(budget) + 1; no path needs more
    // rounds than there are characters. The diagonal arrays are sized by
    // this, not by the lines' length.
    static std::int32_t maxRounds(std::size_t characters, std::int64_t budget)
    {
        std::int64_t rounds = 0;
        while (rounds * rounds < std::max<std::int64_t>(budget, 0))
            ++rounds;
        return static_cast<std::int32_t>(std::min<std::int64_t>(rounds + 1, static_cast<std::int64_t>(characters)));
    }

    void match(std::int64_t x, std::int64_t y)
    {
        m_marks1[static_cast<std::size_t>(x)] = true;
        m_marks2[static_cast<std::size_t>(y)] = true;
        ++m_length;
    }

    // Characters [x, x + count) of line one match [y, y + count) of two.
    void matchRun(std::int64_t x, std::int64_t y, std::int64_t count)
    {
        std::fill_n(m_marks1.begin() + x, count, true);
        std::fill_n(m_marks2.begin() + y, count, true);
        m_length += static_cast<std::int32_t>(count);
    }

    // Lines of a million identical characters are common: equal stretches
    // are skipped in blocks before the last one is looked at closely.
    static constexpr std::int64_t kBlock = 64;

    // Characters a[0..) and b[0..) equal from the start, at most `most`.
    static std::int64_t commonPrefix(const Char* a, const Char* b, std::int64_t most)
    {
        std::int64_t k = 0;
        while (k + kBlock <= most && std::memcmp(a + k, b + k, kBlock * sizeof(Char)) == 0)
            k += kBlock;
        while (k < most && a[k] == b[k])
            ++k;
        return k;
    }

    // Characters equal backwards from just before a and b, at most `most`.
    static std::int64_t commonSuffix(const Char* a, const Char* b, std::int64_t most)
    {
        std::int64_t k = 0;
        while (k + kBlock <= most && std::memcmp(a - k - kBlock, b - k - kBlock, kBlock * sizeof(Char)) == 0)
            k += kBlock;
        while (k < most && a[-k - 1] == b[-k - 1])
            ++k;
        return k;
    }

    // Solves one[x0, x1) against two[y0, y1).
    void solve(std::int64_t x0, std::int64_t x1, std::int64_t y0, std::int64_t y1)
    {
        // A common prefix and suffix belong to some longest common subsequence;
        // taking them first also guarantees that the split below makes progress.
        const std::int64_t prefix = commonPrefix(m_one.data() + x0, m_two.data() + y0, std::min(x1 - x0, y1 - y0));
        matchRun(x0, y0, prefix);
        x0 += prefix;
        y0 += prefix;
        const std::int64_t suffix = commonSuffix(m_one.data() + x1, m_two.data() + y1, std::min(x1 - x0, y1 - y0));
        x1 -= suffix;
        y1 -= suffix;
        matchRun(x1, y1, suffix);
        const std::int64_t n = x1 - x0;
        const std::int64_t m = y1 - y0;
        if (n == 0 || m == 0 || m_budget <= 0) {
            m_complete = m_complete && (n == 0 || m == 0);
            return;
        }
        if ((n + 1) * (m + 1) <= m_tableCells) {
            m_budget -= n * m / kCellsPerWorkUnit;
            m_length += TableLcs(m_one.substr(static_cast<std::size_t>(x0), static_cast<std::size_t>(n)),
                                 m_two.substr(static_cast<std::size_t>(y0), static_cast<std::size_t>(m)), m_marks1,
                                 static_cast<std::size_t>(x0), m_marks2, static_cast<std::size_t>(y0));
            return;
        }
        const std::optional<Point> split = middle(x0, x1, y0, y1);
        // A split at a corner would repeat this very problem; it cannot occur
        // once prefix and suffix are gone, but the check keeps the recursion finite.
        if (!split || (split->x == 0 && split->y == 0) || (split->x == n && split->y == m)) {
            m_complete = false;
            return;
        }
        solve(x0, x0 + split->x, y0, y0 + split->y);
        solve(x0 + split->x, x1, y0 + split->y, y1);
    }

    // Furthest x on diagonal k = x - y one step beyond the points of the last
    // round (kept in v for diagonals -(d-1)..d-1), or kUnreached.
    static std::int32_t step(const std::int32_t* v, std::int32_t d, std::int32_t k, std::int32_t n, std::int32_t m)
    {
        if (d == 0)
            return k == 0 ? 0 : kUnreached;
        std::int32_t best = kUnreached;
        if (k + 1 <= d - 1 && v[k + 1] != kUnreached && v[k + 1] - (k + 1) < m) {
            best = v[k + 1];  // one more character of line two left out
        }
        if (k - 1 >= -(d - 1) && v[k - 1] != kUnreached && v[k - 1] < n) {
            best = std::max(best, v[k - 1] + 1);  // one more of line one left out
        }
        return best;
    }

    // A point on an optimal path through one[x0, x1) x two[y0, y1), relative
    // to (x0, y0), that lies strictly inside; nothing when the budget runs out.
    // Forward paths grow from the start, backward paths (in reversed
    // coordinates u = n - x, v = m - y) from the end, one edit per round; where
    // they first overlap on a diagonal, the edit distance is known and the
    // overlap point splits the problem into two of smaller distance.
    std::optional<Point> middle(std::int64_t x0, std::int64_t x1, std::int64_t y0, std::int64_t y1)
    {
        const auto n = static_cast<std::int32_t>(x1 - x0), m = static_cast<std::int32_t>(y1 - y0);
        const std::int32_t delta = n - m;
        const bool odd = (delta % 2) != 0;
        const Char* a = m_one.data() + x0;
        const Char* b = m_two.data() + y0;
        std::int32_t* fw = m_forward.data() + m_centre;
        std::int32_t* bw = m_backward.data() + m_centre;
        std::int64_t work = m_budget;
        for (std::int32_t d = 0; d <= (n + m + 1) / 2 && d <= m_maxD; ++d) {
            for (std::int32_t k = -d; k <= d; k += 2) {
                std::int32_t x = (k < -m || k > n) ? kUnreached : step(fw, d, k, n, m);
                if (x != kUnreached) {
                    const std::int32_t start = x;
                    for (std::int32_t y = x - k; x < n && y < m && a[x] == b[y]; ++x, ++y) {
                    }
                    work -= x - start;
                }
                fw[k] = x;
                const std::int32_t kb = delta - k;  // the same diagonal seen from the end
                if (odd && x != kUnreached && kb >= -(d - 1) && kb <= d - 1 && bw[kb] != kUnreached
                    && x + bw[kb] >= n) {
                    m_budget = work;
                    return Point{x, x - k};
                }
            }
            for (std::int32_t k = -d; k <= d; k += 2) {
                std::int32_t u = (k < -m || k > n) ? kUnreached : step(bw, d, k, n, m);
                if (u != kUnreached) {
                    const std::int32_t start = u;
                    for (std::int32_t v = u - k; u < n && v < m && a[n - 1 - u] == b[m - 1 - v]; ++u, ++v) {
                    }
                    work -= u - start;
                }
                bw[k] = u;
                const std::int32_t kf = delta - k;
                if (!odd && u != kUnreached && kf >= -d && kf <= d && fw[kf] != kUnreached && fw[kf] + u >= n) {
                    m_budget = work;
                    return Point{n - u, m - (u - k)};
                }
            }
            work -= 2 * (d + 1);
            if (work <= 0)
                break;
        }
        m_budget = work;
        return std::nullopt;  // out of budget
    }

    View m_one;
    View m_two;
    std::vector<bool>& m_marks1;
    std::vector<bool>& m_marks2;
    std::int64_t m_tableCells;
    std::int64_t m_budget;
    std::int32_t m_maxD;
    std::vector<std::int32_t> m_forward;
    std::vector<std::int32_t> m_backward;
    std::size_t m_centre;
    std::int32_t m_length = 0;
    bool m_complete = true;
};

}  // namespace

template <class Char>
LinearLcsOutcome LinearSpaceLcs(std::basic_string_view<Char> one, std::basic_string_view<Char> two,
                                std::vector<bool>& marks1, std::vector<bool>& marks2, std::int64_t cellBudget,
                                std::int64_t workBudget)
{
    LinearLcs<Char> solver(one, two, marks1, marks2, cellBudget, workBudget);
    return solver.run(one.size() + two.size() > kAnchorThreshold);
}

template LinearLcsOutcome LinearSpaceLcs(std::string_view, std::string_view, std::vector<bool>&, std::vector<bool>&,
                                         std::int64_t, std::int64_t);
template LinearLcsOutcome LinearSpaceLcs(std::u32string_view, std::u32string_view, std::vector<bool>&,
                                         std::vector<bool>&, std::int64_t, std::int64_t);

}  // namespace modVantrel::detail

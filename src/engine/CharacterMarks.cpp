#include "engine/CharacterMarks.h"

#include "engine/Unicode.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <string>
#include <unordered_map>

namespace CharacterMarks {
namespace {

// Marks one byte each while they are worked on: a pass over bytes is
// several times faster than one over the bits of std::vector<bool>.
using Marks = std::vector<std::uint8_t>;
using Kinds = std::vector<Kind>;

// A run of common characters followed by a change: `gone` characters of
// line one, `added` of line two.
struct Segment {
    std::int64_t equal = 0;
    std::int64_t gone = 0;
    std::int64_t added = 0;
    bool wordy = false;  // the common run holds a word character
    [[nodiscard]] bool HasChange() const { return gone > 0 || added > 0; }
    [[nodiscard]] std::int64_t ChangeLength() const { return std::max(gone, added); }
};

std::int64_t CountCommon(const Marks& marks)
{
    return static_cast<std::int64_t>(std::count(marks.begin(), marks.end(), std::uint8_t{1}));
}

// For each common character of `a`, the position of its partner in `b`;
// -1 for the others.
std::vector<std::int32_t> Partners(const Marks& a, const Marks& b)
{
    std::vector<std::int32_t> partner(a.size(), -1);
    std::size_t j = 0;
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (!a[i])
            continue;
        while (!b[j])
            ++j;
        partner[i] = static_cast<std::int32_t>(j++);
    }
    return partner;
}

// Where the character at each position starts: itself, or the character
// its combining marks follow.
std::vector<std::int32_t> ClusterStarts(const Kinds& kinds)
{
    std::vector<std::int32_t> start(kinds.size(), 0);
    for (std::size_t i = 1; i < kinds.size(); ++i)
        start[i] = kinds[i] == Kind::Attached ? start[i - 1] : static_cast<std::int32_t>(i);
    return start;
}

// Step 1: a character whose marks differ from its combining marks' becomes
// a change whole, and so does every character paired with what it loses.
void WholeCharacters(std::array<Marks*, 2> marks, std::array<const Kinds*, 2> kinds)
{
    const std::array<std::vector<std::int32_t>, 2> partner{Partners(*marks[0], *marks[1]),
                                                           Partners(*marks[1], *marks[0])};
    const std::array<std::vector<std::int32_t>, 2> start{ClusterStarts(*kinds[0]), ClusterStarts(*kinds[1])};
    std::array<std::vector<bool>, 2> cleared{std::vector<bool>(kinds[0]->size()), std::vector<bool>(kinds[1]->size())};
    std::array<std::vector<std::int32_t>, 2> work;
    const auto clear = [&](std::size_t side, std::size_t at) {
        Marks& m = *marks[side];
        const auto first = static_cast<std::size_t>(start[side][at]);
        if (cleared[side][first])
            return;
        cleared[side][first] = true;
        for (std::size_t u = first; u < m.size() && (u == first || (*kinds[side])[u] == Kind::Attached); ++u) {
            if (!m[u])
                continue;
            m[u] = false;
            const auto q = static_cast<std::size_t>(partner[side][u]);
            (*marks[1 - side])[q] = false;
            work[1 - side].push_back(static_cast<std::int32_t>(q));
        }
    };
    for (std::size_t side = 0; side < 2; ++side) {
        const Marks& m = *marks[side];
        const Kinds& k = *kinds[side];
        for (std::size_t first = 0; first < m.size();) {
            std::size_t end = first + 1;
            bool mixed = false;
            for (; end < m.size() && k[end] == Kind::Attached; ++end)
                mixed = mixed || m[end] != m[first];
            if (mixed)
                clear(side, first);
            first = end;
        }
    }
    while (!work[0].empty() || !work[1].empty()) {
        for (std::size_t side = 0; side < 2; ++side) {
            std::vector<std::int32_t> pending;
            pending.swap(work[side]);
            for (const std::int32_t at : pending)
                clear(side, static_cast<std::size_t>(at));
        }
    }
}

// Where the run of marks equal to m[from] that starts at `from` ends.
std::size_t RunEnd(const Marks& m, std::size_t from)
{
    const void* other = std::memchr(m.data() + from, m[from] ^ 1, m.size() - from);
    return other ? static_cast<std::size_t>(static_cast<const std::uint8_t*>(other) - m.data()) : m.size();
}

// The marks as segments; `kinds1` (line one's) tells which common runs
// hold a word character.
std::vector<Segment> Segments(const Marks& m1, const Marks& m2, const Kinds* kinds1 = nullptr)
{
    std::vector<Segment> segments;
    Segment current;
    std::size_t i = 0;
    std::size_t j = 0;
    while (i < m1.size() || j < m2.size()) {
        if (i < m1.size() && j < m2.size() && m1[i] && m2[j]) {
            if (current.HasChange()) {
                segments.push_back(current);
                current = {};
            }
            const std::size_t length = std::min(RunEnd(m1, i) - i, RunEnd(m2, j) - j);
            current.equal += static_cast<std::int64_t>(length);
            current.wordy = current.wordy
                            || (kinds1
                                && std::find(kinds1->begin() + static_cast<std::ptrdiff_t>(i),
                                             kinds1->begin() + static_cast<std::ptrdiff_t>(i + length), Kind::Word)
                                       != kinds1->begin() + static_cast<std::ptrdiff_t>(i + length));
            i += length;
            j += length;
        } else if (i < m1.size() && !m1[i]) {
            const std::size_t end = RunEnd(m1, i);
            current.gone += static_cast<std::int64_t>(end - i);
            i = end;
        } else if (j < m2.size() && !m2[j]) {
            const std::size_t end = RunEnd(m2, j);
            current.added += static_cast<std::int64_t>(end - j);
            j = end;
        } else {
            // Not reached while both lines have as many common characters.
            ++(i < m1.size() ? current.gone : current.added);
            ++(i < m1.size() ? i : j);
        }
    }
    segments.push_back(current);
    return segments;
}

void SetMarks(const std::vector<Segment>& segments, Marks& m1, Marks& m2)
{
    std::size_t i = 0;
    std::size_t j = 0;
    const auto fill = [](Marks& m, std::size_t& at, std::int64_t count, bool value) {
        std::fill_n(m.begin() + static_cast<std::ptrdiff_t>(at), count, value);
        at += static_cast<std::size_t>(count);
    };
    for (const Segment& s : segments) {
        fill(m1, i, s.equal, true);
        fill(m2, j, s.equal, true);
        fill(m1, i, s.gone, false);
        fill(m2, j, s.added, false);
    }
}

// How well a change's edge at `at` (between at - 1 and at) reads: best at
// the line's ends, then beside white space, then beside punctuation; worst
// inside a word. Never inside a character with its combining marks.
int EdgeScore(const Kinds& kinds, std::size_t at)
{
    if (at < kinds.size() && kinds[at] == Kind::Attached)
        return -100;
    if (at == 0 || at == kinds.size())
        return 3;
    const Kind a = kinds[at - 1];
    const Kind b = kinds[at];
    if (a == Kind::Space || b == Kind::Space)
        return 2;
    return a == Kind::Other || b == Kind::Other ? 1 : 0;
}

// Step 2: a change made on one line only (an insertion or a deletion) can
// often move along the common text around it without changing what it
// says ("limi[t, startOffse]t" is "limit[, startOffset]"); it is moved to
// where its edges read best, and stays where it was on a tie.
template <class Char>
void SlideOneSided(std::array<std::basic_string_view<Char>, 2> text, std::array<const Kinds*, 2> kinds,
                   std::vector<Segment>& segments)
{
    std::array<std::size_t, 2> at{0, 0};  // where the current segment's change starts
    for (std::size_t k = 0; k < segments.size(); ++k) {
        Segment& s = segments[k];
        at[0] += static_cast<std::size_t>(s.equal);
        at[1] += static_cast<std::size_t>(s.equal);
        const bool inserted = s.gone == 0;
        if (k + 1 < segments.size() && (s.gone == 0) != (s.added == 0)) {
            const std::size_t side = inserted ? 1 : 0;
            const std::basic_string_view<Char> t = text[side];
            const auto length = static_cast<std::size_t>(inserted ? s.added : s.gone);
            const std::size_t start = at[side];
            std::size_t left = 0;
            while (left < static_cast<std::size_t>(s.equal) && t[start - left - 1] == t[start + length - left - 1])
                ++left;
            std::size_t right = 0;
            while (right < static_cast<std::size_t>(segments[k + 1].equal)
                   && t[start + right] == t[start + length + right])
                ++right;
            const auto score = [&](std::size_t from) {
                const std::size_t other = at[1 - side] - start + from;
                return EdgeScore(*kinds[side], from) + EdgeScore(*kinds[side], from + length)
                       + EdgeScore(*kinds[1 - side], other);
            };
            std::size_t best = start;
            int bestScore = score(start);
            for (std::size_t from = start - left; from <= start + right; ++from) {
                const int fromScore = score(from);
                const std::size_t distance = from < start ? start - from : from - start;
                const std::size_t bestDistance = best < start ? start - best : best - start;
                if (fromScore > bestScore || (fromScore == bestScore && distance < bestDistance)) {
                    best = from;
                    bestScore = fromScore;
                }
            }
            const auto shift = static_cast<std::int64_t>(best) - static_cast<std::int64_t>(start);
            s.equal += shift;
            segments[k + 1].equal -= shift;
            at[0] = static_cast<std::size_t>(static_cast<std::int64_t>(at[0]) + shift);
            at[1] = static_cast<std::size_t>(static_cast<std::int64_t>(at[1]) + shift);
        }
        at[0] += static_cast<std::size_t>(s.gone);
        at[1] += static_cast<std::size_t>(s.added);
    }
}

// Steps 3 and 5, and 6 with `kinds1` given: a run of common characters
// between two changes is taken into them when it is short beside them, or
// (with kinds1) when it holds no word character. Absorbing a run lengthens
// the change before it, which may let that change absorb the run before
// it in turn: the stack takes that back as far as it goes. Every
// absorption removes a segment.
void AbsorbShortRuns(Marks& m1, Marks& m2, const Kinds* kinds1 = nullptr)
{
    std::vector<Segment> kept;
    for (const Segment& s : Segments(m1, m2, kinds1)) {
        kept.push_back(s);
        while (kept.size() >= 2) {
            Segment& before = kept[kept.size() - 2];
            const Segment& last = kept.back();
            if (!before.HasChange() || !last.HasChange())
                break;
            const bool shortRun = last.equal <= kLongestAbsorbedRun && last.equal < before.ChangeLength()
                                  && last.equal < last.ChangeLength();
            if (!shortRun && (!kinds1 || last.wordy))
                break;
            before.gone += last.equal + last.gone;
            before.added += last.equal + last.added;
            kept.pop_back();
        }
    }
    SetMarks(kept, m1, m2);
}

// Step 4 on one line: a word (a run of Word characters with their
// combining marks) of which at least half differs, or more than a quarter
// in more than one place, loses its common characters, and those
// characters' partners lose theirs. One change inside a word that leaves
// most of it ("colour" to "color") stays as it is, and so do a few edits
// in a very long word (a hash, an encoded blob).
void WholeWords(Marks& marks, const Kinds& kinds, Marks& other)
{
    // The partners are found as the line is read: the k-th common
    // character of one line is paired with the k-th of the other, and the
    // partners of a word's characters are all the common characters of the
    // other line from its first character's partner to its last's.
    std::size_t cursor = 0;
    const auto nextPartner = [&]() {
        while (cursor + 1 < other.size() && !other[cursor])
            ++cursor;
        return cursor++;
    };
    for (std::size_t first = 0; first < marks.size();) {
        if (kinds[first] != Kind::Word) {
            if (marks[first])
                (void)nextPartner();
            ++first;
            continue;
        }
        std::size_t end = first;
        std::int64_t differing = 0;
        std::int64_t runs = 0;
        std::size_t firstPartner = other.size();
        std::size_t lastPartner = 0;
        for (; end < marks.size() && (kinds[end] == Kind::Word || (end > first && kinds[end] == Kind::Attached));
             ++end) {
            if (marks[end]) {
                lastPartner = nextPartner();
                firstPartner = std::min(firstPartner, lastPartner);
            }
            differing += marks[end] ? 0 : 1;
            runs += !marks[end] && (end == first || marks[end - 1]) ? 1 : 0;
        }
        const auto length = static_cast<std::int64_t>(end - first);
        if (differing > 0 && differing < length && (2 * differing >= length || (runs > 1 && 4 * differing > length))) {
            std::fill(marks.begin() + static_cast<std::ptrdiff_t>(first),
                      marks.begin() + static_cast<std::ptrdiff_t>(end), std::uint8_t{0});
            std::fill(other.begin() + static_cast<std::ptrdiff_t>(firstPartner),
                      other.begin() + static_cast<std::ptrdiff_t>(lastPartner) + 1, std::uint8_t{0});
        }
        first = end;
    }
}

// The words of a line for the comparison by words: a run of word
// characters or any other character on its own, with the white space
// before it and the combining marks after its characters. Returns each
// word's end.
std::vector<std::size_t> TokenEnds(const Kinds& kinds)
{
    std::vector<std::size_t> ends;
    for (std::size_t at = 0; at < kinds.size();) {
        std::size_t end = at;
        while (end < kinds.size() && kinds[end] == Kind::Space)
            ++end;
        if (end < kinds.size()) {
            const Kind kind = kinds[end];
            ++end;
            while (end < kinds.size() && (kinds[end] == Kind::Attached || (kind == Kind::Word && kinds[end] == kind)))
                ++end;
        }
        ends.push_back(end);
        at = end;
    }
    return ends;
}

// Step 6: the lines compared word by word, a word common or differing whole.
template <class Char>
void CompareWords(std::array<std::basic_string_view<Char>, 2> text, std::array<const Kinds*, 2> kinds,
                  std::array<Marks*, 2> marks)
{
    std::unordered_map<std::basic_string_view<Char>, char32_t> ids;
    std::array<std::u32string, 2> tokens;
    std::array<std::vector<std::size_t>, 2> ends;
    for (std::size_t side = 0; side < 2; ++side) {
        ends[side] = TokenEnds(*kinds[side]);
        ids.reserve(ids.size() + ends[side].size());
        tokens[side].reserve(ends[side].size());
        std::size_t start = 0;
        for (const std::size_t end : ends[side]) {
            const auto id = ids.emplace(text[side].substr(start, end - start), static_cast<char32_t>(ids.size()));
            tokens[side].push_back(id.first->second);
            start = end;
        }
    }
    // A quarter of the character comparison's work at most: lines compared
    // by words have little in common, and what the search leaves unsettled
    // is marked as differing, as most of it does.
    const modVantrel::CharacterDiffResult byWord = modVantrel::CompareSequences<char32_t>(
        tokens[0], tokens[1], modVantrel::kLcsTableCellBudget, modVantrel::kLcsWorkBudget / 4);
    for (std::size_t side = 0; side < 2; ++side) {
        const std::vector<bool>& wordMarks = side == 0 ? byWord.marks1 : byWord.marks2;
        std::size_t start = 0;
        for (std::size_t w = 0; w < ends[side].size(); ++w) {
            std::fill(marks[side]->begin() + static_cast<std::ptrdiff_t>(start),
                      marks[side]->begin() + static_cast<std::ptrdiff_t>(ends[side][w]), wordMarks[w]);
            start = ends[side][w];
        }
    }
}

// Step 7: white space at both ends of a change that both lines have stays
// common ("The[ licenses] for" reads "The [licenses] for").
template <class Char>
void KeepCommonSpace(std::array<std::basic_string_view<Char>, 2> text, std::array<const Kinds*, 2> kinds,
                     std::array<Marks*, 2> marks)
{
    std::vector<Segment> segments = Segments(*marks[0], *marks[1]);
    std::array<std::size_t, 2> at{0, 0};
    for (std::size_t k = 0; k < segments.size(); ++k) {
        Segment& s = segments[k];
        at[0] += static_cast<std::size_t>(s.equal);
        at[1] += static_cast<std::size_t>(s.equal);
        // Never a blank that a combining mark follows.
        const auto spaceAt = [&](std::size_t a, std::size_t b) {
            const auto alone = [](const Kinds& of, std::size_t u) {
                return u + 1 == of.size() || of[u + 1] != Kind::Attached;
            };
            return (*kinds[0])[a] == Kind::Space && (*kinds[1])[b] == Kind::Space && text[0][a] == text[1][b]
                   && alone(*kinds[0], a) && alone(*kinds[1], b);
        };
        while (s.gone > 0 && s.added > 0 && spaceAt(at[0], at[1])) {
            ++s.equal;
            --s.gone;
            --s.added;
            ++at[0];
            ++at[1];
        }
        std::int64_t kept = 0;
        while (s.gone > kept && s.added > kept
               && spaceAt(at[0] + static_cast<std::size_t>(s.gone - kept) - 1,
                          at[1] + static_cast<std::size_t>(s.added - kept) - 1))
            ++kept;
        s.gone -= kept;
        s.added -= kept;
        at[0] += static_cast<std::size_t>(s.gone);
        at[1] += static_cast<std::size_t>(s.added);
        if (kept > 0) {
            if (k + 1 == segments.size())
                segments.push_back({});
            segments[k + 1].equal += kept;
        }
    }
    SetMarks(segments, *marks[0], *marks[1]);
}

}  // namespace

namespace {

template <class Char>
void TidyMarks(std::basic_string_view<Char> one, std::basic_string_view<Char> two, Marks& marks1, Marks& marks2,
               const Kinds& kinds1, const Kinds& kinds2)
{
    const auto attached = [](const Kinds& k) { return std::find(k.begin(), k.end(), Kind::Attached) != k.end(); };
    if (attached(kinds1) || attached(kinds2))
        WholeCharacters({&marks1, &marks2}, {&kinds1, &kinds2});
    std::vector<Segment> segments = Segments(marks1, marks2);
    SlideOneSided<Char>({one, two}, {&kinds1, &kinds2}, segments);
    SetMarks(segments, marks1, marks2);
    AbsorbShortRuns(marks1, marks2);
    WholeWords(marks1, kinds1, marks2);
    WholeWords(marks2, kinds2, marks1);
    AbsorbShortRuns(marks1, marks2);
    const std::int64_t common = CountCommon(marks1);
    const auto total = static_cast<std::int64_t>(marks1.size() + marks2.size());
    if (200 * common < kLeastCommonPercent * total) {
        CompareWords<Char>({one, two}, {&kinds1, &kinds2}, {&marks1, &marks2});
        AbsorbShortRuns(marks1, marks2, &kinds1);
    }
    KeepCommonSpace<Char>({one, two}, {&kinds1, &kinds2}, {&marks1, &marks2});
}

}  // namespace

template <class Char>
void Tidy(std::basic_string_view<Char> one, std::basic_string_view<Char> two, std::vector<bool>& marks1,
          std::vector<bool>& marks2, const Kinds& kinds1, const Kinds& kinds2)
{
    if (one.size() != marks1.size() || two.size() != marks2.size() || kinds1.size() != marks1.size()
        || kinds2.size() != marks2.size() || one.size() + two.size() > kLongestTidiedPair)
        return;
    Marks bytes1(marks1.begin(), marks1.end());
    Marks bytes2(marks2.begin(), marks2.end());
    if (CountCommon(bytes1) != CountCommon(bytes2))
        return;
    TidyMarks(one, two, bytes1, bytes2, kinds1, kinds2);
    std::copy(bytes1.begin(), bytes1.end(), marks1.begin());
    std::copy(bytes2.begin(), bytes2.end(), marks2.begin());
}

template void Tidy(std::string_view, std::string_view, std::vector<bool>&, std::vector<bool>&, const Kinds&,
                   const Kinds&);
template void Tidy(std::u32string_view, std::u32string_view, std::vector<bool>&, std::vector<bool>&, const Kinds&,
                   const Kinds&);

namespace {

struct CodeRange {
    char32_t first;
    char32_t last;
};

// Built from the Unicode 14 character database, in code-point order.
// clang-format off
constexpr CodeRange kMarks[] = {
    {0x300, 0x36F}, {0x483, 0x489}, {0x591, 0x5BD}, {0x5BF, 0x5BF}, {0x5C1, 0x5C2}, {0x5C4, 0x5C5}, {0x5C7, 0x5C7},
    {0x610, 0x61A}, {0x64B, 0x65F}, {0x670, 0x670}, {0x6D6, 0x6DC}, {0x6DF, 0x6E4}, {0x6E7, 0x6E8}, {0x6EA, 0x6ED},
    {0x711, 0x711}, {0x730, 0x74A}, {0x7A6, 0x7B0}, {0x7EB, 0x7F3}, {0x7FD, 0x7FD}, {0x816, 0x819}, {0x81B, 0x823},
    {0x825, 0x827}, {0x829, 0x82D}, {0x859, 0x85B}, {0x898, 0x89F}, {0x8CA, 0x8E1}, {0x8E3, 0x903}, {0x93A, 0x93C},
    {0x93E, 0x94F}, {0x951, 0x957}, {0x962, 0x963}, {0x981, 0x983}, {0x9BC, 0x9BC}, {0x9BE, 0x9C4}, {0x9C7, 0x9C8},
    {0x9CB, 0x9CD}, {0x9D7, 0x9D7}, {0x9E2, 0x9E3}, {0x9FE, 0x9FE}, {0xA01, 0xA03}, {0xA3C, 0xA3C}, {0xA3E, 0xA42},
    {0xA47, 0xA48}, {0xA4B, 0xA4D}, {0xA51, 0xA51}, {0xA70, 0xA71}, {0xA75, 0xA75}, {0xA81, 0xA83}, {0xABC, 0xABC},
    {0xABE, 0xAC5}, {0xAC7, 0xAC9}, {0xACB, 0xACD}, {0xAE2, 0xAE3}, {0xAFA, 0xAFF}, {0xB01, 0xB03}, {0xB3C, 0xB3C},
    {0xB3E, 0xB44}, {0xB47, 0xB48}, {0xB4B, 0xB4D}, {0xB55, 0xB57}, {0xB62, 0xB63}, {0xB82, 0xB82}, {0xBBE, 0xBC2},
    {0xBC6, 0xBC8}, {0xBCA, 0xBCD}, {0xBD7, 0xBD7}, {0xC00, 0xC04}, {0xC3C, 0xC3C}, {0xC3E, 0xC44}, {0xC46, 0xC48},
    {0xC4A, 0xC4D}, {0xC55, 0xC56}, {0xC62, 0xC63}, {0xC81, 0xC83}, {0xCBC, 0xCBC}, {0xCBE, 0xCC4}, {0xCC6, 0xCC8},
    {0xCCA, 0xCCD}, {0xCD5, 0xCD6}, {0xCE2, 0xCE3}, {0xD00, 0xD03}, {0xD3B, 0xD3C}, {0xD3E, 0xD44}, {0xD46, 0xD48},
    {0xD4A, 0xD4D}, {0xD57, 0xD57}, {0xD62, 0xD63}, {0xD81, 0xD83}, {0xDCA, 0xDCA}, {0xDCF, 0xDD4}, {0xDD6, 0xDD6},
    {0xDD8, 0xDDF}, {0xDF2, 0xDF3}, {0xE31, 0xE31}, {0xE34, 0xE3A}, {0xE47, 0xE4E}, {0xEB1, 0xEB1}, {0xEB4, 0xEBC},
    {0xEC8, 0xECD}, {0xF18, 0xF19}, {0xF35, 0xF35}, {0xF37, 0xF37}, {0xF39, 0xF39}, {0xF3E, 0xF3F}, {0xF71, 0xF84},
    {0xF86, 0xF87}, {0xF8D, 0xF97}, {0xF99, 0xFBC}, {0xFC6, 0xFC6}, {0x102B, 0x103E}, {0x1056, 0x1059},
    {0x105E, 0x1060}, {0x1062, 0x1064}, {0x1067, 0x106D}, {0x1071, 0x1074}, {0x1082, 0x108D}, {0x108F, 0x108F},
    {0x109A, 0x109D}, {0x135D, 0x135F}, {0x1712, 0x1715}, {0x1732, 0x1734}, {0x1752, 0x1753}, {0x1772, 0x1773},
    {0x17B4, 0x17D3}, {0x17DD, 0x17DD}, {0x180B, 0x180D}, {0x180F, 0x180F}, {0x1885, 0x1886}, {0x18A9, 0x18A9},
    {0x1920, 0x192B}, {0x1930, 0x193B}, {0x1A17, 0x1A1B}, {0x1A55, 0x1A5E}, {0x1A60, 0x1A7C}, {0x1A7F, 0x1A7F},
    {0x1AB0, 0x1ACE}, {0x1B00, 0x1B04}, {0x1B34, 0x1B44}, {0x1B6B, 0x1B73}, {0x1B80, 0x1B82}, {0x1BA1, 0x1BAD},
    {0x1BE6, 0x1BF3}, {0x1C24, 0x1C37}, {0x1CD0, 0x1CD2}, {0x1CD4, 0x1CE8}, {0x1CED, 0x1CED}, {0x1CF4, 0x1CF4},
    {0x1CF7, 0x1CF9}, {0x1DC0, 0x1DFF}, {0x20D0, 0x20F0}, {0x2CEF, 0x2CF1}, {0x2D7F, 0x2D7F}, {0x2DE0, 0x2DFF},
    {0x302A, 0x302F}, {0x3099, 0x309A}, {0xA66F, 0xA672}, {0xA674, 0xA67D}, {0xA69E, 0xA69F}, {0xA6F0, 0xA6F1},
    {0xA802, 0xA802}, {0xA806, 0xA806}, {0xA80B, 0xA80B}, {0xA823, 0xA827}, {0xA82C, 0xA82C}, {0xA880, 0xA881},
    {0xA8B4, 0xA8C5}, {0xA8E0, 0xA8F1}, {0xA8FF, 0xA8FF}, {0xA926, 0xA92D}, {0xA947, 0xA953}, {0xA980, 0xA983},
    {0xA9B3, 0xA9C0}, {0xA9E5, 0xA9E5}, {0xAA29, 0xAA36}, {0xAA43, 0xAA43}, {0xAA4C, 0xAA4D}, {0xAA7B, 0xAA7D},
    {0xAAB0, 0xAAB0}, {0xAAB2, 0xAAB4}, {0xAAB7, 0xAAB8}, {0xAABE, 0xAABF}, {0xAAC1, 0xAAC1}, {0xAAEB, 0xAAEF},
    {0xAAF5, 0xAAF6}, {0xABE3, 0xABEA}, {0xABEC, 0xABED}, {0xFB1E, 0xFB1E}, {0xFE00, 0xFE0F}, {0xFE20, 0xFE2F},
    {0x101FD, 0x101FD}, {0x102E0, 0x102E0}, {0x10376, 0x1037A}, {0x10A01, 0x10A03}, {0x10A05, 0x10A06},
    {0x10A0C, 0x10A0F}, {0x10A38, 0x10A3A}, {0x10A3F, 0x10A3F}, {0x10AE5, 0x10AE6}, {0x10D24, 0x10D27},
    {0x10EAB, 0x10EAC}, {0x10F46, 0x10F50}, {0x10F82, 0x10F85}, {0x11000, 0x11002}, {0x11038, 0x11046},
    {0x11070, 0x11070}, {0x11073, 0x11074}, {0x1107F, 0x11082}, {0x110B0, 0x110BA}, {0x110C2, 0x110C2},
    {0x11100, 0x11102}, {0x11127, 0x11134}, {0x11145, 0x11146}, {0x11173, 0x11173}, {0x11180, 0x11182},
    {0x111B3, 0x111C0}, {0x111C9, 0x111CC}, {0x111CE, 0x111CF}, {0x1122C, 0x11237}, {0x1123E, 0x1123E},
    {0x112DF, 0x112EA}, {0x11300, 0x11303}, {0x1133B, 0x1133C}, {0x1133E, 0x11344}, {0x11347, 0x11348},
    {0x1134B, 0x1134D}, {0x11357, 0x11357}, {0x11362, 0x11363}, {0x11366, 0x1136C}, {0x11370, 0x11374},
    {0x11435, 0x11446}, {0x1145E, 0x1145E}, {0x114B0, 0x114C3}, {0x115AF, 0x115B5}, {0x115B8, 0x115C0},
    {0x115DC, 0x115DD}, {0x11630, 0x11640}, {0x116AB, 0x116B7}, {0x1171D, 0x1172B}, {0x1182C, 0x1183A},
    {0x11930, 0x11935}, {0x11937, 0x11938}, {0x1193B, 0x1193E}, {0x11940, 0x11940}, {0x11942, 0x11943},
    {0x119D1, 0x119D7}, {0x119DA, 0x119E0}, {0x119E4, 0x119E4}, {0x11A01, 0x11A0A}, {0x11A33, 0x11A39},
    {0x11A3B, 0x11A3E}, {0x11A47, 0x11A47}, {0x11A51, 0x11A5B}, {0x11A8A, 0x11A99}, {0x11C2F, 0x11C36},
    {0x11C38, 0x11C3F}, {0x11C92, 0x11CA7}, {0x11CA9, 0x11CB6}, {0x11D31, 0x11D36}, {0x11D3A, 0x11D3A},
    {0x11D3C, 0x11D3D}, {0x11D3F, 0x11D45}, {0x11D47, 0x11D47}, {0x11D8A, 0x11D8E}, {0x11D90, 0x11D91},
    {0x11D93, 0x11D97}, {0x11EF3, 0x11EF6}, {0x16AF0, 0x16AF4}, {0x16B30, 0x16B36}, {0x16F4F, 0x16F4F},
    {0x16F51, 0x16F87}, {0x16F8F, 0x16F92}, {0x16FE4, 0x16FE4}, {0x16FF0, 0x16FF1}, {0x1BC9D, 0x1BC9E},
    {0x1CF00, 0x1CF2D}, {0x1CF30, 0x1CF46}, {0x1D165, 0x1D169}, {0x1D16D, 0x1D172}, {0x1D17B, 0x1D182},
    {0x1D185, 0x1D18B}, {0x1D1AA, 0x1D1AD}, {0x1D242, 0x1D244}, {0x1DA00, 0x1DA36}, {0x1DA3B, 0x1DA6C},
    {0x1DA75, 0x1DA75}, {0x1DA84, 0x1DA84}, {0x1DA9B, 0x1DA9F}, {0x1DAA1, 0x1DAAF}, {0x1E000, 0x1E006},
    {0x1E008, 0x1E018}, {0x1E01B, 0x1E021}, {0x1E023, 0x1E024}, {0x1E026, 0x1E02A}, {0x1E130, 0x1E136},
    {0x1E2AE, 0x1E2AE}, {0x1E2EC, 0x1E2EF}, {0x1E8D0, 0x1E8D6}, {0x1E944, 0x1E94A}, {0xE0100, 0xE01EF},
};
constexpr CodeRange kNotWord[] = {
    {0x0, 0x2F}, {0x3A, 0x40}, {0x5B, 0x5E}, {0x60, 0x60}, {0x7B, 0xA9}, {0xAB, 0xB1}, {0xB4, 0xB4}, {0xB6, 0xB8},
    {0xBB, 0xBB}, {0xBF, 0xBF}, {0xD7, 0xD7}, {0xF7, 0xF7}, {0x2C2, 0x2C5}, {0x2D2, 0x2DF}, {0x2E5, 0x2EB},
    {0x2ED, 0x2ED}, {0x2EF, 0x2FF}, {0x375, 0x375}, {0x37E, 0x37E}, {0x384, 0x385}, {0x387, 0x387}, {0x3F6, 0x3F6},
    {0x482, 0x482}, {0x55A, 0x55F}, {0x589, 0x58A}, {0x58D, 0x58F}, {0x5BE, 0x5BE}, {0x5C0, 0x5C0}, {0x5C3, 0x5C3},
    {0x5C6, 0x5C6}, {0x5F3, 0x5F4}, {0x600, 0x60F}, {0x61B, 0x61F}, {0x66A, 0x66D}, {0x6D4, 0x6D4}, {0x6DD, 0x6DE},
    {0x6E9, 0x6E9}, {0x6FD, 0x6FE}, {0x700, 0x70D}, {0x70F, 0x70F}, {0x7F6, 0x7F9}, {0x7FE, 0x7FF}, {0x830, 0x83E},
    {0x85E, 0x85E}, {0x888, 0x888}, {0x890, 0x891}, {0x8E2, 0x8E2}, {0x964, 0x965}, {0x970, 0x970}, {0x9F2, 0x9F3},
    {0x9FA, 0x9FB}, {0x9FD, 0x9FD}, {0xA76, 0xA76}, {0xAF0, 0xAF1}, {0xB70, 0xB70}, {0xBF3, 0xBFA}, {0xC77, 0xC77},
    {0xC7F, 0xC7F}, {0xC84, 0xC84}, {0xD4F, 0xD4F}, {0xD79, 0xD79}, {0xDF4, 0xDF4}, {0xE3F, 0xE3F}, {0xE4F, 0xE4F},
    {0xE5A, 0xE5B}, {0xF01, 0xF17}, {0xF1A, 0xF1F}, {0xF34, 0xF34}, {0xF36, 0xF36}, {0xF38, 0xF38}, {0xF3A, 0xF3D},
    {0xF85, 0xF85}, {0xFBE, 0xFC5}, {0xFC7, 0xFCC}, {0xFCE, 0xFDA}, {0x104A, 0x104F}, {0x109E, 0x109F},
    {0x10FB, 0x10FB}, {0x1360, 0x1368}, {0x1390, 0x1399}, {0x1400, 0x1400}, {0x166D, 0x166E}, {0x1680, 0x1680},
    {0x169B, 0x169C}, {0x16EB, 0x16ED}, {0x1735, 0x1736}, {0x17D4, 0x17D6}, {0x17D8, 0x17DB}, {0x1800, 0x180A},
    {0x180E, 0x180E}, {0x1940, 0x1940}, {0x1944, 0x1945}, {0x19DE, 0x19FF}, {0x1A1E, 0x1A1F}, {0x1AA0, 0x1AA6},
    {0x1AA8, 0x1AAD}, {0x1B5A, 0x1B6A}, {0x1B74, 0x1B7E}, {0x1BFC, 0x1BFF}, {0x1C3B, 0x1C3F}, {0x1C7E, 0x1C7F},
    {0x1CC0, 0x1CC7}, {0x1CD3, 0x1CD3}, {0x1FBD, 0x1FBD}, {0x1FBF, 0x1FC1}, {0x1FCD, 0x1FCF}, {0x1FDD, 0x1FDF},
    {0x1FED, 0x1FEF}, {0x1FFD, 0x1FFE}, {0x2000, 0x2064}, {0x2066, 0x206F}, {0x207A, 0x207E}, {0x208A, 0x208E},
    {0x20A0, 0x20C0}, {0x2100, 0x2101}, {0x2103, 0x2106}, {0x2108, 0x2109}, {0x2114, 0x2114}, {0x2116, 0x2118},
    {0x211E, 0x2123}, {0x2125, 0x2125}, {0x2127, 0x2127}, {0x2129, 0x2129}, {0x212E, 0x212E}, {0x213A, 0x213B},
    {0x2140, 0x2144}, {0x214A, 0x214D}, {0x214F, 0x214F}, {0x218A, 0x218B}, {0x2190, 0x2426}, {0x2440, 0x244A},
    {0x249C, 0x24E9}, {0x2500, 0x2775}, {0x2794, 0x2B73}, {0x2B76, 0x2B95}, {0x2B97, 0x2BFF}, {0x2CE5, 0x2CEA},
    {0x2CF9, 0x2CFC}, {0x2CFE, 0x2CFF}, {0x2D70, 0x2D70}, {0x2E00, 0x2E2E}, {0x2E30, 0x2E5D}, {0x2E80, 0x2E99},
    {0x2E9B, 0x2EF3}, {0x2F00, 0x2FD5}, {0x2FF0, 0x2FFB}, {0x3000, 0x3004}, {0x3008, 0x3020}, {0x3030, 0x3030},
    {0x3036, 0x3037}, {0x303D, 0x303F}, {0x309B, 0x309C}, {0x30A0, 0x30A0}, {0x30FB, 0x30FB}, {0x3190, 0x3191},
    {0x3196, 0x319F}, {0x31C0, 0x31E3}, {0x3200, 0x321E}, {0x322A, 0x3247}, {0x3250, 0x3250}, {0x3260, 0x327F},
    {0x328A, 0x32B0}, {0x32C0, 0x33FF}, {0x4DC0, 0x4DFF}, {0xA490, 0xA4C6}, {0xA4FE, 0xA4FF}, {0xA60D, 0xA60F},
    {0xA673, 0xA673}, {0xA67E, 0xA67E}, {0xA6F2, 0xA6F7}, {0xA700, 0xA716}, {0xA720, 0xA721}, {0xA789, 0xA78A},
    {0xA828, 0xA82B}, {0xA836, 0xA839}, {0xA874, 0xA877}, {0xA8CE, 0xA8CF}, {0xA8F8, 0xA8FA}, {0xA8FC, 0xA8FC},
    {0xA92E, 0xA92F}, {0xA95F, 0xA95F}, {0xA9C1, 0xA9CD}, {0xA9DE, 0xA9DF}, {0xAA5C, 0xAA5F}, {0xAA77, 0xAA79},
    {0xAADE, 0xAADF}, {0xAAF0, 0xAAF1}, {0xAB5B, 0xAB5B}, {0xAB6A, 0xAB6B}, {0xABEB, 0xABEB}, {0xD800, 0xF8FF},
    {0xFB29, 0xFB29}, {0xFBB2, 0xFBC2}, {0xFD3E, 0xFD4F}, {0xFDCF, 0xFDCF}, {0xFDFC, 0xFDFF}, {0xFE10, 0xFE19},
    {0xFE30, 0xFE52}, {0xFE54, 0xFE66}, {0xFE68, 0xFE6B}, {0xFEFF, 0xFEFF}, {0xFF01, 0xFF0F}, {0xFF1A, 0xFF20},
    {0xFF3B, 0xFF40}, {0xFF5B, 0xFF65}, {0xFFE0, 0xFFE6}, {0xFFE8, 0xFFEE}, {0xFFF9, 0xFFFD}, {0x10100, 0x10102},
    {0x10137, 0x1013F}, {0x10179, 0x10189}, {0x1018C, 0x1018E}, {0x10190, 0x1019C}, {0x101A0, 0x101A0},
    {0x101D0, 0x101FC}, {0x1039F, 0x1039F}, {0x103D0, 0x103D0}, {0x1056F, 0x1056F}, {0x10857, 0x10857},
    {0x10877, 0x10878}, {0x1091F, 0x1091F}, {0x1093F, 0x1093F}, {0x10A50, 0x10A58}, {0x10A7F, 0x10A7F},
    {0x10AC8, 0x10AC8}, {0x10AF0, 0x10AF6}, {0x10B39, 0x10B3F}, {0x10B99, 0x10B9C}, {0x10EAD, 0x10EAD},
    {0x10F55, 0x10F59}, {0x10F86, 0x10F89}, {0x11047, 0x1104D}, {0x110BB, 0x110C1}, {0x110CD, 0x110CD},
    {0x11140, 0x11143}, {0x11174, 0x11175}, {0x111C5, 0x111C8}, {0x111CD, 0x111CD}, {0x111DB, 0x111DB},
    {0x111DD, 0x111DF}, {0x11238, 0x1123D}, {0x112A9, 0x112A9}, {0x1144B, 0x1144F}, {0x1145A, 0x1145B},
    {0x1145D, 0x1145D}, {0x114C6, 0x114C6}, {0x115C1, 0x115D7}, {0x11641, 0x11643}, {0x11660, 0x1166C},
    {0x116B9, 0x116B9}, {0x1173C, 0x1173F}, {0x1183B, 0x1183B}, {0x11944, 0x11946}, {0x119E2, 0x119E2},
    {0x11A3F, 0x11A46}, {0x11A9A, 0x11A9C}, {0x11A9E, 0x11AA2}, {0x11C41, 0x11C45}, {0x11C70, 0x11C71},
    {0x11EF7, 0x11EF8}, {0x11FD5, 0x11FF1}, {0x11FFF, 0x11FFF}, {0x12470, 0x12474}, {0x12FF1, 0x12FF2},
    {0x13430, 0x13438}, {0x16A6E, 0x16A6F}, {0x16AF5, 0x16AF5}, {0x16B37, 0x16B3F}, {0x16B44, 0x16B45},
    {0x16E97, 0x16E9A}, {0x16FE2, 0x16FE2}, {0x1BC9C, 0x1BC9C}, {0x1BC9F, 0x1BCA3}, {0x1CF50, 0x1CFC3},
    {0x1D000, 0x1D0F5}, {0x1D100, 0x1D126}, {0x1D129, 0x1D164}, {0x1D16A, 0x1D16C}, {0x1D173, 0x1D17A},
    {0x1D183, 0x1D184}, {0x1D18C, 0x1D1A9}, {0x1D1AE, 0x1D1EA}, {0x1D200, 0x1D241}, {0x1D245, 0x1D245},
    {0x1D300, 0x1D356}, {0x1D6C1, 0x1D6C1}, {0x1D6DB, 0x1D6DB}, {0x1D6FB, 0x1D6FB}, {0x1D715, 0x1D715},
    {0x1D735, 0x1D735}, {0x1D74F, 0x1D74F}, {0x1D76F, 0x1D76F}, {0x1D789, 0x1D789}, {0x1D7A9, 0x1D7A9},
    {0x1D7C3, 0x1D7C3}, {0x1D800, 0x1D9FF}, {0x1DA37, 0x1DA3A}, {0x1DA6D, 0x1DA74}, {0x1DA76, 0x1DA83},
    {0x1DA85, 0x1DA8B}, {0x1E14F, 0x1E14F}, {0x1E2FF, 0x1E2FF}, {0x1E95E, 0x1E95F}, {0x1ECAC, 0x1ECAC},
    {0x1ECB0, 0x1ECB0}, {0x1ED2E, 0x1ED2E}, {0x1EEF0, 0x1EEF1}, {0x1F000, 0x1F02B}, {0x1F030, 0x1F093},
    {0x1F0A0, 0x1F0AE}, {0x1F0B1, 0x1F0BF}, {0x1F0C1, 0x1F0CF}, {0x1F0D1, 0x1F0F5}, {0x1F10D, 0x1F1AD},
    {0x1F1E6, 0x1F202}, {0x1F210, 0x1F23B}, {0x1F240, 0x1F248}, {0x1F250, 0x1F251}, {0x1F260, 0x1F265},
    {0x1F300, 0x1F6D7}, {0x1F6DD, 0x1F6EC}, {0x1F6F0, 0x1F6FC}, {0x1F700, 0x1F773}, {0x1F780, 0x1F7D8},
    {0x1F7E0, 0x1F7EB}, {0x1F7F0, 0x1F7F0}, {0x1F800, 0x1F80B}, {0x1F810, 0x1F847}, {0x1F850, 0x1F859},
    {0x1F860, 0x1F887}, {0x1F890, 0x1F8AD}, {0x1F8B0, 0x1F8B1}, {0x1F900, 0x1FA53}, {0x1FA60, 0x1FA6D},
    {0x1FA70, 0x1FA74}, {0x1FA78, 0x1FA7C}, {0x1FA80, 0x1FA86}, {0x1FA90, 0x1FAAC}, {0x1FAB0, 0x1FABA},
    {0x1FAC0, 0x1FAC5}, {0x1FAD0, 0x1FAD9}, {0x1FAE0, 0x1FAE7}, {0x1FAF0, 0x1FAF6}, {0x1FB00, 0x1FB92},
    {0x1FB94, 0x1FBCA}, {0xE0001, 0xE0001}, {0xE0020, 0xE007F}, {0xF0000, 0xFFFFD}, {0x100000, 0x10FFFD},
};
// clang-format on

template <std::size_t N>
bool InRanges(const CodeRange (&ranges)[N], char32_t c)
{
    const auto* it = std::upper_bound(std::begin(ranges), std::end(ranges), c,
                                      [](char32_t value, const CodeRange& r) { return value < r.first; });
    return it != std::begin(ranges) && c <= (it - 1)->last;
}

// Bytes that are not UTF-8 compare as code points of their own, beyond
// Unicode, so that they never equal a character.
constexpr char32_t kStrayByte = 0x110000;

}  // namespace

Kind KindOf(char32_t c)
{
    if (c < 0x80) {
        const bool word = (c >= '0' && c <= '9') || (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '_';
        return word ? Kind::Word : Unicode::IsSpace(c) ? Kind::Space : Kind::Other;
    }
    if (c >= kStrayByte)
        return Kind::Other;
    if (InRanges(kMarks, c))
        return Kind::Attached;
    if (Unicode::IsSpace(c))
        return Kind::Space;
    return InRanges(kNotWord, c) ? Kind::Other : Kind::Word;
}

namespace {

bool IsAscii(std::string_view text)
{
    return std::all_of(text.begin(), text.end(), [](char c) { return static_cast<unsigned char>(c) < 0x80; });
}

// Two lines of ASCII compared as their bytes, each its own character, as
// the window compares such lines: no copy of code points four times their
// size, which for two long lines is most of the memory the marks take.
modVantrel::CharacterDiffResult MarkAsciiLines(std::string_view one, std::string_view two, bool ignoreCase)
{
    std::string folded[2];
    const std::string_view lines[2] = {one, two};
    Kinds kinds[2];
    for (std::size_t side = 0; side < 2; ++side) {
        kinds[side].reserve(lines[side].size());
        for (const char c : lines[side])
            kinds[side].push_back(KindOf(static_cast<unsigned char>(c)));
        if (!ignoreCase)
            continue;
        folded[side].assign(lines[side]);
        for (char& c : folded[side])
            c = static_cast<char>(Unicode::FoldCase(static_cast<unsigned char>(c)));
    }
    const std::string_view a = ignoreCase ? std::string_view(folded[0]) : one;
    const std::string_view b = ignoreCase ? std::string_view(folded[1]) : two;
    modVantrel::CharacterDiffResult result = modVantrel::CompareSequences<char>(a, b);
    Tidy<char>(a, b, result.marks1, result.marks2, kinds[0], kinds[1]);
    return result;
}

}  // namespace

modVantrel::CharacterDiffResult MarkUtf8Lines(std::string_view one, std::string_view two, bool ignoreCase)
{
    if (IsAscii(one) && IsAscii(two))
        return MarkAsciiLines(one, two, ignoreCase);
    struct Decoded {
        std::u32string chars;
        std::vector<int> lengths;  // bytes of each character
        Kinds kinds;
    };
    const auto decode = [ignoreCase](std::string_view text) {
        Decoded d;
        const auto* p = reinterpret_cast<const unsigned char*>(text.data());
        const auto* end = p + text.size();
        while (p < end) {
            char32_t c = 0;
            int length = Unicode::DecodeUtf8(p, end, c);
            if (length == 0) {
                c = kStrayByte + *p;
                length = 1;
            }
            d.kinds.push_back(KindOf(c));
            d.chars.push_back(ignoreCase && c < kStrayByte ? Unicode::FoldCase(c) : c);
            d.lengths.push_back(length);
            p += length;
        }
        return d;
    };
    const Decoded a = decode(one);
    const Decoded b = decode(two);
    modVantrel::CharacterDiffResult result = modVantrel::CompareSequences<char32_t>(a.chars, b.chars);
    Tidy<char32_t>(a.chars, b.chars, result.marks1, result.marks2, a.kinds, b.kinds);
    const auto toBytes = [](const Decoded& d, const std::vector<bool>& perChar) {
        std::vector<bool> out;
        for (std::size_t k = 0; k < perChar.size(); ++k)
            out.insert(out.end(), static_cast<std::size_t>(d.lengths[k]), perChar[k]);
        return out;
    };
    result.marks1 = toBytes(a, result.marks1);
    result.marks2 = toBytes(b, result.marks2);
    return result;
}

}  // namespace CharacterMarks

#include "engine/Slide.h"

namespace LineDiff {
namespace {

// gapChanged[r] tells whether the file has changed lines right before its
// r-th unchanged line (r counted from 0; the last entry is the file's end).
std::vector<std::uint8_t> ChangedGaps(const Flags& changed)
{
    std::vector<std::uint8_t> gaps;
    bool pending = false;
    for (std::uint8_t c : changed) {
        if (c) {
            pending = true;
        } else {
            gaps.push_back(pending ? 1 : 0);
            pending = false;
        }
    }
    gaps.push_back(pending ? 1 : 0);
    return gaps;
}

// A block reads best when it starts with a line of text and ends with the
// blank line or closing bracket that finishes it; a blank first line looks
// worse than a closing bracket, which at least ends something.
constexpr int kBlankStartPenalty = 2;
constexpr int kCloserStartPenalty = 1;
// One block next to a change in the other file reads better than two
// apart, whatever lines the block starts with: above every shape penalty.
constexpr int kApartPenalty = 8;

int ShapePenalty(LineShape shape)
{
    switch (shape) {
    case LineShape::Blank: return kBlankStartPenalty;
    case LineShape::Closer: return kCloserStartPenalty;
    case LineShape::Text: return 0;
    }
    return 0;
}

void SlideSideOf(const SlideSide& side, const Flags& otherChanged)
{
    Flags& ch = side.changed;
    const std::vector<std::uint8_t> otherGaps = ChangedGaps(otherChanged);
    // With diff's placement a block stays among the lines with classes.
    const std::int64_t lo = side.diffPlacement ? side.prefix : 0;
    const auto n = side.diffPlacement ? side.prefix + static_cast<std::int64_t>(side.classes.size())
                                      : static_cast<std::int64_t>(ch.size());
    auto at = [&](std::int64_t i) -> std::uint8_t& { return ch[static_cast<size_t>(i)]; };
    std::int64_t i = lo;
    std::int64_t rank = 0;  // unchanged lines before i
    for (std::int64_t k = 0; k < lo; ++k)
        rank += at(k) ? 0 : 1;
    while (i < n) {
        if (!at(i)) {
            ++i;
            ++rank;
            continue;
        }
        std::int64_t s = i;
        std::int64_t e = i;
        while (e < n && at(e))
            ++e;
        std::int64_t top = s;
        // Slide up, then down, as far as equal lines allow; a slide that
        // joins a neighbouring block changes the length, so repeat until
        // the block moves freely between `top` and its bottom position.
        for (;;) {
            const std::int64_t length = e - s;
            while (s > lo && !at(s - 1) && side.Same(s - 1, e - 1)) {
                at(--s) = 1;
                at(--e) = 0;
                --rank;
                while (s > lo && at(s - 1))
                    --s;
            }
            top = s;
            while (e < n && !at(e) && side.Same(s, e)) {
                at(s++) = 0;
                at(e++) = 1;
                ++rank;
                while (e < n && at(e))
                    ++e;
            }
            if (e - s == length)
                break;
        }
        const std::int64_t length = e - s;
        std::int64_t bestStart = s;
        int bestScore = 1 << 30;
        for (std::int64_t p = s; p >= top; --p) {
            const std::int64_t r = rank - (s - p);
            const bool nextToOther =
                r >= 0 && r < static_cast<std::int64_t>(otherGaps.size()) && otherGaps[static_cast<size_t>(r)];
            // Joining a change in the other file first (one block instead
            // of two), then the look of the block; ties keep the lowest.
            const int score =
                (nextToOther ? 0 : kApartPenalty) + (side.diffPlacement ? 0 : ShapePenalty(side.Shape(p)));
            if (score < bestScore) {
                bestScore = score;
                bestStart = p;
            }
        }
        for (std::int64_t k = s; k < e; ++k)
            at(k) = 0;
        for (std::int64_t k = bestStart; k < bestStart + length; ++k)
            at(k) = 1;
        rank -= s - bestStart;
        i = bestStart + length;
    }
}

}  // namespace

LineShape ShapeOf(std::string_view raw)
{
    std::size_t i = 0;
    while (i < raw.size() && (raw[i] == ' ' || raw[i] == '\t' || raw[i] == '\r' || raw[i] == '\f' || raw[i] == '\v'))
        ++i;
    if (i == raw.size())
        return LineShape::Blank;
    const char c = raw[i];
    return (c == '}' || c == ')' || c == ']') ? LineShape::Closer : LineShape::Text;
}

void SlideChanges(const SlideSide& one, const SlideSide& two)
{
    SlideSideOf(one, two.changed);
    SlideSideOf(two, one.changed);
}

}  // namespace LineDiff

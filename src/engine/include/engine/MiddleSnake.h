#pragma once
// Shortest edit script between two sequences of line classes by a
// divide-and-conquer search for the middle snake (the forward and backward
// searches of the O(ND) method meeting halfway), in linear space.
//
// Outside minimal mode, a region whose cost exceeds a cut-off is split
// instead at lines that occur exactly once on each side (the longest
// increasing run of such pairs), or failing that at the point the search
// got furthest; this keeps very different inputs fast. The regions around
// such guessed points are then searched again exactly.

#include <cstdint>
#include <memory>
#include <vector>

namespace LineDiff {

class MiddleSnakeSearch {
public:
    // The cost a region may reach before the search settles for a good
    // split. Ordinary edits cost far less and are found exactly; on very
    // different inputs it keeps the result as small as diff's, and being a
    // constant, the work per line does not grow with the input.
    static constexpr std::int64_t kCutoff = 4096;

    // A cut-off of 0 stands for kCutoff.
    MiddleSnakeSearch(const std::vector<std::uint32_t>& x, const std::vector<std::uint32_t>& y,
                      std::uint32_t classCount, bool minimal, std::int64_t cutoff = 0);

    // Sets changedX[i] / changedY[j] to 1 for the elements outside the
    // common subsequence found; both arrays are sized like x and y.
    void Run(std::uint8_t* changedX, std::uint8_t* changedY);

private:
    struct Box {
        std::int64_t x0, x1, y0, y1;
        // Set for the gaps between unique-line anchors, which often share
        // no line at all; such a gap is checked for that before searching.
        bool checkShared = false;
    };
    struct Point {
        std::int64_t x, y;
    };
    // The search frontier of one direction: furthest x reached on each
    // diagonal k = x - y (local coordinates) for the current cost; -1 where
    // a diagonal cannot be reached. Diagonals lo..hi, step 2, are current.
    struct Frontier {
        std::int64_t* v;
        std::int64_t lo;
        std::int64_t hi;
    };

    // Finds a point of an optimal path through the box (both sides
    // non-empty, first and last elements differ). Sets `expensive` when
    // the cut-off stopped the search and the point is only a good guess.
    Point Split(const Box& box, bool& expensive);
    void Solve(const Box& whole, std::uint8_t* changedX, std::uint8_t* changedY);
    // Searches the regions around the guessed split points again, exactly.
    void Polish(std::uint8_t* changedX, std::uint8_t* changedY);
    // Advances a frontier by one cost. With Meet set, also returns the
    // lowest diagonal where it now overlaps `other`, the opposite search
    // (diagonal k of one is delta - k of the other), or kNoMeeting.
    template <bool Meet, class Equal>
    static std::int64_t Advance(Frontier& f, std::int64_t n, std::int64_t m, Equal equal, const Frontier& other,
                                std::int64_t delta);
    static constexpr std::int64_t kNoMeeting = INT64_MIN;
    Point BestProgress(const Box& box, const Frontier& f, const Frontier& b) const;
    // Splits an expensive box at lines unique on both sides; pushes the
    // gaps between them and returns false when there are none.
    bool SplitAtUniqueLines(const Box& box, std::vector<Box>& pending);
    static void MarkAll(const Box& box, std::uint8_t* changedX, std::uint8_t* changedY);
    [[nodiscard]] bool SharesAnyLine(const Box& box);

    const std::vector<std::uint32_t>& m_x;
    const std::vector<std::uint32_t>& m_y;
    std::uint32_t m_classCount;
    bool m_minimal;
    std::int64_t m_cutoff;
    // The points where an expensive region was split at a guess.
    std::vector<Point> m_guesses;
    // Left uninitialised on purpose: a slot is always written before it is
    // read, and pages of diagonals the search never reaches stay unused.
    std::unique_ptr<std::int64_t[]> m_forward;
    std::unique_ptr<std::int64_t[]> m_backward;
    std::int64_t m_offset;
    // Scratch space for SplitAtUniqueLines, allocated on first use.
    std::vector<std::uint32_t> m_countX;
    std::vector<std::uint32_t> m_countY;
    std::vector<std::uint32_t> m_posY;
};

}  // namespace LineDiff

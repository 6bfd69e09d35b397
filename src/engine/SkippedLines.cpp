#include "engine/SkippedLines.h"

std::shared_ptr<const LineFile> WithoutSkipped(const LineFile& file, const LineMask& mask,
                                               std::vector<std::int64_t>& kept)
{
    kept.clear();
    const std::int64_t count = file.LineCount();
    for (std::int64_t i = 0; i < count; ++i)
        if (!mask[static_cast<std::size_t>(i)])
            kept.push_back(i);
    return LineFile::FromLines(file, kept);
}

namespace {

// Builds the hunks of the whole files, front to back.
class WholeHunks {
public:
    WholeHunks(const std::vector<std::int64_t> kept[2], const std::int64_t lineCount[2]) : m_kept(kept)
    {
        m_count[0] = lineCount[0];
        m_count[1] = lineCount[1];
    }

    // The whole-file line of kept line `k` of a side; the file's end for
    // one past its last kept line.
    [[nodiscard]] std::int64_t Whole(int side, std::int64_t k) const
    {
        const std::vector<std::int64_t>& kept = m_kept[side];
        return k < static_cast<std::int64_t>(kept.size()) ? kept[static_cast<std::size_t>(k)] : m_count[side];
    }

    // Unchanged kept lines, paired, up to (not including) these kept lines.
    void UnchangedUpTo(std::int64_t k1, std::int64_t k2)
    {
        for (; m_next[0] < k1 && m_next[1] < k2; ++m_next[0], ++m_next[1]) {
            SkippedUpTo(Whole(0, m_next[0]), Whole(1, m_next[1]));
            m_done[0] = Whole(0, m_next[0]) + 1;
            m_done[1] = Whole(1, m_next[1]) + 1;
        }
    }

    void Block(const LineDiff::Hunk& h)
    {
        UnchangedUpTo(h.first1, h.first2);
        const std::int64_t start1 = Whole(0, h.first1);
        const std::int64_t start2 = Whole(1, h.first2);
        SkippedUpTo(start1, start2);
        const std::int64_t end1 = h.count1 > 0 ? Whole(0, h.first1 + h.count1 - 1) + 1 : start1;
        const std::int64_t end2 = h.count2 > 0 ? Whole(1, h.first2 + h.count2 - 1) + 1 : start2;
        m_hunks.push_back({start1, end1 - start1, start2, end2 - start2, h.ignored});
        m_done[0] = end1;
        m_done[1] = end2;
        m_next[0] = h.first1 + h.count1;
        m_next[1] = h.first2 + h.count2;
    }

    std::vector<LineDiff::Hunk> Finish()
    {
        UnchangedUpTo(static_cast<std::int64_t>(m_kept[0].size()), static_cast<std::int64_t>(m_kept[1].size()));
        SkippedUpTo(m_count[0], m_count[1]);
        return std::move(m_hunks);
    }

private:
    // The skipped lines before these whole-file lines, as an ignored block.
    void SkippedUpTo(std::int64_t line1, std::int64_t line2)
    {
        if (line1 > m_done[0] || line2 > m_done[1])
            m_hunks.push_back({m_done[0], line1 - m_done[0], m_done[1], line2 - m_done[1], true});
        m_done[0] = line1;
        m_done[1] = line2;
    }

    const std::vector<std::int64_t>* m_kept;
    std::int64_t m_count[2] = {0, 0};
    std::int64_t m_next[2] = {0, 0};  // kept lines accounted for
    std::int64_t m_done[2] = {0, 0};  // whole-file lines accounted for
    std::vector<LineDiff::Hunk> m_hunks;
};

}  // namespace

std::vector<LineDiff::Hunk> HunksOfWholeFiles(const std::vector<LineDiff::Hunk>& hunks,
                                              const std::vector<std::int64_t> kept[2], const std::int64_t lineCount[2])
{
    WholeHunks whole(kept, lineCount);
    for (const LineDiff::Hunk& h : hunks)
        whole.Block(h);
    return whole.Finish();
}

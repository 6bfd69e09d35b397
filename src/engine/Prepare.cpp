#include "engine/Prepare.h"

#include <algorithm>
#include <stdexcept>

namespace LineDiff {
namespace {

[[gnu::always_inline]] inline LineView ViewOf(const LineFile& file, std::int64_t index)
{
    return {file.RawLine(index), file.LineLacksNewline(index)};
}

// Gives every line a class number through an open-addressing hash table.
// A line is referred to by a number: the middle lines of File One first,
// then those of File Two.
class ClassTable {
public:
    ClassTable(const LineFile& one, const LineFile& two, std::int64_t prefix, std::int64_t midOne,
               const TextNormalizer& normalizer, std::size_t expectedLines)
        : m_one(one), m_two(two), m_prefix(prefix), m_midOne(midOne), m_normalizer(normalizer)
    {
        // Start small and grow: files with many repeated lines need few classes.
        std::size_t capacity = 1024;
        while (capacity < expectedLines / 4)
            capacity *= 2;
        m_slots.assign(capacity, 0);
        m_mask = capacity - 1;
    }

    [[nodiscard]] LineView LineOf(std::uint32_t ref) const
    {
        return ref < m_midOne ? ViewOf(m_one, m_prefix + ref) : ViewOf(m_two, m_prefix + (ref - m_midOne));
    }

    // The class of line `ref`, creating a new one for a line not seen yet.
    [[nodiscard]] std::uint32_t ClassOf(std::uint32_t ref)
    {
        const LineView line = LineOf(ref);
        const std::uint64_t tag = m_normalizer.Hash(line) >> 32;
        for (std::uint64_t pos = tag & m_mask;; pos = (pos + 1) & m_mask) {
            const std::uint64_t slot = m_slots[pos];
            if (slot == 0)
                return Add(pos, tag, ref);
            if ((slot >> 32) == tag) {
                const auto cls = static_cast<std::uint32_t>((slot & 0xFFFFFFFFu) - 1);
                if (m_normalizer.Same(LineOf(m_representative[cls]), line))
                    return cls;
            }
        }
    }

    [[nodiscard]] std::uint32_t Count() const { return static_cast<std::uint32_t>(m_representative.size()); }
    // The first line seen of a class.
    [[nodiscard]] std::uint32_t Representative(std::uint32_t cls) const { return m_representative[cls]; }

private:
    std::uint32_t Add(std::uint64_t pos, std::uint64_t tag, std::uint32_t ref)
    {
        if (m_representative.size() >= 0xFFFFFFFEu)
            throw std::length_error("too many distinct lines");
        const auto cls = static_cast<std::uint32_t>(m_representative.size());
        m_representative.push_back(ref);
        m_slots[pos] = (tag << 32) | (std::uint64_t{cls} + 1);
        // Keep the table at most half full so probes stay short.
        if (m_representative.size() * 2 > m_slots.size())
            Grow();
        return cls;
    }

    void Grow()
    {
        // Positions come from the stored tag, so no line is hashed again.
        std::vector<std::uint64_t> old;
        old.swap(m_slots);
        m_slots.assign(old.size() * 2, 0);
        m_mask = m_slots.size() - 1;
        for (std::uint64_t slot : old) {
            if (slot == 0)
                continue;
            std::uint64_t pos = (slot >> 32) & m_mask;
            while (m_slots[pos] != 0)
                pos = (pos + 1) & m_mask;
            m_slots[pos] = slot;
        }
    }

    const LineFile& m_one;
    const LineFile& m_two;
    std::int64_t m_prefix;
    std::int64_t m_midOne;
    const TextNormalizer& m_normalizer;
    // Each slot holds the upper 32 bits of the hash (its low bits pick the
    // slot) and the class number + 1 (0 = empty).
    std::vector<std::uint64_t> m_slots;
    std::uint64_t m_mask = 0;
    std::vector<std::uint32_t> m_representative;
};

void Classify(const LineFile& one, const LineFile& two, const TextNormalizer& normalizer, Prepared& p)
{
    const std::int64_t midOne = one.LineCount() - p.prefix - p.suffix;
    const std::int64_t midTwo = two.LineCount() - p.prefix - p.suffix;
    std::vector<std::uint32_t>& idsA = p.one.classes;
    std::vector<std::uint32_t>& idsB = p.two.classes;
    idsA.resize(static_cast<std::size_t>(midOne));
    idsB.resize(static_cast<std::size_t>(midTwo));
    ClassTable classes(one, two, p.prefix, midOne, normalizer, static_cast<std::size_t>(midOne + midTwo));
    // A line equal to the one before it (runs of blank lines, of the same
    // line repeated) takes its class without a look into the table.
    for (std::int64_t i = 0; i < midOne; ++i) {
        const auto k = static_cast<std::size_t>(i);
        if (i > 0 && normalizer.Same(ViewOf(one, p.prefix + i - 1), ViewOf(one, p.prefix + i)))
            idsA[k] = idsA[k - 1];
        else
            idsA[k] = classes.ClassOf(static_cast<std::uint32_t>(i));
    }
    // Most lines of File Two continue a run of lines equal to File One;
    // checking the line after the last match first skips the hash table
    // (and its cache misses) for them.
    std::int64_t guess = 0;
    for (std::int64_t j = 0; j < midTwo; ++j) {
        std::uint32_t cls = 0;
        if (guess < midOne && normalizer.Same(ViewOf(one, p.prefix + guess), ViewOf(two, p.prefix + j))) {
            cls = idsA[static_cast<std::size_t>(guess)];
        } else {
            cls = classes.ClassOf(static_cast<std::uint32_t>(midOne + j));
            guess = classes.Representative(cls);  // an index into File One when < midOne
        }
        idsB[static_cast<std::size_t>(j)] = cls;
        ++guess;
    }
    p.classCount = classes.Count();
}

// Marks the lines whose class the other side lacks (`changed` points at
// the flag of the side's first middle line) and keeps the others.
void SetAsideUnmatched(Side& side, const std::vector<std::uint8_t>& inOther, std::uint8_t* changed)
{
    const std::size_t n = side.classes.size();
    std::size_t kept = 0;
    for (std::uint32_t c : side.classes)
        kept += inOther[c];
    // Often nothing is set aside on one side (File One's lines all occur
    // in File Two): the search then reads the classes as they are.
    side.keptAll = kept == n;
    if (side.keptAll)
        return;
    side.kept.reserve(kept);
    side.keptIndex.reserve(kept);
    for (std::size_t i = 0; i < n; ++i) {
        const std::uint32_t c = side.classes[i];
        if (inOther[c]) {
            side.kept.push_back(c);
            side.keptIndex.push_back(static_cast<std::uint32_t>(i));
        } else {
            changed[i] = 1;
        }
    }
}

}  // namespace

Prepared Prepare(const LineFile& one, const LineFile& two, const TextNormalizer& normalizer, std::int64_t horizon,
                 bool bytesTrim)
{
    const std::int64_t nA = one.LineCount();
    const std::int64_t nB = two.LineCount();
    // Lines are numbered with 32 bits inside the later stages.
    if (nA + nB >= 0xFFFFFFF0LL)
        throw std::length_error("too many lines");
    Prepared p;
    p.changedOne = Flags(static_cast<std::size_t>(nA));
    p.changedTwo = Flags(static_cast<std::size_t>(nB));
    const auto trimmed = [&](std::int64_t i, std::int64_t j) {
        const LineView a = ViewOf(one, i);
        const LineView b = ViewOf(two, j);
        return bytesTrim && !normalizer.Plain() ? a.raw == b.raw && normalizer.Same(a, b) : normalizer.Same(a, b);
    };
    while (p.prefix < nA && p.prefix < nB && trimmed(p.prefix, p.prefix))
        ++p.prefix;
    while (p.suffix < nA - p.prefix && p.suffix < nB - p.prefix && trimmed(nA - 1 - p.suffix, nB - 1 - p.suffix))
        ++p.suffix;
    if (p.prefix + p.suffix == nA && p.prefix + p.suffix == nB)
        return p;
    // (Lines equal under the settings but not in bytes are numbered like
    // any others below.)
    p.prefix -= std::min(p.prefix, std::max<std::int64_t>(horizon, 0));
    p.suffix -= std::min(p.suffix, std::max<std::int64_t>(horizon, 0));
    Classify(one, two, normalizer, p);
    std::vector<std::uint8_t> inA(p.classCount, 0);
    std::vector<std::uint8_t> inB(p.classCount, 0);
    for (std::uint32_t c : p.one.classes)
        inA[c] = 1;
    for (std::uint32_t c : p.two.classes)
        inB[c] = 1;
    SetAsideUnmatched(p.one, inB, p.changedOne.data() + p.prefix);
    SetAsideUnmatched(p.two, inA, p.changedTwo.data() + p.prefix);
    return p;
}

}  // namespace LineDiff

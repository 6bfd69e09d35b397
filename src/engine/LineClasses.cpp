#include "engine/LineClasses.h"

#include <stdexcept>

LineClasses::LineClasses(const TextNormalizer& normalizer, std::function<LineView(std::uint32_t)> lineAt,
                         size_t expectedLines)
    : m_normalizer(normalizer), m_lineAt(std::move(lineAt))
{
    // Start small and grow: files with many repeated lines need few classes.
    size_t capacity = 1024;
    while (capacity < expectedLines / 4)
        capacity *= 2;
    m_slots.assign(capacity, 0);
    m_mask = capacity - 1;
}

std::uint32_t LineClasses::ClassOf(std::uint32_t ref)
{
    const LineView line = m_lineAt(ref);
    const std::uint64_t hash = m_normalizer.Hash(line);
    const std::uint64_t tag = hash >> 32;
    for (std::uint64_t pos = tag & m_mask;; pos = (pos + 1) & m_mask) {
        const std::uint64_t slot = m_slots[pos];
        if (slot == 0) {
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
        if ((slot >> 32) == tag) {
            const auto cls = static_cast<std::uint32_t>((slot & 0xFFFFFFFFu) - 1);
            if (m_normalizer.Same(m_lineAt(m_representative[cls]), line))
                return cls;
        }
    }
}

void LineClasses::Grow()
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

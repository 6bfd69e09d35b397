#pragma once
// Gives every line a class number, equal for lines that compare equal
// under the settings and different otherwise, so the search compares
// integers instead of text.

#include "engine/TextNormalizer.h"

#include <cstdint>
#include <functional>
#include <vector>

class LineClasses {
public:
    // `lineAt(ref)` returns the line a reference stands for; references are
    // whatever numbering the caller uses for the lines of both files.
    LineClasses(const TextNormalizer& normalizer, std::function<LineView(std::uint32_t)> lineAt,
                size_t expectedLines);

    // The class of line `ref`, creating a new one for a line not seen yet.
    [[nodiscard]] std::uint32_t ClassOf(std::uint32_t ref);
    [[nodiscard]] std::uint32_t Count() const { return static_cast<std::uint32_t>(m_representative.size()); }
    // The first line seen of a class.
    [[nodiscard]] std::uint32_t Representative(std::uint32_t cls) const { return m_representative[cls]; }

private:
    void Grow();

    const TextNormalizer& m_normalizer;
    std::function<LineView(std::uint32_t)> m_lineAt;
    // Open addressing: each slot holds the upper 32 bits of the hash (its
    // low bits pick the slot) and the class number + 1 (0 = empty).
    std::vector<std::uint64_t> m_slots;
    std::uint64_t m_mask = 0;
    std::vector<std::uint32_t> m_representative;
};

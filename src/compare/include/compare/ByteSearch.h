#pragma once
// Finding an ASCII text in bytes without regard to ASCII letter case, fast
// enough to run over every line of a large comparison while the user waits.
// Bytes of 0x80 and above only ever match themselves.

#include <cstddef>
#include <string>
#include <string_view>

namespace ByteSearch {

inline constexpr std::size_t kNotFound = static_cast<std::size_t>(-1);

// The ASCII lower-case form of a byte; other bytes are returned unchanged.
[[nodiscard]] constexpr unsigned char FoldAscii(unsigned char c)
{
    return c >= 'A' && c <= 'Z' ? static_cast<unsigned char>(c + ('a' - 'A')) : c;
}

class FoldedNeedle {
public:
    // needle: at least one byte.
    explicit FoldedNeedle(std::string_view needle);

    [[nodiscard]] std::size_t size() const { return m_folded.size(); }
    // Offset of the first match starting in [from, haystack.size() - size()],
    // or kNotFound.
    [[nodiscard]] std::size_t findIn(std::string_view haystack, std::size_t from = 0) const;
    [[nodiscard]] bool matchesAt(const char* at) const;

private:
    std::string m_folded;
};

// Offset of the first byte in [from, haystack.size()) that is a TAB (tabs)
// or has its high bit set (highBytes), or kNotFound.
[[nodiscard]] std::size_t FindTrigger(std::string_view haystack, std::size_t from, bool tabs, bool highBytes);

}  // namespace ByteSearch

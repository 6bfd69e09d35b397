#include "compare/ByteSearch.h"

#include <cstring>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace ByteSearch {
namespace {

bool IsLetter(unsigned char c)
{
    return c >= 'a' && c <= 'z';
}

#if defined(__SSE2__)
__m128i Load16(const char* at)
{
    return _mm_loadu_si128(reinterpret_cast<const __m128i*>(at));
}

// Sixteen candidate starts at once: the needle's first and last bytes are
// compared at every start, folded by setting bit 0x20 where the needle's
// byte is a letter (of the bytes that can then equal a lower-case letter,
// exactly its two cases do). Candidates are checked in full. Returns a
// match, or in `next` the first start it did not look at.
std::size_t FindWide(std::string_view hay, std::size_t& next, const std::string& folded, const FoldedNeedle& needle)
{
    const std::size_t m = folded.size();
    const auto first = static_cast<unsigned char>(folded.front());
    const auto last = static_cast<unsigned char>(folded.back());
    const __m128i firstByte = _mm_set1_epi8(static_cast<char>(first));
    const __m128i lastByte = _mm_set1_epi8(static_cast<char>(last));
    const __m128i firstFold = _mm_set1_epi8(IsLetter(first) ? 0x20 : 0);
    const __m128i lastFold = _mm_set1_epi8(IsLetter(last) ? 0x20 : 0);
    const char* data = hay.data();
    std::size_t i = next;
    for (; i + m - 1 + 16 <= hay.size(); i += 16) {
        const __m128i a = _mm_or_si128(Load16(data + i), firstFold);
        const __m128i b = _mm_or_si128(Load16(data + i + m - 1), lastFold);
        auto mask = static_cast<unsigned>(
            _mm_movemask_epi8(_mm_and_si128(_mm_cmpeq_epi8(a, firstByte), _mm_cmpeq_epi8(b, lastByte))));
        while (mask != 0) {
            const auto bit = static_cast<std::size_t>(__builtin_ctz(mask));
            if (needle.matchesAt(data + i + bit))
                return i + bit;
            mask &= mask - 1;
        }
    }
    next = i;
    return kNotFound;
}
#endif

}  // namespace

FoldedNeedle::FoldedNeedle(std::string_view needle) : m_folded(needle)
{
    for (char& c : m_folded)
        c = static_cast<char>(FoldAscii(static_cast<unsigned char>(c)));
}

bool FoldedNeedle::matchesAt(const char* at) const
{
    for (std::size_t k = 0; k < m_folded.size(); ++k) {
        if (FoldAscii(static_cast<unsigned char>(at[k])) != static_cast<unsigned char>(m_folded[k]))
            return false;
    }
    return true;
}

std::size_t FoldedNeedle::findIn(std::string_view haystack, std::size_t from) const
{
    const std::size_t m = m_folded.size();
    if (m == 0 || haystack.size() < m || from > haystack.size() - m)
        return kNotFound;
    std::size_t i = from;
#if defined(__SSE2__)
    if (const std::size_t hit = FindWide(haystack, i, m_folded, *this); hit != kNotFound)
        return hit;
#endif
    for (; i + m <= haystack.size(); ++i) {
        if (matchesAt(haystack.data() + i))
            return i;
    }
    return kNotFound;
}

std::size_t FindTrigger(std::string_view haystack, std::size_t from, bool tabs, bool highBytes)
{
    if (!tabs && !highBytes)
        return kNotFound;
    if (!highBytes) {
        if (from >= haystack.size())
            return kNotFound;
        const void* hit = std::memchr(haystack.data() + from, '\t', haystack.size() - from);
        return hit ? static_cast<std::size_t>(static_cast<const char*>(hit) - haystack.data()) : kNotFound;
    }
    std::size_t i = from;
#if defined(__SSE2__)
    const __m128i tab = _mm_set1_epi8('\t');
    for (; i + 16 <= haystack.size(); i += 16) {
        const __m128i bytes = Load16(haystack.data() + i);
        // movemask takes each byte's high bit; a TAB becomes 0xFF first.
        const __m128i marked = tabs ? _mm_or_si128(bytes, _mm_cmpeq_epi8(bytes, tab)) : bytes;
        if (const auto mask = static_cast<unsigned>(_mm_movemask_epi8(marked)); mask != 0)
            return i + static_cast<std::size_t>(__builtin_ctz(mask));
    }
#endif
    for (; i < haystack.size(); ++i) {
        const auto c = static_cast<unsigned char>(haystack[i]);
        if (c >= 0x80 || (tabs && c == '\t'))
            return i;
    }
    return kNotFound;
}

}  // namespace ByteSearch

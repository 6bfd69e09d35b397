#include "engine/TextNormalizer.h"

#include "engine/Unicode.h"

#include <cstring>

namespace {

constexpr std::uint64_t kMul = 0x9E3779B97F4A7C15ull;

std::uint64_t Mix(std::uint64_t h, std::uint64_t word)
{
    h ^= word;
    h *= kMul;
    return h ^ (h >> 29);
}

// Hash of raw bytes, eight at a time.
std::uint64_t HashBytes(const char* p, size_t n, std::uint64_t seed)
{
    std::uint64_t h = seed ^ (n * kMul);
    while (n >= 8) {
        std::uint64_t w;
        std::memcpy(&w, p, 8);
        h = Mix(h, w);
        p += 8;
        n -= 8;
    }
    if (n > 0) {
        std::uint64_t w = 0;
        std::memcpy(&w, p, n);
        h = Mix(h, w | (std::uint64_t{1} << 63));
    }
    return Mix(h, 0x1234567ull);
}

// Characters read from Windows-1252 bytes are moved above the Unicode
// range, where no UTF-8 character can reach: "\xe9" and "\xc3\xa9" look
// alike on screen but are different bytes, and the settings must not make
// them equal.
constexpr char32_t kSingleByteTag = 0x200000;

// U+FEFF: a byte-order mark at the start of a file, an invisible zero-width
// no-break space anywhere else. Ignored with white space, like the other
// bytes that only say how the text is stored (line endings).
constexpr char32_t kByteOrderMark = 0xFEFF;

// Walks the characters of a line that take part in a comparison: white
// space skipped and letters case-folded when the settings say so.
class CharReader {
public:
    CharReader(LineView line, bool ignoreCase, bool ignoreWhiteSpace)
        : m_p(reinterpret_cast<const unsigned char*>(line.raw.data())), m_end(m_p + line.raw.size()),
          m_utf8(Unicode::IsValidUtf8(line.raw)), m_ignoreCase(ignoreCase), m_ignoreWhiteSpace(ignoreWhiteSpace)
    {
    }

    // Next character, or false at the end of the line.
    bool Next(char32_t& c)
    {
        while (m_p < m_end) {
            char32_t tag = 0;
            if (*m_p < 0x80) {
                c = *m_p++;
            } else if (!m_utf8) {
                c = Unicode::FromWindows1252(*m_p++);
                tag = kSingleByteTag;
            } else {
                m_p += Unicode::DecodeUtf8(m_p, m_end, c);  // valid: never 0
            }
            if (m_ignoreWhiteSpace && (Unicode::IsSpace(c) || c == kByteOrderMark))
                continue;
            if (m_ignoreCase)
                c = Unicode::FoldCase(c);
            c |= tag;
            return true;
        }
        return false;
    }

private:
    const unsigned char* m_p;
    const unsigned char* m_end;
    bool m_utf8;
    bool m_ignoreCase;
    bool m_ignoreWhiteSpace;
};

}  // namespace

bool TextNormalizer::IsValidUtf8(std::string_view bytes)
{
    return Unicode::IsValidUtf8(bytes);
}

std::uint64_t TextNormalizer::Hash(LineView line) const
{
    if (Plain())
        return HashBytes(line.raw.data(), line.raw.size(), (m_newlineMatters && line.lacksNewline) ? 0x51ull : 0);
    CharReader reader(line, m_ignoreCase, m_ignoreWhiteSpace);
    // White space includes the line ending, so with white space ignored a
    // missing final LF does not make a line different.
    std::uint64_t h = (m_newlineMatters && line.lacksNewline) ? 0x51ull : 0;
    char32_t c;
    while (reader.Next(c))
        h = Mix(h, c);
    return Mix(h, 0x1234567ull);
}

bool TextNormalizer::SameRelaxed(LineView one, LineView two) const
{
    if (m_newlineMatters && one.lacksNewline != two.lacksNewline)
        return false;
    CharReader a(one, m_ignoreCase, m_ignoreWhiteSpace);
    CharReader b(two, m_ignoreCase, m_ignoreWhiteSpace);
    char32_t ca = 0;
    char32_t cb = 0;
    for (;;) {
        const bool moreA = a.Next(ca);
        const bool moreB = b.Next(cb);
        if (moreA != moreB)
            return false;
        if (!moreA)
            return true;
        if (ca != cb)
            return false;
    }
}

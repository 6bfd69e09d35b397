#include "engine/TextNormalizer.h"

#include "engine/TextDecoding.h"

#include <QChar>
#include <QString>

#include <array>

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

// Decodes one UTF-8 sequence at p (end is the limit). Returns its length,
// or 0 when the bytes there are not a valid, shortest-form sequence.
int DecodeUtf8(const unsigned char* p, const unsigned char* end, char32_t& out)
{
    const unsigned char lead = p[0];
    if (lead < 0x80) {
        out = lead;
        return 1;
    }
    int len = 0;
    char32_t cp = 0;
    char32_t min = 0;
    if ((lead & 0xE0) == 0xC0) {
        len = 2; cp = lead & 0x1Fu; min = 0x80;
    } else if ((lead & 0xF0) == 0xE0) {
        len = 3; cp = lead & 0x0Fu; min = 0x800;
    } else if ((lead & 0xF8) == 0xF0) {
        len = 4; cp = lead & 0x07u; min = 0x10000;
    } else {
        return 0;
    }
    if (end - p < len)
        return 0;
    for (int i = 1; i < len; ++i) {
        if ((p[i] & 0xC0) != 0x80)
            return 0;
        cp = (cp << 6) | (p[i] & 0x3Fu);
    }
    if (cp < min || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF))
        return 0;
    out = cp;
    return len;
}

// The character a byte of a line that is not UTF-8 shows as, so that
// ignoring case treats such lines as the display reads them.
char32_t SingleByteChar(unsigned char b)
{
    static const std::array<char32_t, 32> high = [] {
        QByteArray bytes;
        for (int i = 0x80; i < 0xA0; ++i)
            bytes += static_cast<char>(i);
        const QString text = TextDecoding::DecodeWindows1252(bytes);
        std::array<char32_t, 32> table{};
        for (size_t i = 0; i < table.size(); ++i)
            table[i] = text.at(static_cast<qsizetype>(i)).unicode();
        return table;
    }();
    return (b >= 0x80 && b < 0xA0) ? high[b - 0x80u] : b;
}

bool IsAsciiSpace(char32_t c)
{
    return c == ' ' || c == '\t' || c == '\r' || c == '\v' || c == '\f' || c == '\n';
}

// Walks the characters of a line that take part in a comparison: white
// space skipped and letters case-folded when the settings say so.
class CharReader {
public:
    CharReader(LineView line, bool ignoreCase, bool ignoreWhiteSpace)
        : m_p(reinterpret_cast<const unsigned char*>(line.raw.data())),
          m_end(m_p + line.raw.size()),
          m_utf8(TextNormalizer::IsValidUtf8(line.raw)),
          m_ignoreCase(ignoreCase),
          m_ignoreWhiteSpace(ignoreWhiteSpace)
    {
    }

    // Next character, or false at the end of the line.
    bool Next(char32_t& c)
    {
        while (m_p < m_end) {
            if (*m_p < 0x80) {
                c = *m_p++;
            } else if (!m_utf8) {
                c = SingleByteChar(*m_p++);
            } else {
                m_p += DecodeUtf8(m_p, m_end, c);  // valid: never 0
            }
            if (m_ignoreWhiteSpace && (c < 0x80 ? IsAsciiSpace(c) : QChar::isSpace(c)))
                continue;
            if (m_ignoreCase)
                c = c < 0x80 ? static_cast<char32_t>((c >= 'A' && c <= 'Z') ? c + 32 : c) : QChar::toCaseFolded(c);
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

bool TextNormalizer::IsValidUtf8(QByteArrayView bytes)
{
    const auto* p = reinterpret_cast<const unsigned char*>(bytes.data());
    const auto* end = p + bytes.size();
    while (p < end) {
        // Skip ASCII eight bytes at a time: most lines are plain ASCII.
        while (end - p >= 8) {
            std::uint64_t w;
            std::memcpy(&w, p, 8);
            if (w & 0x8080808080808080ull)
                break;
            p += 8;
        }
        if (p == end)
            break;
        char32_t c;
        const int len = DecodeUtf8(p, end, c);
        if (len == 0)
            return false;
        p += len;
    }
    return true;
}

std::uint64_t TextNormalizer::Hash(LineView line) const
{
    if (Plain())
        return HashBytes(line.raw.data(), static_cast<size_t>(line.raw.size()), line.lacksNewline ? 0x51ull : 0);
    CharReader reader(line, m_ignoreCase, m_ignoreWhiteSpace);
    // White space includes the line ending, so with white space ignored a
    // missing final LF does not make a line different.
    std::uint64_t h = (!m_ignoreWhiteSpace && line.lacksNewline) ? 0x51ull : 0;
    char32_t c;
    while (reader.Next(c))
        h = Mix(h, c);
    return Mix(h, 0x1234567ull);
}

bool TextNormalizer::Same(LineView one, LineView two) const
{
    if (Plain())
        return one.lacksNewline == two.lacksNewline && one.raw == two.raw;
    if (!m_ignoreWhiteSpace && one.lacksNewline != two.lacksNewline)
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

#include "engine/TextNormalizer.h"

#include "engine/Unicode.h"

#include <algorithm>
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
// A run of blanks under tab expansion, told apart by the column it reaches.
constexpr char32_t kBlankRun = 0x400000;

// U+FEFF: a byte-order mark at the start of a file, an invisible zero-width
// no-break space anywhere else. Ignored with all white space, like the
// other bytes that only say how the text is stored (line endings).
constexpr char32_t kByteOrderMark = 0xFEFF;

// Lines longer than this are not expected: tab stops further apart count
// as this far, which leaves equality unchanged for shorter lines (every
// tab then starts a stop of its own) and keeps columns within 64 bits.
constexpr std::uint64_t kLargestTabSize = std::uint64_t{1} << 32;

// What takes part in a comparison, one piece at a time: a character
// (case-folded when asked), or a run of white space as the mode reduces it.
struct Token {
    char32_t c = 0;
    std::uint64_t column = 0;  // kBlankRun: the column the run reaches
    friend bool operator==(const Token&, const Token&) = default;
};

class TokenReader {
public:
    TokenReader(LineView line, bool ignoreCase, WhiteSpace whiteSpace, std::uint64_t tabSize)
        : m_p(reinterpret_cast<const unsigned char*>(line.raw.data())), m_end(m_p + line.raw.size()),
          m_utf8(Unicode::IsValidUtf8(line.raw)), m_ignoreCase(ignoreCase), m_mode(whiteSpace), m_tabSize(tabSize)
    {
    }

    // The next token, or false at the end of the line.
    bool Next(Token& t)
    {
        while (m_p < m_end) {
            int length = 0;
            const char32_t c = Peek(m_p, length);
            if (m_mode == WhiteSpace::Exact || !IsBlank(c))
                return Character(c, length, t);
            switch (m_mode) {
            case WhiteSpace::All: m_p += length; continue;
            case WhiteSpace::Change:
                m_p = SkipBlanks(m_p);
                t = {' ', 0};
                return m_p < m_end;
            case WhiteSpace::Trailing:
            case WhiteSpace::TrailingAndTabs:
                if (m_p >= m_inner && (m_inner = SkipBlanks(m_p)) == m_end) {
                    m_p = m_end;
                    return false;
                }
                break;
            default: break;
            }
            if (m_mode == WhiteSpace::Trailing || !StartsRun(c))
                return Character(c, length, t);
            Run(t);
            return true;
        }
        return false;
    }

private:
    [[nodiscard]] char32_t Peek(const unsigned char* p, int& length) const
    {
        char32_t c = *p;
        length = 1;
        if (c >= 0x80) {
            if (m_utf8)
                length = Unicode::DecodeUtf8(p, m_end, c);  // valid: never 0
            else
                c = Unicode::FromWindows1252(*p);
        }
        return c;
    }
    [[nodiscard]] bool IsBlank(char32_t c) const
    {
        return Unicode::IsSpace(c) || (m_mode == WhiteSpace::All && c == kByteOrderMark);
    }
    [[nodiscard]] const unsigned char* SkipBlanks(const unsigned char* p) const
    {
        int length = 0;
        while (p < m_end && IsBlank(Peek(p, length)))
            p += length;
        return p;
    }
    // A space, or a tab whose stop is known: after a backspace or a
    // carriage return the column is uncertain, and a tab there stays a tab.
    [[nodiscard]] bool StartsRun(char32_t c) const { return c == ' ' || (c == '\t' && !m_tabsLiteral); }

    bool Character(char32_t c, int length, Token& t)
    {
        const char32_t tag = (!m_utf8 && *m_p >= 0x80) ? kSingleByteTag : 0;
        m_p += length;
        m_column += static_cast<std::uint64_t>(length);
        m_tabsLiteral = m_tabsLiteral || c == '\b' || c == '\r';
        t = {(m_ignoreCase ? Unicode::FoldCase(c) : c) | tag, 0};
        return true;
    }

    // Spaces and tabs as the columns they reach.
    void Run(Token& t)
    {
        while (m_p < m_end && StartsRun(*m_p)) {
            m_column += *m_p == '\t' ? m_tabSize - m_column % m_tabSize : 1;
            ++m_p;
        }
        t = {kBlankRun, m_column};
    }

    const unsigned char* m_p;
    const unsigned char* m_end;
    // Blanks before this point are known to precede other text.
    const unsigned char* m_inner = nullptr;
    bool m_utf8;
    bool m_ignoreCase;
    WhiteSpace m_mode;
    std::uint64_t m_tabSize;
    std::uint64_t m_column = 0;
    bool m_tabsLiteral = false;
};

WhiteSpace ModeOf(const LineDiff::Settings& s)
{
    if (s.ignoreWhiteSpace)
        return WhiteSpace::All;
    if (s.ignoreSpaceChange)
        return WhiteSpace::Change;
    if (s.ignoreTrailingSpace)
        return s.ignoreTabExpansion ? WhiteSpace::TrailingAndTabs : WhiteSpace::Trailing;
    return s.ignoreTabExpansion ? WhiteSpace::TabExpansion : WhiteSpace::Exact;
}

}  // namespace

TextNormalizer::TextNormalizer(const LineDiff::Settings& s)
    : m_ignoreCase(s.ignoreCase), m_whiteSpace(ModeOf(s)),
      m_tabSize(std::clamp<std::uint64_t>(static_cast<std::uint64_t>(s.tabSize), 1, kLargestTabSize)),
      m_stripCr(s.ignoreLineEndings),
      // A missing LF is white space at the end of the line.
      m_newlineMatters(!s.ignoreFinalNewline && !s.ignoreLineEndings && !IgnoresTrailingSpace())
{
}

bool TextNormalizer::IgnoresTrailingSpace() const
{
    return m_whiteSpace != WhiteSpace::Exact && m_whiteSpace != WhiteSpace::TabExpansion;
}

bool TextNormalizer::IsBlank(LineView line) const
{
    if (m_stripCr)
        line = Stripped(line);
    if (!IgnoresTrailingSpace())
        return line.raw.empty();
    Token t;
    return !TokenReader(line, m_ignoreCase, m_whiteSpace, m_tabSize).Next(t);
}

bool TextNormalizer::IsValidUtf8(std::string_view bytes)
{
    return Unicode::IsValidUtf8(bytes);
}

std::uint64_t TextNormalizer::Hash(LineView line) const
{
    if (m_stripCr)
        line = Stripped(line);
    const std::uint64_t seed = (m_newlineMatters && line.lacksNewline) ? 0x51ull : 0;
    if (Plain())
        return HashBytes(line.raw.data(), line.raw.size(), seed);
    TokenReader reader(line, m_ignoreCase, m_whiteSpace, m_tabSize);
    std::uint64_t h = seed;
    Token t;
    while (reader.Next(t)) {
        h = Mix(h, t.c);
        if (t.column != 0)
            h = Mix(h, t.column);
    }
    return Mix(h, 0x1234567ull);
}

bool TextNormalizer::SameRelaxed(LineView one, LineView two) const
{
    if (m_newlineMatters && one.lacksNewline != two.lacksNewline)
        return false;
    TokenReader a(one, m_ignoreCase, m_whiteSpace, m_tabSize);
    TokenReader b(two, m_ignoreCase, m_whiteSpace, m_tabSize);
    Token ta;
    Token tb;
    for (;;) {
        const bool moreA = a.Next(ta);
        const bool moreB = b.Next(tb);
        if (moreA != moreB)
            return false;
        if (!moreA)
            return true;
        if (!(ta == tb))
            return false;
    }
}

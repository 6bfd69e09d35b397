#pragma once
// Decides when two lines count as equal under the comparison settings, and
// hashes lines so that equal lines always get equal hashes.
//
// Without settings, lines are equal when their bytes are (a CR before the
// LF included, so CRLF and LF lines differ, and a last line without LF
// differs from the same text with one). Ignoring case or white space works
// on characters: a line that is valid UTF-8 is read as UTF-8, any other
// line as Windows-1252, the same rule the display uses. The settings relax
// case and white space only: a character read from Windows-1252 never
// equals one read from UTF-8 unless both are ASCII, so two lines whose
// bytes differ in any other way stay different, whatever their encoding.
// Ignoring white space also ignores U+FEFF, so a byte-order mark is then
// no difference, as line endings are not.

#include <cstdint>
#include <string_view>

struct LineView {
    std::string_view raw;       // line bytes, a CR before the LF included
    bool lacksNewline = false;  // the file's last line, without LF
};

class TextNormalizer {
public:
    // `ignoreFinalNewline`: a last line without LF equals the same text
    // with one (for output that cannot tell them apart).
    TextNormalizer(bool ignoreCase, bool ignoreWhiteSpace, bool ignoreFinalNewline = false)
        : m_ignoreCase(ignoreCase), m_ignoreWhiteSpace(ignoreWhiteSpace),
          m_newlineMatters(!ignoreWhiteSpace && !ignoreFinalNewline)
    {
    }

    [[nodiscard]] std::uint64_t Hash(LineView line) const;
    [[nodiscard]] bool Same(LineView one, LineView two) const
    {
        if (Plain())
            return (!m_newlineMatters || one.lacksNewline == two.lacksNewline) && one.raw == two.raw;
        return SameRelaxed(one, two);
    }
    // True when lines are compared byte for byte.
    [[nodiscard]] bool Plain() const { return !m_ignoreCase && !m_ignoreWhiteSpace; }

    [[nodiscard]] static bool IsValidUtf8(std::string_view bytes);

private:
    [[nodiscard]] bool SameRelaxed(LineView one, LineView two) const;

    bool m_ignoreCase;
    bool m_ignoreWhiteSpace;
    bool m_newlineMatters;
};

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
// Ignoring all white space also ignores U+FEFF, so a byte-order mark is
// then no difference, as line endings are not.

#include "engine/LineDiff.h"

#include <cstdint>
#include <string_view>

struct LineView {
    std::string_view raw;       // line bytes, a CR before the LF included
    bool lacksNewline = false;  // the file's last line, without LF
};

// How white space takes part in a comparison, from strictest to loosest.
enum class WhiteSpace : std::uint8_t {
    Exact,            // as any other character
    TabExpansion,     // a tab equals the spaces up to the same tab stop
    Trailing,         // ignored at the end of a line
    TrailingAndTabs,  // both of the above
    Change,           // any run equals any other; ignored at the end
    All,              // ignored wherever it is
};

class TextNormalizer {
public:
    explicit TextNormalizer(const LineDiff::Settings& settings);

    [[nodiscard]] std::uint64_t Hash(LineView line) const;
    [[nodiscard]] bool Same(LineView one, LineView two) const
    {
        if (m_stripCr) {
            one = Stripped(one);
            two = Stripped(two);
        }
        if ((!m_newlineMatters || one.lacksNewline == two.lacksNewline) && one.raw == two.raw)
            return true;
        return !Plain() && SameRelaxed(one, two);
    }
    // True when lines are compared byte for byte.
    [[nodiscard]] bool Plain() const { return !m_ignoreCase && m_whiteSpace == WhiteSpace::Exact; }
    // True when white space at the end of a line takes no part.
    [[nodiscard]] bool IgnoresTrailingSpace() const;
    // A blank line: an empty one, or one of white space alone where white
    // space at the end of a line takes no part.
    [[nodiscard]] bool IsBlank(LineView line) const;

    [[nodiscard]] static bool IsValidUtf8(std::string_view bytes);

private:
    [[nodiscard]] bool SameRelaxed(LineView one, LineView two) const;
    [[nodiscard]] static LineView Stripped(LineView line)
    {
        if (!line.lacksNewline && !line.raw.empty() && line.raw.back() == '\r')
            line.raw.remove_suffix(1);
        return line;
    }

    bool m_ignoreCase;
    WhiteSpace m_whiteSpace;
    std::uint64_t m_tabSize;
    bool m_stripCr;
    bool m_newlineMatters;
};

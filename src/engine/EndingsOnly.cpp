#include "engine/EndingsOnly.h"

#include <algorithm>
#include <cstring>
#include <string_view>

namespace {

// The text of lines [first, first + count) of a file as pieces, each line
// ending (CR LF, LF, CR alone, or none at the end of the file) given as one
// LF, so that two texts that differ only there give the same bytes.
class Pieces {
public:
    Pieces(const LineFile& file, std::int64_t first, std::int64_t count)
        : m_file(file), m_line(first), m_end(first + count)
    {
    }

    // The next piece; empty at the end.
    [[nodiscard]] std::string_view Next()
    {
        while (m_rest.empty()) {
            if (m_pendingEnding) {
                m_pendingEnding = false;
                return "\n";
            }
            if (m_line == m_end)
                return {};
            StartLine();
        }
        // A CR left in a line's text is a line ending of its own.
        const std::size_t cr = m_rest.find('\r');
        if (cr == 0) {
            m_rest.remove_prefix(1);
            return "\n";
        }
        const std::string_view piece = m_rest.substr(0, cr);
        m_rest.remove_prefix(piece.size());
        return piece;
    }

private:
    void StartLine()
    {
        m_rest = m_file.Line(m_line);
        if (m_line == 0 && m_rest.substr(0, 3) == "\xEF\xBB\xBF")
            m_rest.remove_prefix(3);
        // A last line without LF ends anyway, unless in a CR of its own or
        // when it held only the mark.
        m_pendingEnding = !(m_file.LineLacksNewline(m_line) && (m_rest.empty() || m_rest.back() == '\r'));
        ++m_line;
    }

    const LineFile& m_file;
    std::int64_t m_line;
    std::int64_t m_end;
    std::string_view m_rest;
    bool m_pendingEnding = false;
};

bool SameText(Pieces one, Pieces two)
{
    std::string_view a = one.Next();
    std::string_view b = two.Next();
    while (!a.empty() && !b.empty()) {
        const std::size_t n = std::min(a.size(), b.size());
        if (std::memcmp(a.data(), b.data(), n) != 0)
            return false;
        a.remove_prefix(n);
        b.remove_prefix(n);
        if (a.empty())
            a = one.Next();
        if (b.empty())
            b = two.Next();
    }
    return a.empty() && b.empty();
}

}  // namespace

bool OnlyLineEndsDiffer(const LineFile& one, const LineFile& two, const std::vector<LineDiff::Hunk>& hunks)
{
    if (hunks.empty())
        return false;
    return std::all_of(hunks.begin(), hunks.end(), [&](const LineDiff::Hunk& h) {
        return SameText(Pieces(one, h.first1, h.count1), Pieces(two, h.first2, h.count2));
    });
}

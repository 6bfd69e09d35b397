#pragma once
// What a line's character marks keep, for the tests of the marks and the
// fuzzer: the marked characters as code points, upper-cased when case
// is ignored; nothing when there is not one mark per UTF-16 position, or a
// mark parts a surrogate pair (or, when asked, a combining mark from the
// character before it).

#include <QString>

#include <optional>
#include <string>
#include <vector>

inline std::optional<std::u32string> Marked(const QString& text, const std::vector<bool>& marks, bool ignoreCase,
                                            bool marksStay = false)
{
    if (marks.size() != static_cast<std::size_t>(text.size()))
        return std::nullopt;
    std::u32string out;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const qsizetype start = i;
        const bool mark = marks[std::size_t(i)];
        char32_t c = text[i].unicode();
        if (text[i].isHighSurrogate() && i + 1 < text.size() && text[i + 1].isLowSurrogate()) {
            if (marks[std::size_t(i + 1)] != mark)
                return std::nullopt;
            c = QChar::surrogateToUcs4(text[i], text[i + 1]);
            ++i;
        }
        if (marksStay && start > 0 && QChar::isMark(c) && marks[std::size_t(start - 1)] != mark)
            return std::nullopt;
        if (mark)
            out += ignoreCase ? QChar::toUpper(c) : c;
    }
    return out;
}

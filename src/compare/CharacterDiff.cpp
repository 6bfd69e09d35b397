#include "compare/CharacterDiff.h"

#include "engine/CharacterMarks.h"

#include <QChar>

#include <algorithm>
#include <array>
#include <string>

namespace modVantrel {
namespace {

// The line as code points, each upper-cased on its own when case is ignored
// (a whole-string upper-casing could change the length, e.g. for ß).
std::u32string ToCodePoints(QStringView text, bool ignoreCase)
{
    std::u32string out;
    out.reserve(static_cast<std::size_t>(text.size()));
    for (qsizetype k = 0; k < text.size(); ++k) {
        char32_t c = text[k].unicode();
        if (QChar::isHighSurrogate(c) && k + 1 < text.size() && text[k + 1].isLowSurrogate()) {
            c = QChar::surrogateToUcs4(text[k].unicode(), text[k + 1].unicode());
            ++k;
        }
        out.push_back(ignoreCase ? QChar::toUpper(c) : c);
    }
    return out;
}

// Spreads one mark per code point over the UTF-16 positions of the text.
std::vector<bool> ToUtf16Marks(QStringView text, const std::vector<bool>& perCodePoint)
{
    std::vector<bool> out(static_cast<std::size_t>(text.size()), false);
    std::size_t cp = 0;
    for (qsizetype k = 0; k < text.size(); ++k, ++cp) {
        const bool mark = perCodePoint[cp];
        out[static_cast<std::size_t>(k)] = mark;
        if (text[k].isHighSurrogate() && k + 1 < text.size() && text[k + 1].isLowSurrogate()) {
            out[static_cast<std::size_t>(++k)] = mark;
        }
    }
    return out;
}

// A line of one byte per character as the bytes to compare: the bytes
// themselves, or with ignoreCase each replaced by the first byte whose
// character has the same upper case, so equal bytes still mean equal
// characters.
std::string_view ComparableBytes(const LineText& line, bool ignoreCase, std::string& folded)
{
    const std::string_view bytes(line.bytes().data(), static_cast<std::size_t>(line.bytes().size()));
    if (!ignoreCase)
        return bytes;
    static const std::array<char, 256> fold = [] {
        std::array<char32_t, 256> upper{};
        for (std::size_t b = 0; b < 256; ++b)
            upper[b] = QChar::toUpper(char32_t{LineText::ByteChar(static_cast<unsigned char>(b))});
        std::array<char, 256> table{};
        for (std::size_t b = 0; b < 256; ++b) {
            std::size_t first = 0;
            while (upper[first] != upper[b])
                ++first;
            table[b] = static_cast<char>(first);
        }
        return table;
    }();
    folded.resize(bytes.size());
    std::transform(bytes.begin(), bytes.end(), folded.begin(),
                   [](char c) { return fold[static_cast<unsigned char>(c)]; });
    return folded;
}

// What each character is to the cleanup of the marks.
CharacterMarks::Kind KindOf(char32_t c)
{
    if (QChar::isMark(c))
        return CharacterMarks::Kind::Attached;
    if (QChar::isLetterOrNumber(c) || c == U'_')
        return CharacterMarks::Kind::Word;
    return QChar::isSpace(c) ? CharacterMarks::Kind::Space : CharacterMarks::Kind::Other;
}

template <class Char>
std::vector<CharacterMarks::Kind> KindsOf(std::basic_string_view<Char> chars)
{
    std::vector<CharacterMarks::Kind> kinds(chars.size());
    if constexpr (sizeof(Char) == 1) {
        static const std::array<CharacterMarks::Kind, 256> byteKinds = [] {
            std::array<CharacterMarks::Kind, 256> table{};
            for (std::size_t b = 0; b < 256; ++b)
                table[b] = KindOf(char32_t{LineText::ByteChar(static_cast<unsigned char>(b))});
            return table;
        }();
        std::transform(chars.begin(), chars.end(), kinds.begin(),
                       [](Char c) { return byteKinds[static_cast<unsigned char>(c)]; });
    } else {
        std::transform(chars.begin(), chars.end(), kinds.begin(), [](Char c) { return KindOf(c); });
    }
    return kinds;
}

template <class Char>
CharacterDiffResult Compare(std::basic_string_view<Char> one, std::basic_string_view<Char> two, bool tidy,
                            std::int64_t cellBudget, std::int64_t workBudget)
{
    CharacterDiffResult result = CompareSequences<Char>(one, two, cellBudget, workBudget);
    if (tidy && one.size() + two.size() <= CharacterMarks::kLongestTidiedPair)
        CharacterMarks::Tidy<Char>(one, two, result.marks1, result.marks2, KindsOf(one), KindsOf(two));
    return result;
}

CharacterDiffResult Compare(QStringView line1, QStringView line2, bool ignoreCase, bool tidy, std::int64_t cellBudget,
                            std::int64_t workBudget)
{
    const std::u32string one = ToCodePoints(line1, ignoreCase);
    const std::u32string two = ToCodePoints(line2, ignoreCase);
    CharacterDiffResult result = Compare<char32_t>(one, two, tidy, cellBudget, workBudget);
    result.marks1 = ToUtf16Marks(line1, result.marks1);
    result.marks2 = ToUtf16Marks(line2, result.marks2);
    return result;
}

CharacterDiffResult Compare(const LineText& line1, const LineText& line2, bool ignoreCase, bool tidy,
                            std::int64_t cellBudget, std::int64_t workBudget)
{
    // Two lines of one byte per character are compared byte for byte: the
    // same byte is the same character in both, and a mark per byte is a
    // mark per character.
    if (line1.isBytes() && line2.isBytes()) {
        std::string folded1;
        std::string folded2;
        return Compare<char>(ComparableBytes(line1, ignoreCase, folded1), ComparableBytes(line2, ignoreCase, folded2),
                             tidy, cellBudget, workBudget);
    }
    return Compare(line1.isBytes() ? line1.toString() : line1.text(), line2.isBytes() ? line2.toString() : line2.text(),
                   ignoreCase, tidy, cellBudget, workBudget);
}

}  // namespace

CharacterDiffResult CompareCharacters(QStringView line1, QStringView line2, bool ignoreCase, std::int64_t cellBudget,
                                      std::int64_t workBudget)
{
    return Compare(line1, line2, ignoreCase, false, cellBudget, workBudget);
}

CharacterDiffResult CompareCharacters(const LineText& line1, const LineText& line2, bool ignoreCase,
                                      std::int64_t cellBudget, std::int64_t workBudget)
{
    return Compare(line1, line2, ignoreCase, false, cellBudget, workBudget);
}

CharacterDiffResult ShownCharacterDiffs(const LineText& line1, const LineText& line2, bool ignoreCase)
{
    return Compare(line1, line2, ignoreCase, true, kLcsTableCellBudget, kLcsWorkBudget);
}

std::int32_t StringDiffs(QStringView line1, QStringView line2, bool ignoreCase, std::vector<bool>& marks1,
                         std::vector<bool>& marks2)
{
    CharacterDiffResult result = CompareCharacters(line1, line2, ignoreCase);
    marks1 = std::move(result.marks1);
    marks2 = std::move(result.marks2);
    return result.length;
}

std::int32_t StringDiffs(const LineText& line1, const LineText& line2, bool ignoreCase, std::vector<bool>& marks1,
                         std::vector<bool>& marks2)
{
    CharacterDiffResult result = CompareCharacters(line1, line2, ignoreCase);
    marks1 = std::move(result.marks1);
    marks2 = std::move(result.marks2);
    return result.length;
}

}  // namespace modVantrel

#include "compare/CharacterDiff.h"

#include "compare/LinearLcs.h"

#include <QChar>

#include <algorithm>
#include <array>
#include <string>

namespace modVantrel {
namespace {

void Backtrack(const LCSTable& table, std::vector<bool>& marks1, std::size_t offset1, std::vector<bool>& marks2,
               std::size_t offset2, std::int32_t i, std::int32_t j)
{
    while (i > 0 && j > 0) {
        switch (table.direction(i, j)) {
        case LcsDirection::Diagonal:
            marks1[offset1 + static_cast<std::size_t>(i - 1)] = true;
            marks2[offset2 + static_cast<std::size_t>(j - 1)] = true;
            --i;
            --j;
            break;
        case LcsDirection::Up: --i; break;
        default: --j; break;
        }
    }
}

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

template <class Char>
std::size_t CommonSuffix(std::basic_string_view<Char> a, std::basic_string_view<Char> b)
{
    std::size_t s = 0;
    while (s < a.size() && s < b.size() && a[a.size() - 1 - s] == b[b.size() - 1 - s]) {
        ++s;
    }
    return s;
}

}  // namespace

LCSTable::LCSTable(std::int32_t len1, std::int32_t len2)
    : m_len1(len1), m_len2(len2), m_cells((static_cast<std::size_t>(len1) + 1) * (static_cast<std::size_t>(len2) + 1),
                                          static_cast<std::uint8_t>(LcsDirection::None))
{
}

namespace {

template <class Char>
std::int32_t FillTable(std::basic_string_view<Char> one, std::basic_string_view<Char> two, LCSTable& table)
{
    const auto len1 = static_cast<std::int32_t>(one.size());
    const auto len2 = static_cast<std::int32_t>(two.size());
    // Lengths of row i - 1 and row i; the directions are all the backtrack needs.
    std::vector<std::int32_t> previous(static_cast<std::size_t>(len2) + 1, 0);
    std::vector<std::int32_t> current(static_cast<std::size_t>(len2) + 1, 0);
    for (std::int32_t i = 1; i <= len1; ++i) {
        const Char c = one[static_cast<std::size_t>(i - 1)];
        current[0] = 0;
        for (std::int32_t j = 1; j <= len2; ++j) {
            const auto uj = static_cast<std::size_t>(j);
            if (c == two[uj - 1]) {
                current[uj] = previous[uj - 1] + 1;
                table.setDirection(i, j, LcsDirection::Diagonal);
            } else if (previous[uj] < current[uj - 1]) {
                current[uj] = current[uj - 1];
                table.setDirection(i, j, LcsDirection::Left);
            } else {
                current[uj] = previous[uj];
                table.setDirection(i, j, LcsDirection::Up);
            }
        }
        previous.swap(current);
    }
    return previous[static_cast<std::size_t>(len2)];
}

}  // namespace

std::int32_t FillLCSMatrix(std::u32string_view one, std::u32string_view two, LCSTable& table)
{
    return FillTable(one, two, table);
}

void GetLocationOfDiffs(const LCSTable& table, std::vector<bool>& marks1, std::vector<bool>& marks2, std::int32_t i,
                        std::int32_t j)
{
    Backtrack(table, marks1, 0, marks2, 0, i, j);
}

namespace detail {

template <class Char>
std::int32_t TableLcs(std::basic_string_view<Char> one, std::basic_string_view<Char> two, std::vector<bool>& marks1,
                      std::size_t offset1, std::vector<bool>& marks2, std::size_t offset2)
{
    const auto len1 = static_cast<std::int32_t>(one.size());
    const auto len2 = static_cast<std::int32_t>(two.size());
    LCSTable table(len1, len2);
    const std::int32_t length = FillTable(one, two, table);
    Backtrack(table, marks1, offset1, marks2, offset2, len1, len2);
    return length;
}

template std::int32_t TableLcs(std::string_view, std::string_view, std::vector<bool>&, std::size_t, std::vector<bool>&,
                               std::size_t);
template std::int32_t TableLcs(std::u32string_view, std::u32string_view, std::vector<bool>&, std::size_t,
                               std::vector<bool>&, std::size_t);

}  // namespace detail

namespace {

// The comparison of two character sequences, one mark per element.
template <class Char>
CharacterDiffResult CompareSequences(std::basic_string_view<Char> one, std::basic_string_view<Char> two,
                                     std::int64_t cellBudget, std::int64_t workBudget)
{
    CharacterDiffResult result;
    result.marks1.assign(one.size(), false);
    result.marks2.assign(two.size(), false);
    // The backtrack starts at the ends and takes every match it meets, so the
    // common suffix is matched whatever the table holds: leaving it out of
    // the table changes nothing and lets longer lines keep the tie rule.
    const std::size_t suffix = CommonSuffix(one, two);
    const std::basic_string_view<Char> head1 = one.substr(0, one.size() - suffix);
    const std::basic_string_view<Char> head2 = two.substr(0, two.size() - suffix);
    for (std::size_t k = 0; k < suffix; ++k) {
        result.marks1[head1.size() + k] = true;
        result.marks2[head2.size() + k] = true;
    }
    const auto cells = static_cast<double>(head1.size() + 1) * static_cast<double>(head2.size() + 1);
    if (cells <= static_cast<double>(cellBudget)) {
        result.length = detail::TableLcs(head1, head2, result.marks1, 0, result.marks2, 0);
    } else {
        const auto outcome = detail::LinearSpaceLcs(head1, head2, result.marks1, result.marks2, cellBudget, workBudget);
        result.length = outcome.length;
        result.method = !outcome.complete  ? LcsMethod::Partial
                        : outcome.anchored ? LcsMethod::Anchored
                                           : LcsMethod::LinearSpace;
    }
    result.length += static_cast<std::int32_t>(suffix);
    return result;
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

}  // namespace

CharacterDiffResult CompareCharacters(QStringView line1, QStringView line2, bool ignoreCase, std::int64_t cellBudget,
                                      std::int64_t workBudget)
{
    const std::u32string one = ToCodePoints(line1, ignoreCase);
    const std::u32string two = ToCodePoints(line2, ignoreCase);
    CharacterDiffResult result = CompareSequences<char32_t>(one, two, cellBudget, workBudget);
    result.marks1 = ToUtf16Marks(line1, result.marks1);
    result.marks2 = ToUtf16Marks(line2, result.marks2);
    return result;
}

CharacterDiffResult CompareCharacters(const LineText& line1, const LineText& line2, bool ignoreCase,
                                      std::int64_t cellBudget, std::int64_t workBudget)
{
    // Two lines of one byte per character are compared byte for byte: the
    // same byte is the same character in both, and a mark per byte is a
    // mark per character.
    if (line1.isBytes() && line2.isBytes()) {
        std::string folded1;
        std::string folded2;
        return CompareSequences(ComparableBytes(line1, ignoreCase, folded1),
                                ComparableBytes(line2, ignoreCase, folded2), cellBudget, workBudget);
    }
    return CompareCharacters(line1.isBytes() ? line1.toString() : line1.text(),
                             line2.isBytes() ? line2.toString() : line2.text(), ignoreCase, cellBudget, workBudget);
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

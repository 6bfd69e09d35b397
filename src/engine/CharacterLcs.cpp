#include "engine/CharacterLcs.h"

#include "engine/LinearLcs.h"

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

template <class Char>
std::size_t CommonSuffix(std::basic_string_view<Char> a, std::basic_string_view<Char> b)
{
    std::size_t s = 0;
    while (s < a.size() && s < b.size() && a[a.size() - 1 - s] == b[b.size() - 1 - s]) {
        ++s;
    }
    return s;
}

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

LCSTable::LCSTable(std::int32_t len1, std::int32_t len2)
    : m_len1(len1), m_len2(len2), m_cells((static_cast<std::size_t>(len1) + 1) * (static_cast<std::size_t>(len2) + 1),
                                          static_cast<std::uint8_t>(LcsDirection::None))
{
}

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

template CharacterDiffResult CompareSequences(std::string_view, std::string_view, std::int64_t, std::int64_t);
template CharacterDiffResult CompareSequences(std::u32string_view, std::u32string_view, std::int64_t, std::int64_t);

}  // namespace modVantrel

#include "compare/DiffNavigation.h"

#include "compare/DiffListEntry.h"

#include <limits>

namespace DiffNavigation {
namespace {

std::optional<std::int32_t> firstRowOf(const QString& entry)
{
    const auto row = Alignment::diffListEntryFirstRow(entry);
    if (!row || *row < std::numeric_limits<std::int32_t>::min()
        || *row > std::numeric_limits<std::int32_t>::max()) {
        return std::nullopt;
    }
    return static_cast<std::int32_t>(*row);
}

}  // namespace

std::int32_t GetNextDiff(const QStringList* diffList, std::int32_t currentRow, bool windowBusy)
{
    if (windowBusy || diffList == nullptr) {
        return kSearchNotRun;
    }
    for (const QString& entry : *diffList) {
        const auto row = firstRowOf(entry);
        if (row && *row > currentRow) {
            return *row;
        }
    }
    return kNoMoreDiffs;
}

std::int32_t GetPreviousDiff(const QStringList* diffList, std::int32_t currentRow, bool windowBusy)
{
    if (windowBusy || diffList == nullptr) {
        return kSearchNotRun;
    }
    for (qsizetype i = diffList->size() - 1; i >= 0; --i) {
        const auto row = firstRowOf(diffList->at(i));
        if (row && *row < currentRow) {
            return *row;
        }
    }
    return kNoMoreDiffs;
}

std::optional<std::int32_t> firstDiffRow(const QStringList* diffList)
{
    if (diffList == nullptr || diffList->isEmpty()) {
        return std::nullopt;
    }
    return firstRowOf(diffList->first());
}

std::optional<std::int32_t> lastDiffRow(const QStringList* diffList)
{
    if (diffList == nullptr || diffList->isEmpty()) {
        return std::nullopt;
    }
    return firstRowOf(diffList->last());
}

}  // namespace DiffNavigation

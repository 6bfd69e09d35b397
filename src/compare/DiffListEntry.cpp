#include "compare/DiffListEntry.h"

#include <QStringList>
#include <cmath>
#include <limits>

namespace Alignment {

QString formatDiffListEntry(std::int64_t firstRow, std::int64_t rowCount, std::uint32_t color)
{
    return QString::number(firstRow) + u'-' + QString::number(rowCount) + u'-'
           + QString::number(color);
}

std::int64_t roundHalfEven(double x)
{
    // Written out instead of relying on the floating-point rounding mode,
    // which a library elsewhere in the process could have changed.
    const double down = std::floor(x);
    const double diff = x - down;
    double result = down;
    if (diff > 0.5) {
        result = down + 1.0;
    } else if (diff == 0.5) {
        result = std::fmod(down, 2.0) == 0.0 ? down : down + 1.0;
    }
    constexpr double kLimit = 9.0e18;  // keeps the cast defined
    if (!(result > -kLimit && result < kLimit)) {
        return result < 0 ? std::numeric_limits<std::int64_t>::min()
                          : std::numeric_limits<std::int64_t>::max();
    }
    return static_cast<std::int64_t>(result);
}

namespace {

std::optional<std::int64_t> readNumber(QStringView text)
{
    bool ok = false;
    const double value = text.trimmed().toDouble(&ok);
    if (!ok || !std::isfinite(value)) {
        return std::nullopt;
    }
    return roundHalfEven(value);
}

}  // namespace

std::optional<DiffListEntry> parseDiffListEntry(const QString& entry)
{
    const QList<QStringView> parts = QStringView(entry).split(u'-');
    if (parts.size() != 3) {
        return std::nullopt;
    }
    const auto row = readNumber(parts[0]);
    const auto count = readNumber(parts[1]);
    const auto color = readNumber(parts[2]);
    if (!row || !count || !color) {
        return std::nullopt;
    }
    return DiffListEntry{*row, *count, *color};
}

std::optional<std::int64_t> diffListEntryFirstRow(const QString& entry)
{
    const qsizetype dash = entry.indexOf(u'-');
    return readNumber(dash < 0 ? QStringView(entry) : QStringView(entry).left(dash));
}

}  // namespace Alignment

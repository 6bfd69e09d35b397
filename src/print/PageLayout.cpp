#include "print/PageLayout.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace PageLayout {

double PathTop(double pageHeight)
{
    return 0.05 * pageHeight;
}

double RuleY(const Metrics& page)
{
    return PathTop(page.pageHeight) + 2 * page.lineHeight;
}

double FirstRowTop(const Metrics& page)
{
    return PathTop(page.pageHeight) + 3 * page.lineHeight;
}

bool BreaksBefore(double rowTop, double pageHeight)
{
    return static_cast<double>(static_cast<float>(0.9 * pageHeight)) <= rowTop;
}

int RowsPerPage(const Metrics& page)
{
    if (!(page.lineHeight > 0))
        return 1;
    const double top = FirstRowTop(page);
    const double estimate = std::ceil((0.9 * page.pageHeight - top) / page.lineHeight);
    int rows = static_cast<int>(std::clamp(estimate, 0.0, static_cast<double>(std::numeric_limits<int>::max() / 2)));
    // The estimate may be one off where the single-precision limit and the
    // row tops round differently; the break rule itself decides.
    while (rows > 0 && BreaksBefore(top + (rows - 1) * page.lineHeight, page.pageHeight))
        --rows;
    while (!BreaksBefore(top + rows * page.lineHeight, page.pageHeight))
        ++rows;
    return std::max(rows, 1);
}

qint64 PageCount(qint64 rows, int rowsPerPage)
{
    if (rows <= 0 || rowsPerPage <= 0)
        return 1;
    return (rows + rowsPerPage - 1) / rowsPerPage;
}

int CharsThatFit(const Metrics& page)
{
    if (!(page.charWidth > 0) || !(page.pageWidth > 0))
        return 0;
    // A whisker of tolerance, so that a width of exactly n cells computed
    // in floating point still holds n.
    const double cells = std::floor(page.pageWidth / page.charWidth + 1e-9);
    return static_cast<int>(std::min(cells, 1e6));
}

QString CutToWidth(const QString& text, int chars)
{
    if (text.size() <= chars)
        return text;
    if (chars <= 0)
        return QString();
    qsizetype end = chars;
    if (text.at(end - 1).isHighSurrogate() && text.at(end).isLowSurrogate())
        --end;
    return text.left(end);
}

QString HeaderTitle(bool pageNumbers, bool dateTime, qint64 page, const QString& printDate)
{
    QString title = QStringLiteral("Vantrel - ");
    if (pageNumbers)
        title += QStringLiteral("Page ") + QString::number(page);
    if (dateTime)
        title += QStringLiteral("  [") + printDate + QLatin1Char(']');
    return title;
}

bool PrintsBold(std::uint32_t cellBackColor)
{
    return cellBackColor != 0;
}

}  // namespace PageLayout

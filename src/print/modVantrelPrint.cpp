#include "print/modVantrelPrint.h"

#include "app/ErrorReport.h"
#include "app/Prompt.h"

#include <QCursor>
#include <QFontMetricsF>
#include <QGuiApplication>
#include <QLocale>
#include <QPainter>
#include <QPen>

#include <algorithm>

namespace modVantrelPrint {
namespace {

using modVantrel::PromptButtons;
using modVantrel::PromptIcon;

// The fonts of one job and the page they are measured on.
struct PageFonts {
    QFont regular = PrintFont(false, false);
    QFont bold = PrintFont(true, false);
    PageLayout::Metrics page;
    double ascent = 0;
};

PageFonts MeasurePage(const QPainter& painter)
{
    PageFonts fonts;
    QPaintDevice* device = painter.device();
    const QFontMetricsF metrics(fonts.regular, device);
    // One line height for every face keeps the rows on a fixed pitch; the
    // faces of a fixed-pitch family share their vertical metrics anyway.
    fonts.page = {static_cast<double>(device->width()), static_cast<double>(device->height()), metrics.lineSpacing(),
                  metrics.horizontalAdvance(QLatin1Char('M'))};
    fonts.ascent = metrics.ascent();
    return fonts;
}

void DrawLine(QPainter& painter, const PageFonts& fonts, double top, const QString& text)
{
    if (!text.isEmpty())
        painter.drawText(QPointF(0, top + fonts.ascent), text);
}

void PrintRowsOfPage(QPainter& painter, const PageFonts& fonts, const PrintRows& rows, int first, int last)
{
    const int chars = PageLayout::CharsThatFit(fonts.page);
    const double top = PageLayout::FirstRowTop(fonts.page);
    bool bold = false;
    painter.setFont(fonts.regular);
    for (int row = first; row <= last; ++row) {
        // One character more than fits, so that a surrogate pair at the
        // edge is seen whole and left out whole.
        const QString text = rows.RowText(row, chars + 1);
        if (text.isEmpty())
            continue;
        if (const bool rowBold = PageLayout::PrintsBold(rows.RowColor(row)); rowBold != bold) {
            bold = rowBold;
            painter.setFont(bold ? fonts.bold : fonts.regular);
        }
        DrawLine(painter, fonts, top + (row - first) * fonts.page.lineHeight, PageLayout::CutToWidth(text, chars));
    }
}

PrintOutcome PrintPages(PrintOutput::PrintJob& job, const PaneJob& pane, const JobOptions& options,
                        PrintProgress* progress)
{
    QPainter& painter = job.Painter();
    const PageFonts fonts = MeasurePage(painter);
    // One date for the whole job, however long it runs.
    const QString printDate = GeneralDate(options.clock());
    const int rowCount = pane.pane.rows->RowCount();
    const int perPage = PageLayout::RowsPerPage(fonts.page);
    const qint64 pages = PageLayout::PageCount(rowCount, perPage);
    for (qint64 page = 1; page <= pages; ++page) {
        if (progress && !progress->Continue(page, pages)) {
            job.Abort();
            return PrintOutcome::Cancelled;
        }
        if (page > 1)
            job.NewPage();
        PrintGridHeader(painter, fonts.page, pane.pane.path, printDate, page, options);
        const qint64 first = (page - 1) * perPage + 1;
        PrintRowsOfPage(painter, fonts, *pane.pane.rows, static_cast<int>(first),
                        static_cast<int>(std::min<qint64>(rowCount, first + perPage - 1)));
    }
    job.Finish();
    return PrintOutcome::Printed;
}

}  // namespace

QFont PrintFont(bool bold, bool italic)
{
    QFont font(QStringLiteral("Courier New"));
    font.setStyleHint(QFont::TypeWriter);
    font.setFixedPitch(true);
    font.setPointSizeF(10);
    font.setBold(bold);
    font.setItalic(italic);
    return font;
}

QString GeneralDate(const QDateTime& when)
{
    const QLocale locale = QLocale::system();
    return locale.toString(when.date(), QLocale::ShortFormat) + QLatin1Char(' ')
           + locale.toString(when.time(), QLocale::LongFormat);
}

void PrintGridHeader(QPainter& painter, const PageLayout::Metrics& page, const QString& path, const QString& printDate,
                     qint64 pageNumber, const JobOptions& options)
{
    const QFontMetricsF metrics(PrintFont(false, false), painter.device());
    const int chars = PageLayout::CharsThatFit(page);
    painter.setFont(PrintFont(true, false));
    const QString title = PageLayout::HeaderTitle(options.pageNumbers, options.dateTime, pageNumber, printDate);
    painter.drawText(QPointF(0, metrics.ascent()), PageLayout::CutToWidth(title, chars));
    painter.setFont(PrintFont(false, true));
    const QString shownPath = PageLayout::CutToWidth(path, chars);
    if (!shownPath.isEmpty())
        painter.drawText(QPointF(0, PageLayout::PathTop(page.pageHeight) + metrics.ascent()), shownPath);
    painter.setPen(QPen(Qt::black, 1, Qt::SolidLine));
    const double rule = PageLayout::RuleY(page);
    painter.drawLine(QPointF(0, rule), QPointF(page.pageWidth, rule));
    painter.setFont(PrintFont(false, false));
}

PrintOutcome PrintGrid(const PaneJob& job, const JobOptions& options)
{
    try {
        const std::unique_ptr<PrintProgress> progress = options.progress ? options.progress(job.name) : nullptr;
        std::unique_ptr<PrintOutput::PrintJob> output = PrintOutput::OpenPrintJob(
            job.destination, options.orientation, QStringLiteral("Vantrel - ") + job.pane.path);
        return PrintPages(*output, job, options, progress.get());
    } catch (const PrintOutput::OutputError& failure) {
        modVantrel::MsgBox(failure.Message(), PromptButtons::Ok, PromptIcon::Critical, QStringLiteral("Print"));
    } catch (...) {
        modVantrel::ReportUnexpectedError(QStringLiteral("modFileDiffs.PrintGrid"));
    }
    return PrintOutcome::Failed;
}

PrintOutcome PrintFileDiffs(const std::vector<PaneJob>& jobs, const JobOptions& options)
{
    QGuiApplication::setOverrideCursor(QCursor(Qt::WaitCursor));
    PrintOutcome outcome = PrintOutcome::Printed;
    try {
        for (const PaneJob& job : jobs) {
            const PrintOutcome printed = PrintGrid(job, options);
            if (printed == PrintOutcome::Cancelled) {
                outcome = printed;
                break;
            }
            if (printed == PrintOutcome::Failed)
                outcome = printed;
        }
    } catch (...) {
        modVantrel::ReportUnexpectedError(QStringLiteral("modFileDiffs.PrintFileDiffs"));
        outcome = PrintOutcome::Failed;
    }
    QGuiApplication::restoreOverrideCursor();
    return outcome;
}

}  // namespace modVantrelPrint

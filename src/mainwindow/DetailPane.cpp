#include "mainwindow/DetailPane.h"

#include "app/ErrorReport.h"
#include "compare/RowText.h"

#include <QWidget>

namespace DetailPane {

QString LineTextOfRow(const QString& rowText)
{
    return RowText::LineOfRowText(rowText);
}

void ShowPlain(LineDiffView* box, const LineText& text, LineDiffView::Ink ink)
{
    box->SetLine(text, {LineDiffView::Run{0, ink, false}});
}

void ShowMarked(LineDiffView* box, const LineText& text, std::vector<bool> marks, bool markBlanks)
{
    box->SetLine(text, LineDiffView::MarkedLook{std::move(marks), markBlanks});
}

}  // namespace DetailPane

namespace modVantrel {

void SetRedraw(QWidget* window, bool redraw)
{
    try {
        window->setUpdatesEnabled(redraw);
        if (redraw)
            window->update();
    } catch (...) {
        ReportUnexpectedError(QStringLiteral("modVantrel.SetRedraw"));
    }
}

}  // namespace modVantrel

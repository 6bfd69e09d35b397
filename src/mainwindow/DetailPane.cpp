#include "mainwindow/DetailPane.h"

#include "app/ErrorReport.h"
#include "compare/RowText.h"

#include <QWidget>

#include <algorithm>

namespace DetailPane {

QColor DifferColor()
{
    return QColor(255, 0, 0);
}

QColor CommonColor()
{
    return QColor(0, 0, 0);
}

QString LineTextOfRow(const QString& rowText)
{
    return RowText::lineOfRowText(rowText);
}

void ShowPlain(LineDiffView* box, const LineText& text, const QColor& color)
{
    box->SetLine(text, {LineDiffView::Run{0, color, false}});
}

std::vector<LineDiffView::Run> RunsOfMarks(const LineText& text, const std::vector<bool>& marks, bool markBlanks)
{
    enum class Look { None, Common, Differ, DifferBlank };
    std::vector<LineDiffView::Run> runs;
    Look current = Look::None;
    const qsizetype length = text.size();
    const auto marked = std::min<qsizetype>(length, static_cast<qsizetype>(marks.size()));
    auto mark = marks.cbegin();
    for (qsizetype k = 0; k < length; ++k) {
        // A missing mark counts as differing: better red than silently black.
        const bool common = k < marked && *mark++;
        if (common && current == Look::Common)
            continue;
        const Look look = common ? Look::Common : markBlanks && IsBlank(text.at(k)) ? Look::DifferBlank : Look::Differ;
        if (look == current)
            continue;
        runs.push_back({k, look == Look::Common ? CommonColor() : DifferColor(), look == Look::DifferBlank});
        current = look;
    }
    return runs;
}

void ShowMarked(LineDiffView* box, const LineText& text, const std::vector<bool>& marks, bool markBlanks)
{
    box->SetLine(text, RunsOfMarks(text, marks, markBlanks));
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

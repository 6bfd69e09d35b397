#include "mainwindow/DetailPane.h"

#include "app/ErrorReport.h"

#include <QTextCursor>
#include <QTextDocument>
#include <QTextEdit>

namespace DetailPane {

namespace {

enum class Run { Common, Differ, DifferBlank };

QTextCharFormat FormatFor(Run run)
{
    QTextCharFormat format;
    format.setForeground(run == Run::Common ? CommonColor() : DifferColor());
    // The marker is the underline; it is written either way so that no
    // attribute of an earlier content survives.
    format.setFontUnderline(run == Run::DifferBlank);
    return format;
}

void PutCaretAtStart(QTextEdit* box)
{
    QTextCursor cursor = box->textCursor();
    cursor.setPosition(0);
    box->setTextCursor(cursor);
}

}  // namespace

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
    const qsizetype period = rowText.indexOf(QLatin1Char('.'));
    return period < 0 ? rowText : rowText.mid(period + 1);
}

void ShowPlain(QTextEdit* box, const QString& text, const QColor& color)
{
    QTextCharFormat format;
    format.setForeground(color);
    format.setFontUnderline(false);
    box->clear();
    QTextCursor cursor(box->document());
    cursor.insertText(text, format);
    PutCaretAtStart(box);
}

void ShowMarked(QTextEdit* box, const QString& text, const std::vector<bool>& marks, bool markBlanks)
{
    const QTextCharFormat formats[] = {FormatFor(Run::Common), FormatFor(Run::Differ), FormatFor(Run::DifferBlank)};
    const auto runAt = [&](qsizetype k) {
        // A missing mark counts as differing: better red than silently black.
        const bool common = static_cast<std::size_t>(k) < marks.size() && marks[static_cast<std::size_t>(k)];
        if (common)
            return Run::Common;
        return markBlanks && IsBlank(text.at(k)) ? Run::DifferBlank : Run::Differ;
    };
    box->clear();
    QTextCursor cursor(box->document());
    cursor.beginEditBlock();
    const qsizetype length = text.size();
    for (qsizetype start = 0; start < length;) {
        const Run run = runAt(start);
        qsizetype end = start + 1;
        while (end < length && runAt(end) == run)
            ++end;
        cursor.insertText(text.mid(start, end - start), formats[static_cast<int>(run)]);
        start = end;
    }
    cursor.endEditBlock();
    PutCaretAtStart(box);
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

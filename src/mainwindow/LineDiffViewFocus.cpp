// The detail box with the keyboard focus: a frame and the caret show where
// the focus is, and Shift with the arrows, Home or End selects characters
// from the keyboard as a drag of the mouse does.

#include "mainwindow/LineDiffView.h"
#include "mainwindow/WindowColors.h"

#include <QAccessible>
#include <QPainter>
#include <QScrollBar>
#include <algorithm>

void LineDiffView::PaintFocus(QPainter& painter)
{
    const QColor mark = WindowColors::FocusMark(palette(), palette().color(QPalette::Base));
    painter.setPen(QPen(mark, 2));
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(QRectF(viewport()->rect()).adjusted(1, 1, -1, -1));
    const qreal x = kMargin + XOfPosition(m_cursor) - horizontalScrollBar()->value();
    const int height = fontMetrics().height();
    const qreal top = std::max(0, (viewport()->height() - height) / 2);
    painter.setPen(QPen(InkColor(Ink::Common), 1));
    painter.drawLine(QPointF(x, top), QPointF(x, top + height));
}

bool LineDiffView::MoveCursor(int key)
{
    switch (key) {
    case Qt::Key_Left: m_cursor = std::max<qsizetype>(0, m_cursor - 1); break;
    case Qt::Key_Right: m_cursor = std::min(m_text.size(), m_cursor + 1); break;
    case Qt::Key_Home: m_cursor = 0; break;
    case Qt::Key_End: m_cursor = m_text.size(); break;
    default: return false;
    }
    EnsureVisible(m_cursor);
    viewport()->update();
    if (QAccessible::isActive()) {
        QAccessibleTextCursorEvent moved(this, static_cast<int>(m_cursor));
        QAccessible::updateAccessibility(&moved);
        QAccessibleTextSelectionEvent selected(this, static_cast<int>(std::min(m_anchor, m_cursor)),
                                               static_cast<int>(std::max(m_anchor, m_cursor)));
        QAccessible::updateAccessibility(&selected);
    }
    return true;
}

void LineDiffView::focusInEvent(QFocusEvent* event)
{
    QAbstractScrollArea::focusInEvent(event);
    viewport()->update();
}

void LineDiffView::focusOutEvent(QFocusEvent* event)
{
    QAbstractScrollArea::focusOutEvent(event);
    viewport()->update();
}

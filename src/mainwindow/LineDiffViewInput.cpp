// The detail box's mouse and keys: a press puts the cursor, a drag selects,
// the arrows, Home and End scroll the line, and with Shift they select from
// the keyboard as a drag does; with the focus, a frame and the caret show
// where it is.

#include "mainwindow/LineDiffView.h"
#include "mainwindow/WindowColors.h"

#include <QAccessible>
#include <QContextMenuEvent>
#include <QKeyEvent>
#include <QMenu>
#include <QPainter>
#include <QScrollBar>
#include <algorithm>
#include <memory>

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

void LineDiffView::mousePressEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton)
        return QAbstractScrollArea::mousePressEvent(event);
    m_cursor = PositionAtViewportX(event->position().toPoint().x());
    if (!(event->modifiers() & Qt::ShiftModifier))
        m_anchor = m_cursor;
    viewport()->update();
}

void LineDiffView::mouseMoveEvent(QMouseEvent* event)
{
    if (!(event->buttons() & Qt::LeftButton))
        return QAbstractScrollArea::mouseMoveEvent(event);
    m_cursor = PositionAtViewportX(event->position().toPoint().x());
    // Dragging past either edge scrolls the line along.
    EnsureVisible(m_cursor);
    viewport()->update();
}

void LineDiffView::keyPressEvent(QKeyEvent* event)
{
    QScrollBar* bar = horizontalScrollBar();
    if (event == QKeySequence::Copy)
        copy();
    else if (event == QKeySequence::SelectAll)
        selectAll();
    else if (event->modifiers() & Qt::ShiftModifier && MoveCursor(event->key()))
        event->accept();  // Shift with an arrow, Home or End selects
    else if (event->key() == Qt::Key_Left)
        bar->triggerAction(QAbstractSlider::SliderSingleStepSub);
    else if (event->key() == Qt::Key_Right)
        bar->triggerAction(QAbstractSlider::SliderSingleStepAdd);
    else if (event->key() == Qt::Key_Home)
        bar->triggerAction(QAbstractSlider::SliderToMinimum);
    else if (event->key() == Qt::Key_End)
        bar->triggerAction(QAbstractSlider::SliderToMaximum);
    else
        return QAbstractScrollArea::keyPressEvent(event);
    event->accept();
}

void LineDiffView::wheelEvent(QWheelEvent* event)
{
    // There is one line: any wheel turn scrolls it sideways.
    QCoreApplication::sendEvent(horizontalScrollBar(), event);
}

void LineDiffView::contextMenuEvent(QContextMenuEvent* event)
{
    const std::unique_ptr<QMenu> menu(CreateContextMenu(this));
    menu->exec(event->globalPos());
}

// The result grid's mouse and keys: a press or a double click makes the row
// under the pointer current, the keys move the current row over the rows
// shown, and each move is told to the window and to assistive technology.

#include "mainwindow/VGrid.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <algorithm>

void VGrid::mousePressEvent(QMouseEvent* event)
{
    m_mouseRow = RowAt(event->position().toPoint().y());
    m_mouseOnPicture = OnPicture(event->position().toPoint().x());
    m_leftPressed = event->button() == Qt::LeftButton;
    if (m_leftPressed && m_mouseRow > 0) {
        m_row = m_mouseRow;
        Refresh();
        TellCurrentRow();
        emit CurrentRowMoved();
    }
    emit MouseDown(event->button());
}

void VGrid::mouseReleaseEvent(QMouseEvent* event)
{
    const bool click = m_leftPressed && event->button() == Qt::LeftButton;
    m_leftPressed = false;
    if (click)
        emit Click();
}

void VGrid::mouseDoubleClickEvent(QMouseEvent* event)
{
    // The second press of a double click raises DblClick instead of MouseDown
    // and is followed by no Click.
    m_mouseRow = RowAt(event->position().toPoint().y());
    m_mouseOnPicture = OnPicture(event->position().toPoint().x());
    m_leftPressed = false;
    if (event->button() != Qt::LeftButton)
        return;
    if (m_mouseRow > 0) {
        m_row = m_mouseRow;
        TellCurrentRow();
        emit CurrentRowMoved();
    }
    emit DblClick();
}

void VGrid::mouseMoveEvent(QMouseEvent* event)
{
    m_mouseRow = RowAt(event->position().toPoint().y());
    emit MouseMove();
}

void VGrid::keyPressEvent(QKeyEvent* event)
{
    // Keys move over the rows shown: a fold row is one step.
    const int page = std::max(1, VisibleRowCount());
    const int current = ShownOf(m_row);
    switch (event->key()) {
    case Qt::Key_Up: MoveCurrentShown(current - 1); break;
    case Qt::Key_Down: MoveCurrentShown(current + 1); break;
    case Qt::Key_PageUp: MoveCurrentShown(current - page); break;
    case Qt::Key_PageDown: MoveCurrentShown(current + page); break;
    case Qt::Key_Home: MoveCurrentShown(1); break;
    case Qt::Key_End: MoveCurrentShown(ShownRows() - 1); break;
    case Qt::Key_Return:
    case Qt::Key_Enter: emit Activated(); break;
    default: QAbstractScrollArea::keyPressEvent(event); return;
    }
    event->accept();
}

void VGrid::MoveCurrentRow(int row)
{
    if (Rows() < 2)
        return;
    m_row = std::clamp(row, 1, Rows() - 1);
    const int shown = ShownOf(m_row);
    const int page = std::max(1, VisibleRowCount());
    if (shown < TopShown())
        SetTopShown(shown);
    else if (shown >= TopShown() + page)
        SetTopShown(shown - page + 1);
    Refresh();
    TellCurrentRow();
    emit CurrentRowMoved();
}

void VGrid::MoveCurrentShown(int shown)
{
    if (ShownRows() >= 2)
        MoveCurrentRow(RowOfShown(std::clamp(shown, 1, ShownRows() - 1)));
}

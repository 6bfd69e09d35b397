#include "mainwindow/SplitterBar.h"

#include "mainwindow/Accessibility.h"
#include "mainwindow/FormLayout.h"

#include "mainwindow/WindowColors.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>

namespace {

double Twips(qreal pixels)
{
    return pixels * FormLayout::kTwipsPerPixel;
}

}  // namespace

SplitterBar::SplitterBar(QWidget* parent) : QWidget(parent), m_color(palette().color(QPalette::Button))
{
    setCursor(Qt::SplitHCursor);
    setFocusPolicy(Qt::TabFocus);
    Accessibility::InstallFactory();
}

void SplitterBar::SetColor(const QColor& color)
{
    m_color = color;
    update();
}

void SplitterBar::paintEvent(QPaintEvent* /*event*/)
{
    QPainter painter(this);
    painter.fillRect(rect(),
                     hasFocus() ? WindowColors::FocusMark(palette(), palette().color(QPalette::Window)) : m_color);
}

void SplitterBar::keyPressEvent(QKeyEvent* event)
{
    const int direction = event->key() == Qt::Key_Left ? -1 : event->key() == Qt::Key_Right ? 1 : 0;
    if (direction == 0) {
        QWidget::keyPressEvent(event);
        return;
    }
    // A drag from the bar's middle, as far as the key goes.
    const int pixels = (event->modifiers() & Qt::ShiftModifier ? 1 : 10) * direction;
    const double from = Twips(width() / 2.0);
    const double to = from + Twips(pixels);
    emit MouseDown(Qt::LeftButton, Qt::NoModifier, from, 0);
    emit MouseMove(Qt::LeftButton, Qt::NoModifier, to, 0);
    emit MouseUp(Qt::LeftButton, Qt::NoModifier, to, 0);
    event->accept();
}

void SplitterBar::focusInEvent(QFocusEvent* event)
{
    QWidget::focusInEvent(event);
    update();
}

void SplitterBar::focusOutEvent(QFocusEvent* event)
{
    QWidget::focusOutEvent(event);
    update();
}

void SplitterBar::mousePressEvent(QMouseEvent* event)
{
    emit MouseDown(event->button(), event->modifiers(), Twips(event->position().x()), Twips(event->position().y()));
}

void SplitterBar::mouseMoveEvent(QMouseEvent* event)
{
    emit MouseMove(event->buttons(), event->modifiers(), Twips(event->position().x()), Twips(event->position().y()));
}

void SplitterBar::mouseReleaseEvent(QMouseEvent* event)
{
    emit MouseUp(event->button(), event->modifiers(), Twips(event->position().x()), Twips(event->position().y()));
}

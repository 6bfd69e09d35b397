#include "mainwindow/SplitterBar.h"

#include "mainwindow/Accessibility.h"
#include "mainwindow/FormLayout.h"

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
    painter.fillRect(rect(), m_color);
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

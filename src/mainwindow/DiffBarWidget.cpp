#include "mainwindow/DiffBarWidget.h"

#include "mainwindow/Accessibility.h"
#include "mainwindow/WindowColors.h"

#include <QAccessible>
#include <algorithm>
#include <QCursor>
#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>
#include <QPixmap>

namespace {

QColor FromColorValue(std::uint32_t value)
{
    return QColor(static_cast<int>(value & 0xFFu), static_cast<int>((value >> 8) & 0xFFu),
                  static_cast<int>((value >> 16) & 0xFFu));
}

}  // namespace

DiffBarFrame::DiffBarFrame(QWidget* parent) : QWidget(parent)
{
    setAutoFillBackground(true);
}

void DiffBarFrame::SetMark(double y)
{
    m_markY = y;
    update();
}

void DiffBarFrame::Clear()
{
    m_markY.reset();
    update();
}

void DiffBarFrame::paintEvent(QPaintEvent* /*event*/)
{
    if (!m_markY)
        return;
    QPainter painter(this);
    // Red, made darker or lighter as the frame's colour needs.
    painter.setPen(QPen(WindowColors::BarMark(palette()), kMarkWidth, Qt::SolidLine, Qt::FlatCap));
    painter.drawLine(QPointF(0, *m_markY), QPointF(width(), *m_markY));
}

DiffBarWidget::DiffBarWidget(QWidget* parent) : QWidget(parent), m_background(palette().color(QPalette::Button))
{
    setCursor(BarCursor());
    Accessibility::InstallFactory();
}

void DiffBarWidget::SetPosition(std::int32_t row, std::int32_t rowCount, std::size_t differences)
{
    const bool moved = row != m_row || rowCount != m_rowCount;
    const bool described = moved || differences != m_differences;
    m_row = row;
    m_rowCount = rowCount;
    m_differences = differences;
    if (!QAccessible::isActive())
        return;
    if (moved) {
        QAccessibleValueChangeEvent value(this, row);
        QAccessible::updateAccessibility(&value);
    }
    if (described) {
        QAccessibleEvent description(this, QAccessible::DescriptionChanged);
        QAccessible::updateAccessibility(&description);
    }
}

void DiffBarWidget::RequestRow(std::int32_t row)
{
    if (m_rowCount > 0)
        emit RowRequested(std::clamp(row, 1, m_rowCount));
}

void DiffBarWidget::Clear(const QColor& background)
{
    m_bands.clear();
    m_background = background;
    update();
}

void DiffBarWidget::SetBands(std::vector<DiffBar::Band> bands, const QColor& background)
{
    m_bands = std::move(bands);
    m_background = background;
    update();
}

void DiffBarWidget::paintEvent(QPaintEvent* /*event*/)
{
    QPainter painter(this);
    painter.fillRect(rect(), m_background);
    // A band covers the lines top .. top + height - 1, each the bar's width.
    for (const DiffBar::Band& band : m_bands) {
        if (band.height > 0)
            painter.fillRect(0, band.top, width(), band.height, FromColorValue(band.color));
    }
}

void DiffBarWidget::mousePressEvent(QMouseEvent* event)
{
    const QPointF at = event->position();
    emit MouseDown(event->button(), event->modifiers(), static_cast<float>(at.x()), static_cast<float>(at.y()));
    event->accept();
}

QCursor DiffBarWidget::BarCursor()
{
    // 21 x 21: arrow heads up and down joined by a shaft, and a short
    // crossbar at the hot spot, which is the bar height a click selects.
    QPixmap picture(21, 21);
    picture.fill(Qt::transparent);
    QPainter painter(&picture);
    painter.setRenderHint(QPainter::Antialiasing, false);
    QPainterPath arrows;
    arrows.moveTo(10, 0);
    arrows.lineTo(15, 5);
    arrows.lineTo(12, 5);
    arrows.lineTo(12, 15);
    arrows.lineTo(15, 15);
    arrows.lineTo(10, 20);
    arrows.lineTo(5, 15);
    arrows.lineTo(8, 15);
    arrows.lineTo(8, 5);
    arrows.lineTo(5, 5);
    arrows.closeSubpath();
    painter.setPen(QPen(Qt::white, 1));
    painter.setBrush(Qt::black);
    painter.drawPath(arrows);
    painter.fillRect(2, 9, 17, 3, Qt::white);
    painter.fillRect(3, 10, 15, 1, QColor(255, 0, 0));
    painter.end();
    return QCursor(picture, 10, 10);
}

#pragma once
// The difference bar and the frame it stands in. Both paint from their own
// state only: the bar its background and one band per difference block, the
// frame the red mark of the current row. The mark belongs to the frame, so it
// shows on the frame's strips left and right of the bar and survives a
// repaint of the bands. Lengths are pixels, the bar's own units.

#include "compare/DiffBarGeometry.h"

#include <QColor>
#include <QWidget>
#include <optional>
#include <vector>

class DiffBarFrame : public QWidget {
    Q_OBJECT
public:
    explicit DiffBarFrame(QWidget* parent = nullptr);

    // Thickness of the current-row mark in pixels.
    static constexpr int kMarkWidth = 3;

    // Replaces the mark by a red line across the whole width at height y.
    void SetMark(double y);
    // Removes the mark.
    void Clear();
    [[nodiscard]] std::optional<double> MarkY() const { return m_markY; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    std::optional<double> m_markY;
};

class DiffBarWidget : public QWidget {
    Q_OBJECT
public:
    explicit DiffBarWidget(QWidget* parent = nullptr);

    // Erases the bar to the colour, without bands.
    void Clear(const QColor& background);
    // Erases the bar to the colour and paints the bands on it.
    void SetBands(std::vector<DiffBar::Band> bands, const QColor& background);
    [[nodiscard]] const std::vector<DiffBar::Band>& Bands() const { return m_bands; }
    [[nodiscard]] QColor BackColor() const { return m_background; }

    // The pointer shown over the bar: a two-headed vertical arrow with a bar
    // across it, drawn here.
    [[nodiscard]] static QCursor BarCursor();

signals:
    // Any button; y in the bar's units, from its top.
    void MouseDown(Qt::MouseButton button, Qt::KeyboardModifiers shift, float x, float y);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;

private:
    std::vector<DiffBar::Band> m_bands;
    QColor m_background;
};

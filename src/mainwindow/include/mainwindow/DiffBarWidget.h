#pragma once
// The difference bar and the frame it stands in. Both paint from their own
// state only: the bar its background and one band per difference block, the
// frame the red mark of the current row. The mark belongs to the frame, so it
// shows on the frame's strips left and right of the bar and survives a
// repaint of the bands. Lengths are pixels, the bar's own units.

#include "compare/DiffBarGeometry.h"

#include <QColor>
#include <QWidget>
#include <cstdint>
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

    // What the bar stands for, as assistive technology reads it: the
    // current row of how many, and the differences its bands show. A row
    // count of 0 means nothing is compared.
    void SetPosition(std::int32_t row, std::int32_t rowCount, std::size_t differences);
    [[nodiscard]] std::int32_t PositionRow() const { return m_row; }
    [[nodiscard]] std::int32_t PositionRowCount() const { return m_rowCount; }
    [[nodiscard]] std::size_t Differences() const { return m_differences; }
    // Asks for a row to be made current, as a click on the bar does.
    void RequestRow(std::int32_t row);

signals:
    // Any button; y in the bar's units, from its top.
    void MouseDown(Qt::MouseButton button, Qt::KeyboardModifiers shift, float x, float y);
    // Assistive technology set the bar's value to a row of 1 .. PositionRowCount.
    void RowRequested(std::int32_t row);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;

private:
    std::vector<DiffBar::Band> m_bands;
    QColor m_background;
    std::int32_t m_row = 0;
    std::int32_t m_rowCount = 0;
    std::size_t m_differences = 0;
};

#pragma once
// The bar between the two grids. It only reports the mouse, with the
// pointer's position in twips inside the bar; the window decides. With the
// keyboard focus it is drawn in the focus colour, and Left and Right (with
// Shift, a pixel at a time) report the drag the mouse would make.

#include <QWidget>

class SplitterBar : public QWidget {
    Q_OBJECT
public:
    explicit SplitterBar(QWidget* parent = nullptr);
    void SetColor(const QColor& color);
    [[nodiscard]] QColor Color() const { return m_color; }

signals:
    void MouseDown(Qt::MouseButton button, Qt::KeyboardModifiers shift, double x, double y);
    void MouseMove(Qt::MouseButtons buttons, Qt::KeyboardModifiers shift, double x, double y);
    void MouseUp(Qt::MouseButton button, Qt::KeyboardModifiers shift, double x, double y);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;

private:
    QColor m_color;
};

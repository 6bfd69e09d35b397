#pragma once
// The window shown while the program starts: the logo, for two seconds or
// until it is clicked, then the main window.

#include <QLabel>
#include <QWidget>
#include <functional>

class QTimer;

class ClickableImage : public QLabel {
    Q_OBJECT
public:
    using QLabel::QLabel;

signals:
    void Click();

protected:
    void mouseReleaseEvent(QMouseEvent* event) override;
};

class frmSplash : public QWidget {
    Q_OBJECT
public:
    // loadMainWindow loads the main window, whose own load shows it.
    explicit frmSplash(std::function<void()> loadMainWindow, QWidget* parent = nullptr);

    void Form_Load();
    void Timer1_Timer();
    void imgLogo_Click();

    ClickableImage* imgLogo;
    QTimer* Timer1;

private:
    std::function<void()> m_loadMainWindow;
    bool m_switched = false;
};

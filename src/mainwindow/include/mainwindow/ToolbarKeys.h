#pragma once
// Keys for a toolbar that is one stop of the tab order: while it has the
// keyboard focus, Left and Right (Home, End) choose one of its enabled
// buttons, Space or Enter presses it, and the chosen button shows the focus
// mark (its own paint asks ShowsFocus). Screen readers are told of each
// choice as a move of the focus.

#include <QObject>
#include <QPointer>
#include <QToolButton>

class QToolBar;

class ToolbarKeys : public QObject {
    Q_OBJECT
public:
    // Watches the toolbar's keys and focus; owned by the toolbar.
    explicit ToolbarKeys(QToolBar* toolbar);

    [[nodiscard]] QToolButton* Chosen() const { return m_chosen; }
    // True while the button is chosen and its toolbar has the focus.
    [[nodiscard]] static bool ShowsFocus(const QToolButton* button);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // The enabled, visible buttons from left to right.
    [[nodiscard]] QList<QToolButton*> Buttons() const;
    void Choose(QToolButton* button);
    // Handles a key of the toolbar's; false for keys it leaves alone.
    bool Key(int key);

    QToolBar* m_toolbar;
    QPointer<QToolButton> m_chosen;
};

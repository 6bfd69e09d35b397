#pragma once
// While the Compare command fills the grids it lets pending events run, so
// the window keeps painting and moving. Input that would start another
// command meanwhile (a click, a key, a shortcut, a drop, closing the window)
// would change the grids under the half-built comparison, so for as long as
// a guard lives such input aimed at the window, its menus or its actions is
// dropped. Dialogs of their own (the Compare messages) are not affected.

#include <QObject>

class QWidget;

class CompareInputGuard final : public QObject {
public:
    explicit CompareInputGuard(QWidget* window);
    ~CompareInputGuard() override;
    CompareInputGuard(const CompareInputGuard&) = delete;
    CompareInputGuard& operator=(const CompareInputGuard&) = delete;

    // Events dropped so far; tests read it.
    [[nodiscard]] int DroppedEvents() const { return m_dropped; }

    // True for the event types a guard drops.
    [[nodiscard]] static bool IsCommandInput(int eventType);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    [[nodiscard]] bool BelongsToWindow(const QObject* object) const;

    QWidget* m_window;
    int m_dropped = 0;
};

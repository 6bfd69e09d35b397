#include "mainwindow/CompareInputGuard.h"

#include <QCoreApplication>
#include <QEvent>
#include <QWidget>

CompareInputGuard::CompareInputGuard(QWidget* window) : m_window(window)
{
    QCoreApplication::instance()->installEventFilter(this);
}

CompareInputGuard::~CompareInputGuard()
{
    QCoreApplication::instance()->removeEventFilter(this);
}

bool CompareInputGuard::IsCommandInput(int eventType)
{
    switch (static_cast<QEvent::Type>(eventType)) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick:
    case QEvent::KeyPress:
    case QEvent::KeyRelease:
    case QEvent::Shortcut:
    case QEvent::ShortcutOverride:
    case QEvent::Wheel:
    case QEvent::ContextMenu:
    case QEvent::DragEnter:
    case QEvent::DragMove:
    case QEvent::Drop:
    case QEvent::InputMethod:
    case QEvent::TouchBegin:
    case QEvent::TouchUpdate:
    case QEvent::TouchEnd:
    case QEvent::Close: return true;
    default: return false;
    }
}

// The window itself, its child widgets and the objects it owns outside its
// own top-level widget (menus pop up as windows of their own, actions are
// not widgets), but not a dialog shown over it: its widgets belong to the
// dialog's top-level window.
bool CompareInputGuard::BelongsToWindow(const QObject* object) const
{
    if (const auto* widget = qobject_cast<const QWidget*>(object)) {
        const QWidget* top = widget->window();
        if (top == m_window)
            return true;
        if (!top->inherits("QMenu"))
            return false;
    }
    for (const QObject* o = object; o; o = o->parent()) {
        if (o == m_window)
            return true;
    }
    return false;
}

bool CompareInputGuard::eventFilter(QObject* watched, QEvent* event)
{
    if (!IsCommandInput(event->type()) || !BelongsToWindow(watched))
        return false;
    // Only the window's own close is refused; popups may still close.
    if (event->type() == QEvent::Close && watched != m_window)
        return false;
    // A close that is refused must be ignored, or the window would still go.
    event->ignore();
    ++m_dropped;
    return true;
}

#include "mainwindow/ToolbarKeys.h"

#include <QAccessible>
#include <QEvent>
#include <QKeyEvent>
#include <QToolBar>
#include <QToolButton>
#include <algorithm>

ToolbarKeys::ToolbarKeys(QToolBar* toolbar) : QObject(toolbar), m_toolbar(toolbar)
{
    toolbar->installEventFilter(this);
}

bool ToolbarKeys::ShowsFocus(const QToolButton* button)
{
    const auto* toolbar = qobject_cast<const QToolBar*>(button->parentWidget());
    const auto* keys = toolbar ? toolbar->findChild<ToolbarKeys*>(QString(), Qt::FindDirectChildrenOnly) : nullptr;
    return keys && toolbar->hasFocus() && keys->Chosen() == button;
}

QList<QToolButton*> ToolbarKeys::Buttons() const
{
    QList<QToolButton*> buttons;
    for (QToolButton* button : m_toolbar->findChildren<QToolButton*>(QString(), Qt::FindDirectChildrenOnly))
        if (button->isEnabled() && button->isVisible() && button->defaultAction())
            buttons.append(button);
    std::sort(buttons.begin(), buttons.end(),
              [](const QToolButton* a, const QToolButton* b) { return a->x() < b->x(); });
    return buttons;
}

void ToolbarKeys::Choose(QToolButton* button)
{
    QToolButton* before = m_chosen;
    m_chosen = button;
    for (QToolButton* repaint : {before, button})
        if (repaint)
            repaint->update();
    if (button && QAccessible::isActive()) {
        QAccessibleEvent focus(button, QAccessible::Focus);
        QAccessible::updateAccessibility(&focus);
    }
}

bool ToolbarKeys::Key(int key)
{
    const QList<QToolButton*> buttons = Buttons();
    if (buttons.isEmpty())
        return false;
    const qsizetype at = buttons.indexOf(m_chosen.data());
    switch (key) {
    case Qt::Key_Left: Choose(buttons.at(at <= 0 ? buttons.size() - 1 : at - 1)); return true;
    case Qt::Key_Right: Choose(buttons.at(at < 0 || at + 1 == buttons.size() ? 0 : at + 1)); return true;
    case Qt::Key_Home: Choose(buttons.first()); return true;
    case Qt::Key_End: Choose(buttons.last()); return true;
    case Qt::Key_Space:
    case Qt::Key_Return:
    case Qt::Key_Enter:
        if (at < 0)
            Choose(buttons.first());
        else
            m_chosen->click();
        return true;
    default: return false;
    }
}

bool ToolbarKeys::eventFilter(QObject* watched, QEvent* event)
{
    if (watched != m_toolbar)
        return false;
    switch (event->type()) {
    case QEvent::FocusIn:
        // The button chosen last, while it can still be pressed.
        Choose(Buttons().contains(m_chosen.data()) ? m_chosen.data() : Buttons().value(0));
        break;
    case QEvent::FocusOut:
        if (m_chosen)
            m_chosen->update();
        break;
    case QEvent::KeyPress: {
        const auto* press = static_cast<QKeyEvent*>(event);
        if (press->modifiers() & ~(Qt::KeypadModifier | Qt::ShiftModifier))
            return false;
        return Key(press->key());
    }
    default: break;
    }
    return false;
}

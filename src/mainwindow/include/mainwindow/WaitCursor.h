#pragma once
// Shows the hourglass pointer for the lifetime of the object. Guards nest:
// the pointer returns to what it was before, so a display run inside a
// longer command does not end that command's hourglass early.

#include <QCursor>
#include <QGuiApplication>

class WaitCursor {
public:
    WaitCursor() { QGuiApplication::setOverrideCursor(QCursor(Qt::WaitCursor)); }
    ~WaitCursor() { QGuiApplication::restoreOverrideCursor(); }
    WaitCursor(const WaitCursor&) = delete;
    WaitCursor& operator=(const WaitCursor&) = delete;
};

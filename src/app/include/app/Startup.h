#pragma once
// Program start-up: the single-instance rule, the program's folder, the path
// library and the application-wide objects.

#include <QLoggingCategory>
#include <QStringList>
#include <functional>

// What start-up found, and when the main window is up; shown with
// QT_LOGGING_RULES="vantrel.startup.debug=true".
Q_DECLARE_LOGGING_CATEGORY(lcStartup)

namespace modVantrel {

// Runs start-up and, when it succeeds, calls openFirstWindow (the splash
// window). Returns false when the program should end at once: another
// instance is running, or start-up failed and was reported.
[[nodiscard]] bool Main(const QString& programPath, const QStringList& arguments,
                        const std::function<void()>& openFirstWindow);

// Releases what Main created, in the order the main window's unload needs:
// the option record, then the engine, then the path library.
void ReleaseApplicationObjects();

}  // namespace modVantrel

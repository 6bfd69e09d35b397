#pragma once
// Headless chromium for the tests of the HTML pages: a page's DOM as the
// browser builds it, or the page drawn to a picture or printed to PDF.

#include <QByteArray>
#include <QProcess>
#include <QStandardPaths>
#include <QString>
#include <QStringList>
#include <QUrl>

namespace Chromium {

// The browser; empty when it is not installed (scripts/test installs it).
inline QString Program()
{
    return QStandardPaths::findExecutable(QStringLiteral("chromium"));
}

// Runs it on the page at `path` with `arguments` ("--dump-dom",
// "--print-to-pdf=FILE") and a profile folder of its own, `profile`;
// returns what it wrote to standard output, and its errors in `errors`.
inline QByteArray Run(const QString& profile, const QStringList& arguments, const QString& path,
                      QByteArray* errors = nullptr)
{
    QProcess run;
    run.start(Program(), QStringList{"--headless", "--no-sandbox", "--disable-gpu", "--user-data-dir=" + profile}
                             + arguments + QStringList{QUrl::fromLocalFile(path).toString()});
    if (!run.waitForFinished(120000))
        return {};
    if (errors)
        *errors = run.readAllStandardError();
    return run.readAllStandardOutput();
}

}  // namespace Chromium

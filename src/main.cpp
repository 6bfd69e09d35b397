#include "about/frmSplash.h"
#include "app/CommandLine.h"
#include "app/FolderComparison.h"
#include "app/Startup.h"
#include "app/Termination.h"
#include "folderview/FolderWindows.h"
#include "mainwindow/frmFileDiffs.h"

#include "vantrel/Version.h"

#include <QApplication>
#include <cstdio>
#include <memory>
#include <optional>

namespace {

// Help, version and wrong options end the program before any window: the
// exit status, or nothing when the program is to run.
std::optional<int> AnswerOptions(const modVantrel::ProgramOptions& options)
{
    using Action = modVantrel::ProgramOptions::Action;
    switch (options.action) {
    case Action::Help: std::fputs(modVantrel::ProgramUsage().toLocal8Bit().constData(), stdout); return 0;
    case Action::Version: std::fputs("vantrel " VANTREL_VERSION "\n" VANTREL_LICENSE_NOTICE, stdout); return 0;
    case Action::Wrong:
        std::fprintf(stderr, "vantrel: %s\n\n%s", options.error.toLocal8Bit().constData(),
                     modVantrel::ProgramUsage().toLocal8Bit().constData());
        return 2;
    case Action::Open: break;
    }
    return std::nullopt;
}

}  // namespace

int main(int argc, char* argv[])
{
    // Help, version and wrong options are answered before Qt starts, so
    // that they work without a display. Qt's own options are not known yet,
    // so an unknown option waits until Qt has taken those out.
    const modVantrel::ProgramOptions early = modVantrel::ParseProgramOptions(modVantrel::ArgumentTexts(argc, argv));
    if (!early.unknownOption)
        if (const std::optional<int> code = AnswerOptions(early))
            return *code;
    QApplication application(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Vantrel"));
    QApplication::setApplicationVersion(QStringLiteral(VANTREL_VERSION));
    // Ties the windows to the installed menu entry and its icon.
    QGuiApplication::setDesktopFileName(QStringLiteral("org.example.quellan.Vantrel"));
    // What is left once Qt has taken its own options out of argc and argv,
    // as bytes: a file name need not be valid UTF-8.
    const modVantrel::ProgramOptions options = modVantrel::ParseProgramOptions(modVantrel::ArgumentTexts(argc, argv));
    if (const std::optional<int> code = AnswerOptions(options))
        return *code;
    const QStringList& arguments = options.files;
    // Two folders open the folder view; the file view waits behind it.
    const bool folders = modVantrel::NamesTwoFolders(arguments);
    modVantrel::gCompareAtStart = options.compare && !folders;

    FolderWindows folderWindows;
    modVantrel::SetFolderComparisonOpener(
        [&](const QString& one, const QString& two, bool compare) { folderWindows.Open(one, two, compare); });
    std::unique_ptr<frmFileDiffs> mainWindow;
    std::unique_ptr<frmSplash> splash;
    const bool started = modVantrel::Main(QApplication::applicationFilePath(), arguments, [&] {
        splash = std::make_unique<frmSplash>([&] {
            mainWindow = std::make_unique<frmFileDiffs>();
            mainWindow->Form_Load();
            // A load that failed was reported and left no window to close.
            if (!mainWindow->isVisible()) {
                QApplication::quit();
                return;
            }
            qCDebug(lcStartup) << "main window shown";
            folderWindows.SetFileView(mainWindow.get());
            if (folders) {
                mainWindow->hide();
                folderWindows.Open(arguments.at(0), arguments.at(1), options.compare);
            }
        });
        splash->Form_Load();
    });
    if (!started)
        return 1;
    // Ended by the system: close as the user would, so the options are kept.
    modVantrel::OnTerminationRequest([&] {
        // (The file view may be hidden behind the folder view.)
        const bool hidden = folderWindows.FolderView() != nullptr;
        folderWindows.CloseFolderView();
        if (mainWindow && (mainWindow->isVisible() || hidden))
            mainWindow->close();
        QApplication::quit();
    });
    const int code = QApplication::exec();
    modVantrel::SetFolderComparisonOpener({});
    folderWindows.CloseFolderView();
    folderWindows.SetFileView(nullptr);
    mainWindow.reset();
    splash.reset();
    modVantrel::ReleaseApplicationObjects();
    return code;
}

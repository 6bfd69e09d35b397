#include "about/frmSplash.h"
#include "app/CommandLine.h"
#include "app/Startup.h"
#include "app/Termination.h"
#include "mainwindow/frmFileDiffs.h"

#include "vantrel/Version.h"

#include <QApplication>
#include <memory>

int main(int argc, char* argv[])
{
    QApplication application(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Vantrel"));
    QApplication::setApplicationVersion(QStringLiteral(VANTREL_VERSION));
    // Ties the windows to the installed menu entry and its icon.
    QGuiApplication::setDesktopFileName(QStringLiteral("org.example.quellan.Vantrel"));
    // What is left once Qt has taken its own options out of argc and argv,
    // as bytes: a file name need not be valid UTF-8.
    const QStringList arguments = modVantrel::ArgumentTexts(argc, argv);

    std::unique_ptr<frmFileDiffs> mainWindow;
    std::unique_ptr<frmSplash> splash;
    const bool started = modVantrel::Main(QApplication::applicationFilePath(), arguments, [&] {
        splash = std::make_unique<frmSplash>([&] {
            mainWindow = std::make_unique<frmFileDiffs>();
            mainWindow->Form_Load();
            // A load that failed was reported and left no window to close.
            if (!mainWindow->isVisible())
                QApplication::quit();
            else
                qCDebug(lcStartup) << "main window shown";
        });
        splash->Form_Load();
    });
    if (!started)
        return 1;
    // Ended by the system: close as the user would, so the options are kept.
    modVantrel::OnTerminationRequest([&] {
        if (mainWindow && mainWindow->isVisible())
            mainWindow->close();
        QApplication::quit();
    });
    const int code = QApplication::exec();
    mainWindow.reset();
    splash.reset();
    modVantrel::ReleaseApplicationObjects();
    return code;
}

#include "about/frmSplash.h"
#include "app/Startup.h"
#include "mainwindow/frmFileDiffs.h"

#include <QApplication>
#include <memory>

int main(int argc, char* argv[])
{
    QApplication application(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Vantrel"));
    QStringList arguments = QApplication::arguments();
    arguments.removeFirst();

    std::unique_ptr<frmFileDiffs> mainWindow;
    std::unique_ptr<frmSplash> splash;
    const bool started = modVantrel::Main(QApplication::applicationFilePath(), arguments, [&] {
        splash = std::make_unique<frmSplash>([&] {
            mainWindow = std::make_unique<frmFileDiffs>();
            mainWindow->Form_Load();
            // A load that failed was reported and left no window to close.
            if (!mainWindow->isVisible())
                QApplication::quit();
        });
        splash->Form_Load();
    });
    if (!started)
        return 1;
    const int code = QApplication::exec();
    mainWindow.reset();
    splash.reset();
    modVantrel::ReleaseApplicationObjects();
    return code;
}

#include "app/Startup.h"

#include <QApplication>
#include <QLabel>

int main(int argc, char* argv[])
{
    QApplication application(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Vantrel"));
    QStringList arguments = QApplication::arguments();
    arguments.removeFirst();

    std::unique_ptr<QLabel> placeholder;
    const bool started = modVantrel::Main(QApplication::applicationFilePath(), arguments, [&] {
        placeholder = std::make_unique<QLabel>(QStringLiteral("Vantrel - File Difference Viewer"));
        placeholder->setWindowTitle(QStringLiteral("Vantrel - File Difference Viewer"));
        placeholder->resize(640, 480);
        placeholder->show();
    });
    if (!started)
        return 1;
    const int code = QApplication::exec();
    modVantrel::ReleaseApplicationObjects();
    return code;
}

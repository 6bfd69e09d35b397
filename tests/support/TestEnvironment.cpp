#include "support/TestEnvironment.h"

#include "app/PathMix.h"

#include <QCoreApplication>

namespace TestEnvironment {

QString BinDir()
{
    QString dir = qEnvironmentVariable("VANTREL_BIN_DIR");
    if (dir.isEmpty())
        dir = QCoreApplication::applicationDirPath();  // tests are built beside the program
    if (!dir.endsWith(QLatin1Char('/')))
        dir += QLatin1Char('/');
    return dir;
}

bool LoadPathLibrary()
{
    return PathMix::Load(BinDir());
}

}  // namespace TestEnvironment

#pragma once
// Where the built program and its path library are, for tests.

#include "app/PathMix.h"

#include <QCoreApplication>
#include <QString>

namespace TestEnvironment {

// The folder holding the built executables and the path library, ending in '/':
// VANTREL_BIN_DIR, else the test's own (tests are built beside the program).
[[nodiscard]] inline QString BinDir()
{
    QString dir = qEnvironmentVariable("VANTREL_BIN_DIR");
    if (dir.isEmpty())
        dir = QCoreApplication::applicationDirPath();
    return dir.endsWith(QLatin1Char('/')) ? dir : dir + QLatin1Char('/');
}

// Loads the path library from BinDir(); false when it is not there.
[[nodiscard]] inline bool LoadPathLibrary()
{
    return PathMix::Load(BinDir());
}

}  // namespace TestEnvironment

#pragma once
// Where the built program and its path library are, for tests.

#include <QString>

namespace TestEnvironment {

// The folder holding the built executables and the path library, ending in '/'.
[[nodiscard]] QString BinDir();
// Loads the path library from BinDir(); false when it is not there.
[[nodiscard]] bool LoadPathLibrary();

}  // namespace TestEnvironment

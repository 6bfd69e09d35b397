#pragma once
// Carrying the program's options across runs in the INI file beside the
// program: read into the option record at load, written back from it at
// unload. The paths the two path boxes show travel with the options.

#include "app/cViewFileDiffsOptions.h"

#include <QString>
#include <array>

namespace modIniFile {

// The texts of the two path boxes, File One first.
using PathTexts = std::array<QString, 2>;

// The INI file's name: the program file's name without extension + ".ini".
[[nodiscard]] QString IniFileName();

// Every key that is missing reads as its default. A value the record cannot
// take (a font size no font has) is reported, naming the file and the key,
// and gives way to that key's default alone.
void ReadProgramOptionsFromIniFile(cViewFileDiffsOptions& options, PathTexts& paths);
// Writes every key in one replacement of the file.
void SaveProgramOptionsToIniFile(const cViewFileDiffsOptions& options, const PathTexts& paths);

// The leading decimal number of text ("12pt" gives 12, "abc" gives 0); a
// period is the decimal point.
[[nodiscard]] double LeadingNumber(const QString& text);

}  // namespace modIniFile

#pragma once
// --html on two folders (with -r): the folder report (engine/HtmlFolderReport.h)
// of a scan of both trees, written to standard output.

#include "Files.h"

#include <string>

// Compares the folders `one` and `two` and writes their page; the run's
// status is diff's: 1 when any entry differs, 2 when one could not be read
// (said on standard error).
void WriteFolderReport(Run& run, const std::string& one, const std::string& two);

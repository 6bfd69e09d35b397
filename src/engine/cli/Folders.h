#pragma once
// Folder comparison: the entries of two folders matched by name, in
// sorted order; each pair of files compared, each entry found on one side
// only reported (or taken against an empty file with -N), subfolders
// compared in turn with -r. Trouble with one entry is reported and the
// rest still compared.

#include "Files.h"

#include <string>

// Compares the operands as given on the command line, whatever they are:
// two files, two folders, or a folder and a file (the file of the same
// name in that folder).
void CompareOperands(Run& run, const std::string& one, const std::string& two);

#pragma once
// Splitting the program's command line into the names of File One and File Two.

#include <QString>
#include <QStringList>

namespace modVantrel {

// Splits a raw argument text (as Windows hands it over) into at most two
// names: each is either enclosed in double quotes or ends at the next space;
// anything after the second name is ignored.
void GetFilesFromCommandLine(const QString& argumentText, QString& fileOne, QString& fileTwo);

// Where the shell has already split the command line: File One and File Two
// are the first two arguments as given (the program's own name excluded).
void GetFilesFromArguments(const QStringList& arguments, QString& fileOne, QString& fileTwo);

// The arguments after the program's own name (argv[0]) in the text form of
// file names (FileNameText): a name that is not valid UTF-8 keeps its bytes,
// which Qt's own decoding of the arguments would replace.
[[nodiscard]] QStringList ArgumentTexts(int argc, const char* const* argv);

// The program's arguments without its own name, kept by start-up for the
// main window.
extern QStringList gArguments;

}  // namespace modVantrel

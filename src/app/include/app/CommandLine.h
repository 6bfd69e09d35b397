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

// What the program's own options ask for, read from the arguments that
// Qt's options have been taken out of. Options and files may come in any
// order; "--" ends the options, and a lone "-" is a file name. Files after
// the second are ignored.
struct ProgramOptions {
    enum class Action { Open, Help, Version, Wrong };
    Action action = Action::Open;
    QStringList files;     // as given, options taken out
    bool compare = false;  // --compare: Compare once the window shows
    QString error;         // for Wrong: what is wrong, in one line
    // For Wrong: an option the program does not know, which may yet be one
    // of Qt's before Qt has taken its own out.
    bool unknownOption = false;
};
[[nodiscard]] ProgramOptions ParseProgramOptions(const QStringList& arguments);

// The text --help prints, and that follows the message about wrong options.
[[nodiscard]] QString ProgramUsage();

// The files named on the command line (the program's own name and its
// options excluded), kept by start-up for the main window, and whether
// they are to be compared as soon as the window shows.
extern QStringList gArguments;
extern bool gCompareAtStart;

}  // namespace modVantrel

#include "app/CommandLine.h"

#include "app/ErrorReport.h"
#include "app/Globals.h"
#include "app/PathMix.h"
#include "engine/FileNameText.h"

namespace modVantrel {

QStringList gArguments;
bool gCompareAtStart = false;

namespace {

constexpr QChar kQuote = QLatin1Char('"');
constexpr QChar kSpace = QLatin1Char(' ');

// The first name of text (already trimmed, not empty) and whether anything
// may follow it: a name that runs to the end of the text leaves nothing.
struct FirstName {
    QString name;
    QString leading;  // the text the name occupies, quotes included
    bool runsToEnd = false;
};

FirstName TakeName(const QString& text)
{
    if (text.startsWith(kQuote)) {
        const qsizetype close = text.indexOf(kQuote, 1);
        if (close < 0)
            return {text.mid(1), text, true};
        const QString name = text.mid(1, close - 1);
        return {name, kQuote + name + kQuote, false};
    }
    const qsizetype space = text.indexOf(kSpace);
    if (space < 0)
        return {text, text, true};
    const QString name = text.left(space);
    return {name, name, false};
}

}  // namespace

void GetFilesFromCommandLine(const QString& argumentText, QString& fileOne, QString& fileTwo)
{
    try {
        const QString text = TrimSpaces(argumentText);
        fileOne.clear();
        fileTwo.clear();
        if (text.isEmpty())
            return;
        const FirstName first = TakeName(text);
        fileOne = first.name;
        if (first.runsToEnd)
            return;
        const QString rest = TrimSpaces(PathMix::RemainingString(text, first.leading));
        if (rest.isEmpty())
            return;
        fileTwo = TakeName(rest).name;
    } catch (...) {
        ReportUnexpectedError(QStringLiteral("modVantrel.GetFilesFromCommandLine"));
    }
}

QStringList ArgumentTexts(int argc, const char* const* argv)
{
    QStringList texts;
    for (int i = 1; i < argc; ++i)
        texts.append(FileNameText::FromBytes(QByteArrayView(argv[i])));
    return texts;
}

void GetFilesFromArguments(const QStringList& arguments, QString& fileOne, QString& fileTwo)
{
    fileOne = arguments.value(0);
    fileTwo = arguments.value(1);
}

ProgramOptions ParseProgramOptions(const QStringList& arguments)
{
    ProgramOptions options;
    bool optionsEnded = false;
    for (const QString& argument : arguments) {
        if (optionsEnded || argument.size() < 2 || !argument.startsWith(u'-')) {
            options.files.append(argument);
        } else if (argument == QLatin1String("--")) {
            optionsEnded = true;
        } else if (argument == QLatin1String("--compare")) {
            options.compare = true;
        } else if (argument == QLatin1String("--help") || argument == QLatin1String("--version")) {
            // Acts at once, whatever follows, as in GNU programs.
            options.action =
                argument == QLatin1String("--help") ? ProgramOptions::Action::Help : ProgramOptions::Action::Version;
            return options;
        } else {
            options.action = ProgramOptions::Action::Wrong;
            options.error = QStringLiteral("unknown option '%1'").arg(argument);
            options.unknownOption = true;
            return options;
        }
    }
    if (options.compare && options.files.size() < 2) {
        options.action = ProgramOptions::Action::Wrong;
        options.error = QStringLiteral("--compare needs two files or folders, FILE1 and FILE2");
    }
    return options;
}

QString ProgramUsage()
{
    return QStringLiteral("Usage: vantrel [OPTION]... [FILE1 [FILE2]]\n"
                          "Show two text files side by side, with the lines that differ marked.\n"
                          "FILE1 and FILE2 go into the window's path boxes; a file not given keeps\n"
                          "the path of the last run. Nothing is compared until Compare is chosen.\n"
                          "FILE1 and FILE2 may be two folders instead, compared in the folder window.\n"
                          "\n"
                          "      --compare   compare FILE1 and FILE2 as soon as the window shows\n"
                          "      --help      display this help and exit\n"
                          "      --version   output version information and exit\n"
                          "\n"
                          "Qt's own options (-style NAME, -platform NAME, ...) are accepted too.\n"
                          "Exit status is 0 when the window was closed, 1 when the program could\n"
                          "not start, 2 for wrong options.\n");
}

}  // namespace modVantrel

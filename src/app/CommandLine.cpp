#include "app/CommandLine.h"

#include "app/ErrorReport.h"
#include "app/Globals.h"
#include "app/PathMix.h"
#include "engine/FileNameText.h"

namespace modVantrel {

QStringList gArguments;

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

}  // namespace modVantrel

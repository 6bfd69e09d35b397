#include "mainwindow/CompareMessages.h"

#include "compare/FileFactsText.h"

using modVantrel::MessagePrompt;
using modVantrel::PromptButtons;
using modVantrel::PromptIcon;

namespace CompareMessages {
namespace {

const QString kCompareTitle = QStringLiteral("Compare Files");

}  // namespace

MessagePrompt NotAnExistingFile(File file)
{
    return {QStringLiteral("File Does Not Exist"),
            file == File::One ? QStringLiteral("File One is not an existing file.")
                              : QStringLiteral("File Two is not an existing file."),
            PromptIcon::Exclamation, PromptButtons::Ok};
}

QStringList Ignored(const cViewFileDiffsOptions& options)
{
    QStringList names;
    const std::pair<bool, const char*> flags[] = {{options.IgnoreCase, "case"},
                                                  {options.IgnoreWhiteSpace, "white space"},
                                                  {options.IgnoreWhiteSpaceChanges, "white space changes"},
                                                  {options.IgnoreLineEndings, "line endings"},
                                                  {options.IgnoreBlankLines, "blank lines"}};
    for (const auto& [on, name] : flags)
        if (on)
            names << QString::fromLatin1(name);
    const qsizetype filters = options.EnabledLineFilters().size();
    if (filters == 1)
        names << QStringLiteral("lines that match the line filter");
    else if (filters > 1)
        names << QStringLiteral("lines that match any of %1 line filters").arg(filters);
    return names;
}

QString Ignoring(const QStringList& ignored)
{
    if (ignored.isEmpty())
        return {};
    const QString last = ignored.last();
    const QStringList rest = ignored.mid(0, ignored.size() - 1);
    return QStringLiteral("ignoring ") + (rest.isEmpty() ? last : rest.join(QStringLiteral(", ")) + " and " + last);
}

MessagePrompt Identical(const QStringList& ignored)
{
    QString text = QStringLiteral("The files are identical");
    if (!ignored.isEmpty())
        text += QStringLiteral(", ") + Ignoring(ignored);
    return {kCompareTitle, text, PromptIcon::Information, PromptButtons::Ok};
}

MessagePrompt Binary()
{
    return {kCompareTitle,
            QStringLiteral("The files differ but the differences are not viewable.\r\n"
                           "Only differences between text files can be viewed. \r\n\r\n"
                           "See the View File Differences topic in the Help file for details."),
            PromptIcon::Information, PromptButtons::Ok};
}

MessagePrompt EngineFailed(const QString& reason)
{
    return {kCompareTitle, QStringLiteral("Errors encountered comparing the files\r\n\r\n") + reason,
            PromptIcon::Exclamation, PromptButtons::Ok};
}

MessagePrompt OutOfMemory(const LineFile& one, const LineFile& two, std::int64_t rows)
{
    return {QStringLiteral("Show File Differences"), FileFactsText::OutOfMemoryMessage(one, two, rows),
            PromptIcon::Critical, PromptButtons::Ok};
}

MessagePrompt MarkingFailed(bool forceTextCompare)
{
    QString text = QStringLiteral("Not able to compute the file differences.");
    if (forceTextCompare)
        text += QStringLiteral("\r\n\r\nThis can happen if the files are not ASCII-based and\r\n"
                               "you are forcing a text compare.");
    return {QStringLiteral("Show File Differences"), text, PromptIcon::Critical, PromptButtons::Ok};
}

}  // namespace CompareMessages

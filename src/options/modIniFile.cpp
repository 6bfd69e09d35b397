#include "options/modIniFile.h"

#include "app/ErrorReport.h"
#include "app/VantrelError.h"
#include "engine/FileNameText.h"
#include "options/CIniFile.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QHash>
#include <functional>

namespace modIniFile {
namespace {

const QString kTrue = QStringLiteral("True");
const QString kFalse = QStringLiteral("False");

// Qt takes point sizes above 0; beyond this a font is useless on any screen.
constexpr double kLargestFontSize = 1638.0;

// A flag is true only for the exact text "True".
bool IsTrue(const QString& text)
{
    return text == kTrue;
}

QString FlagText(bool on)
{
    return on ? kTrue : kFalse;
}

const QString kReadSource = QStringLiteral("modIniFile.ReadProgramOptionsFromIniFile");

// The description of the failure being handled.
QString PendingReason()
{
    try {
        throw;
    } catch (const modVantrel::VantrelError& e) {
        return e.description();
    } catch (const std::exception& e) {
        return QString::fromLocal8Bit(e.what());
    } catch (...) {
        return QStringLiteral("Unknown error");
    }
}

// Reports, from inside a catch block, that the record refused the value
// read for the object's key, naming the file and the key.
void ReportRefusedValue(const CIniFile& ini, const QString& value, const QString& defaultValue)
{
    const QString reason = PendingReason();
    try {
        throw modVantrel::VantrelError(modVantrel::ErrorNumber::InvalidArgument,
                                       QStringLiteral("%1 in %2 cannot be used (%3); its default, %4, is used instead.")
                                           .arg(ini.Key(), ini.FullPath(), reason, defaultValue));
    } catch (...) {
        modVantrel::ReportUnexpectedError(
            kReadSource,
            QStringLiteral("Read from %1:\r\n[%2]\r\n%3=%4").arg(ini.FullPath(), ini.Section(), ini.Key(), value));
    }
}

// Reads one value and applies it. A value the record refuses is reported
// and the key's default applied in its place: one bad value never costs
// the other options what the file says of them.
void ReadValue(CIniFile& ini, const QString& key, const QString& defaultValue,
               const std::function<void(const QString&)>& apply)
{
    ini.Key(key);
    const QString value = ini.GetStringValue(defaultValue);
    try {
        apply(value);
        return;
    } catch (...) {
        ReportRefusedValue(ini, value, defaultValue);
    }
    apply(defaultValue);
}

// Sets the grids' point size, refusing sizes no font can take.
void ApplyFontSize(QFont& font, double size)
{
    if (!(size > 0.0 && size <= kLargestFontSize))
        throw modVantrel::VantrelError(modVantrel::ErrorNumber::InvalidArgument,
                                       QStringLiteral("Invalid font size: ") + QString::number(size));
    font.setPointSizeF(size);
}

// A count of context rows: a whole number from 0 to the largest the
// record takes; anything else is refused.
int ContextSize(const QString& text)
{
    bool ok = false;
    const int size = text.trimmed().toInt(&ok);
    if (!ok || size < 0 || size > cViewFileDiffsOptions::kLargestUnchangedContext)
        throw modVantrel::VantrelError(modVantrel::ErrorNumber::InvalidArgument,
                                       QStringLiteral("Invalid number of context lines: ") + text);
    return size;
}

void ReadCompareSection(CIniFile& ini, cViewFileDiffsOptions& options, PathTexts& paths)
{
    ini.Section(QStringLiteral("Compare"));
    ReadValue(ini, QStringLiteral("IgnoreCase"), kFalse,
              [&](const QString& value) { options.IgnoreCase = IsTrue(value); });
    ReadValue(ini, QStringLiteral("IgnoreWhiteSpace"), kFalse,
              [&](const QString& value) { options.IgnoreWhiteSpace = IsTrue(value); });
    ReadValue(ini, QStringLiteral("IgnoreWhiteSpaceChanges"), kFalse,
              [&](const QString& value) { options.IgnoreWhiteSpaceChanges = IsTrue(value); });
    ReadValue(ini, QStringLiteral("IgnoreLineEndings"), kFalse,
              [&](const QString& value) { options.IgnoreLineEndings = IsTrue(value); });
    ReadValue(ini, QStringLiteral("IgnoreBlankLines"), kFalse,
              [&](const QString& value) { options.IgnoreBlankLines = IsTrue(value); });
    ReadValue(ini, QStringLiteral("FileOne"), QString(), [&](const QString& value) { paths[0] = value; });
    ReadValue(ini, QStringLiteral("FileTwo"), QString(), [&](const QString& value) { paths[1] = value; });
    ReadValue(ini, QStringLiteral("ForceTextCompare"), kFalse,
              [&](const QString& value) { options.ForceTextCompare = IsTrue(value); });
}

void ReadGridsSection(CIniFile& ini, cViewFileDiffsOptions& options)
{
    QFont& font = options.GridFont;
    ini.Section(QStringLiteral("Grids"));
    ReadValue(ini, QStringLiteral("ShowGridLines"), kTrue,
              [&](const QString& value) { options.ShowGridLines = IsTrue(value); });
    ReadValue(ini, QStringLiteral("FontBold"), kFalse, [&](const QString& value) { font.setBold(IsTrue(value)); });
    ReadValue(ini, QStringLiteral("FontItalic"), kFalse, [&](const QString& value) { font.setItalic(IsTrue(value)); });
    ReadValue(ini, QStringLiteral("FontName"), QStringLiteral("Courier New"),
              [&](const QString& value) { font.setFamily(value); });
    ReadValue(ini, QStringLiteral("FontSize"), QStringLiteral("8"),
              [&](const QString& value) { ApplyFontSize(font, LeadingNumber(value)); });
    ReadValue(ini, QStringLiteral("ShowMovedLines"), kTrue,
              [&](const QString& value) { options.ShowMovedLines = IsTrue(value); });
    ReadValue(ini, QStringLiteral("HideUnchangedLines"), kFalse,
              [&](const QString& value) { options.HideUnchangedLines = IsTrue(value); });
    ReadValue(ini, QStringLiteral("UnchangedContext"), QStringLiteral("3"),
              [&](const QString& value) { options.UnchangedContext = ContextSize(value); });
}

const QString kFolders = QStringLiteral("Folders");
const QString kSizeAndTime = QStringLiteral("SizeAndTime");
const QString kContent = QStringLiteral("Content");
using Folders = cViewFileDiffsOptions::FolderCompare;

// A time tolerance in whole seconds, from 0 to the largest the record takes.
int TimeTolerance(const QString& text)
{
    bool ok = false;
    const int seconds = text.trimmed().toInt(&ok);
    if (!ok || seconds < 0 || seconds > cViewFileDiffsOptions::FolderCompare::kLargestTimeTolerance)
        throw modVantrel::VantrelError(modVantrel::ErrorNumber::InvalidArgument,
                                       QStringLiteral("Invalid time tolerance: ") + text);
    return seconds;
}

void ReadFoldersSection(CIniFile& ini, cViewFileDiffsOptions::FolderCompare& folders)
{
    const cViewFileDiffsOptions::FolderCompare defaults;
    ini.Section(kFolders);
    ReadValue(ini, QStringLiteral("FolderOne"), QString(), [&](const QString& value) { folders.FolderOne = value; });
    ReadValue(ini, QStringLiteral("FolderTwo"), QString(), [&](const QString& value) { folders.FolderTwo = value; });
    ReadValue(ini, QStringLiteral("CompareBy"), kContent,
              [&](const QString& value) { folders.BySizeAndTime = value == kSizeAndTime; });
    ReadValue(ini, QStringLiteral("CompareAsText"), kFalse,
              [&](const QString& value) { folders.AsText = IsTrue(value); });
    ReadValue(ini, QStringLiteral("TimeTolerance"), QString::number(defaults.TimeTolerance),
              [&](const QString& value) { folders.TimeTolerance = TimeTolerance(value); });
    ReadValue(ini, QStringLiteral("IgnoreNameCase"), kFalse,
              [&](const QString& value) { folders.IgnoreNameCase = IsTrue(value); });
    ReadValue(ini, QStringLiteral("HonourGitIgnore"), kFalse,
              [&](const QString& value) { folders.HonourGitIgnore = IsTrue(value); });
    ReadValue(ini, QStringLiteral("FollowLinks"), kTrue,
              [&](const QString& value) { folders.FollowLinks = IsTrue(value); });
    ReadValue(ini, QStringLiteral("ShowIdentical"), kFalse,
              [&](const QString& value) { folders.ShowIdentical = IsTrue(value); });
    ReadValue(ini, QStringLiteral("ExcludeFiles"), Folders::PatternText(defaults.ExcludeFiles),
              [&](const QString& value) { folders.ExcludeFiles = Folders::Patterns(value); });
    ReadValue(ini, QStringLiteral("ExcludeFolders"), Folders::PatternText(defaults.ExcludeFolders),
              [&](const QString& value) { folders.ExcludeFolders = Folders::Patterns(value); });
}

QList<CIniFile::Value> FoldersValues(const cViewFileDiffsOptions::FolderCompare& folders)
{
    return {
        {kFolders, QStringLiteral("FolderOne"), folders.FolderOne},
        {kFolders, QStringLiteral("FolderTwo"), folders.FolderTwo},
        {kFolders, QStringLiteral("CompareBy"), folders.BySizeAndTime ? kSizeAndTime : kContent},
        {kFolders, QStringLiteral("CompareAsText"), FlagText(folders.AsText)},
        {kFolders, QStringLiteral("TimeTolerance"), QString::number(folders.TimeTolerance)},
        {kFolders, QStringLiteral("IgnoreNameCase"), FlagText(folders.IgnoreNameCase)},
        {kFolders, QStringLiteral("HonourGitIgnore"), FlagText(folders.HonourGitIgnore)},
        {kFolders, QStringLiteral("FollowLinks"), FlagText(folders.FollowLinks)},
        {kFolders, QStringLiteral("ShowIdentical"), FlagText(folders.ShowIdentical)},
        {kFolders, QStringLiteral("ExcludeFiles"), Folders::PatternText(folders.ExcludeFiles)},
        {kFolders, QStringLiteral("ExcludeFolders"), Folders::PatternText(folders.ExcludeFolders)},
    };
}

const QString kLineFilters = QStringLiteral("LineFilters");

QString FilterKey(qsizetype number)
{
    return QStringLiteral("Filter%1").arg(number);
}

QString EnabledKey(qsizetype number)
{
    return QStringLiteral("Filter%1Enabled").arg(number);
}

// The section's whole list in one read: Filter1, Filter2, ... up to the
// first that is missing or empty (a list cut short by hand is read as far
// as it goes), each on only when its FilterNEnabled says "True". A pattern
// is stored as its bytes between quotes, so that blanks at its ends stay.
void ReadLineFilters(CIniFile& ini, cViewFileDiffsOptions& options)
{
    ini.Section(kLineFilters);
    QHash<QString, QString> values;
    for (const CIniFile::Value& value : ini.GetSectionValues())
        values.insert(value.key.toLower(), value.value);  // (the first of a key wins)
    options.LineFilters.clear();
    for (qsizetype n = 1;; ++n) {
        const QString stored = values.value(FilterKey(n).toLower());
        if (stored.isEmpty())
            break;
        options.LineFilters.append(
            {QString::fromUtf8(FileNameText::ToBytes(stored)), IsTrue(values.value(EnabledKey(n).toLower()))});
    }
}

}  // namespace

QString IniFileName()
{
    return QFileInfo(QCoreApplication::applicationFilePath()).completeBaseName() + QStringLiteral(".ini");
}

double LeadingNumber(const QString& text)
{
    const QString trimmed = text.trimmed();
    qsizetype end = 0;
    if (end < trimmed.size() && (trimmed.at(end) == QLatin1Char('-') || trimmed.at(end) == QLatin1Char('+')))
        ++end;
    bool digits = false;
    bool point = false;
    for (; end < trimmed.size(); ++end) {
        const QChar c = trimmed.at(end);
        if (c >= QLatin1Char('0') && c <= QLatin1Char('9'))
            digits = true;
        else if (c == QLatin1Char('.') && !point)
            point = true;
        else
            break;
    }
    if (!digits)
        return 0.0;
    return trimmed.left(end).toDouble();
}

void ReadProgramOptionsFromIniFile(cViewFileDiffsOptions& options, PathTexts& paths)
{
    try {
        CIniFile ini;
        ini.Name(IniFileName());
        ReadCompareSection(ini, options, paths);
        ReadGridsSection(ini, options);
        ReadLineFilters(ini, options);
        ReadFoldersSection(ini, options.Folders);
        ini.Section(QStringLiteral("Form"));
        ReadValue(ini, QStringLiteral("PaneTooltips"), kTrue,
                  [&](const QString& value) { options.PaneTooltips = IsTrue(value); });
    } catch (...) {
        modVantrel::ReportUnexpectedError(kReadSource);
    }
}

// All keys in one write of the file: twelve rewrites of a large file made
// closing slow, and a failure half-way left some keys new and some old.
void SaveProgramOptionsToIniFile(const cViewFileDiffsOptions& options, const PathTexts& paths)
{
    try {
        const QString compare = QStringLiteral("Compare");
        const QString grids = QStringLiteral("Grids");
        const QFont& font = options.GridFont;
        CIniFile ini;
        ini.Name(IniFileName());
        QList<CIniFile::Value> values{
            {compare, QStringLiteral("IgnoreCase"), FlagText(options.IgnoreCase)},
            {compare, QStringLiteral("IgnoreWhiteSpace"), FlagText(options.IgnoreWhiteSpace)},
            {compare, QStringLiteral("IgnoreWhiteSpaceChanges"), FlagText(options.IgnoreWhiteSpaceChanges)},
            {compare, QStringLiteral("IgnoreLineEndings"), FlagText(options.IgnoreLineEndings)},
            {compare, QStringLiteral("IgnoreBlankLines"), FlagText(options.IgnoreBlankLines)},
            {compare, QStringLiteral("FileOne"), paths[0]},
            {compare, QStringLiteral("FileTwo"), paths[1]},
            {grids, QStringLiteral("ShowGridLines"), FlagText(options.ShowGridLines)},
            {grids, QStringLiteral("FontBold"), FlagText(font.bold())},
            {grids, QStringLiteral("FontItalic"), FlagText(font.italic())},
            {grids, QStringLiteral("FontName"), font.family()},
            // Always with a period: reading takes only a period as the decimal
            // point, so a locale's comma would lose the fraction on the next start.
            {grids, QStringLiteral("FontSize"), QString::number(font.pointSizeF())},
            {grids, QStringLiteral("ShowMovedLines"), FlagText(options.ShowMovedLines)},
            {grids, QStringLiteral("HideUnchangedLines"), FlagText(options.HideUnchangedLines)},
            {grids, QStringLiteral("UnchangedContext"), QString::number(options.UnchangedContext)},
            {QStringLiteral("Form"), QStringLiteral("PaneTooltips"), FlagText(options.PaneTooltips)},
        };
        values.append(FoldersValues(options.Folders));
        // An empty key after the last filter ends the list, whatever an
        // older, longer list left behind it. (None is written while there
        // never was a list.)
        ini.Section(kLineFilters);
        const bool hadFilters = !options.LineFilters.isEmpty() || !ini.GetSectionValues().isEmpty();
        qsizetype n = 0;
        for (const cViewFileDiffsOptions::LineFilter& filter : options.LineFilters) {
            ++n;
            values.append({kLineFilters, FilterKey(n), FileNameText::FromBytes('"' + filter.pattern.toUtf8() + '"')});
            values.append({kLineFilters, EnabledKey(n), FlagText(filter.enabled)});
        }
        if (hadFilters)
            values.append({kLineFilters, FilterKey(n + 1), QString()});
        ini.SetStringValues(values);
    } catch (...) {
        modVantrel::ReportUnexpectedError(QStringLiteral("modIniFile.SaveProgramOptionsToIniFile"));
    }
}

}  // namespace modIniFile

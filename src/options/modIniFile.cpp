#include "options/modIniFile.h"

#include "app/ErrorReport.h"
#include "app/VantrelError.h"
#include "options/CIniFile.h"

#include <QCoreApplication>
#include <QFileInfo>

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

QString Read(CIniFile& ini, const QString& key, const QString& defaultValue)
{
    ini.Key(key);
    return ini.GetStringValue(defaultValue);
}

void Write(CIniFile& ini, const QString& key, const QString& value)
{
    ini.Key(key);
    ini.SetStringValue(value);
}

// Sets the grids' point size, refusing sizes no font can take.
void ApplyFontSize(QFont& font, double size)
{
    if (!(size > 0.0 && size <= kLargestFontSize))
        throw modVantrel::VantrelError(modVantrel::ErrorNumber::InvalidArgument,
                                       QStringLiteral("Invalid font size: ") + QString::number(size));
    font.setPointSizeF(size);
}

void ReadCompareSection(CIniFile& ini, cViewFileDiffsOptions& options, PathTexts& paths)
{
    ini.Section(QStringLiteral("Compare"));
    options.IgnoreCase = IsTrue(Read(ini, QStringLiteral("IgnoreCase"), kFalse));
    options.IgnoreWhiteSpace = IsTrue(Read(ini, QStringLiteral("IgnoreWhiteSpace"), kFalse));
    paths[0] = Read(ini, QStringLiteral("FileOne"), QString());
    paths[1] = Read(ini, QStringLiteral("FileTwo"), QString());
    options.ForceTextCompare = IsTrue(Read(ini, QStringLiteral("ForceTextCompare"), kFalse));
}

void ReadGridsSection(CIniFile& ini, cViewFileDiffsOptions& options)
{
    ini.Section(QStringLiteral("Grids"));
    options.ShowGridLines = IsTrue(Read(ini, QStringLiteral("ShowGridLines"), kTrue));
    options.GridFont.setBold(IsTrue(Read(ini, QStringLiteral("FontBold"), kFalse)));
    options.GridFont.setItalic(IsTrue(Read(ini, QStringLiteral("FontItalic"), kFalse)));
    options.GridFont.setFamily(Read(ini, QStringLiteral("FontName"), QStringLiteral("Courier New")));
    ApplyFontSize(options.GridFont, LeadingNumber(Read(ini, QStringLiteral("FontSize"), QStringLiteral("8"))));
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
        ini.Section(QStringLiteral("Form"));
        options.PaneTooltips = IsTrue(Read(ini, QStringLiteral("PaneTooltips"), kTrue));
    } catch (...) {
        modVantrel::ReportUnexpectedError(QStringLiteral("modIniFile.ReadProgramOptionsFromIniFile"));
    }
}

void SaveProgramOptionsToIniFile(const cViewFileDiffsOptions& options, const PathTexts& paths)
{
    try {
        CIniFile ini;
        ini.Name(IniFileName());
        ini.Section(QStringLiteral("Compare"));
        Write(ini, QStringLiteral("IgnoreCase"), FlagText(options.IgnoreCase));
        Write(ini, QStringLiteral("IgnoreWhiteSpace"), FlagText(options.IgnoreWhiteSpace));
        Write(ini, QStringLiteral("FileOne"), paths[0]);
        Write(ini, QStringLiteral("FileTwo"), paths[1]);
        ini.Section(QStringLiteral("Grids"));
        Write(ini, QStringLiteral("ShowGridLines"), FlagText(options.ShowGridLines));
        const QFont& font = options.GridFont;
        Write(ini, QStringLiteral("FontBold"), FlagText(font.bold()));
        Write(ini, QStringLiteral("FontItalic"), FlagText(font.italic()));
        Write(ini, QStringLiteral("FontName"), font.family());
        // Always with a period: reading takes only a period as the decimal
        // point, so a locale's comma would lose the fraction on the next start.
        Write(ini, QStringLiteral("FontSize"), QString::number(font.pointSizeF()));
        ini.Section(QStringLiteral("Form"));
        Write(ini, QStringLiteral("PaneTooltips"), FlagText(options.PaneTooltips));
    } catch (...) {
        modVantrel::ReportUnexpectedError(QStringLiteral("modIniFile.SaveProgramOptionsToIniFile"));
    }
}

}  // namespace modIniFile

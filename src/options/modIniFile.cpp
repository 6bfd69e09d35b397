#include "options/modIniFile.h"

#include "app/ErrorReport.h"
#include "app/Globals.h"
#include "app/VantrelError.h"
#include "options/CIniFile.h"

#include <QAction>
#include <QCheckBox>
#include <QCoreApplication>
#include <QFileInfo>
#include <QLineEdit>
#include <QWidget>

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

// Sets the point size of both grids, refusing sizes no font can take.
void ApplyFontSize(const OptionControls& form, double size)
{
    if (!(size > 0.0 && size <= kLargestFontSize))
        throw modVantrel::VantrelError(modVantrel::ErrorNumber::InvalidArgument,
                                       QStringLiteral("Invalid font size: ") + QString::number(size));
    for (QWidget* grid : {form.grdFileOne, form.grdFileTwo}) {
        QFont font = grid->font();
        font.setPointSizeF(size);
        grid->setFont(font);
    }
}

template <typename Change>
void ChangeGridFonts(const OptionControls& form, Change change)
{
    for (QWidget* grid : {form.grdFileOne, form.grdFileTwo}) {
        QFont font = grid->font();
        change(font);
        grid->setFont(font);
    }
}

void ReadCompareSection(CIniFile& ini, const OptionControls& form)
{
    cViewFileDiffsOptions& options = *modVantrel::gOptions;
    ini.Section(QStringLiteral("Compare"));
    options.IgnoreCase = IsTrue(Read(ini, QStringLiteral("IgnoreCase"), kFalse));
    form.mnuOptionsIgnoreCase->setChecked(options.IgnoreCase);
    options.IgnoreWhiteSpace = IsTrue(Read(ini, QStringLiteral("IgnoreWhiteSpace"), kFalse));
    form.mnuOptionsIgnoreWhitespace->setChecked(options.IgnoreWhiteSpace);
    form.txtFileOne->setText(Read(ini, QStringLiteral("FileOne"), QString()));
    form.txtFileTwo->setText(Read(ini, QStringLiteral("FileTwo"), QString()));
    options.ForceTextCompare = IsTrue(Read(ini, QStringLiteral("ForceTextCompare"), kFalse));
}

void ReadGridsSection(CIniFile& ini, const OptionControls& form)
{
    ini.Section(QStringLiteral("Grids"));
    const bool gridLines = IsTrue(Read(ini, QStringLiteral("ShowGridLines"), kTrue));
    form.mnuOptionsShowGridLines->setChecked(gridLines);
    if (form.setGridLines)
        form.setGridLines(gridLines);
    const bool bold = IsTrue(Read(ini, QStringLiteral("FontBold"), kFalse));
    ChangeGridFonts(form, [bold](QFont& font) { font.setBold(bold); });
    const bool italic = IsTrue(Read(ini, QStringLiteral("FontItalic"), kFalse));
    ChangeGridFonts(form, [italic](QFont& font) { font.setItalic(italic); });
    const QString family = Read(ini, QStringLiteral("FontName"), QStringLiteral("Courier New"));
    ChangeGridFonts(form, [&family](QFont& font) { font.setFamily(family); });
    ApplyFontSize(form, LeadingNumber(Read(ini, QStringLiteral("FontSize"), QStringLiteral("8"))));
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

void ReadProgramOptionsFromIniFile(const OptionControls& form)
{
    try {
        CIniFile ini;
        ini.Name(IniFileName());
        ReadCompareSection(ini, form);
        ReadGridsSection(ini, form);
        ini.Section(QStringLiteral("Form"));
        const bool tooltips = IsTrue(Read(ini, QStringLiteral("PaneTooltips"), kTrue));
        form.chkTooltip->setChecked(tooltips);
    } catch (...) {
        modVantrel::ReportUnexpectedError(QStringLiteral("modIniFile.ReadProgramOptionsFromIniFile"));
    }
}

void SaveProgramOptionsToIniFile(const OptionControls& form)
{
    try {
        const cViewFileDiffsOptions& options = *modVantrel::gOptions;
        CIniFile ini;
        ini.Name(IniFileName());
        ini.Section(QStringLiteral("Compare"));
        Write(ini, QStringLiteral("IgnoreCase"), FlagText(options.IgnoreCase));
        Write(ini, QStringLiteral("IgnoreWhiteSpace"), FlagText(options.IgnoreWhiteSpace));
        Write(ini, QStringLiteral("FileOne"), form.txtFileOne->text());
        Write(ini, QStringLiteral("FileTwo"), form.txtFileTwo->text());
        ini.Section(QStringLiteral("Grids"));
        Write(ini, QStringLiteral("ShowGridLines"), FlagText(form.mnuOptionsShowGridLines->isChecked()));
        const QFont font = form.grdFileOne->font();
        Write(ini, QStringLiteral("FontBold"), FlagText(font.bold()));
        Write(ini, QStringLiteral("FontItalic"), FlagText(font.italic()));
        Write(ini, QStringLiteral("FontName"), font.family());
        // Always with a period: reading takes only a period as the decimal
        // point, so a locale's comma would lose the fraction on the next start.
        Write(ini, QStringLiteral("FontSize"), QString::number(font.pointSizeF()));
        ini.Section(QStringLiteral("Form"));
        Write(ini, QStringLiteral("PaneTooltips"), FlagText(form.chkTooltip->isChecked()));
    } catch (...) {
        modVantrel::ReportUnexpectedError(QStringLiteral("modIniFile.SaveProgramOptionsToIniFile"));
    }
}

}  // namespace modIniFile

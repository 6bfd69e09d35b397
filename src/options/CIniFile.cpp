#include "options/CIniFile.h"

#include "app/ErrorReport.h"
#include "app/Locations.h"
#include "app/Prompt.h"
#include "app/VantrelError.h"
#include "options/IniText.h"

#include <QDir>
#include <QFile>
#include <QSaveFile>

#include <cerrno>
#include <limits>

using modVantrel::MsgBox;
using modVantrel::PromptButtons;
using modVantrel::PromptIcon;

namespace {

const QString kTitle = QStringLiteral("CIniFile Error");

void ShowPropertyMessage(const QString& text)
{
    MsgBox(text, PromptButtons::Ok, PromptIcon::Critical, kTitle);
}

// The file's bytes, or nothing when it is missing or cannot be read (a
// folder, no permission): reads then give their defaults.
std::optional<QByteArray> ReadFile(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return std::nullopt;
    QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError)
        return std::nullopt;
    return bytes;
}

// The leading unsigned decimal number of a value, as the platform's integer
// profile read takes it: no digits give 0, a negative value gives 0.
qint64 LeadingInteger(const QByteArray& value)
{
    qint64 number = 0;
    for (const char c : value) {
        if (c < '0' || c > '9')
            break;
        number = number * 10 + (c - '0');
        if (number > std::numeric_limits<int>::max())
            break;
    }
    return number;
}

// Writes the whole file through a temporary file that replaces the old one
// only once completely written, so a failure half-way (full disk, crash)
// leaves the previous file intact. Gives the reason when the system refuses.
std::optional<QString> ReplaceFile(const QString& folder, const QString& path, const QByteArray& bytes)
{
    // The per-user folder does not exist before the first save.
    errno = 0;
    QDir().mkpath(folder);
    QSaveFile file(path);
    // The explicit flush: commit() takes the file's name even when the last
    // buffered bytes could not be written (a full disk), truncating it.
    if (file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size() && file.flush() && file.commit())
        return std::nullopt;
    return file.errorString();
}

}  // namespace

CIniFile::CIniFile() : m_folder(modVantrel::IniFolder())
{
}

void CIniFile::Name(const QString& pData)
{
    if (!m_fileName.isEmpty()) {
        MsgBox(QStringLiteral("This IniFile Object is already in use by ") + m_fullPath + QStringLiteral("\r\n")
                   + QStringLiteral("Create a new object."),
               PromptButtons::Ok, PromptIcon::Exclamation, kTitle);
        return;
    }
    m_fileName = pData;
    m_fullPath = m_folder + pData;
}

bool CIniFile::PropertiesAreSet(Operation operation) const
{
    const QString period = operation == Operation::Write ? QStringLiteral(".") : QString();
    if (m_fileName.isEmpty()) {
        ShowPropertyMessage(QStringLiteral("Name property must be set first"));
        return false;
    }
    if (m_section.isEmpty()) {
        ShowPropertyMessage(QStringLiteral("Section property must be set first") + period);
        return false;
    }
    if (m_key.isEmpty()) {
        ShowPropertyMessage(QStringLiteral("Key property must be set first") + period);
        return false;
    }
    return true;
}

short CIniFile::GetIntegerValue(short pDefaultValue)
{
    try {
        if (!PropertiesAreSet(Operation::Read))
            return 0;
        const std::optional<QByteArray> text = ReadFile(m_fullPath);
        const std::optional<QByteArray> value =
            text ? IniText::Read(*text, m_section.toUtf8(), m_key.toUtf8()) : std::nullopt;
        if (!value)
            return pDefaultValue;
        const qint64 number = LeadingInteger(*value);
        if (number > std::numeric_limits<short>::max())
            throw modVantrel::VantrelError(modVantrel::ErrorNumber::Overflow, QStringLiteral("Overflow"));
        return static_cast<short>(number);
    } catch (...) {
        modVantrel::ReportUnexpectedError(QStringLiteral("cIniFile.GetIntegerValue()"));
        return 0;
    }
}

QString CIniFile::GetStringValue(const QString& pDefaultValue)
{
    try {
        if (!PropertiesAreSet(Operation::Read))
            return QString();
        const std::optional<QByteArray> text = ReadFile(m_fullPath);
        const std::optional<QByteArray> value =
            text ? IniText::Read(*text, m_section.toUtf8(), m_key.toUtf8()) : std::nullopt;
        // Values are read whole: cutting them at a fixed length would
        // corrupt long paths.
        if (!value || value->isEmpty())
            return pDefaultValue;
        return QString::fromUtf8(*value);
    } catch (...) {
        modVantrel::ReportUnexpectedError(QStringLiteral("cIniFile.GetStringValue()"));
        return QString();
    }
}

void CIniFile::SetStringValue(const QString& pNewValue)
{
    try {
        if (!PropertiesAreSet(Operation::Write))
            return;
        // The first refused write is reported; the object's later writes go
        // to the same file and would only repeat the message.
        if (m_writeRefused)
            return;
        std::optional<QByteArray> text = QByteArray();
        if (QFile::exists(m_fullPath))
            text = ReadFile(m_fullPath);  // never replace a file we could not read
        const std::optional<QString> refused =
            text ? ReplaceFile(m_folder, m_fullPath,
                               IniText::Write(*text, m_section.toUtf8(), m_key.toUtf8(), pNewValue.toUtf8()))
                 : QStringLiteral("cannot read it");
        const int code = refused ? errno : 0;
        modVantrel::SetLastDllError(code);
        if (refused) {
            m_writeRefused = true;
            throw modVantrel::VantrelError(
                modVantrel::ErrorNumber::FileIo,
                QStringLiteral("Cannot save ") + m_fullPath + QStringLiteral(": ") + *refused, code);
        }
    } catch (...) {
        modVantrel::ReportUnexpectedError(QStringLiteral("cIniFile.SetStringValue()"));
    }
}

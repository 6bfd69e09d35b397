#include "options/CIniFile.h"

#include "app/ErrorReport.h"
#include "app/Globals.h"
#include "app/Locations.h"
#include "app/Prompt.h"
#include "app/VantrelError.h"
#include "engine/FileNameText.h"
#include "options/IniText.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

#include <cerrno>
#include <fcntl.h>
#include <limits>
#include <unistd.h>

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
// folder, no permission; the reason then in *why): reads give their
// defaults.
std::optional<QByteArray> ReadFile(const QString& path, QString* why = nullptr)
{
    QFile file(path);
    QByteArray bytes;
    if (file.open(QIODevice::ReadOnly))
        bytes = file.readAll();
    if (file.isOpen() && file.error() == QFileDevice::NoError)
        return bytes;
    if (why)
        *why = file.errorString();
    return std::nullopt;
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

// Why a file could not be replaced, as the user is told, and the system's
// error code.
struct Refusal {
    QString description;
    int code = 0;
};

std::optional<Refusal> MakeFolder(const QString& folder, const QString& path)
{
    const int code = modVantrel::MakeFolder(folder);
    if (code == 0)
        return std::nullopt;
    return Refusal{QStringLiteral("Cannot create the folder %1 to save %2 in: %3")
                       .arg(folder, QFileInfo(path).fileName(), modVantrel::GetApiErrorText(code)),
                   code};
}

// Writes the whole file through a temporary file that replaces the old one
// only once completely written, so a failure half-way (full disk, crash)
// leaves the previous file intact. Says which step the system refused: the
// folder, the file, or the writing.
std::optional<Refusal> ReplaceFile(const QString& folder, const QString& path, const QByteArray& bytes)
{
    // The per-user folder does not exist before the first save.
    if (std::optional<Refusal> refused = MakeFolder(folder, path))
        return refused;
    // The file is replaced by renaming a new one over it, which a writable
    // folder allows even when the file itself is read-only: a user who made
    // the file read-only is obeyed here.
    // (Asked with the effective user, whom opening a file is checked against.)
    const QByteArray name = QFile::encodeName(path);
    if (QFileInfo::exists(path) && faccessat(AT_FDCWD, name.constData(), W_OK, AT_EACCESS) != 0 && errno == EACCES)
        return Refusal{QStringLiteral("Cannot save %1: the file is read-only").arg(path), EACCES};
    QSaveFile file(path);
    errno = 0;
    if (!file.open(QIODevice::WriteOnly)) {
        const int code = errno;
        // The temporary file could not be made beside it.
        return Refusal{QStringLiteral("Cannot save %1: no file may be written in the folder %2 (%3)")
                           .arg(path, folder, file.errorString()),
                       code};
    }
    errno = 0;
    // The explicit flush: commit() takes the file's name even when the last
    // buffered bytes could not be written (a full disk), truncating it.
    if (file.write(bytes) == bytes.size() && file.flush() && file.commit())
        return std::nullopt;
    // The system's reason: Qt says "Unknown error" for a failed flush.
    const int code = errno;
    return Refusal{
        QStringLiteral("Cannot save %1: %2").arg(path, code ? modVantrel::GetApiErrorText(code) : file.errorString()),
        code};
}

// The values as the file would have held them, for the detail log: what
// the user may put into the file by hand.
QString UnsavedValues(const QString& path, const QList<CIniFile::Value>& values)
{
    QString text = QStringLiteral("Not saved to ") + path + u':';
    QString section;
    for (const CIniFile::Value& value : values) {
        if (value.section != section)
            text += QStringLiteral("\r\n[") + (section = value.section) + u']';
        text += QStringLiteral("\r\n") + value.key + u'=' + value.value;
    }
    return text;
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
    return PropertiesAreSet(m_section, m_key, operation);
}

bool CIniFile::PropertiesAreSet(const QString& section, const QString& key, Operation operation) const
{
    const QString period = operation == Operation::Write ? QStringLiteral(".") : QString();
    if (m_fileName.isEmpty()) {
        ShowPropertyMessage(QStringLiteral("Name property must be set first"));
        return false;
    }
    if (section.isEmpty()) {
        ShowPropertyMessage(QStringLiteral("Section property must be set first") + period);
        return false;
    }
    if (key.isEmpty()) {
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
        return FileNameText::FromBytes(*value);
    } catch (...) {
        modVantrel::ReportUnexpectedError(QStringLiteral("cIniFile.GetStringValue()"));
        return QString();
    }
}

QList<CIniFile::Value> CIniFile::GetSectionValues()
{
    QList<Value> values;
    try {
        if (!PropertiesAreSet(m_section, QStringLiteral("(all)"), Operation::Read))
            return {};
        const std::optional<QByteArray> text = ReadFile(m_fullPath);
        if (!text)
            return {};
        for (const IniText::Entry& entry : IniText::ReadSection(*text, m_section.toUtf8()))
            values.append({m_section, QString::fromUtf8(entry.key), FileNameText::FromBytes(entry.value)});
    } catch (...) {
        modVantrel::ReportUnexpectedError(QStringLiteral("cIniFile.GetSectionValues()"));
        return {};
    }
    return values;
}

void CIniFile::SetStringValue(const QString& pNewValue)
{
    if (PropertiesAreSet(Operation::Write))
        Write({{m_section, m_key, pNewValue}});
}

void CIniFile::SetStringValues(const QList<Value>& values)
{
    for (const Value& value : values) {
        if (!PropertiesAreSet(value.section, value.key, Operation::Write))
            return;
    }
    Write(values);
}

void CIniFile::Write(const QList<Value>& values)
{
    QString unsaved;
    try {
        // The first refused write is reported; the object's later writes go
        // to the same file and would only repeat the message.
        if (m_writeRefused)
            return;
        std::optional<QByteArray> text = QByteArray();
        QString unreadable;
        if (QFile::exists(m_fullPath))
            text = ReadFile(m_fullPath, &unreadable);  // never replace a file we could not read
        std::optional<Refusal> refused;
        if (text) {
            QList<IniText::Entry> entries;
            for (const Value& value : values)
                entries.append({value.section.toUtf8(), value.key.toUtf8(), FileNameText::ToBytes(value.value)});
            refused = ReplaceFile(m_folder, m_fullPath, IniText::Write(*text, entries));
        } else {
            refused =
                Refusal{QStringLiteral("Cannot save %1: it cannot be read (%2)").arg(m_fullPath, unreadable), errno};
        }
        modVantrel::SetLastDllError(refused ? refused->code : 0);
        if (refused) {
            m_writeRefused = true;
            unsaved = UnsavedValues(m_fullPath, values);
            throw modVantrel::VantrelError(modVantrel::ErrorNumber::FileIo, refused->description, refused->code);
        }
    } catch (...) {
        modVantrel::ReportUnexpectedError(QStringLiteral("cIniFile.SetStringValue()"), unsaved);
    }
}

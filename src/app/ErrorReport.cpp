#include "app/ErrorReport.h"

#include "app/Globals.h"
#include "app/Locations.h"
#include "app/Prompt.h"
#include "app/VantrelError.h"

#include <QDateTime>
#include <QFile>
#include <QLocale>

#include <cstring>
#include <exception>
#include <new>

namespace modVantrel {
namespace {

const QString kCrLf = QStringLiteral("\r\n");
int gLastDllError = 0;

struct PendingFailure {
    int number = ErrorNumber::Unknown;
    QString description;
    int lastDllError = 0;
};

PendingFailure ReadPendingFailure()
{
    PendingFailure failure;
    failure.lastDllError = gLastDllError;
    try {
        std::exception_ptr pending = std::current_exception();
        if (pending)
            std::rethrow_exception(pending);
        failure.description = QStringLiteral("Unknown error");
    } catch (const VantrelError& e) {
        failure.number = e.number();
        failure.description = e.description();
        failure.lastDllError = e.lastDllError();
    } catch (const std::bad_alloc&) {
        failure.number = ErrorNumber::OutOfMemory;
        failure.description = QStringLiteral("Out of memory");
    } catch (const std::exception& e) {
        failure.number = ErrorNumber::InvalidArgument;
        failure.description = QString::fromLocal8Bit(e.what());
    } catch (...) {
        failure.description = QStringLiteral("Unknown error");
    }
    return failure;
}

}  // namespace

std::optional<QString> AppendToDetailLog(const QString& message, const QString& moreInformation)
{
    // The per-user folder may not exist before the first entry.
    if (const int code = MakeFolder(LogFolder()))
        return QStringLiteral("Cannot create the folder ") + LogFolder() + QStringLiteral(": ") + GetApiErrorText(code);
    QFile log(LogFolder() + QStringLiteral("ERR_DETAIL.TXT"));
    if (!log.open(QIODevice::WriteOnly | QIODevice::Append))
        return QStringLiteral("Cannot open ") + log.fileName() + QStringLiteral(": ") + log.errorString();
    const QLocale locale = QLocale::system();
    const QDateTime now = QDateTime::currentDateTime();
    const QString stamp = locale.toString(now.date(), QLocale::ShortFormat) + QLatin1Char(' ')
                          + locale.toString(now.time(), QLocale::LongFormat);
    const QString entry = kCrLf + stamp + kCrLf + message + kCrLf + QStringLiteral("- More Information - ") + kCrLf
                          + moreInformation + kCrLf;
    const QByteArray bytes = entry.toLocal8Bit();
    if (log.write(bytes) != bytes.size() || !log.flush())
        return QStringLiteral("Cannot write ") + log.fileName() + QStringLiteral(": ") + log.errorString();
    return std::nullopt;
}

int LastDllError()
{
    return gLastDllError;
}

void SetLastDllError(int code)
{
    gLastDllError = code;
}

QString BuildErrorMessage(int number, const QString& description, int lastDllError, const QString& source)
{
    if (lastDllError == 0)
        return QStringLiteral("Error: ") + description + kCrLf + QStringLiteral("Source: ") + source + kCrLf
               + QStringLiteral("No: ") + QString::number(number) + kCrLf;
    // After a failed external call the "No:" line carries that call's code.
    return QStringLiteral("DLL Error: ") + GetApiErrorText(lastDllError) + kCrLf + QStringLiteral("Error: ")
           + description + kCrLf + QStringLiteral("Source: ") + source + kCrLf + QStringLiteral("No: ")
           + QString::number(lastDllError) + kCrLf;
}

QString GetApiErrorText(int code)
{
    const char* text = strerrordesc_np(code);
    if (text && *text)
        return QString::fromLocal8Bit(text);
    return QStringLiteral("Error (") + QString::number(code) + QStringLiteral(") not defined.");
}

void ReportUnexpectedError(const QString& source, const QString& moreInformation)
{
    // The pending failure is read before anything else can replace it.
    const PendingFailure failure = ReadPendingFailure();
    try {
        QString message = BuildErrorMessage(failure.number, failure.description, failure.lastDllError, source);
        if (!moreInformation.trimmed().isEmpty()) {
            // A log that cannot be written must not hide the failure being
            // reported, nor what was meant for the log: both are shown.
            if (const std::optional<QString> refused = AppendToDetailLog(message, moreInformation))
                message += kCrLf + moreInformation + kCrLf + kCrLf + QStringLiteral("(Not added to ERR_DETAIL.TXT: ")
                           + *refused + QStringLiteral(")") + kCrLf;
            else
                message += kCrLf + QStringLiteral("See the ERR_DETAIL.TXT file before proceeding.") + kCrLf;
        }
        message +=
            kCrLf
            + QStringLiteral("* If this problem persists, please contact our technical support staff for assistance.")
            + kCrLf;
        message += QStringLiteral("  (Refer to the Troubleshooting section of the Help file for details.)");
        MsgBox(message, PromptButtons::Ok, PromptIcon::Exclamation, QStringLiteral("Unexpected Error in ") + source);
    } catch (...) {
        const PendingFailure inner = ReadPendingFailure();
        try {
            MsgBox(QStringLiteral("An error has occured in the error handler.") + kCrLf + QString::number(inner.number)
                       + kCrLf + inner.description,
                   PromptButtons::Ok, PromptIcon::Exclamation, QStringLiteral("Error in Error Handler"));
        } catch (...) {
            // Nothing is left to tell the user with; the report never throws.
        }
    }
}

}  // namespace modVantrel

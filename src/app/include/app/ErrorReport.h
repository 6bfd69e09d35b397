#pragma once
// The central report of unexpected failures and the system's text for an
// error code.

#include <QString>
#include <optional>

namespace modVantrel {

// Call only from inside a catch block: reads the failure being handled,
// shows the report through the prompt seam and, when moreInformation is not
// blank, appends an entry to ERR_DETAIL.TXT in the log folder (Locations.h).
// When the log cannot be written, the report shows moreInformation itself
// and why the log refused it. Never throws.
void ReportUnexpectedError(const QString& source, const QString& moreInformation = QString());

// Appends an entry to ERR_DETAIL.TXT: an empty line, the date and time, the
// message, "- More Information - " and moreInformation. Gives the reason
// when the log cannot be written. For what is to be logged without a report.
std::optional<QString> AppendToDetailLog(const QString& message, const QString& moreInformation);

// The system's message text for an error code (errno on this platform),
// or "Error (<code>) not defined." when the system has none.
[[nodiscard]] QString GetApiErrorText(int code);

// The message text the report shows for a failure, before the advice lines.
// Exposed for the detail log and for tests.
[[nodiscard]] QString BuildErrorMessage(int number, const QString& description, int lastDllError,
                                        const QString& source);

}  // namespace modVantrel

#pragma once
// One print job: a painter on a printer of the system or on a PDF file, and
// the way the job ends. A PDF is written to a temporary file beside its
// target and takes the target's name only when the whole job succeeded, so
// a failed or cancelled job never leaves a file that looks complete (and a
// file that was there before stays as it was).

#include <QString>
#include <memory>
#include <stdexcept>

class QPainter;

namespace PrintOutput {

enum class Orientation { Portrait, Landscape };

// Where a job goes: the PDF file when pdfPath is set, otherwise the named
// printer.
struct Destination {
    QString printerName;
    QString pdfPath;
    [[nodiscard]] bool IsPdf() const { return !pdfPath.isEmpty(); }
};

// The output cannot be written or printed (a folder that refuses the file,
// a full disk, a printer that cannot be opened): something the user can put
// right, told in plain words rather than as an unexpected failure.
class OutputError : public std::runtime_error {
public:
    explicit OutputError(QString message) : std::runtime_error(message.toStdString()), m_message(std::move(message)) {}
    [[nodiscard]] const QString& Message() const { return m_message; }

private:
    QString m_message;
};

class PrintJob {
public:
    virtual ~PrintJob() = default;
    // Painting on the current page; the device is the painter's.
    [[nodiscard]] virtual QPainter& Painter() = 0;
    // Throws OutputError when the device refuses another page.
    virtual void NewPage() = 0;
    // Ends the job and hands it over (the PDF takes its name); throws
    // OutputError when that fails, leaving nothing behind.
    virtual void Finish() = 0;
    // Ends the job so that nothing of it is printed or kept. A job that is
    // neither finished nor aborted aborts when it is destroyed.
    virtual void Abort() = 0;
};

// Opens a job; throws OutputError when the destination cannot be opened.
[[nodiscard]] std::unique_ptr<PrintJob> OpenPrintJob(const Destination& destination, Orientation orientation,
                                                     const QString& documentName);

}  // namespace PrintOutput

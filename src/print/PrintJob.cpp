#include "print/PrintJob.h"

#include <QLocale>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QPrinter>
#include <QSaveFile>

namespace PrintOutput {
namespace {

const QString kCrLf = QStringLiteral("\r\n");

QPageLayout::Orientation ToQt(Orientation orientation)
{
    return orientation == Orientation::Landscape ? QPageLayout::Landscape : QPageLayout::Portrait;
}

// The paper a PDF gets: Letter where the system's measures are those of the
// United States, A4 elsewhere; half an inch of margin all round stands in
// for a printer's unprintable edge.
QPageLayout PdfPageLayout(Orientation orientation)
{
    const bool letter = QLocale::system().measurementSystem() == QLocale::ImperialUSSystem;
    return QPageLayout(QPageSize(letter ? QPageSize::Letter : QPageSize::A4), ToQt(orientation),
                       QMarginsF(36, 36, 36, 36), QPageLayout::Point);
}

OutputError PdfError(const QString& path, const QString& reason)
{
    return OutputError(QStringLiteral("The PDF file could not be written:") + kCrLf + path + kCrLf + kCrLf + reason);
}

class PdfJob final : public PrintJob {
public:
    PdfJob(const QString& path, Orientation orientation, const QString& documentName) : m_path(path), m_file(path)
    {
        // A temporary file in the target's folder must be possible: writing
        // straight into the target could leave half a file behind.
        m_file.setDirectWriteFallback(false);
        if (!m_file.open(QIODevice::WriteOnly))
            throw PdfError(m_path, m_file.errorString());
        m_writer = std::make_unique<QPdfWriter>(&m_file);
        m_writer->setPageLayout(PdfPageLayout(orientation));
        m_writer->setTitle(documentName);
        m_writer->setCreator(QStringLiteral("Vantrel"));
        if (!m_painter.begin(m_writer.get()))
            throw PdfError(m_path, QStringLiteral("The PDF writer could not start."));
    }
    ~PdfJob() override
    {
        if (!m_done)
            Abort();
    }
    PdfJob(const PdfJob&) = delete;
    PdfJob& operator=(const PdfJob&) = delete;

    QPainter& Painter() override { return m_painter; }

    void NewPage() override
    {
        if (!m_writer->newPage())
            throw PdfError(m_path, QStringLiteral("The PDF writer refused a new page."));
    }

    void Finish() override
    {
        m_done = true;
        m_painter.end();
        // The file remembers a failed write (a full disk anywhere in the
        // job) and then refuses to take the target's name; the last
        // buffered bytes are flushed first, as commit() would take the name
        // even when they could not be written.
        if (!m_file.flush() || !m_file.commit())
            throw PdfError(m_path, m_file.errorString());
    }

    void Abort() override
    {
        m_done = true;
        if (m_painter.isActive())
            m_painter.end();
        m_file.cancelWriting();
    }

private:
    QString m_path;
    QSaveFile m_file;
    std::unique_ptr<QPdfWriter> m_writer;
    QPainter m_painter;
    bool m_done = false;
};

class PrinterJob final : public PrintJob {
public:
    PrinterJob(const QString& name, Orientation orientation, const QString& documentName)
        : m_name(name), m_printer(QPrinter::HighResolution)
    {
        m_printer.setPrinterName(name);
        m_printer.setPageOrientation(ToQt(orientation));
        m_printer.setDocName(documentName);
        if (!m_printer.isValid() || !m_painter.begin(&m_printer))
            throw OutputError(QStringLiteral("The printer could not be opened:") + kCrLf + m_name);
    }
    ~PrinterJob() override
    {
        if (!m_done)
            Abort();
    }
    PrinterJob(const PrinterJob&) = delete;
    PrinterJob& operator=(const PrinterJob&) = delete;

    QPainter& Painter() override { return m_painter; }

    void NewPage() override
    {
        if (!m_printer.newPage())
            throw OutputError(QStringLiteral("The printer refused a new page:") + kCrLf + m_name);
    }

    void Finish() override
    {
        m_done = true;
        if (!m_painter.end() || m_printer.printerState() == QPrinter::Error)
            throw OutputError(QStringLiteral("The job could not be handed to the printer:") + kCrLf + m_name);
    }

    void Abort() override
    {
        m_done = true;
        m_printer.abort();
        if (m_painter.isActive())
            m_painter.end();
    }

private:
    QString m_name;
    QPrinter m_printer;
    QPainter m_painter;
    bool m_done = false;
};

}  // namespace

std::unique_ptr<PrintJob> OpenPrintJob(const Destination& destination, Orientation orientation,
                                       const QString& documentName)
{
    if (destination.IsPdf())
        return std::make_unique<PdfJob>(destination.pdfPath, orientation, documentName);
    return std::make_unique<PrinterJob>(destination.printerName, orientation, documentName);
}

}  // namespace PrintOutput

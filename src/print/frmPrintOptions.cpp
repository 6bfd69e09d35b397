#include "print/frmPrintOptions.h"

#include "app/ErrorReport.h"
#include "app/Prompt.h"
#include "print/PdfFileChoice.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QGroupBox>
#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <QRadioButton>

using modVantrel::PromptButtons;
using modVantrel::PromptIcon;
using modVantrelPrint::PaneJob;
using modVantrelPrint::PrintOutcome;

const QString frmPrintOptions::kSaveAsPdf = QStringLiteral("Save as PDF");

namespace {

constexpr int kTwipsPerPixel = 15;

int Pixels(int twips)
{
    return (twips + kTwipsPerPixel / 2) / kTwipsPerPixel;
}

struct Twips {
    int left, top, width, height;
};

// Names a control and places it; positions are in twips, 15 to a pixel.
template <typename Widget>
Widget* Place(Widget* widget, const char* name, Twips at)
{
    widget->setObjectName(QLatin1String(name));
    widget->setGeometry(Pixels(at.left), Pixels(at.top), Pixels(at.width), Pixels(at.height));
    return widget;
}

// A sheet with a folded corner and a few lines of text, upright or on its
// side, 32 pixels square.
QPixmap OrientationPicture(bool landscape)
{
    QPixmap picture(32, 32);
    picture.fill(Qt::transparent);
    QPainter painter(&picture);
    const QRectF sheet = landscape ? QRectF(2.5, 7.5, 27, 19) : QRectF(6.5, 2.5, 19, 27);
    const double fold = 6;
    QPolygonF outline;
    outline << sheet.topLeft() << QPointF(sheet.right() - fold, sheet.top())
            << QPointF(sheet.right(), sheet.top() + fold) << sheet.bottomRight() << sheet.bottomLeft();
    painter.setPen(QPen(Qt::black, 1));
    painter.setBrush(Qt::white);
    painter.drawPolygon(outline);
    painter.drawLine(QPointF(sheet.right() - fold, sheet.top()), QPointF(sheet.right() - fold, sheet.top() + fold));
    painter.drawLine(QPointF(sheet.right() - fold, sheet.top() + fold), QPointF(sheet.right(), sheet.top() + fold));
    painter.setPen(QPen(QColor(0, 0, 128), 1));
    for (double y = sheet.top() + fold + 3; y < sheet.bottom() - 2; y += 3)
        painter.drawLine(QPointF(sheet.left() + 3, y), QPointF(sheet.right() - 3, y));
    return picture;
}

}  // namespace

frmPrintOptions::frmPrintOptions(PrintPane left, PrintPane right, QWidget* parent, PrinterChoicesSource printers)
    : QDialog(parent, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint),
      m_left(std::move(left)), m_right(std::move(right)), m_printers(std::move(printers))
{
    setObjectName(QStringLiteral("frmPrintOptions"));
    setWindowTitle(QStringLiteral("Print Options"));
    setAccessibleDescription(
        QStringLiteral("Chooses the printer or a PDF file, which panes to print, the orientation and the header"));
    setFixedSize(Pixels(4500), Pixels(3300));
    JobSettings.progress = DialogProgressFor(this);
    // Created in the order the table lists them, which is also the tab order.
    lblPrinterName = Place(new QLabel(QStringLiteral("Printer:"), this), "lblPrinterName", {120, 180, 675, 255});
    cboPrinters = Place(new QComboBox(this), "cboPrinters", {870, 120, 3555, 315});
    cboPrinters->setAccessibleName(QStringLiteral("Printer"));
    Frame1 = Place(new QGroupBox(QStringLiteral("Print What?"), this), "Frame1", {60, 600, 1905, 2085});
    optSide[0] = Place(new QRadioButton(QStringLiteral("&Left Pane"), Frame1), "optSide0", {150, 240, 1455, 315});
    optSide[1] = Place(new QRadioButton(QStringLiteral("&Right Pane"), Frame1), "optSide1", {150, 680, 1455, 315});
    optSide[2] = Place(new QRadioButton(QStringLiteral("&Both Panes"), Frame1), "optSide2", {150, 1120, 1455, 315});
    lblFolded = Place(new QLabel(Frame1), "lblFolded", {150, 1480, 1700, 560});
    lblFolded->setWordWrap(true);
    lblFolded->hide();
    Frame2 = Place(new QGroupBox(QStringLiteral("Orientation"), this), "Frame2", {2100, 600, 2325, 1065});
    imgOrientation = Place(new QLabel(Frame2), "imgOrientation", {180, 300, 480, 480});
    // The orientation buttons reach to the frame's inner edge: at 1125 twips
    // "Landscape" is cut off in the usual Linux dialog fonts.
    optOrientation[0] =
        Place(new QRadioButton(QStringLiteral("P&ortrait"), Frame2), "optOrientation0", {960, 240, 1305, 315});
    optOrientation[1] =
        Place(new QRadioButton(QStringLiteral("L&andscape"), Frame2), "optOrientation1", {960, 570, 1305, 315});
    Frame3 = Place(new QGroupBox(QStringLiteral("Header"), this), "Frame3", {2100, 1680, 2325, 1005});
    chkPrintPageNumber =
        Place(new QCheckBox(QStringLiteral("Pa&ge Numbers"), Frame3), "chkPrintPageNumber", {210, 300, 1845, 225});
    chkPrintDateTime =
        Place(new QCheckBox(QStringLiteral("&Date/Time"), Frame3), "chkPrintDateTime", {210, 600, 1635, 225});
    cmdPrint = Place(new QPushButton(QStringLiteral("&Print"), this), "cmdPrint", {1058, 2880, 1035, 315});
    CancelButton = Place(new QPushButton(QStringLiteral("Cancel"), this), "CancelButton", {2408, 2880, 1035, 315});
    chkPrintPageNumber->setChecked(true);
    chkPrintDateTime->setChecked(true);
    cmdPrint->setDefault(true);
    imgPortrait = OrientationPicture(false);
    imgLandscape = OrientationPicture(true);
    for (int i = 0; i < 2; ++i)
        connect(optOrientation[i], &QRadioButton::toggled, this, [this, i](bool on) {
            if (on)
                optOrientation_Click(i);
        });
    connect(cmdPrint, &QPushButton::clicked, this, &frmPrintOptions::cmdPrint_Click);
    connect(CancelButton, &QPushButton::clicked, this, &frmPrintOptions::CancelButton_Click);
}

void frmPrintOptions::SetFoldedNote(const QString& note)
{
    lblFolded->setText(note);
    lblFolded->setVisible(!note.isEmpty());
}

bool frmPrintOptions::Form_Load()
{
    try {
        const PrinterChoices choices = m_printers();
        int remembered = -1;
        for (const QString& name : choices.printers) {
            cboPrinters->addItem(name, name);
            if (name == choices.current)
                remembered = cboPrinters->count() - 1;
        }
        // The PDF entry carries no printer name.
        if (choices.offerPdf)
            cboPrinters->addItem(kSaveAsPdf);
        if (cboPrinters->count() == 0) {
            modVantrel::MsgBox(QStringLiteral("There are no printers set up on your computer.\r\n"
                                              "Go to Control Panel --> Printers to add a printer."),
                               PromptButtons::Ok, PromptIcon::Critical, QStringLiteral("Print"));
            return false;
        }
        cboPrinters->setCurrentIndex(remembered >= 0 ? remembered : 0);
        optOrientation[0]->setChecked(true);
        optOrientation_Click(0);
        optSide[2]->setChecked(true);
        CentreOnParent();
    } catch (...) {
        modVantrel::ReportUnexpectedError(QStringLiteral("frmPrintOptions.Form_Load"));
    }
    return true;
}

void frmPrintOptions::CentreOnParent()
{
    if (QWidget* owner = parentWidget() ? parentWidget()->window() : nullptr)
        move(owner->frameGeometry().center() - QPoint(width() / 2, height() / 2));
}

void frmPrintOptions::optOrientation_Click(int index)
{
    imgOrientation->setPixmap(index == 0 ? imgPortrait : imgLandscape);
}

void frmPrintOptions::SetPrinterOrientation()
{
    m_orientation =
        optOrientation[0]->isChecked() ? PrintOutput::Orientation::Portrait : PrintOutput::Orientation::Landscape;
}

void frmPrintOptions::CancelButton_Click()
{
    reject();
}

std::vector<PaneJob> frmPrintOptions::ChosenJobs() const
{
    std::vector<PaneJob> jobs;
    if (!optSide[1]->isChecked())
        jobs.push_back({m_left, {}, QStringLiteral("Left Pane")});
    if (!optSide[0]->isChecked())
        jobs.push_back({m_right, {}, QStringLiteral("Right Pane")});
    return jobs;
}

bool frmPrintOptions::ChooseDestinations(std::vector<PaneJob>& jobs) const
{
    const bool pdf = !cboPrinters->currentData().isValid();
    const QStringList compared{m_left.path, m_right.path};
    QStringList taken;
    for (PaneJob& job : jobs) {
        if (!pdf) {
            job.destination.printerName = cboPrinters->currentData().toString();
            continue;
        }
        const std::optional<QString> name =
            modVantrel::Prompts().saveFile({QStringLiteral("Save ") + job.name + QStringLiteral(" as PDF"),
                                            PdfFileChoice::SuggestedPath(job.pane.path, QDir::homePath(), taken),
                                            QStringLiteral("PDF Files (*.pdf)")});
        if (!name || name->isEmpty())
            return false;
        if (const QString refusal = PdfFileChoice::Refusal(*name, compared, taken); !refusal.isEmpty()) {
            modVantrel::MsgBox(refusal, PromptButtons::Ok, PromptIcon::Exclamation, QStringLiteral("Print"));
            return false;
        }
        job.destination.pdfPath = *name;
        taken << *name;
    }
    return true;
}

void frmPrintOptions::cmdPrint_Click()
{
    try {
        std::vector<PaneJob> jobs = ChosenJobs();
        // A cancelled or refused file name leaves the dialog open with
        // nothing printed.
        if (!ChooseDestinations(jobs))
            return;
        modVantrelPrint::JobOptions options = JobSettings;
        options.pageNumbers = chkPrintPageNumber->isChecked();
        options.dateTime = chkPrintDateTime->isChecked();
        SetPrinterOrientation();
        options.orientation = m_orientation;
        const PrintOutcome outcome = modVantrelPrint::PrintFileDiffs(jobs, options);
        accept();
        // Only when every job was printed; a failure has been reported and
        // a cancelled job needs no word.
        if (outcome == PrintOutcome::Printed)
            modVantrel::MsgBox(QStringLiteral("Printing is complete."), PromptButtons::Ok, PromptIcon::Information,
                               QStringLiteral("Print"));
    } catch (...) {
        modVantrel::ReportUnexpectedError(QStringLiteral("frmPrintOptions.cmdPrint_Click"));
    }
}

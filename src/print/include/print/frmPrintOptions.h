#pragma once
// The "Print Options" dialog: which printer, which pane or panes, the
// orientation and what the header carries. It keeps nothing between uses:
// the window makes a fresh one every time.

#include "print/PrinterChoices.h"
#include "print/PrintRows.h"
#include "print/modVantrelPrint.h"

#include <QDialog>
#include <QPixmap>
#include <array>

class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QPushButton;
class QRadioButton;

class frmPrintOptions : public QDialog {
    Q_OBJECT
public:
    // left and right: the panes as the window shows them (File One, File Two).
    frmPrintOptions(PrintPane left, PrintPane right, QWidget* parent = nullptr,
                    PrinterChoicesSource printers = SystemPrinters);

    // Fills and presets the controls and centres the dialog on its parent.
    // False, after telling the user, when there is no printer to offer: the
    // dialog is then not shown.
    [[nodiscard]] bool Form_Load();
    void optOrientation_Click(int index);
    void SetPrinterOrientation();
    void cmdPrint_Click();
    void CancelButton_Click();
    // Says, under the panes to print, that they print as the window shows
    // them folded; an empty note says nothing.
    void SetFoldedNote(const QString& note);

    // The orientation the jobs get, as SetPrinterOrientation last set it.
    [[nodiscard]] PrintOutput::Orientation PrinterOrientation() const { return m_orientation; }
    // How jobs show progress and take their date; tests replace these.
    modVantrelPrint::JobOptions JobSettings;

    static const QString kSaveAsPdf;

    QLabel* lblPrinterName;
    QComboBox* cboPrinters;
    QGroupBox* Frame1;
    std::array<QRadioButton*, 3> optSide{};  // Left Pane, Right Pane, Both Panes
    QGroupBox* Frame2;
    QLabel* imgOrientation;
    std::array<QRadioButton*, 2> optOrientation{};  // Portrait, Landscape
    QGroupBox* Frame3;
    QCheckBox* chkPrintPageNumber;
    QCheckBox* chkPrintDateTime;
    QLabel* lblFolded;
    QPushButton* cmdPrint;
    QPushButton* CancelButton;
    QPixmap imgPortrait;
    QPixmap imgLandscape;

private:
    [[nodiscard]] std::vector<modVantrelPrint::PaneJob> ChosenJobs() const;
    // Sets every job's destination; false when the user cancelled a file
    // name or was refused one.
    [[nodiscard]] bool ChooseDestinations(std::vector<modVantrelPrint::PaneJob>& jobs) const;
    void CentreOnParent();

    PrintPane m_left;
    PrintPane m_right;
    PrinterChoicesSource m_printers;
    PrintOutput::Orientation m_orientation = PrintOutput::Orientation::Portrait;
};

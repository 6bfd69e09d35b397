// File > Print in the main window: a fresh dialog every time, centred on
// the window, printing what the grids show and leaving their selection.

#include "PdfReadBack.h"
#include "mainwindow/WindowFixture.h"
#include "print/frmPrintOptions.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QRadioButton>

class tst_PrintCommand : public QObject {
    Q_OBJECT

    WindowFixture m_fixture;

private slots:
    void init() { m_fixture.setUp(); }
    void cleanup() { m_fixture.tearDown(); }

    void printsTheGridsAndKeepsTheSelection()
    {
        frmFileDiffs& form = m_fixture.load(true);
        ShownComparison::Show(form);
        form.txtFileOne->setText(QStringLiteral("typed after the comparison.txt"));
        form.txtFileTwo->setText(QStringLiteral("/tmp/right.txt"));
        for (VGrid* grid : {form.grdFileOne, form.grdFileTwo}) {
            grid->SetRow(77);
            grid->SetTopRow(70);
        }
        QTemporaryDir dir;
        const QStringList pdfs{dir.filePath(QStringLiteral("one.pdf")), dir.filePath(QStringLiteral("two.pdf"))};
        m_fixture.prompts->textAnswers = {pdfs[0], pdfs[1]};
        int shown = 0;
        m_fixture.prompts->whileModalShown = [&](QWidget* window) {
            auto* dialog = qobject_cast<frmPrintOptions*>(window);
            QVERIFY(dialog);
            const QPoint offset = dialog->frameGeometry().center() - form.frameGeometry().center();
            QVERIFY2(offset.manhattanLength() <= 2, "the dialog is not centred on the window");
            // Whatever the last one was left at, a new one starts from its presets.
            QVERIFY(dialog->optOrientation[0]->isChecked() && dialog->optSide[2]->isChecked());
            QVERIFY(dialog->chkPrintPageNumber->isChecked() && dialog->chkPrintDateTime->isChecked());
            if (++shown == 1) {
                dialog->optOrientation[1]->setChecked(true);
                dialog->optSide[0]->setChecked(true);
                dialog->chkPrintPageNumber->setChecked(false);
                dialog->chkPrintDateTime->setChecked(false);
                dialog->CancelButton_Click();
                return;
            }
            dialog->cboPrinters->setCurrentText(frmPrintOptions::kSaveAsPdf);
            dialog->cmdPrint_Click();
        };
        form.mnuFilePrint_Click();
        form.mnuFilePrint_Click();
        QCOMPARE(m_fixture.prompts->modalWindows, QStringList({"frmPrintOptions", "frmPrintOptions"}));
        QCOMPARE(m_fixture.prompts->lastMessage().text, QStringLiteral("Printing is complete."));
        for (const VGrid* grid : {form.grdFileOne, form.grdFileTwo}) {
            QCOMPARE(grid->Row(), 77);
            QCOMPARE(grid->TopRow(), 70);
        }
        // Each pane prints its grid's rows, coloured ones bold, under the
        // path box's text as it stands now.
        const VGrid* grids[] = {form.grdFileOne, form.grdFileTwo};
        const QString paths[] = {form.txtFileOne->text(), form.txtFileTwo->text()};
        for (int pane = 0; pane < 2; ++pane) {
            QStringList expected;
            for (int row = 1; row < grids[pane]->Rows(); ++row)
                if (const QString text = grids[pane]->TextMatrix(row); !text.isEmpty())
                    expected << (grids[pane]->CellBackColor(row) ? "b" : "r") + text;
            QStringList printed;
            for (const PdfReadBack::Page& page : PdfReadBack::Pages(pdfs[pane])) {
                QCOMPARE(page.lines.value(1).text, paths[pane]);
                for (qsizetype i = 2; i < page.lines.size(); ++i)
                    printed << (page.lines[i].bold ? "b" : "r") + page.lines[i].text;
            }
            QCOMPARE(printed, expected);
        }
    }
};

QTEST_MAIN(tst_PrintCommand)
#include "tst_PrintCommand.moc"

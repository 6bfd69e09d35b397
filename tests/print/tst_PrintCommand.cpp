// File > Print in the main window: a fresh dialog every time, centred on
// the window, printing what the grids show and leaving their selection.

#include "PdfReadBack.h"
#include "mainwindow/WindowFixture.h"
#include "print/frmPrintOptions.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
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
        ShownComparison::Show(m_fixture);
        m_fixture.grid(1)->SetTopRow(70);
        m_fixture.selectRow(77);
        const QString paths[] = {m_fixture.box(1)->text(), m_fixture.box(2)->text()};
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
        m_fixture.action("mnuFilePrint")->trigger();
        m_fixture.action("mnuFilePrint")->trigger();
        QCOMPARE(m_fixture.prompts->modalWindows, QStringList({"frmPrintOptions", "frmPrintOptions"}));
        QCOMPARE(m_fixture.prompts->lastMessage().text, QStringLiteral("Printing is complete."));
        for (const VGrid* grid : {m_fixture.grid(1), m_fixture.grid(2)}) {
            QCOMPARE(grid->Row(), 77);
            QCOMPARE(grid->TopRow(), 70);
        }
        QCOMPARE(m_fixture.Model().CurrentRow(), 77);
        // Each pane prints its grid's rows, coloured ones bold, under the
        // path of its file.
        const VGrid* grids[] = {m_fixture.grid(1), m_fixture.grid(2)};
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

    // With Hide Unchanged Lines on, a pane prints as it is shown: the rows
    // around the differences, and each fold as its row; the dialog says so.
    void printsTheFoldedRows()
    {
        m_fixture.load(true);
        m_fixture.action("mnuViewHideUnchangedLines")->trigger();
        ShownComparison::Show(m_fixture);
        QTemporaryDir dir;
        const QString pdf = dir.filePath(QStringLiteral("one.pdf"));
        m_fixture.prompts->textAnswers = {pdf};
        m_fixture.prompts->whileModalShown = [&](QWidget* window) {
            auto* dialog = qobject_cast<frmPrintOptions*>(window);
            QVERIFY(dialog && dialog->lblFolded->isVisibleTo(dialog) && !dialog->lblFolded->text().isEmpty());
            dialog->optSide[0]->setChecked(true);
            dialog->cboPrinters->setCurrentText(frmPrintOptions::kSaveAsPdf);
            dialog->cmdPrint_Click();
        };
        m_fixture.action("mnuFilePrint")->trigger();
        QStringList expected;
        for (int row = 1; row <= 151; ++row)
            if (row <= 12 || row >= 148)
                expected << m_fixture.grid(1)->TextMatrix(row);
        expected.removeAll(QString());
        expected.insert(11, RowFolding::FoldText(135));
        QStringList printed;
        for (const PdfReadBack::Page& page : PdfReadBack::Pages(pdf))
            for (qsizetype i = 2; i < page.lines.size(); ++i)
                printed << page.lines[i].text;
        QCOMPARE(printed, expected);
    }
};

QTEST_MAIN(tst_PrintCommand)
#include "tst_PrintCommand.moc"

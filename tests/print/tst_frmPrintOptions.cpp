// The print options dialog as the user meets it: its controls, their
// captions, places and presets, the orientation picture, the printer list,
// and closing it with Esc; File > Print in the main window, a fresh dialog
// every time, centred on the window, printing what the grids show, folds as
// shown, and leaving their selection.

#include "PdfReadBack.h"
#include "mainwindow/WindowFixture.h"
#include "print/frmPrintOptions.h"
#include "support/ScriptedPrompts.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QStyle>
#include <QStyleOption>
#include <QTest>

namespace {

struct NoRows final : PrintRows {
    int RowCount() const override { return 1; }
    QString RowText(int, int) const override { return QString(); }
    std::uint32_t RowColor(int) const override { return 0; }
};

int CaptionRoom(const QWidget* widget)
{
    const bool radio = qobject_cast<const QRadioButton*>(widget), check = qobject_cast<const QCheckBox*>(widget);
    if (!radio && !check)
        return widget->width();
    QStyleOptionButton option;
    option.initFrom(widget);
    const auto element = radio ? QStyle::SE_RadioButtonContents : QStyle::SE_CheckBoxContents;
    return widget->style()->subElementRect(element, &option, widget).width();
}

}  // namespace

class tst_frmPrintOptions : public QObject {
    Q_OBJECT

    NoRows m_rows;
    std::optional<ScriptedPrompts> m_prompts;  // made afresh for every test
    WindowFixture w;                           // set up by the main window's test alone

    std::unique_ptr<frmPrintOptions> Dialog(PrinterChoices choices)
    {
        return std::make_unique<frmPrintOptions>(PrintPane{&m_rows, "a"}, PrintPane{&m_rows, "b"}, nullptr,
                                                 [choices] { return choices; });
    }

private slots:
    void init() { m_prompts.emplace(); }
    void cleanup() { w.tearDown(); }

    // Every control in tab order with its caption and container; each lies
    // inside its container, apart from the others, and shows its caption
    // whole.
    void controls()
    {
        const auto dialog = Dialog({});
        QVERIFY(dialog->Form_Load());
        QCOMPARE(dialog->windowTitle(), QStringLiteral("Print Options"));
        QCOMPARE(dialog->minimumSize(), dialog->maximumSize());
        QCOMPARE(dialog->size(), QSize(300, 220));  // 4500 by 3300 twips
        // Places round to the nearest pixel: Print stands 1058 twips in, 70.53 pixels.
        QCOMPARE(dialog->cmdPrint->x(), 71);
        const char* const table[][3] = {
            {"lblPrinterName", "Printer:", "frmPrintOptions"},
            {"cboPrinters", "", "frmPrintOptions"},
            {"Frame1", "Print What?", "frmPrintOptions"},
            {"optSide0", "&Left Pane", "Frame1"},
            {"optSide1", "&Right Pane", "Frame1"},
            {"optSide2", "&Both Panes", "Frame1"},
            {"Frame2", "Orientation", "frmPrintOptions"},
            {"imgOrientation", "", "Frame2"},
            {"optOrientation0", "P&ortrait", "Frame2"},
            {"optOrientation1", "L&andscape", "Frame2"},
            {"Frame3", "Header", "frmPrintOptions"},
            {"chkPrintPageNumber", "Pa&ge Numbers", "Frame3"},
            {"chkPrintDateTime", "&Date/Time", "Frame3"},
            {"cmdPrint", "&Print", "frmPrintOptions"},
            {"CancelButton", "Cancel", "frmPrintOptions"},
        };
        QStringList focusOrder;
        QList<const QWidget*> placed;
        for (const auto& [name, caption, container] : table) {
            const auto* widget = dialog->findChild<QWidget*>(QLatin1String(name));
            QVERIFY2(widget && widget->parentWidget()->objectName() == QLatin1String(container), name);
            const bool box = qobject_cast<const QGroupBox*>(widget);
            QCOMPARE(widget->property(box ? "title" : "text").toString(), QString::fromLatin1(caption));
            QVERIFY2(widget->parentWidget()->rect().contains(widget->geometry()), name);
            const int captionWidth = widget->fontMetrics().horizontalAdvance(QString::fromLatin1(caption).remove(u'&'));
            QVERIFY2(box || captionWidth <= CaptionRoom(widget), name);
            for (const QWidget* other : placed)
                if (other->parentWidget() == widget->parentWidget())
                    QVERIFY2(!other->geometry().intersects(widget->geometry()), name);
            placed << widget;
            if (widget->focusPolicy() & Qt::TabFocus)
                focusOrder << widget->objectName();
        }
        QStringList chain;
        for (QWidget* at = dialog->cboPrinters; chain.size() < focusOrder.size(); at = at->nextInFocusChain())
            if (focusOrder.contains(at->objectName()))
                chain << at->objectName();
        QCOMPARE(chain, focusOrder);
        QVERIFY(dialog->cmdPrint->isDefault());
        // Esc closes it without asking for or printing anything.
        dialog->show();
        QTest::keyClick(dialog.get(), Qt::Key_Escape);
        QVERIFY(!dialog->isVisible());
        QCOMPARE(dialog->result(), int(QDialog::Rejected));
        QVERIFY(m_prompts->files.isEmpty() && m_prompts->messages.isEmpty());
    }

    // The picture beside the orientation buttons: a sheet in a page's
    // proportions (19 by 27 pixels inside its outline) centred in the 32-pixel
    // square, upright or on its side, its top right corner folded down 6
    // pixels, a line of text every 3 pixels from 3 below the fold to 2 above
    // the bottom, 3 pixels in from either side.
    void orientationPicture_data()
    {
        QTest::addColumn<QList<int>>("clicks");  // the orientation buttons clicked after Form_Load
        QTest::addColumn<QRect>("sheet");        // the outline's pixels
        QTest::addColumn<QList<int>>("lines");   // the rows of the text lines
        const QRect upright(6, 2, 20, 28);
        const QList<int> uprightLines{11, 14, 17, 20, 23, 26};
        QTest::newRow("as it opens: portrait") << QList<int>{} << upright << uprightLines;
        QTest::newRow("landscape") << QList<int>{1} << QRect(2, 7, 28, 20) << QList<int>{16, 19, 22};
        QTest::newRow("back to portrait") << QList<int>{1, 0} << upright << uprightLines;
    }

    void orientationPicture()
    {
        QFETCH(QList<int>, clicks);
        QFETCH(QRect, sheet);
        QFETCH(QList<int>, lines);
        const auto dialog = Dialog({});
        QVERIFY(dialog->Form_Load());
        for (const int button : clicks)
            dialog->optOrientation[button]->click();
        const QImage image = dialog->imgOrientation->pixmap().toImage();
        QCOMPARE(image.size(), QSize(32, 32));
        QRect opaque;
        qsizetype navy = 0;  // dots of the text lines' colour
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x) {
                opaque |= image.pixelColor(x, y).alpha() ? QRect(x, y, 1, 1) : QRect();
                navy += image.pixelColor(x, y) == QColor(0, 0, 128);
            }
        QCOMPARE(opaque, sheet);
        // The text lines are whole, and nothing else has their colour.
        for (const int y : lines)
            for (int x = sheet.left() + 3; x <= sheet.right() - 3; ++x)
                QCOMPARE(image.pixelColor(x, y), QColor(0, 0, 128));
        QCOMPARE(navy, lines.size() * (sheet.width() - 6));
        // The outline's corners, the folded one cut off.
        for (const QPoint corner : {sheet.topLeft(), sheet.bottomLeft(), sheet.bottomRight()})
            QCOMPARE(image.pixelColor(corner), QColor(Qt::black));
        QCOMPARE(image.pixelColor(sheet.topRight()).alpha(), 0);
    }

    // The printers offered, the one selected; no entry at all is refused. The PDF entry alone: tst_PrintedPdf.
    void printerList_data()
    {
        QTest::addColumn<PrinterChoices>("choices");
        QTest::addColumn<QStringList>("entries");  // the selected one first
        const QStringList two{"Laser", "Ink"};
        QTest::newRow("the current printer")
            << PrinterChoices{two, "Ink", true} << QStringList{"Ink", "Laser", "Ink", "Save as PDF"};
        QTest::newRow("current not listed: the first")
            << PrinterChoices{two, "Gone", true} << QStringList{"Laser", "Laser", "Ink", "Save as PDF"};
        QTest::newRow("nothing at all") << PrinterChoices{{}, {}, false} << QStringList{};
    }

    void printerList()
    {
        QFETCH(PrinterChoices, choices);
        QFETCH(QStringList, entries);
        const auto dialog = Dialog(choices);
        QCOMPARE(dialog->Form_Load(), !entries.isEmpty());
        QStringList shown{dialog->cboPrinters->currentText()};
        for (int i = 0; i < dialog->cboPrinters->count(); ++i)
            shown << dialog->cboPrinters->itemText(i);
        QCOMPARE(shown, entries.isEmpty() ? QStringList{QString()} : entries);
        QCOMPARE(m_prompts->messages.size(), entries.isEmpty() ? 1 : 0);
        if (entries.isEmpty()) {
            QCOMPARE(m_prompts->lastMessage().text,
                     QStringLiteral("There are no printers set up on your computer.\r\n"
                                    "Go to Control Panel --> Printers to add a printer."));
            QCOMPARE(m_prompts->lastMessage().title, QStringLiteral("Print"));
            QCOMPARE(m_prompts->lastMessage().icon, modVantrel::PromptIcon::Critical);
        }
    }

    // File > Print: a fresh dialog every time, centred on the window; each
    // pane prints its grid's rows, coloured ones bold, under the path of its
    // file, and the grids keep their selection. With Hide Unchanged Lines
    // on, a pane prints as it is shown: the rows around the differences, and
    // each fold as its row; the dialog says so.
    void printsTheGridsAndKeepsTheSelection()
    {
        w.setUp();
        frmFileDiffs& form = w.load(true);
        ShownComparison::Show(w);
        w.grid(1)->SetTopRow(70);
        w.selectRow(77);
        const QString paths[] = {w.box(1)->text(), w.box(2)->text()};
        QTemporaryDir dir;
        const QStringList pdfs{dir.filePath(QStringLiteral("one.pdf")), dir.filePath(QStringLiteral("two.pdf")),
                               dir.filePath(QStringLiteral("folded.pdf"))};
        w.prompts->textAnswers.assign(pdfs.cbegin(), pdfs.cend());
        int shown = 0;
        w.prompts->whileModalShown = [&](QWidget* window) {
            auto* dialog = qobject_cast<frmPrintOptions*>(window);
            QVERIFY(dialog);
            const QPoint offset = dialog->frameGeometry().center() - form.frameGeometry().center();
            QVERIFY2(offset.manhattanLength() <= 2, "the dialog is not centred on the window");
            // Whatever the last one was left at, a new one starts from its presets.
            QVERIFY(dialog->optOrientation[0]->isChecked() && dialog->optSide[2]->isChecked());
            QVERIFY(dialog->chkPrintPageNumber->isChecked() && dialog->chkPrintDateTime->isChecked());
            QCOMPARE(dialog->lblFolded->isVisibleTo(dialog), ++shown == 3);
            if (shown == 1) {
                dialog->optOrientation[1]->setChecked(true);
                dialog->optSide[0]->setChecked(true);
                dialog->chkPrintPageNumber->setChecked(false);
                dialog->chkPrintDateTime->setChecked(false);
                dialog->CancelButton_Click();
                return;
            }
            if (shown == 3) {
                QVERIFY(!dialog->lblFolded->text().isEmpty());
                dialog->optSide[0]->setChecked(true);
            }
            dialog->cboPrinters->setCurrentText(frmPrintOptions::kSaveAsPdf);
            dialog->cmdPrint_Click();
        };
        w.action("mnuFilePrint")->trigger();
        w.action("mnuFilePrint")->trigger();
        QCOMPARE(w.prompts->modalWindows, QStringList({"frmPrintOptions", "frmPrintOptions"}));
        // What a PDF holds under each page's title and path, "b" before a bold
        // row and "r" before another; a page's path line that is not `path`
        // is kept among them, to show as a difference.
        const auto printed = [](const QString& pdf, const QString& path) {
            QStringList rows;
            for (const PdfReadBack::Page& page : PdfReadBack::Pages(pdf))
                for (qsizetype i = 1; i < page.lines.size(); ++i)
                    if (i > 1 || page.lines[i].text != path)
                        rows << (page.lines[i].bold ? "b" : "r") + page.lines[i].text;
            return rows;
        };
        QCOMPARE(w.Model().CurrentRow(), 77);
        for (int pane = 0; pane < 2; ++pane) {
            const VGrid* grid = w.grid(pane + 1);
            QCOMPARE(grid->Row(), 77);
            QCOMPARE(grid->TopRow(), 70);
            QStringList expected;
            for (int row = 1; row < grid->Rows(); ++row)
                if (const QString text = grid->TextMatrix(row); !text.isEmpty())
                    expected << (grid->CellBackColor(row) ? "b" : "r") + text;
            QCOMPARE(printed(pdfs[pane], paths[pane]), expected);
        }
        w.selectRow(2);
        w.action("mnuViewHideUnchangedLines")->trigger();
        w.action("mnuFilePrint")->trigger();
        QStringList expected;
        for (int row = 1; row <= 151; ++row)
            if (const QString text = w.grid(1)->TextMatrix(row); !text.isEmpty() && (row <= 12 || row >= 148))
                expected << (w.grid(1)->CellBackColor(row) ? "b" : "r") + text;
        expected.insert(11, "r" + RowFolding::FoldText(135));
        QCOMPARE(printed(pdfs[2], paths[0]), expected);
    }
};

QTEST_MAIN(tst_frmPrintOptions)
#include "tst_frmPrintOptions.moc"

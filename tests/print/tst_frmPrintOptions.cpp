// The print options dialog as the user meets it: its controls, their
// captions, places and presets, the printer list, and closing it with Esc.

#include "print/frmPrintOptions.h"
#include "support/ScriptedPrompts.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

using modVantrel::PromptIcon;

namespace {

class NoRows final : public PrintRows {
public:
    int RowCount() const override { return 1; }
    QString RowText(int, int) const override { return QString(); }
    std::uint32_t RowColor(int) const override { return 0; }
};

QString Caption(const QWidget* widget)
{
    if (const auto* label = qobject_cast<const QLabel*>(widget))
        return label->text();
    if (const auto* box = qobject_cast<const QGroupBox*>(widget))
        return box->title();
    if (const auto* button = qobject_cast<const QAbstractButton*>(widget))
        return button->text();
    return QString();
}

}  // namespace

class tst_frmPrintOptions : public QObject {
    Q_OBJECT

    NoRows m_rows;
    std::unique_ptr<ScriptedPrompts> m_prompts;

    std::unique_ptr<frmPrintOptions> Dialog(PrinterChoices choices)
    {
        return std::make_unique<frmPrintOptions>(PrintPane{&m_rows, "a"}, PrintPane{&m_rows, "b"}, nullptr,
                                                 [choices] { return choices; });
    }

private slots:
    void init() { m_prompts = std::make_unique<ScriptedPrompts>(); }
    void cleanup() { m_prompts.reset(); }

    // Every control in tab order: caption, container and place in twips.
    void controls()
    {
        const auto dialog = Dialog({});
        QVERIFY(dialog->Form_Load());
        QCOMPARE(dialog->windowTitle(), QStringLiteral("Print Options"));
        QCOMPARE(dialog->minimumSize(), dialog->maximumSize());
        QCOMPARE(dialog->size(), QSize(300, 220));  // 4500 x 3300 twips
        struct Control {
            const char* name;
            const char* caption;
            const char* container;
            QRect twips;
        };
        const Control table[] = {
            {"lblPrinterName", "Printer:", "frmPrintOptions", {120, 180, 675, 255}},
            {"cboPrinters", "", "frmPrintOptions", {870, 120, 3555, 315}},
            {"Frame1", "Print What?", "frmPrintOptions", {60, 600, 1905, 2085}},
            {"optSide0", "&Left Pane", "Frame1", {150, 240, 1455, 315}},
            {"optSide1", "&Right Pane", "Frame1", {150, 680, 1455, 315}},
            {"optSide2", "&Both Panes", "Frame1", {150, 1120, 1455, 315}},
            {"Frame2", "Orientation", "frmPrintOptions", {2100, 600, 2325, 1065}},
            {"imgOrientation", "", "Frame2", {180, 300, 480, 480}},
            // Widened from 1125 so that "Landscape" shows whole.
            {"optOrientation0", "P&ortrait", "Frame2", {960, 240, 1305, 315}},
            {"optOrientation1", "L&andscape", "Frame2", {960, 570, 1305, 315}},
            {"Frame3", "Header", "frmPrintOptions", {2100, 1680, 2325, 1005}},
            {"chkPrintPageNumber", "Pa&ge Numbers", "Frame3", {210, 300, 1845, 225}},
            {"chkPrintDateTime", "&Date/Time", "Frame3", {210, 600, 1635, 225}},
            {"cmdPrint", "&Print", "frmPrintOptions", {1058, 2880, 1035, 315}},
            {"CancelButton", "Cancel", "frmPrintOptions", {2408, 2880, 1035, 315}},
        };
        const auto px = [](int twips) { return (twips + 7) / 15; };
        QStringList focusOrder;
        for (const Control& c : table) {
            const auto* widget = dialog->findChild<QWidget*>(QLatin1String(c.name));
            QVERIFY2(widget, c.name);
            QCOMPARE(Caption(widget), QString::fromLatin1(c.caption));
            QCOMPARE(widget->parentWidget()->objectName(), QLatin1String(c.container));
            QCOMPARE(widget->geometry(), QRect(px(c.twips.x()), px(c.twips.y()), px(c.twips.width()), px(c.twips.height())));
            if (widget->focusPolicy() & Qt::TabFocus)
                focusOrder << widget->objectName();
        }
        QStringList chain;
        for (QWidget* w = dialog->cboPrinters; chain.size() < focusOrder.size(); w = w->nextInFocusChain())
            if (focusOrder.contains(w->objectName()))
                chain << w->objectName();
        QCOMPARE(chain, focusOrder);
        // Presets: portrait with its picture, both panes, both header boxes.
        QVERIFY(dialog->optOrientation[0]->isChecked() && dialog->optSide[2]->isChecked());
        QVERIFY(dialog->chkPrintPageNumber->isChecked() && dialog->chkPrintDateTime->isChecked());
        QCOMPARE(dialog->imgOrientation->pixmap().toImage(), dialog->imgPortrait.toImage());
        dialog->optOrientation[1]->click();
        QCOMPARE(dialog->imgOrientation->pixmap().toImage(), dialog->imgLandscape.toImage());
        QVERIFY(dialog->imgPortrait.toImage() != dialog->imgLandscape.toImage());
        QVERIFY(dialog->cmdPrint->isDefault());
        // Esc closes it without asking for or printing anything.
        dialog->show();
        QTest::keyClick(dialog.get(), Qt::Key_Escape);
        QVERIFY(!dialog->isVisible());
        QCOMPARE(dialog->result(), int(QDialog::Rejected));
        QVERIFY(m_prompts->files.isEmpty() && m_prompts->messages.isEmpty());
    }

    void printerList_data()
    {
        QTest::addColumn<QStringList>("printers");
        QTest::addColumn<QString>("current");
        QTest::addColumn<bool>("offerPdf");
        QTest::addColumn<QStringList>("entries");  // empty: the no-printer message
        QTest::addColumn<QString>("selected");
        QTest::newRow("the current printer") << QStringList{"Laser", "Ink"} << "Ink" << true
                                             << QStringList{"Laser", "Ink", "Save as PDF"} << "Ink";
        QTest::newRow("current not listed: the first") << QStringList{"Laser", "Ink"} << "Gone" << true
                                                       << QStringList{"Laser", "Ink", "Save as PDF"} << "Laser";
        QTest::newRow("no printer: the PDF entry") << QStringList{} << "" << true << QStringList{"Save as PDF"}
                                                   << "Save as PDF";
        QTest::newRow("nothing at all") << QStringList{} << "" << false << QStringList{} << "";
    }

    void printerList()
    {
        QFETCH(QStringList, printers);
        QFETCH(QString, current);
        QFETCH(bool, offerPdf);
        QFETCH(QStringList, entries);
        QFETCH(QString, selected);
        const auto dialog = Dialog({printers, current, offerPdf});
        QCOMPARE(dialog->Form_Load(), !entries.isEmpty());
        QStringList shown;
        for (int i = 0; i < dialog->cboPrinters->count(); ++i)
            shown << dialog->cboPrinters->itemText(i);
        if (entries.isEmpty()) {
            QCOMPARE(m_prompts->messages.size(), 1);
            QCOMPARE(m_prompts->lastMessage().text, QStringLiteral("There are no printers set up on your computer.\r\n"
                                                                   "Go to Control Panel --> Printers to add a printer."));
            QCOMPARE(m_prompts->lastMessage().title, QStringLiteral("Print"));
            QCOMPARE(m_prompts->lastMessage().icon, PromptIcon::Critical);
            return;
        }
        QCOMPARE(shown, entries);
        QCOMPARE(dialog->cboPrinters->currentText(), selected);
        QVERIFY(m_prompts->messages.isEmpty());
    }
};

QTEST_MAIN(tst_frmPrintOptions)
#include "tst_frmPrintOptions.moc"

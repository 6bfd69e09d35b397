// The manual as the help window shows it, and the topics the program opens.

#include "help/HelpWindow.h"
#include "support/Palettes.h"

#include <QScrollBar>
#include <QSet>
#include <QTest>
#include <QTextBlock>
#include <QTextBrowser>
#include <QTextTable>
#include <QTextDocument>

namespace {

const QString kFolder = qEnvironmentVariable("VANTREL_SOURCE_DIR") + QStringLiteral("/data/help/");

// What a piece of text stands on: its own background, its paragraph's,
// its table cell's, or the page's.
QColor Ground(const QTextCursor& at, const QTextCharFormat& format, const QColor& page)
{
    if (format.background().style() != Qt::NoBrush)
        return format.background().color();
    if (at.blockFormat().background().style() != Qt::NoBrush)
        return at.blockFormat().background().color();
    if (const QTextTable* table = at.currentTable()) {
        const QBrush cell = table->cellAt(at).format().background();
        if (cell.style() != Qt::NoBrush)
            return cell.color();
    }
    return page;
}

}  // namespace

class tst_HelpWindow : public QObject {
    Q_OBJECT
private slots:
    // One walk through the manual on a light and on a dark palette (set
    // while the window is open): every piece of text, links and headings
    // included, reaches a contrast of 4.5 on what it stands on; every link
    // inside the manual leads to an anchor; the Troubleshooting section
    // covers the messages that send the user there.
    void manual_data()
    {
        QTest::addColumn<QPalette>("palette");
        QTest::newRow("light") << LightPalette();
        QTest::newRow("dark") << DarkPalette();
    }

    void manual()
    {
        QFETCH(QPalette, palette);
        HelpWindow window(kFolder);
        window.Open(HelpWindow::kContents);
        window.setPalette(palette);
        const QTextDocument& document = *window.Browser()->document();
        QCOMPARE(window.Browser()->documentTitle(), QStringLiteral("Vantrel Manual"));
        QSet<QString> anchors;
        QStringList targets;      // the fragments of links within the manual
        QString troubleshooting;  // the section's text, up to the next second-level heading
        bool inSection = false;
        for (QTextBlock block = document.begin(); block.isValid(); block = block.next()) {
            for (auto it = block.begin(); !it.atEnd(); ++it) {
                const QTextFragment fragment = it.fragment();
                const QTextCharFormat format = fragment.charFormat();
                for (const QString& name : format.anchorNames())
                    anchors.insert(name);
                if (format.anchorHref().startsWith(QLatin1Char('#')))
                    targets << format.anchorHref().mid(1);
                QTextCursor at(block);
                at.setPosition(fragment.position());
                const QColor text = format.foreground().style() != Qt::NoBrush ? format.foreground().color()
                                                                               : palette.color(QPalette::Text);
                const QColor ground = Ground(at, format, palette.color(QPalette::Base));
                QVERIFY2(WcagContrast(text, ground) >= 4.5,
                         qPrintable(fragment.text().left(30) + u' ' + text.name() + u' ' + ground.name()));
            }
            if (block.blockFormat().headingLevel() == 2)
                inSection = block.text().trimmed() == QLatin1String("Troubleshooting");
            else if (inSection)
                troubleshooting += block.text() + u'\n';
        }
        QVERIFY(targets.size() > 15);
        for (const QString& target : targets)
            QVERIFY2(anchors.contains(target), qPrintable(target));
        for (const char* message :
             {"Vantrel is already running", "Error loading DLL - libpathmix.so",
              "The files differ but the differences are not viewable.", "Errors encountered comparing the files",
              "Unable to show the file in the Notepad.", "Unable to show the file in the associated program.",
              "Cannot save", "Unexpected Error in", "See the ERR_DETAIL.TXT file before proceeding.",
              "An error has occured in the error handler.", "The help was not found.",
              "Folder One is not an existing folder.", "Folder Does Not Exist"})
            QVERIFY2(troubleshooting.contains(QLatin1String(message)), message);
    }

    // Opening at a topic shows that topic at the top of the window.
    void opensAtTopic()
    {
        HelpWindow window(kFolder);
        window.resize(600, 400);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        window.Open(HelpWindow::kTroubleshooting);
        QTextBrowser* browser = window.Browser();
        QTRY_VERIFY(browser->verticalScrollBar()->value() > 0);
        const QTextCursor top = browser->cursorForPosition(QPoint(10, 10));
        QVERIFY2(top.block().text().startsWith(QStringLiteral("Troubleshooting")), qPrintable(top.block().text()));
    }
};

QTEST_MAIN(tst_HelpWindow)
#include "tst_HelpWindow.moc"

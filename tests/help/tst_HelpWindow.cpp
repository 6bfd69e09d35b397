// The manual as the help window shows it: every link inside it leads
// somewhere, the topics the program opens exist, and the Troubleshooting
// section covers the messages that send the user there.

#include "help/HelpWindow.h"

#include <QScrollBar>
#include <QSet>
#include <QTest>
#include <QTextBlock>
#include <QTextBrowser>
#include <QTextDocument>

namespace {

const QString kFolder = qEnvironmentVariable("VANTREL_SOURCE_DIR") + QStringLiteral("/data/help/");

}  // namespace

class tst_HelpWindow : public QObject {
    Q_OBJECT
private slots:
    void linksAndTroubleshooting()
    {
        HelpWindow window(kFolder);
        window.Open(HelpWindow::kContents);
        const QTextDocument& document = *window.Browser()->document();
        QCOMPARE(window.Browser()->documentTitle(), QStringLiteral("Vantrel Manual"));
        QSet<QString> anchors;
        QStringList targets;      // the fragments of links within the manual
        QString troubleshooting;  // the section's text, up to the next second-level heading
        bool inSection = false;
        for (QTextBlock block = document.begin(); block.isValid(); block = block.next()) {
            for (auto it = block.begin(); !it.atEnd(); ++it) {
                const QTextCharFormat format = it.fragment().charFormat();
                for (const QString& name : format.anchorNames())
                    anchors.insert(name);
                if (format.anchorHref().startsWith(QLatin1Char('#')))
                    targets << format.anchorHref().mid(1);
            }
            if (block.blockFormat().headingLevel() == 2)
                inSection = block.text().trimmed() == QLatin1String("Troubleshooting");
            else if (inSection)
                troubleshooting += block.text() + u'\n';
        }
        QVERIFY(targets.size() > 15);
        for (const QString& target : targets)
            QVERIFY2(anchors.contains(target), qPrintable(target));
        QVERIFY(anchors.contains(HelpWindow::kTroubleshooting.section(u'#', 1)));
        for (const char* message :
             {"Vantrel is already running", "Error loading DLL - libpathmix.so",
              "The files differ but the differences are not viewable.", "Errors encountered comparing the files",
              "Unable to show the file in the Notepad.", "Unable to show the file in the associated program.",
              "Cannot save", "Unexpected Error in", "See the ERR_DETAIL.TXT file before proceeding.",
              "An error has occured in the error handler.", "The help was not found."})
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
        QCOMPARE(window.Source().fragment(), QStringLiteral("troubleshooting"));
    }
};

QTEST_MAIN(tst_HelpWindow)
#include "tst_HelpWindow.moc"

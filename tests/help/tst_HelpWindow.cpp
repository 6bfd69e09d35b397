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

struct Links {
    QSet<QString> anchors;
    QStringList targets;  // the fragments of links within the manual
};

Links Collect(const QTextDocument& document)
{
    Links links;
    for (QTextBlock block = document.begin(); block.isValid(); block = block.next()) {
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            const QTextCharFormat format = it.fragment().charFormat();
            for (const QString& name : format.anchorNames())
                links.anchors.insert(name);
            const QString href = format.anchorHref();
            if (href.startsWith(QLatin1Char('#')))
                links.targets << href.mid(1);
        }
    }
    return links;
}

// The text of the section under the second-level heading title, up to the
// next such heading.
QString SectionText(const QTextDocument& document, const QString& title)
{
    QString text;
    bool inside = false;
    for (QTextBlock block = document.begin(); block.isValid(); block = block.next()) {
        if (block.blockFormat().headingLevel() == 2) {
            if (inside)
                break;
            inside = block.text().trimmed() == title;
        } else if (inside) {
            text += block.text() + u'\n';
        }
    }
    return text;
}

}  // namespace

class tst_HelpWindow : public QObject {
    Q_OBJECT
private slots:
    void linksLeadToAnchors()
    {
        HelpWindow window(kFolder);
        window.Open(HelpWindow::kContents);
        QCOMPARE(window.Browser()->documentTitle(), QStringLiteral("Vantrel Manual"));
        const Links links = Collect(*window.Browser()->document());
        QVERIFY(links.targets.size() > 15);
        for (const QString& target : links.targets)
            QVERIFY2(links.anchors.contains(target), qPrintable(target));
        QVERIFY(links.anchors.contains(HelpWindow::kTroubleshooting.section(u'#', 1)));
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

    void troubleshootingCoversMessages_data()
    {
        QTest::addColumn<QString>("message");
        for (const char* message :
             {"Vantrel is already running", "Error loading DLL - libpathmix.so",
              "The files differ but the differences are not viewable.", "Errors encountered comparing the files",
              "Unable to show the file in the Notepad.", "Unable to show the file in the associated program.",
              "Cannot save", "Unexpected Error in", "See the ERR_DETAIL.TXT file before proceeding.",
              "An error has occured in the error handler.", "The help was not found."})
            QTest::newRow(message) << QString::fromUtf8(message);
    }

    void troubleshootingCoversMessages()
    {
        QFETCH(QString, message);
        HelpWindow window(kFolder);
        window.Open(HelpWindow::kContents);
        QVERIFY2(SectionText(*window.Browser()->document(), QStringLiteral("Troubleshooting")).contains(message),
                 qPrintable(message));
    }
};

QTEST_MAIN(tst_HelpWindow)
#include "tst_HelpWindow.moc"

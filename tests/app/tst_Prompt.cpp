// The message boxes the program shows reach standard error, one line each,
// only when VANTREL_LOG_PROMPTS=1 asks for them.

#include "app/Prompt.h"
#include "support/FileBytes.h"

#include <QApplication>
#include <QTemporaryFile>
#include <QTest>
#include <QTimer>

#include <cstdio>
#include <unistd.h>

class tst_Prompt : public QObject {
    Q_OBJECT
private slots:
    void loggedOnlyWhenAsked_data()
    {
        QTest::addColumn<QByteArray>("setting");  // null: not set
        QTest::addColumn<bool>("logged");
        QTest::newRow("not set") << QByteArray() << false;
        QTest::newRow("0") << QByteArray("0") << false;
        QTest::newRow("1") << QByteArray("1") << true;
    }

    void loggedOnlyWhenAsked()
    {
        QFETCH(QByteArray, setting);
        QFETCH(bool, logged);
        QVERIFY(setting.isNull() ? qunsetenv("VANTREL_LOG_PROMPTS") : qputenv("VANTREL_LOG_PROMPTS", setting));
        // Standard error goes to a file while the box is up; the box is
        // closed as soon as it shows.
        QTemporaryFile captured;
        QVERIFY(captured.open());
        std::fflush(stderr);
        const int saved = dup(STDERR_FILENO);
        QVERIFY(saved >= 0 && dup2(captured.handle(), STDERR_FILENO) >= 0);
        QTimer closer;
        connect(&closer, &QTimer::timeout, [] {
            if (QWidget* box = QApplication::activeModalWidget())
                box->close();
        });
        closer.start(10);
        modVantrel::MsgBox(QStringLiteral("Line one\r\nline two"), modVantrel::PromptButtons::Ok,
                           modVantrel::PromptIcon::Information, QStringLiteral("Compare Files"));
        std::fflush(stderr);
        dup2(saved, STDERR_FILENO);
        close(saved);
        // Read afresh: the writes moved the offset the two descriptors share.
        QCOMPARE(FileBytes::Read(captured.fileName()),
                 logged ? QByteArray("vantrel.prompt: Compare Files | Line one / line two\n") : QByteArray());
    }
};

QTEST_MAIN(tst_Prompt)
#include "tst_Prompt.moc"

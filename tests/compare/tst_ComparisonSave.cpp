// Saving the shown comparison: GNU patch applies the saved patch to File
// One and must rebuild File Two byte for byte; refusals save nothing.
#include "compare/ComparisonModel.h"
#include "compare/ComparisonSave.h"
#include "engine/Comparison.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

#include <csignal>
#include <sys/resource.h>

namespace {

bool WriteFile(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

QByteArray ReadFile(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<unreadable>");
}

// The two files compared as the window compares them, by default settings.
ComparisonModel Compared(const QString& one, const QString& two, bool* binary = nullptr)
{
    InputFile inOne(QFile::encodeName(one).toStdString());
    InputFile inTwo(QFile::encodeName(two).toStdString());
    const Comparison c = CompareInputs(inOne, inTwo, CompareSettings{});
    ComparisonModel model;
    if (binary)
        *binary = c.outcome == Outcome::BinaryDiffer;
    if (c.outcome == Outcome::Different)
        (void)model.Show(c.files[0], c.files[1], c.hunks);
    return model;
}

}  // namespace

class tst_ComparisonSave : public QObject {
    Q_OBJECT

private slots:
    void patchRebuildsFileTwo_data()
    {
        QTest::addColumn<QByteArray>("one");
        QTest::addColumn<QByteArray>("two");
        QByteArray many;
        for (int i = 1; i <= 20; ++i)
            many += "line " + QByteArray::number(i) + '\n';
        QByteArray manyChanged = many;
        manyChanged.replace("line 2\n", "line two\n").replace("line 19\n", "line nineteen\n");
        QTest::newRow("one line changed") << QByteArray("a\nb\nc\n") << QByteArray("a\nB\nc\n");
        QTest::newRow("two hunks apart") << many << manyChanged;
        QTest::newRow("lines added at the end") << QByteArray("a\n") << QByteArray("a\nb\nc\n");
        QTest::newRow("all lines removed") << QByteArray("a\nb\n") << QByteArray();
        QTest::newRow("last line loses its newline") << QByteArray("a\nb\n") << QByteArray("a\nb");
        QTest::newRow("last line gains its newline") << QByteArray("a\nb") << QByteArray("a\nB\n");
        QTest::newRow("CR LF endings kept") << QByteArray("a\r\nb\r\n") << QByteArray("a\r\nc\r\n");
    }
    void patchRebuildsFileTwo()
    {
        QFETCH(QByteArray, one);
        QFETCH(QByteArray, two);
        QTemporaryDir dir;
        const QString pathOne = dir.filePath("one.txt");
        const QString pathTwo = dir.filePath("two.txt");
        const QString patchPath = dir.filePath("changes.patch");
        QVERIFY(WriteFile(pathOne, one) && WriteFile(pathTwo, two));
        const ComparisonModel model = Compared(pathOne, pathTwo);
        QVERIFY(model.Shown());
        const QString error = ComparisonSave::SavePatch(model, patchPath);
        QVERIFY2(error.isEmpty(), qPrintable(error));
        QFile::remove(pathTwo);
        QProcess patch;
        patch.setWorkingDirectory(dir.path());
        patch.start("patch", {"--batch", "--quiet", "-o", pathTwo, pathOne, patchPath});
        QVERIFY(patch.waitForFinished());
        QVERIFY2(patch.exitCode() == 0, patch.readAllStandardOutput() + patch.readAllStandardError());
        QCOMPARE(ReadFile(pathTwo), two);
        QCOMPARE(ReadFile(pathOne), one);
    }

    // Each refusal leaves no file at all where the patch was to go, or the
    // file that was there unchanged.
    void refusedSaves_data()
    {
        QTest::addColumn<QString>("target");  // relative to the folder
        QTest::addColumn<bool>("binary");
        QTest::addColumn<QString>("message");
        QTest::newRow("File One itself") << "one.txt" << false << "would replace a file being compared";
        QTest::newRow("File Two by another name") << "sub/../two.txt" << false << "would replace a file being compared";
        QTest::newRow("a missing folder") << "missing/changes.patch" << false << "folder does not exist";
        QTest::newRow("binary files") << "changes.patch" << true << "binary";
        QTest::newRow("a full disk") << "changes.patch" << false << "could not be written";
    }
    void refusedSaves()
    {
        QFETCH(QString, target);
        QFETCH(bool, binary);
        QFETCH(QString, message);
        QTemporaryDir dir;
        QVERIFY(QDir(dir.path()).mkdir("sub"));
        const QByteArray one = binary ? QByteArray("a\0b\n", 4) : QByteArray(4096, 'a') + '\n';
        const QByteArray two = binary ? QByteArray("a\0c\n", 4) : QByteArray(4096, 'b') + '\n';
        QVERIFY(WriteFile(dir.filePath("one.txt"), one) && WriteFile(dir.filePath("two.txt"), two));
        bool isBinary = false;
        const ComparisonModel model = Compared(dir.filePath("one.txt"), dir.filePath("two.txt"), &isBinary);
        QCOMPARE(isBinary, binary);
        const QString path = dir.filePath(target);
        QString error = ComparisonSave::PatchRefusal(model, isBinary);
        if (error.isEmpty()) {
            // The patch is twice the size of a file: room for less than one.
            std::signal(SIGXFSZ, SIG_IGN);
            rlimit old{};
            getrlimit(RLIMIT_FSIZE, &old);
            const rlimit small{rlim_t(5000), old.rlim_max};
            if (QTest::currentDataTag() == QByteArrayLiteral("a full disk"))
                setrlimit(RLIMIT_FSIZE, &small);
            error = ComparisonSave::SavePatch(model, path);
            setrlimit(RLIMIT_FSIZE, &old);
        }
        QVERIFY2(error.contains(message), qPrintable(error));
        QCOMPARE(ReadFile(dir.filePath("one.txt")), one);
        QCOMPARE(ReadFile(dir.filePath("two.txt")), two);
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::NoDotAndDotDot).size(), 2);
    }
};

QTEST_GUILESS_MAIN(tst_ComparisonSave)
#include "tst_ComparisonSave.moc"

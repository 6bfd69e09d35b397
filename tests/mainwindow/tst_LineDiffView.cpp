// The detail pane's one-line view: the look of every character, selection
// and copying.

#include "WindowFixture.h"

#include <QClipboard>
#include <QMenu>
#include <QScrollBar>

using Run = LineDiffView::Run;

class tst_LineDiffView : public QObject {
    Q_OBJECT

private slots:
    void runsGiveEachCharacterItsLook_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<std::vector<Run>>("runs");
        QTest::addColumn<QString>("letters");
        const QColor red = DetailPane::DifferColor();
        const QColor black(Qt::black);
        QTest::newRow("no runs") << "abc" << std::vector<Run>{} << "kkk";
        QTest::newRow("runs in turn") << "ab cd" << std::vector<Run>{{0, black, false}, {2, red, true}, {3, red, false}}
                                      << "kkurr";
        QTest::newRow("last character alone") << "abcd" << std::vector<Run>{{0, black, false}, {3, red, false}}
                                              << "kkkr";
    }

    void runsGiveEachCharacterItsLook()
    {
        QFETCH(QString, text);
        QFETCH(std::vector<Run>, runs);
        QFETCH(QString, letters);
        LineDiffView view;
        view.SetLine(text, runs);
        QCOMPARE(view.toPlainText(), text);
        QCOMPARE(Looks(view), letters);
        view.setPlainText(text);
        QCOMPARE(Looks(view), QString(text.size(), u'k'));
    }

    // The look given by marks, worked out as the box lays the line out.
    void marksGiveEachCharacterItsLook_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<std::vector<bool>>("marks");
        QTest::addColumn<bool>("markBlanks");
        QTest::addColumn<QString>("letters");
        QTest::newRow("differing blank marked") << "ab cd" << std::vector<bool>{1, 1, 0, 0, 1} << true << "kkurk";
        QTest::newRow("blanks not marked") << "ab cd" << std::vector<bool>{1, 1, 0, 0, 1} << false << "kkrrk";
        QTest::newRow("missing marks differ") << "abc" << std::vector<bool>{1} << true << "krr";
    }

    void marksGiveEachCharacterItsLook()
    {
        QFETCH(QString, text);
        QFETCH(std::vector<bool>, marks);
        QFETCH(bool, markBlanks);
        QFETCH(QString, letters);
        LineDiffView view;
        view.SetLine(LineText(text), LineDiffView::MarkedLook{marks, markBlanks, Qt::black, DetailPane::DifferColor()});
        QCOMPARE(Looks(view), letters);
    }

    // Separators inside a line do not end the one line it is laid out on:
    // every character stands right of the one before it.
    void separatorsStayOnTheLine()
    {
        LineDiffView view;
        const QString text = QString::fromUtf16(u"ab\u2028cd\u2029ef");
        view.SetLine(LineText(text), std::vector<Run>{});
        for (qsizetype k = 1; k <= text.size(); ++k)
            QVERIFY2(view.XOfPosition(k) > view.XOfPosition(k - 1), qPrintable(QString::number(k)));
    }

    // The width of a line of many chunks, measured chunk by chunk without
    // shaping where that is safe, is the width of the whole line shaped.
    void lineWidthAsShaped_data()
    {
        QTest::addColumn<QString>("pattern");
        QTest::newRow("cyrillic") << QString::fromUtf16(u"быстрая лиса ");
        QTest::newRow("hebrew") << QString::fromUtf16(u"שלום עולם ");
        QTest::newRow("han and kana") << QString::fromUtf16(u"漢字かなカナ ");
        QTest::newRow("latin-1 and marks") << QString::fromUtf16(u"café e\u0301 ");
        QTest::newRow("arabic") << QString::fromUtf16(u"سلام عليكم ");
    }

    void lineWidthAsShaped()
    {
        QFETCH(QString, pattern);
        LineDiffView view;
        QFont font(QStringLiteral("Courier New"), 9);
        font.setStyleHint(QFont::TypeWriter);
        view.setFont(font);
        const QString text = pattern.repeated(100);
        view.resize(200, 25);
        view.SetLine(LineText(text), std::vector<Run>{});
        // The scroll range reaches the line's end: its width less the view's.
        const int measured = view.horizontalScrollBar()->maximum() + view.viewport()->width() - 2 * LineDiffView::kMargin;
        const qreal shaped = QFontMetricsF(view.font()).horizontalAdvance(text);
        QVERIFY2(qAbs(measured - shaped) <= 1, qPrintable(QStringLiteral("%1 %2").arg(measured).arg(shaped)));
    }

    void selectAndCopy()
    {
        LineDiffView view;
        view.resize(400, 25);
        view.SetLine(QStringLiteral("hello world"), {});
        const auto xOf = [&](int p) { return QPoint(LineDiffView::kMargin + int(view.XOfPosition(p)) + 1, 10); };
        QTest::mousePress(view.viewport(), Qt::LeftButton, {}, xOf(6));
        QTest::mouseMove(view.viewport(), xOf(11));
        QCOMPARE(view.selectedText(), QStringLiteral("world"));
        QTest::keyClick(&view, Qt::Key_C, Qt::ControlModifier);
        QCOMPARE(QGuiApplication::clipboard()->text(), QStringLiteral("world"));
        QTest::keyClick(&view, Qt::Key_A, Qt::ControlModifier);
        const std::unique_ptr<QMenu> menu(view.CreateContextMenu(nullptr));
        menu->actions().first()->trigger();
        QCOMPARE(QGuiApplication::clipboard()->text(), QStringLiteral("hello world"));
        view.setPlainText(QStringLiteral("next"));  // a new line drops the selection
        QVERIFY(!view.hasSelectedText());
    }
};

QTEST_MAIN(tst_LineDiffView)
#include "tst_LineDiffView.moc"

// The detail pane's one-line view: the look of every character, selection
// and copying, and the horizontal scroll range of long lines.

#include "WindowFixture.h"

#include <QClipboard>
#include <QFontDatabase>
#include <QFontMetricsF>
#include <QMenu>
#include <QScrollBar>

using Run = LineDiffView::Run;

namespace {

// Pixels of a red glyph, allowing for its anti-aliased edges.
int RedPixels(LineDiffView& view)
{
    const QImage image = view.viewport()->grab().toImage().convertToFormat(QImage::Format_RGB32);
    const auto* pixels = reinterpret_cast<const QRgb*>(image.constBits());
    return int(std::count_if(pixels, pixels + image.width() * image.height(),
                             [](QRgb p) { return qRed(p) > 200 && qGreen(p) < 120; }));
}

}  // namespace

class tst_LineDiffView : public QObject {
    Q_OBJECT

private slots:
    void runsGiveEachCharacterItsLook_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<std::vector<Run>>("runs");
        QTest::addColumn<QString>("letters");
        const QColor red(Qt::red);
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

    void scrollRangeCoversTheWholeLine_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("fixedPitch");
        QTest::addColumn<bool>("scrolls");
        const QString ascii = QStringLiteral("The quick brown fox. ").repeated(250) + u'#';
        QTest::newRow("short") << "short line" << true << false;
        QTest::newRow("long, fixed pitch") << ascii << true << true;
        QTest::newRow("long, proportional") << ascii << false << true;
        QTest::newRow("wide characters") << ascii + QString(700, u'\x6F22') + u'#' << true << true;
    }

    void scrollRangeCoversTheWholeLine()
    {
        QFETCH(QString, text);
        QFETCH(bool, fixedPitch);
        QFETCH(bool, scrolls);
        LineDiffView view;
        view.setFont(QFontDatabase::systemFont(fixedPitch ? QFontDatabase::FixedFont : QFontDatabase::GeneralFont));
        view.resize(300, 25);
        view.show();
        QVERIFY(QTest::qWaitForWindowExposed(&view));
        view.SetLine(text, {{0, QColor(Qt::black), false}, {text.size() - 1, QColor(Qt::red), false}});
        // The range lets the line's end, as the font measures it, be scrolled into view.
        const qreal width = QFontMetricsF(view.font()).horizontalAdvance(text) + 2 * LineDiffView::kMargin;
        QVERIFY(std::abs(view.horizontalScrollBar()->maximum() - std::max(0.0, width - view.viewport()->width())) <= 2);
        // The last (red) character shows at the start only for a short line,
        // and after End for any line.
        QCOMPARE(RedPixels(view) > 0, !scrolls);
        QTest::keyClick(&view, Qt::Key_End);
        QVERIFY(RedPixels(view) > 0);
    }
};

QTEST_MAIN(tst_LineDiffView)
#include "tst_LineDiffView.moc"

// Options > Line Filters: what the dialogs say of an expression while it
// is typed, and the list they hand back.
#include "mainwindow/LineFiltersDialog.h"
#include "support/ScriptedPrompts.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTest>

class tst_LineFiltersDialog : public QObject {
    Q_OBJECT

private slots:
    void typed_data()
    {
        QTest::addColumn<QString>("pattern");
        QTest::addColumn<QString>("shown");  // OK or no, as OK can be pressed; the message
        const QString every = QStringLiteral(
            "OK: This expression matches the empty text, so every line matches it: no line would be compared.");
        QTest::newRow("good") << "^#" << QString("OK: ");
        QTest::newRow("empty") << QString() << QString("no: Type a regular expression.");
        // The place is counted in characters, not in UTF-8 bytes.
        QTest::newRow("unclosed after a wide character")
            << QString::fromUtf8("é(")
            << QString("no: Not a valid regular expression: missing closing parenthesis (at character 3).");
        QTest::newRow("empty lines only") << "^$" << QString("OK: ");
        QTest::newRow("every line") << "x*" << every;
        QTest::newRow("every line, at its end") << "$" << every;
    }

    void typed()
    {
        QFETCH(QString, pattern);
        LineFilterEditDialog dialog(QStringLiteral("old"), nullptr);
        dialog.findChild<QLineEdit*>(QStringLiteral("txtExpression"))->setText(pattern);
        const bool usable = dialog.findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Ok)->isEnabled();
        QTEST((usable ? "OK: " : "no: ") + dialog.findChild<QLabel*>(QStringLiteral("lblProblem"))->text(), "shown");
    }

    // Unticked, removed, edited and added filters come back in the list's
    // order; a stored filter that does not compile is said to be wrong while
    // it is current, and no longer once it is mended.
    void listEdits()
    {
        ScriptedPrompts prompts;
        LineFiltersDialog dialog({{QStringLiteral("("), true}, {QStringLiteral("b"), false}}, nullptr);
        auto* problem = dialog.findChild<QLabel*>(QStringLiteral("lblProblem"));
        QVERIFY(problem->text().startsWith("Not a valid"));
        auto* list = dialog.findChild<QListWidget*>(QStringLiteral("lstFilters"));
        list->item(0)->setCheckState(Qt::Unchecked);
        list->setCurrentRow(1);
        dialog.findChild<QPushButton*>(QStringLiteral("cmdRemove"))->click();
        QString typed = QStringLiteral("(a)");
        prompts.whileModalShown = [&typed](QWidget* edit) {
            edit->findChild<QLineEdit*>(QStringLiteral("txtExpression"))->setText(typed);
            static_cast<QDialog*>(edit)->accept();
        };
        list->setCurrentRow(0);
        dialog.findChild<QPushButton*>(QStringLiteral("cmdEdit"))->click();
        QCOMPARE(problem->text(), QString());
        typed = QStringLiteral("c");
        dialog.findChild<QPushButton*>(QStringLiteral("cmdAdd"))->click();
        const QList<cViewFileDiffsOptions::LineFilter> expected{{QStringLiteral("(a)"), false},
                                                                {QStringLiteral("c"), true}};
        QCOMPARE(dialog.Filters(), expected);
        // OK and Cancel stand under the list and its buttons alike.
        dialog.show();
        QVERIFY(dialog.findChild<QDialogButtonBox*>()->geometry().right()
                >= dialog.findChild<QPushButton*>(QStringLiteral("cmdAdd"))->geometry().right());
    }
};

QTEST_MAIN(tst_LineFiltersDialog)
#include "tst_LineFiltersDialog.moc"

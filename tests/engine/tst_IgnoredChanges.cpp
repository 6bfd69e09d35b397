// vantrel-diff's relaxations (-b -Z -E -B --strip-trailing-cr -I), alone,
// together and with -i, -w and the output forms, beside GNU diff over
// generated pairs: File Two is File One with changes the row's options
// should make no difference, and in every other pair real changes too.

#include "DiffRun.h"

#include <QTest>

namespace {

const QList<QByteArray> kPieces = {"int x = 1;", "a\tb", "\tindented", "    four", "x  y", "",
                                   "end",        "#c",   "Case A",     "ab\tc d",  "}"};

// `line` changed in one of the ways `kinds` names: b white-space runs, Z
// trailing blanks, E a tab as spaces to its stop, r a CR before the LF, i
// case. B and I insert a blank line or one starting with '#' instead.
void Relax(QList<QByteArray>& lines, qsizetype at, const QByteArray& kinds, QRandomGenerator& rng)
{
    QByteArray& line = lines[at];
    switch (kinds[rng.bounded(kinds.size())]) {
    case 'b': line.contains(' ') ? void(line.replace(' ', " \t ")) : void(line.append(' ')); break;
    case 'Z': line += QByteArray(" \t").left(1 + rng.bounded(2)); break;
    case 'E':
        if (const qsizetype tab = line.indexOf('\t'); tab >= 0)
            line.replace(tab, 1, QByteArray(8 - tab % 8, ' '));
        break;
    case 'r': line += '\r'; break;
    case 'i': line = line.toUpper(); break;
    case 'B': lines.insert(at, ""); break;
    case 'I': lines.insert(at, "# note " + QByteArray::number(rng.bounded(9))); break;
    }
}

}  // namespace

class tst_IgnoredChanges : public QObject, DiffRun::Folder {
    Q_OBJECT

    // Files one and two: random lines, and the second with changes of
    // `kinds` (see Relax) and, when asked, a few real ones.
    void WritePair(QRandomGenerator& rng, const QByteArray& kinds, bool realChanges)
    {
        QList<QByteArray> a;
        for (int n = rng.bounded(14); n > 0; --n)
            a << kPieces[rng.bounded(kPieces.size())];
        QList<QByteArray> b = a;
        for (int n = rng.bounded(4); n > 0 && !b.isEmpty(); --n)
            Relax(b, rng.bounded(b.size()), kinds, rng);
        if (realChanges)
            b = ResultChecker::Edited(rng, b, 1 + rng.bounded(2), 3);
        const bool finalNewline = rng.bounded(4) != 0;
        Write("one", ResultChecker::Join(a, "\n", finalNewline));
        Write("two", ResultChecker::Join(b, "\n", finalNewline || rng.bounded(2)));
    }

private slots:
    void initTestCase() { QVERIFY2(QFile::exists(m_program), qPrintable(m_program)); }

    void relaxed_data()
    {
        QTest::addColumn<QStringList>("form");
        QTest::addColumn<QStringList>("options");
        QTest::addColumn<QByteArray>("kinds");  // of the changes meant to be ignored (see Relax)
        // Each set of relaxations, then the kinds of change it is to ignore.
        const QStringList relaxations =
            QStringLiteral("-b=bZ,-Z=Z,-E=E,-B=B,--strip-trailing-cr=r,-I ^#=I,-I ^# -I d$=I,-B -I ^#=BI,-b -B=bBZ,"
                           "-w -B=bBEZr,-i -b=ib,-Z --strip-trailing-cr=Zr")
                .split(u',');
        for (const char* form : {"", "-u", "-U 1", "-c", "-y", "-y --left-column", "-e", "-n", "-D N", "-q"})
            for (const QString& relaxation : relaxations)
                QTest::addRow("%s %s", form, qPrintable(relaxation))
                    << QString::fromLatin1(form).split(u' ', Qt::SkipEmptyParts)
                    << relaxation.section(u'=', 0, 0).split(u' ') << relaxation.section(u'=', 1).toLatin1();
    }

    void relaxed()
    {
        QFETCH(QStringList, form);
        QFETCH(QStringList, options);
        QFETCH(QByteArray, kinds);
        // Only normal and unified scripts may differ from diff's.
        const bool scriptForm = form.isEmpty() || form.first().startsWith("-u") || form.first() == "-U";
        const QStringList files{"one", "two"};
        QRandomGenerator rng(27);
        for (int round = 0; round < 10; ++round) {
            WritePair(rng, kinds, round % 2);
            // The other forms are held to diff's output where the normal one is diff's.
            if (!scriptForm && Run("diff", options + files) != Run(m_program, options + files))
                continue;
            BesideDiff(form + options, scriptForm);
        }
    }

    // diff -E -Z leaves a tab and the spaces up to its stop different when
    // it meets them as two blanks, which -E alone makes equal; -Z must not
    // undo -E. diff -E on copies without trailing blanks (and with every
    // last line ended, as a missing LF is a trailing blank too) is the oracle.
    void tabExpansionWithTrailingBlanks()
    {
        QRandomGenerator rng(28);
        for (int round = 0; round < 30; ++round) {
            WritePair(rng, "EZ", round % 2);
            const QString strip = "for f in one two; do awk '{ sub(/[ \t]+$/, \"\"); print }' $f > $f.z; done";
            QCOMPARE(Shell("", strip).code, 0);
            const Outcome gnu = Run("diff", {"-E", "one.z", "two.z"});
            const Outcome ours = Run(m_program, {"-E", "-Z", "one", "two"});
            QCOMPARE(ours.code, gnu.code);
            QVERIFY(DiffRun::ChangedLines(ours.out) <= DiffRun::ChangedLines(gnu.out));
        }
    }
};

QTEST_GUILESS_MAIN(tst_IgnoredChanges)
#include "tst_IgnoredChanges.moc"

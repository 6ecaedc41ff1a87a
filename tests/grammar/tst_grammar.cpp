// SPDX-License-Identifier: GPL-3.0-or-later
#include "conjugation.h"

#include <QFile>
#include <QRegularExpression>
#include <QTest>

using namespace vantro;

class TestGrammar : public QObject
{
    Q_OBJECT

private slots:
    void verbs_data();
    void verbs();
    void verbGuesses_data();
    void verbGuesses();
};

namespace {

// The rows of a tab-separated table in data/, comments and blank lines left out.
QList<QStringList> readTable(const QString &name)
{
    QFile file(QStringLiteral(VANTRO_GRAMMAR_DATA "/") + name);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text))
        qFatal("cannot read %s", qPrintable(file.fileName()));
    QList<QStringList> rows;
    for (const QString &line : QString::fromUtf8(file.readAll()).split(u'\n')) {
        if (!line.isEmpty() && !line.startsWith(u'#'))
            rows.append(line.split(u'\t'));
    }
    return rows;
}

Tense tenseNamed(const QString &name)
{
    const QStringList names = {"present", "imperfect", "imperative", "optative", "future"};
    return static_cast<Tense>(names.indexOf(name));
}

} // namespace

void TestGrammar::verbs_data()
{
    QTest::addColumn<QStringList>("row");
    for (const QStringList &row : readTable(QStringLiteral("verbs.tsv")))
        QTest::newRow(qPrintable(row.mid(0, 5).join(u' '))) << row;
}

// Each row: root, class, pada, tense, passive, then the nine cells 3sg 3du 3pl 2sg ... 1pl,
// or "error" and a piece of the reason.
void TestGrammar::verbs()
{
    QFETCH(QStringList, row);
    // A line of the table of roots that does not read is only ever reported as a warning.
    QTest::failOnWarning(QRegularExpression(QStringLiteral("^verb roots")));
    const VerbRequest request{row[0], row[1].toInt(),
                              row[2] == u"A" ? Pada::Atmanepada : Pada::Parasmaipada,
                              tenseNamed(row[3]), row[4] == u"1"};
    const Inflection<VerbParadigm> result = conjugate(request);
    if (row.value(5) == u"error") {
        QVERIFY(!result.ok() && result.error.contains(row.value(6)));
        return;
    }
    QCOMPARE(row.size(), 14);
    QVERIFY2(result.ok(), qPrintable(result.error));
    for (int cell = 0; cell < 9; ++cell)
        QCOMPARE(result.paradigm.cells[cell].join(u','), row[5 + cell]);
}

void TestGrammar::verbGuesses_data()
{
    QTest::addColumn<QString>("form");
    QTest::addColumn<QString>("candidates");
    for (const QStringList &row : readTable(QStringLiteral("verbguess.tsv")))
        QTest::newRow(qPrintable(row[0])) << row[0] << row.value(1);
}

void TestGrammar::verbGuesses()
{
    QFETCH(QString, form);
    QFETCH(QString, candidates);
    QStringList guessed;
    for (const VerbCandidate &c : guessVerbRoots(form))
        guessed << QStringLiteral("%1 %2 %3")
                       .arg(c.root)
                       .arg(c.verbClass)
                       .arg(c.pada == Pada::Atmanepada ? QStringLiteral("A") : QStringLiteral("P"));
    QCOMPARE(guessed.join(u';'), candidates);
}

QTEST_GUILESS_MAIN(TestGrammar)
#include "tst_grammar.moc"

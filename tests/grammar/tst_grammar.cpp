// SPDX-License-Identifier: GPL-3.0-or-later
// The grammar library, driven by the cases in data/.
#include "dbtools.h"
#include "sandhi.h"

#include <QTest>

using namespace vantro;

class TestGrammar : public QObject
{
    Q_OBJECT

private slots:
    void sandhi_data();
    void sandhi();
};

// One row for each line of data/sandhi.tsv that is neither empty nor a "# " comment: the words
// as typed, the usual joining and, where given, the other permitted ones parted by " / ".
void TestGrammar::sandhi_data()
{
    QTest::addColumn<QString>("words");
    QTest::addColumn<QStringList>("joinings");
    const QString path = QStringLiteral(VANTRO_GRAMMAR_DATA "/sandhi.tsv");
    const QStringList lines = QString::fromUtf8(vantro::test::fileBytes(path)).split(u'\n');
    QVERIFY(lines.size() > 1);
    for (int number = 1; number <= lines.size(); ++number) {
        const QStringList cells = lines[number - 1].split(u'\t');
        if (cells.size() < 2 || cells[0].startsWith(u"# "))
            continue;
        QStringList joinings{cells[1]};
        if (cells.size() > 2)
            joinings += cells[2].split(QStringLiteral(" / "));
        QTest::addRow("sandhi.tsv:%d %s", number, qPrintable(cells[0])) << cells[0] << joinings;
    }
}

// The usual joining alone where the row lists no others, else every joining in order.
void TestGrammar::sandhi()
{
    QFETCH(QString, words);
    QFETCH(QStringList, joinings);
    QCOMPARE(joinLine(words), joinings.first());
    const QStringList variants = joinLineVariants(words);
    QCOMPARE(variants.first(), joinings.first());
    if (joinings.size() > 1)
        QCOMPARE(variants, joinings);
}

QTEST_GUILESS_MAIN(TestGrammar)
#include "tst_grammar.moc"

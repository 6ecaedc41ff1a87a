// SPDX-License-Identifier: GPL-3.0-or-later
// The analyser, driven by the cases in data/analyses.tsv: the readings of written words against
// a lexicon of the built-in words and a few dictionary records, the words a meaning gives the
// lexicon, and the words of a line that are checked.
#include "analyser.h"
#include "datarows.h"
#include "meaningwords.h"
#include "textwords.h"

#include <QTest>

using namespace vantro;

namespace {

const QList<test::DataRow> &fileRows()
{
    static const auto rows = test::DataRows::casesOf(VANTRO_GRAMMAR_DATA "/analyses.tsv", 2, 3);
    return rows;
}

// The analyser of every row: the built-in words and the file's "record" lines.
const Analyser &analyser()
{
    static const Analyser reader = [] {
        Analyser made;
        QList<MeaningRecord> records;
        for (const test::DataRow &row : fileRows())
            if (row.text(0) == u"record")
                records.append({row.text(1), row.text(2)});
        made.addRecords(records);
        return made;
    }();
    return reader;
}

// A reading as the rows write it: "(pausal) fields: English keys".
QString described(const WordReading &reading)
{
    QString text = readingFields(reading).join(u' ');
    if (!reading.pausalForm.isEmpty())
        text.prepend(QStringLiteral("(%1) ").arg(reading.pausalForm));
    if (!reading.englishKeys.isEmpty())
        text += QStringLiteral(": ") + reading.englishKeys.join(QStringLiteral(", "));
    return text;
}

} // namespace

class TestAnalyser : public QObject
{
    Q_OBJECT

private slots:
    // WORD, then: "first", "top3" or "any" and the reading; "never" and a reading that must not
    // be given; "unknown"; "suggests" and a form among the suggestions. Also "meaning", a
    // meaning and the words it gives ("word/tag"), and "check", a line ("\n" parts lines) and
    // the words checked in it.
    void analyses_data()
    {
        QTest::addColumn<QStringList>("cells");
        for (const test::DataRow &row : fileRows())
            if (row.text(0) != u"record")
                QTest::newRow(row.place.constData()) << row.texts();
    }
    void analyses()
    {
        QFETCH(QStringList, cells);
        const QString &word = cells[0];
        const QString how = cells.value(1);
        if (word == u"meaning")
            return checkMeaning(how, cells.value(2));
        if (word == u"check")
            return checkLine(how, cells.value(2));
        QStringList readings;
        for (const WordReading &reading : analyser().analyse(word))
            readings.append(described(reading));
        const QString expected = cells.value(2);
        const QString given = QStringLiteral("\n  given: ") + readings.join(QStringLiteral("\n  "));
        if (how == u"first")
            QVERIFY2(readings.value(0) == expected, qPrintable(given));
        else if (how == u"top3")
            QVERIFY2(readings.mid(0, 3).contains(expected), qPrintable(given));
        else if (how == u"any")
            QVERIFY2(readings.contains(expected), qPrintable(given));
        else if (how == u"never")
            QVERIFY2(!readings.isEmpty() && !readings.contains(expected), qPrintable(given));
        else if (how == u"unknown")
            QVERIFY2(readings.isEmpty(), qPrintable(given));
        else if (how == u"suggests")
            QVERIFY2(analyser().suggestions(word).contains(expected),
                     qPrintable(analyser().suggestions(word).join(u' ')));
        else
            QFAIL("unknown kind of row");
    }

private:
    void checkMeaning(const QString &meaning, const QString &expected)
    {
        QStringList words;
        for (const MeaningWord &word : sanskritWordsOfMeaning(meaning))
            words.append(word.tags.isEmpty() ? word.word : word.word + u'/' + word.tags.join(u','));
        QCOMPARE(words.join(u' '), expected);
    }
    void checkLine(QString text, const QString &expected)
    {
        text.replace(QStringLiteral("\\n"), QStringLiteral("\n"));
        QStringList words;
        bool fence = false;
        for (const QString &line : text.split(u'\n'))
            for (const TextWord &word : wordsToCheck(line, &fence))
                words.append(line.mid(word.start, word.length));
        QCOMPARE(words.join(u' '), expected);
    }
};

QTEST_GUILESS_MAIN(TestAnalyser)
#include "tst_analyser.moc"

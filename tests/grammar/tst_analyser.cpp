// SPDX-License-Identifier: GPL-3.0-or-later
// The analyser, driven by the cases in data/analyses.tsv: the readings of written words against
// a lexicon of the built-in words and a few dictionary records, the words a meaning gives the
// lexicon, and the words of a line that are checked.
#include "analyser.h"
#include "datarows.h"
#include "dbtools.h"
#include "formindex.h"
#include "meaningwords.h"
#include "textwords.h"

#include <QTemporaryDir>
#include <QTest>

#include <cstring>

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

    // The built-in forms the build writes: read back as made, refused when the file is damaged
    // or left by another lexicon or other generators (the analyser then makes them itself).
    void builtInFormsFile_data()
    {
        QTest::addColumn<QString>("damage");
        QTest::addColumn<QString>("refusal"); // the end of the reason, or empty when read
        QTest::newRow("as written") << QString() << QString();
        QTest::newRow("cut short") << "cut"
                                   << "cut short or overlong";
        QTest::newRow("another kind of file") << "magic"
                                              << "not a file of word forms";
        QTest::newRow("another lexicon") << "lexicon"
                                         << "made for another lexicon";
        QTest::newRow("a form of the first entry in another cell")
            << "cell"
            << "made by other rules than this program's";
        QTest::newRow("a form of the first entry missing")
            << "missing"
            << "made by other rules than this program's";
        QTest::newRow("no file") << "gone"
                                 << "No such file or directory";
    }
    void builtInFormsFile()
    {
        QFETCH(QString, damage);
        QFETCH(QString, refusal);
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("forms.idx"));
        const Outcome<void> written = Analyser::writeBuiltInForms(path);
        QVERIFY2(written.ok(), qPrintable(written.error));
        QByteArray bytes = test::fileBytes(path);
        constexpr int header = 32, record = 20;
        const auto firstFormOfEntry0 = [&] {
            for (int at = header; at + record <= bytes.size(); at += record)
                if (bytes.mid(at + 8, 4) == QByteArray(4, '\0'))
                    return at;
            return -1;
        };
        if (damage == u"cut")
            bytes.chop(record / 2);
        else if (damage == u"magic")
            bytes[0] = 'X';
        else if (damage == u"cell")
            bytes[firstFormOfEntry0() + 12 + 3] ^= 1; // its number
        else if (damage == u"missing")
            bytes.remove(firstFormOfEntry0(), record);
        if (damage == u"missing") // the count in the header follows
            bytes[header - 8] = char(bytes[header - 8] - 1);
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size());
        file.close();
        Lexicon lexicon = Lexicon::builtIn();
        if (damage == u"lexicon")
            lexicon.addMeaning(QStringLiteral("lamp"), QStringLiteral("dIpaH"));
        if (damage == u"gone")
            QVERIFY(QFile::remove(path));
        const Outcome<FormIndex> read = FormIndex::readFrom(path, lexicon);
        QVERIFY2(refusal.isEmpty() ? read.ok()
                                   : read.error == path + QStringLiteral(": ") + refusal,
                 qPrintable(read.error));
        if (!read.ok())
            return;
        const FormIndex made = FormIndex::madeFor(lexicon);
        QCOMPARE(read.value.postingCount(), made.postingCount());
        for (const char *form : {"gachChati", "rAmeNa", "tena", "cha", "kR^itvA"}) {
            std::vector<FormIndex::Posting> a =
                read.value.find(formKeyOfItrans(QString::fromLatin1(form)));
            std::vector<FormIndex::Posting> b =
                made.find(formKeyOfItrans(QString::fromLatin1(form)));
            QCOMPARE(a.size(), b.size());
            for (size_t i = 0; i < a.size(); ++i)
                QVERIFY(a[i].entry == b[i].entry &&
                        std::memcmp(&a[i].cell, &b[i].cell, sizeof(FormCell)) == 0);
        }
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

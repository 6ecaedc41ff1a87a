// SPDX-License-Identifier: GPL-3.0-or-later
// Other dictionaries in and out: definitions as meanings, StarDict and dictd files (hand-made for
// the edge cases, a Debian dictd dictionary and a StarDict made from it by pyglossary), the
// StarDict export read back by sdcv, and a cancelled import.
#include "capture.h"
#include "dbtools.h"
#include "dictdb.h"
#include "dictionaryimport.h"
#include "importsource.h"
#include "meaningtext.h"

#include <QDir>
#include <QFile>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <QtEndian>

using namespace vantro;
using namespace vantro::test;

namespace {

const QString kFreeDict = QStringLiteral("/usr/share/dictd/freedict-eng-hin.index");

QByteArray bigEndian32(quint32 value)
{
    QByteArray bytes(4, '\0');
    qToBigEndian(value, bytes.data());
    return bytes;
}

void writeFile(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size());
}

// A StarDict dictionary: "word=data" entries (data as the .dict holds it), synonyms as
// "word=entry number"; the .idx loses its last cut bytes.
void writeStarDict(const QString &base, const QStringList &entries, const QByteArray &sequence,
                   const QStringList &synonyms, int cut)
{
    QByteArray idx, dict, syn;
    for (const QString &entry : entries) {
        const QByteArray data = entry.section('=', 1).toUtf8().replace("\\0", QByteArray(1, 0));
        idx += entry.section('=', 0, 0).toUtf8() + '\0' + bigEndian32(quint32(dict.size())) +
               bigEndian32(quint32(data.size()));
        dict += data;
    }
    for (const QString &synonym : synonyms)
        syn += synonym.section('=', 0, 0).toUtf8() + '\0' +
               bigEndian32(synonym.section('=', 1).toUInt());
    writeFile(base + ".ifo", "StarDict's dict ifo file\nversion=2.4.2\nbookname=t\nwordcount=" +
                                 QByteArray::number(entries.size()) +
                                 (sequence.isEmpty() ? "" : "\nsametypesequence=" + sequence) +
                                 "\n");
    writeFile(base + ".idx", idx.chopped(cut));
    writeFile(base + ".dict", dict);
    if (!synonyms.isEmpty())
        writeFile(base + ".syn", syn);
}

ProgramRun dict(const QString &db, const QStringList &arguments)
{
    return runProgram(QStringLiteral(VANTRO_DICT_EXECUTABLE), QStringList{"--db", db} + arguments);
}

bool have(const char *program)
{
    return !QStandardPaths::findExecutable(QLatin1String(program)).isEmpty();
}

} // namespace

class TestExchange : public QObject
{
    Q_OBJECT

private slots:
    void meanings_data();
    void meanings();
    void starDictFiles_data();
    void starDictFiles();
    void realDictionaries();
    void exportReadBySdcv();
    void cancelledImport();
};

void TestExchange::meanings_data()
{
    QTest::addColumn<QString>("markup");
    QTest::addColumn<QString>("scheme");
    QTest::addColumn<QString>("definition");
    QTest::addColumn<QString>("meaning");
    QFile rows(QFINDTESTDATA("data/meanings.tsv"));
    QVERIFY(rows.open(QIODevice::ReadOnly));
    for (const QByteArray &line : rows.readAll().split('\n')) {
        const QStringList fields = QString::fromUtf8(line).split('\t');
        if (fields.size() == 4)
            QTest::newRow(qPrintable(fields[2]))
                << fields[0] << fields[1] << QString(fields[2]).replace("\\n", "\n") << fields[3];
    }
}

void TestExchange::meanings()
{
    QFETCH(QString, markup);
    QFETCH(QString, scheme);
    QFETCH(QString, definition);
    QFETCH(QString, meaning);
    RomanScheme roman = RomanScheme::None;
    QVERIFY(scheme == "none" || romanSchemeFromName(scheme, roman));
    const DefinitionMarkup kind = markup == "html"   ? DefinitionMarkup::Html
                                  : markup == "xdxf" ? DefinitionMarkup::Xdxf
                                                     : DefinitionMarkup::Plain;
    QCOMPARE(meaningFromDefinition(plainDefinition(definition, kind), roman), meaning);
}

// Each row imports a hand-made StarDict into a dictionary holding the translator's
// fire = vahni, and the records afterwards are the stored ones with the row's.
void TestExchange::starDictFiles_data()
{
    QTest::addColumn<QStringList>("entries");
    QTest::addColumn<QByteArray>("sequence");
    QTest::addColumn<QStringList>("synonyms");
    QTest::addColumn<int>("cut");
    QTest::addColumn<QStringList>("options");
    QTest::addColumn<QByteArray>("output"); // standard output, or the error when refused
    QTest::addColumn<QList<KeyData>>("added");
    QTest::newRow("duplicates merge, the stored record is kept")
        << QStringList{"Water=जल", " water =पानी", "fire=अग्नि"} << QByteArray("m") << QStringList()
        << 0 << QStringList() << QByteArray("added 1, kept 1, replaced 0, appended 0")
        << QList<KeyData>{{"water", "jala; pAnI"}};
    QTest::newRow("html, replacing")
        << QStringList{"fire=<b>अग्नि</b><br>flame <i>hot</i>"} << QByteArray("h") << QStringList()
        << 0 << QStringList{"--on-conflict", "replace"} << QByteArray("added 0, kept 0, replaced 1")
        << QList<KeyData>{{"fire", "agni; ##flame hot##"}};
    QTest::newRow("appending: a sense inside another is kept, the dictionary named")
        << QStringList{"fire=वह्नि; वह्;; अनल"} << QByteArray("m") << QStringList() << 0
        << QStringList{"--on-conflict", "append"} << QByteArray("kept 0, replaced 0, appended 1")
        << QList<KeyData>{{"fire", "vahni; ##[t]## vah; anala"}};
    QTest::newRow("appending what the record has already")
        << QStringList{"fire=वह्नि"} << QByteArray("m") << QStringList() << 0
        << QStringList{"--on-conflict", "append"} << QByteArray("kept 1, replaced 0, appended 0")
        << QList<KeyData>{};
    QTest::newRow("per-entry types, a sound passed over")
        << QStringList{"sun=mसूर्य\\0W\\0\\0\\0\\0hday <b>star</b>\\0"} << QByteArray()
        << QStringList() << 0 << QStringList() << QByteArray("added 1")
        << QList<KeyData>{{"sun", "sUrya; ##day star##"}};
    QTest::newRow(".syn leads to its entry")
        << QStringList{"color=रंग"} << QByteArray("m") << QStringList{"colour=0"} << 0
        << QStringList() << QByteArray("added 2")
        << QList<KeyData>{{"color", "raMga"}, {"colour", "raMga|color"}};
    QTest::newRow("headwords a key cannot hold are named")
        << QStringList{"जल=x", "ok=y"} << QByteArray("m") << QStringList() << 0 << QStringList()
        << QByteArray("skipped 1 headword(s) that a dictionary cannot hold (empty, or beyond "
                      "Latin-1): \"\xe0\xa4\x9c\xe0\xa4\xb2\"\n")
        << QList<KeyData>{{"ok", "##y##"}};
    QTest::newRow("damaged .idx: refused, nothing imported")
        << QStringList{"a=x", "b=y"} << QByteArray("m") << QStringList() << 3 << QStringList()
        << QByteArray("t.idx is damaged: entry 2 is cut short") << QList<KeyData>();
}

void TestExchange::starDictFiles()
{
    QFETCH(QStringList, entries);
    QFETCH(QByteArray, sequence);
    QFETCH(QStringList, synonyms);
    QFETCH(int, cut);
    QFETCH(QStringList, options);
    QFETCH(QByteArray, output);
    QFETCH(QList<KeyData>, added);
    QTemporaryDir dir;
    const QString db = dir.filePath("morvak.db");
    QVERIFY(DbUtilities::load(db, {{"fire", "vahni"}}));
    writeStarDict(dir.filePath("t"), entries, sequence, synonyms, cut);
    const QString conflicts = dir.filePath("conflicts.tsv");
    const ProgramRun run =
        dict(db, QStringList{"import", "--conflicts", conflicts, dir.filePath("t.ifo")} + options);
    QVERIFY2((cut ? run.err : run.out).contains(output), (run.out + run.err).constData());
    QCOMPARE(run.status, cut ? 1 : 0);
    QMap<QByteArray, QByteArray> expected{{"fire", "vahni"}};
    for (const KeyData &record : added)
        expected.insert(record.first, record.second);
    QList<KeyData> records;
    for (auto it = expected.cbegin(); it != expected.cend(); ++it)
        records.append({it.key(), it.value()});
    QCOMPARE(DbUtilities::dump(db), records);
    // The record that was not taken is named in the exchange format.
    const bool keptFire = entries.contains(QString::fromUtf8("fire=अग्नि")) && options.isEmpty();
    QCOMPARE(fileBytes(conflicts), QByteArray(keptFire ? "fire\tagni\n" : ""));
}

// The Debian dictd dictionary, and a StarDict made from it by pyglossary, give the same words.
void TestExchange::realDictionaries()
{
    if (!QFile::exists(kFreeDict))
        QSKIP("dict-freedict-eng-hin is not installed");
    QTemporaryDir dir;
    ProgramRun run = dict(dir.filePath("d.db"), {"import", kFreeDict});
    QVERIFY2(run.status == 0 && run.out.endsWith("added 22871, kept 0, replaced 0, appended 0\n"),
             run.out.constData());
    run = dict(dir.filePath("d.db"), {"get", "water"});
    // Hindi, as the dictionary's name says: fenced whole and named, never taken for Sanskrit.
    QVERIFY2(run.out.startsWith("water\t##[hi] 1. pAnI; \"Drink plenty of water"),
             run.out.constData());
    if (!have("pyglossary"))
        QSKIP("pyglossary is not installed");
    run = runProgram("pyglossary", {kFreeDict, dir.filePath("eng-hin.ifo"), "--read-format=DictOrg",
                                    "--write-format=Stardict", "--no-progress-bar"});
    QCOMPARE(run.status, 0);
    QVERIFY(dict(dir.filePath("s.db"), {"import", dir.filePath("eng-hin.ifo")}).status == 0);
    const auto keys = [](const QList<KeyData> &records) {
        QList<QByteArray> keys;
        for (const KeyData &record : records)
            keys.append(record.first);
        return keys;
    };
    QCOMPARE(keys(DbUtilities::dump(dir.filePath("s.db"))),
             keys(DbUtilities::dump(dir.filePath("d.db"))));
}

// Enough records for several dictzip chunks: sdcv finds the last word by seeking to its chunk.
void TestExchange::exportReadBySdcv()
{
    QTemporaryDir dir;
    QList<KeyData> records;
    for (int i = 0; i < 3000; ++i)
        records.append({"word" + QByteArray::number(100000 + i), QByteArray(100, 'a') + "M"});
    records.append(KeyData("zebra", "gardabhaH|equus"));
    QVERIFY(DbUtilities::load(dir.filePath("morvak.db"), records));
    QDir().mkdir(dir.filePath("sd"));
    const ProgramRun run = dict(dir.filePath("morvak.db"),
                                {"export", "--format", "stardict", dir.filePath("sd/mine.ifo")});
    QCOMPARE(run.out, "exported 3001 records to " + dir.filePath("sd/mine.ifo").toUtf8() + '\n');
    if (!have("sdcv"))
        QSKIP("sdcv is not installed");
    const ProgramRun read = runProgram("sdcv", {"--data-dir", dir.filePath("sd"), "-n", "zebra"});
    QVERIFY2(read.out.contains("\ngardabhaH\n\xe0\xa4\x97\xe0\xa4\xb0\xe0\xa5\x8d\xe0\xa4\xa6\xe0"
                               "\xa4\xad\xe0\xa4\x83\nsynonyms: equus"),
             read.out.constData());
}

// Cancelled at the first report of progress, the import leaves the file and nothing beside it.
void TestExchange::cancelledImport()
{
    QTemporaryDir dir;
    QByteArray lines;
    for (int i = 0; i < 20000; ++i)
        lines += "w" + QByteArray::number(i) + "\tm\n";
    writeFile(dir.filePath("in.tsv"), lines);
    QVERIFY(DbUtilities::load(dir.filePath("morvak.db"), {{"fire", "vahni"}}));
    cDictDB db(dir.filePath("morvak.db"));
    QCOMPARE(db.openDB(), 0);
    ImportSource source = openImportSource(dir.filePath("in.tsv"), ImportFormat::Detect, {});
    const ImportOutcome outcome =
        importIntoDictionary(db, *source.records, {}, [](qint64, qint64) { return false; });
    QCOMPARE(int(outcome.status), int(ImportOutcome::Status::Cancelled));
    QCOMPARE(db.closeDB(), 0);
    QCOMPARE(DbUtilities::dump(dir.filePath("morvak.db")), (QList<KeyData>{{"fire", "vahni"}}));
    QCOMPARE(QDir(dir.path()).entryList({"*.new-*"}, QDir::Files), QStringList());
}

QTEST_GUILESS_MAIN(TestExchange)
#include "tst_exchange.moc"

// SPDX-License-Identifier: GPL-3.0-or-later
// Other dictionaries in and out: definitions as meanings, StarDict and dictd files (hand-made for
// the edge cases, a Debian dictd dictionary and a StarDict made from it by pyglossary), the
// StarDict export read back by sdcv, and imports cancelled or failing to read their input.
#include "aptearticle.h"
#include "borooaharticle.h"
#include "capture.h"
#include "datarows.h"
#include "dbtools.h"
#include "dictdb.h"
#include "dictionaryimport.h"
#include "englishwords.h"
#include "importsource.h"
#include "meaningtext.h"
#include "mwarticle.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <QtEndian>

#include <zlib.h>

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

// A dictd database: "index headword=definition" entries, the offsets and lengths in dictd's
// base-64 digits.
void writeDictd(const QString &base, const QStringList &entries)
{
    static const char digits[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
    const auto base64 = [](quint64 value) {
        QByteArray out;
        do {
            out.prepend(digits[value % 64]);
            value /= 64;
        } while (value > 0);
        return out;
    };
    QByteArray index, data;
    for (const QString &entry : entries) {
        const QByteArray text = entry.section('=', 1).toUtf8();
        index += entry.section('=', 0, 0).toUtf8() + '\t' + base64(quint64(data.size())) + '\t' +
                 base64(quint64(text.size())) + '\n';
        data += text;
    }
    writeFile(base + ".index", index);
    writeFile(base + ".dict", data);
}

QByteArray bigEndian64(quint64 value)
{
    QByteArray bytes(8, '\0');
    qToBigEndian(value, bytes.data());
    return bytes;
}

// A StarDict whose one entry the index places at offset, size bytes long, with 64-bit offsets.
void writeWideIndex(const QString &base, quint64 offset, quint32 size)
{
    writeFile(base + ".ifo", "StarDict's dict ifo file\nversion=3.0.0\nbookname=t\nwordcount=1\n"
                             "idxoffsetbits=64\nsametypesequence=m\n");
    writeFile(base + ".idx", QByteArray("a\0", 2) + bigEndian64(offset) + bigEndian32(size));
    writeFile(base + ".dict", QByteArray(64, 'x'));
}

ProgramRun dict(const QString &db, const QStringList &arguments)
{
    return runProgram(QStringLiteral(VANTRO_DICT_EXECUTABLE), QStringList{"--db", db} + arguments);
}

bool have(const char *program)
{
    return !QStandardPaths::findExecutable(QLatin1String(program)).isEmpty();
}

// While it lives, the programs a test runs fail to read a file after so many bytes of it (none
// when the count is negative).
class ReadFailure
{
public:
    ReadFailure(const QString &path, qint64 after) : m_active(after >= 0)
    {
        if (!m_active)
            return;
        qputenv("LD_PRELOAD", VANTRO_READ_SEAM);
        qputenv("VANTRO_READ_FAILS_ON", path.toUtf8());
        qputenv("VANTRO_READ_FAILS_AFTER", QByteArray::number(after));
        // A sanitized program wants its runtime loaded first; the preload only wraps read().
        m_hadSanitizerOptions = qEnvironmentVariableIsSet("ASAN_OPTIONS");
        m_sanitizerOptions = qgetenv("ASAN_OPTIONS");
        qputenv("ASAN_OPTIONS", m_sanitizerOptions + ":verify_asan_link_order=0");
    }
    ~ReadFailure()
    {
        if (!m_active)
            return;
        qunsetenv("LD_PRELOAD");
        qunsetenv("VANTRO_READ_FAILS_ON");
        qunsetenv("VANTRO_READ_FAILS_AFTER");
        if (m_hadSanitizerOptions)
            qputenv("ASAN_OPTIONS", m_sanitizerOptions);
        else
            qunsetenv("ASAN_OPTIONS");
    }
    ReadFailure(const ReadFailure &) = delete;
    ReadFailure &operator=(const ReadFailure &) = delete;

private:
    bool m_active;
    bool m_hadSanitizerOptions = false;
    QByteArray m_sanitizerOptions;
};

} // namespace

class TestExchange : public QObject
{
    Q_OBJECT

private slots:
    void meanings_data();
    void meanings();
    void articles_data();
    void articles();
    void starDictFiles_data();
    void starDictFiles();
    void dictdFiles_data();
    void dictdFiles();
    void hostileFiles_data();
    void hostileFiles();
    void textFiles_data();
    void textFiles();
    void realDictionaries();
    void exportChunksInflateAlone();
    void exportImportGivesRecordsBack();
    void exportWhileAWindowWrites();
    void exportReadBySdcv();
    void cancelledImport();
};

void TestExchange::meanings_data()
{
    QTest::addColumn<QString>("markup");
    QTest::addColumn<QString>("scheme");
    QTest::addColumn<QString>("definition");
    QTest::addColumn<QString>("meaning");
    for (const DataRow &row : DataRows::casesOf(QFINDTESTDATA("data/meanings.tsv"), 4, 4))
        QTest::newRow(row.place.constData())
            << row.text(0) << row.text(1) << row.text(2).replace("\\n", "\n") << row.text(3);
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

void TestExchange::articles_data()
{
    QTest::addColumn<QString>("layout");
    QTest::addColumn<QString>("headword");
    QTest::addColumn<QString>("record");
    QTest::addColumn<QString>("first");
    QTest::addColumn<QString>("fences");
    QTest::addColumn<QString>("article");
    for (const DataRow &row : DataRows::casesOf(QFINDTESTDATA("data/articles.tsv"), 6, 6))
        QTest::newRow(qPrintable(row.text(0) + ' ' + row.text(2)))
            << row.text(0) << row.text(1) << row.text(2) << row.text(3) << row.text(4)
            << row.text(5).replace("\\t", "\t");
}

// An article of a classic dictionary as the meaning of one of its records: it starts with the
// first Sanskrit equivalent and its tag, and fences the English, and only the English.
void TestExchange::articles()
{
    QFETCH(QString, layout);
    QFETCH(QString, headword);
    QFETCH(QString, article);
    static const ApteScript apte(RomanScheme::Slp1, EnglishWords::instance());
    const QList<Article> read = layout == "mw"     ? readMwArticle(headword, article)
                                : layout == "apte" ? readApteArticle(headword, article, apte)
                                                   : readBorooahArticle(headword, article);
    QFETCH(QString, record);
    const auto own = std::find_if(read.cbegin(), read.cend(),
                                  [&record](const Article &a) { return a.headword == record; });
    QVERIFY(own != read.cend());
    const QString meaning = latin1Meaning(meaningOfArticle(*own), nullptr);
    QFETCH(QString, first);
    QVERIFY2(meaning.startsWith(first), qPrintable(meaning));
    const QString after = meaning.mid(first.size());
    QVERIFY2(after.isEmpty() || after.startsWith(',') || after.startsWith(';') ||
                 after.startsWith(" ##"),
             qPrintable(meaning));
    QStringList fenced;
    for (qsizetype open = meaning.indexOf("##"); open >= 0;) {
        const qsizetype close = meaning.indexOf("##", open + 2);
        QVERIFY2(close > open, qPrintable(meaning));
        fenced.append(meaning.mid(open + 2, close - open - 2));
        open = meaning.indexOf("##", close + 2);
    }
    QTEST(fenced.join(" | "), "fences");
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
    QTest::newRow("a text field without its NUL ends the data")
        << QStringList{"sun=day star"} << QByteArray("mm") << QStringList() << 0 << QStringList()
        << QByteArray("added 1") << QList<KeyData>{{"sun", "##day star##"}};
    QTest::newRow(".syn leads to its entry")
        << QStringList{"color=रंग"} << QByteArray("m") << QStringList{"colour=0"} << 0
        << QStringList() << QByteArray("added 2")
        << QList<KeyData>{{"color", "raMga"}, {"colour", "raMga|color"}};
    QTest::newRow("headwords a key cannot hold are named")
        << QStringList{"जल=x", "ok=y"} << QByteArray("m") << QStringList() << 0 << QStringList()
        << QByteArray("skipped 1 headword(s) that a dictionary cannot hold (empty, or beyond "
                      "Latin-1): \"\xe0\xa4\x9c\xe0\xa4\xb2\"\n")
        << QList<KeyData>{{"ok", "##y##"}};
    QTest::newRow("a first line holding more than the headword is a meaning")
        << QStringList{"cat=cat /kaet/ n. बिल्ली", "water=water <n> जलम्", "karma=karma"}
        << QByteArray("m") << QStringList() << 0 << QStringList() << QByteArray("added 3")
        << QList<KeyData>{{"cat", "##cat /kaet/ n.## billI"},
                          {"karma", "##karma##"},
                          {"water", "##water <n>## jalam"}};
    QTest::newRow("only the first line, when it is the headword and its pronunciation")
        << QStringList{"sun=Sun /san/ <N>\nसूर्य\nsun /san/ <N>"} << QByteArray("m") << QStringList()
        << 0 << QStringList() << QByteArray("added 1")
        << QList<KeyData>{{"sun", "sUrya; ##sun /san/ <N>##"}};
    QTest::newRow("definitions a converter merged with rules, plain text with <br>")
        << QStringList{"moon=moon /muːn/ <N><br />चन्द्र<br /><hr><br />moon /muːn/ "
                       "<V><br />घूमना"}
        << QByteArray("m") << QStringList() << 0 << QStringList() << QByteArray("added 1")
        << QList<KeyData>{{"moon", "chandra; ghUmanA"}};
    QTest::newRow("empty meanings are named, and never replace a stored one")
        << QStringList{"fire=<img src=\"f.png\">", "ash=<br>"} << QByteArray("h") << QStringList()
        << 0 << QStringList{"--on-conflict", "replace"}
        << QByteArray("2 record(s) came with no meaning (their definitions held no text): "
                      "\"ash\", \"fire\"\nadded 1, kept 1, replaced 0")
        << QList<KeyData>{{"ash", ""}};
    QTest::newRow("empty headwords are counted, the others named")
        << QStringList{" =x", "=y", "जल=z", "ok=w"} << QByteArray("m") << QStringList() << 0
        << QStringList()
        << QByteArray("skipped 3 headword(s) that a dictionary cannot hold (empty, or beyond "
                      "Latin-1): 2 empty, \"\xe0\xa4\x9c\xe0\xa4\xb2\"\n")
        << QList<KeyData>{{"ok", "##w##"}};
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
    const bool emptyFire = entries.contains(QString::fromUtf8("fire=<img src=\"f.png\">"));
    QCOMPARE(fileBytes(conflicts), QByteArray(keptFire    ? "fire\tagni\n"
                                              : emptyFire ? "fire\t\n"
                                                          : ""));
}

// A dictd dictionary imported into an empty one gives these records.
void TestExchange::dictdFiles_data()
{
    QTest::addColumn<QStringList>("entries");
    QTest::addColumn<QByteArray>("output");
    QTest::addColumn<QList<KeyData>>("records");
    QTest::newRow("a headword indexed in a normalized form is taken as written")
        << QStringList{"absentminded=absent-minded /x/ <Adj>\n1. अनमना\n",
                       "a feather in ones cap=A feather in one's cap /x/ <IDM>\nकठिन\n"}
        << QByteArray("added 2")
        << QList<KeyData>{{"a feather in one's cap", "kaThina"},
                          {"absent-minded", "##1.## anamanA"}};
    QTest::newRow("an index headword the first line does not spell stays")
        << QStringList{"meal=oatmeal /x/ <N>\nदलिया\n", "=???? <V>\nखाना\n"}
        << QByteArray("skipped 1 headword(s) that a dictionary cannot hold (empty, or beyond "
                      "Latin-1): 1 empty\nadded 1")
        << QList<KeyData>{{"meal", "##oatmeal /x/ <N>##; daliyA"}};
}

void TestExchange::dictdFiles()
{
    QFETCH(QStringList, entries);
    QFETCH(QByteArray, output);
    QFETCH(QList<KeyData>, records);
    QTemporaryDir dir;
    writeDictd(dir.filePath("t"), entries);
    const ProgramRun run = dict(dir.filePath("d.db"), {"import", dir.filePath("t.index")});
    QVERIFY2(run.status == 0 && run.out.contains(output), (run.out + run.err).constData());
    QCOMPARE(DbUtilities::dump(dir.filePath("d.db")), records);
}

// Files made to break the reader are refused with the reason, promptly, and nothing is
// imported.
void TestExchange::hostileFiles_data()
{
    QTest::addColumn<QString>("kind");
    QTest::addColumn<QString>("opened");
    QTest::addColumn<QByteArray>("error");
    QTest::newRow("an offset that wraps past 2^64 with the size")
        << "wrap"
        << "t.ifo" << QByteArray("lies outside");
    QTest::newRow("an offset 2^31 short of 2^64, the sum wrapping")
        << "far"
        << "t.ifo" << QByteArray("lies outside");
    QTest::newRow("a size beyond the data") << "long"
                                            << "t.ifo" << QByteArray("lies outside");
    QTest::newRow("dictd: an offset of ten digits") << "dictd"
                                                    << "t.index" << QByteArray("lies outside");
    QTest::newRow("a .dict.dz that inflates far beyond the index")
        << "bomb"
        << "t.ifo" << QByteArray("inflates beyond the 5 bytes the index declares");
    QTest::newRow("a FIFO named .dict") << "fifo"
                                        << "t.ifo" << QByteArray("t.dict is not a regular file");
    QTest::newRow("a FIFO named .index")
        << "fifo-index"
        << "t.index" << QByteArray("t.index is not a regular file");
}

void TestExchange::hostileFiles()
{
    QFETCH(QString, kind);
    QFETCH(QString, opened);
    QFETCH(QByteArray, error);
    QTemporaryDir dir;
    const QString base = dir.filePath("t");
    if (kind == "wrap")
        writeWideIndex(base, ~quint64(0) - 7, 64);
    else if (kind == "far")
        writeWideIndex(base, ~quint64(0) - (quint64(1) << 31) + 1, (quint32(1) << 31) + 8);
    else if (kind == "long")
        writeWideIndex(base, 8, 57);
    if (kind == "dictd") {
        writeDictd(base, {"a=x"});
        writeFile(base + ".index", "a\t//////////\tB\n");
    }
    if (kind == "bomb") {
        writeStarDict(base, {"a=hello"}, "m", {}, 0);
        writeFile(base + ".dict", QByteArray(32 << 20, 'x'));
        QCOMPARE(runProgram("gzip", {"-1", "-S", ".dz", base + ".dict"}).status, 0);
    }
    if (kind.startsWith("fifo")) {
        writeStarDict(base, {"a=hello"}, "m", {}, 0);
        const QString fifo = base + (kind == "fifo" ? ".dict" : ".index");
        QFile::remove(fifo);
        QCOMPARE(runProgram("mkfifo", {fifo}).status, 0);
    }
    const ProgramRun run = dict(dir.filePath("d.db"), {"import", dir.filePath(opened)});
    QVERIFY2(run.status == 1 && run.err.contains(error), (run.out + run.err).constData());
    QVERIFY(!QFile::exists(dir.filePath("d.db")));
}

// Tab-separated text: the exchange format, the glossary of a converter, or neither; and a file in
// key order whose second reading fails half-way (a read error is never the end of a shorter file).
void TestExchange::textFiles_data()
{
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<QList<KeyData>>("stored");
    QTest::addColumn<qint64>("readFailsAfter");
    QTest::addColumn<int>("status");
    QTest::addColumn<QByteArray>("output");
    QTest::addColumn<QList<KeyData>>("records");
    QTest::newRow("a converter's glossary is read as a dictionary")
        << QByteArray("##name\tt\n##sourceLang\tEnglish\nwater\twater /w/ <N><br />1. "
                      "\xe0\xa4\xaa\xe0\xa4\xbe\xe0\xa4\xa8\xe0\xa5\x80\\n<br />\n")
        << QList<KeyData>() << qint64(-1) << 0 << QByteArray("added 1")
        << QList<KeyData>{{"water", "##1.## pAnI"}};
    QTest::newRow("text that is no record at all: one line")
        << QByteArray("water\t\xe0\xa4\xaa\xe0\xa4\xbe\nfire\t\xe0\xa4\x85\n") << QList<KeyData>()
        << qint64(-1) << 1
        << QByteArray("vantro-dict: in.txt holds no line in the exchange format (word, tab, "
                      "meaning in ITRANS); nothing was imported\n")
        << QList<KeyData>();
    // Both longer than the glance at the head that tells the format.
    QByteArray inKeyOrder, glossary("##name\tt\n");
    for (int i = 10000; i < 14000; ++i) {
        inKeyOrder += "w" + QByteArray::number(i) + "\tjalam\n";
        glossary += "w" + QByteArray::number(i) + "\t\xe0\xa4\x9c\xe0\xa4\xb2\n";
    }
    const QList<KeyData> stored{{"fire", "agniH"}, {"w12000", "vahniH"}};
    QTest::newRow("the reading of a converter's glossary fails: nothing changes")
        << glossary << stored << qint64(glossary.size() / 2) << 1
        << QByteArray("vantro-dict: reading in.txt failed: Input/output error") << stored;
    QTest::newRow("the second reading of a file in key order fails: nothing changes")
        << inKeyOrder << stored << qint64(inKeyOrder.size() * 3 / 2) << 1
        << QByteArray("vantro-dict: cannot read in.txt: Input/output error") << stored;
}

void TestExchange::textFiles()
{
    QFETCH(QByteArray, text);
    QFETCH(QList<KeyData>, stored);
    QFETCH(qint64, readFailsAfter);
    QFETCH(int, status);
    QFETCH(QByteArray, output);
    QFETCH(QList<KeyData>, records);
    QTemporaryDir dir;
    writeFile(dir.filePath("in.txt"), text);
    if (!stored.isEmpty())
        QVERIFY(DbUtilities::load(dir.filePath("d.db"), stored));
    const ReadFailure failure(QFileInfo(dir.filePath("in.txt")).canonicalFilePath(),
                              readFailsAfter);
    const ProgramRun run = dict(dir.filePath("d.db"), {"import", dir.filePath("in.txt")});
    QCOMPARE(run.status, status);
    QVERIFY2((status ? QByteArray(run.err).replace(dir.path().toUtf8() + '/', "") : run.out)
                 .contains(output),
             (run.out + run.err).constData());
    if (status == 0 || !stored.isEmpty())
        QCOMPARE(DbUtilities::dump(dir.filePath("d.db")), records);
}

// The Debian dictd dictionary, and the StarDict (plain text and HTML) and tab-separated text
// pyglossary makes of it, give the same records: the few that differ are where pyglossary turned
// a dictd cross-reference that spans two lines into a link.
void TestExchange::realDictionaries()
{
    if (!QFile::exists(kFreeDict))
        QSKIP("dict-freedict-eng-hin is not installed");
    QTemporaryDir dir;
    ProgramRun run = dict(dir.filePath("d.db"), {"import", kFreeDict});
    QVERIFY2(run.status == 0 && run.out.endsWith("added 22889, kept 0, replaced 0, appended 0\n"),
             run.out.constData());
    run = dict(dir.filePath("d.db"), {"get", "absent-minded"});
    // Hindi, as the dictionary's name says: fenced whole and named, never taken for Sanskrit.
    QVERIFY2(run.out.startsWith("absent-minded\t##[hi] 1. anamanA, khoyA-khoyA"),
             run.out.constData());
    run = dict(dir.filePath("d.db"), {"get", "water"});
    QVERIFY2(run.out.startsWith("water\t##[hi] 1. pAnI; \"Drink plenty of water"),
             run.out.constData());
    if (!have("pyglossary"))
        QSKIP("pyglossary is not installed");
    // The words under "b", so that each conversion takes seconds: pyglossary reads the index
    // of those with the whole data file.
    QByteArray index;
    for (const QByteArray &line : fileBytes(kFreeDict).split('\n')) {
        if (line.startsWith('b'))
            index += line + '\n';
    }
    const QString subset = dir.filePath("b.index");
    writeFile(subset, index);
    QVERIFY(
        QFile::copy(QString(kFreeDict).replace(".index", ".dict.dz"), dir.filePath("b.dict.dz")));
    run = dict(dir.filePath("b.db"), {"import", subset});
    QCOMPARE(run.status, 0);
    const QList<KeyData> fromDictd = DbUtilities::dump(dir.filePath("b.db"));
    QVERIFY(fromDictd.size() > 700);
    for (const QString sequence : {"m", "h", "tab"}) {
        QDir(dir.path()).mkdir(sequence);
        const QString target = dir.filePath(sequence + (sequence == "tab" ? ".txt" : "/e.ifo"));
        const QStringList writing =
            sequence == "tab" ? QStringList{"--write-format=Tabfile"}
                              : QStringList{"--write-format=Stardict",
                                            "--write-options=sametypesequence=" + sequence};
        run = runProgram("pyglossary", QStringList{subset, target, "--read-format=DictOrg",
                                                   "--no-progress-bar", "--indirect"} +
                                           writing);
        QVERIFY2(run.status == 0, run.err.right(2000).constData());
        const QString db = dir.filePath(sequence + ".db");
        run = dict(db, {"import", target});
        QVERIFY2(run.status == 0, (run.out + run.err).constData());
        const QList<KeyData> converted = DbUtilities::dump(db);
        QCOMPARE(converted.size(), fromDictd.size());
        int differing = 0;
        for (qsizetype i = 0; i < converted.size(); ++i) {
            QCOMPARE(converted[i].first, fromDictd[i].first);
            differing += converted[i].second == fromDictd[i].second ? 0 : 1;
        }
        QVERIFY2(differing <= 1, qPrintable(QString::number(differing)));
    }
}

// Every chunk of the exported .dict.dz inflates on its own and ends on a flush, not on the end
// of the stream, as readers that seek check it; the chunks together are the whole text.
void TestExchange::exportChunksInflateAlone()
{
    QTemporaryDir dir;
    QList<KeyData> records;
    for (int i = 0; i < 2000; ++i)
        records.append({"word" + QByteArray::number(100000 + i), QByteArray(100, 'a') + "M"});
    QVERIFY(DbUtilities::load(dir.filePath("morvak.db"), records));
    QVERIFY(
        dict(dir.filePath("morvak.db"), {"export", "--format", "stardict", dir.filePath("e.ifo")})
            .status == 0);
    // Readable as the other files are (a scratch file is its owner's alone).
    QCOMPARE(QFileInfo(dir.filePath("e.dict.dz")).permissions(),
             QFileInfo(dir.filePath("e.idx")).permissions());
    const QByteArray file = fileBytes(dir.filePath("e.dict.dz"));
    QVERIFY(file.size() > 12 && (file.at(3) & 0x04));
    const qsizetype extraLength = qFromLittleEndian<quint16>(file.constData() + 10);
    const char *ra = file.constData() + 12 + 4; // past "RA" and its length
    QCOMPARE(QByteArray(file.constData() + 12, 2), QByteArray("RA"));
    const int chunkLength = qFromLittleEndian<quint16>(ra + 2);
    const int chunks = qFromLittleEndian<quint16>(ra + 4);
    QVERIFY(chunks > 2);
    qsizetype at = 12 + extraLength;
    QByteArray text;
    for (int chunk = 0; chunk < chunks; ++chunk) {
        const int size = qFromLittleEndian<quint16>(ra + 6 + 2 * chunk);
        z_stream stream{};
        QCOMPARE(inflateInit2(&stream, -MAX_WBITS), Z_OK);
        QByteArray out(chunkLength, '\0');
        stream.next_in = reinterpret_cast<Bytef *>(const_cast<char *>(file.constData() + at));
        stream.avail_in = uInt(size);
        stream.next_out = reinterpret_cast<Bytef *>(out.data());
        stream.avail_out = uInt(out.size());
        QCOMPARE(inflate(&stream, Z_SYNC_FLUSH), Z_OK);
        QCOMPARE(stream.avail_in, 0u);
        QVERIFY(chunk + 1 == chunks || stream.total_out == uLong(chunkLength));
        text += out.left(qsizetype(stream.total_out));
        inflateEnd(&stream);
        at += size;
    }
    const ProgramRun whole = runProgram("gzip", {"-dc", dir.filePath("e.dict.dz")});
    QCOMPARE(whole.status, 0);
    QCOMPARE(text, whole.out);
}

// Export and import into an empty dictionary give every record back byte for byte; a record
// that no entry can give back is named, not cut.
void TestExchange::exportImportGivesRecordsBack()
{
    QTemporaryDir dir;
    const QList<KeyData> records{{"Capital", "as stored"},
                                 {"bar", "ends in a bar|"},
                                 {"earth", "##pR^ithivI, bhUmiH, dharA##|world"},
                                 {"pipe", "|leads"},
                                 {"zero", QByteArray("cut\0here", 8)},
                                 {"zebra", "gardabhaH|equus, horse"}};
    QVERIFY(DbUtilities::load(dir.filePath("morvak.db"), records));
    ProgramRun run =
        dict(dir.filePath("morvak.db"), {"export", "--format", "stardict", dir.filePath("e.ifo")});
    QVERIFY2(run.out.startsWith("left out 1 record(s) an entry cannot give back: \"zero\": the "
                                "meaning holds a NUL"),
             run.out.constData());
    run = dict(dir.filePath("back.db"), {"import", dir.filePath("e.ifo")});
    QVERIFY2(run.out.endsWith("added 5, kept 0, replaced 0, appended 0\n"), run.out.constData());
    QList<KeyData> expected = records;
    expected.removeAt(4);
    QCOMPARE(DbUtilities::dump(dir.filePath("back.db")), expected);
}

// With a window holding the dictionary, the export reads it as the window last saved it.
void TestExchange::exportWhileAWindowWrites()
{
    QTemporaryDir dir;
    QVERIFY(DbUtilities::load(dir.filePath("morvak.db"), {{"water", "jalam"}}));
    cDictDB window(dir.filePath("morvak.db"));
    QCOMPARE(window.openDB(), 0);
    window.setWord("fire");
    window.setITRANS("agniH");
    QCOMPARE(window.addRecord(), 0);
    const ProgramRun run =
        dict(dir.filePath("morvak.db"), {"export", "--format", "stardict", dir.filePath("e.ifo")});
    QVERIFY2(run.status == 0, run.err.constData());
    QCOMPARE(window.closeDB(), 0);
    QVERIFY(dict(dir.filePath("back.db"), {"import", dir.filePath("e.ifo")}).status == 0);
    QCOMPARE(DbUtilities::dump(dir.filePath("back.db")),
             (QList<KeyData>{{"fire", "agniH"}, {"water", "jalam"}}));
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
    QVERIFY2(read.out.contains("\ngardabhaH\ndevanagari: \xe0\xa4\x97\xe0\xa4\xb0\xe0\xa5\x8d"
                               "\xe0\xa4\xa6\xe0\xa4\xad\xe0\xa4\x83\nsynonyms: equus"),
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

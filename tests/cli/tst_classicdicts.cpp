// SPDX-License-Identifier: GPL-3.0-or-later
// The classic English-Sanskrit dictionaries read article by article: samples of the Cologne
// digitisations of Monier-Williams', Apte's and Borooah's (their Babylon sources, made into
// StarDict files here) give records that start with the first Sanskrit equivalent and its tag.
#include "articlelayout.h"
#include "capture.h"
#include "datarows.h"
#include "importsource.h"
#include "itransword.h"
#include "meaningtext.h"
#include "record.h"

#include <QFile>
#include <QMap>
#include <QTemporaryDir>
#include <QTest>
#include <QtEndian>

using namespace vantro;
using namespace vantro::test;

namespace {

QByteArray bigEndian32(quint32 value)
{
    QByteArray bytes(4, '\0');
    qToBigEndian(value, bytes.data());
    return bytes;
}

bool writeFile(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

// A StarDict dictionary (one HTML field an entry) made from a Babylon source: blocks parted by
// an empty line, a headword line and a definition; "#name=value" lines for the header.
QString starDictFromBabylon(const QString &babylon, const QString &base, QString bookName = {})
{
    QFile source(babylon);
    if (!source.open(QIODevice::ReadOnly))
        return {};
    QByteArray idx, dict;
    int count = 0;
    const QList<QByteArray> blocks = source.readAll().replace("\r", "").split('\n');
    QByteArray headword;
    for (const QByteArray &line : blocks) {
        if (line.startsWith("#bookname=") && bookName.isNull())
            bookName = QString::fromUtf8(line.mid(10));
        if (line.isEmpty() || line.startsWith('#')) {
            headword.clear();
            continue;
        }
        if (headword.isEmpty()) {
            headword = line;
            continue;
        }
        idx +=
            headword + '\0' + bigEndian32(quint32(dict.size())) + bigEndian32(quint32(line.size()));
        dict += line;
        ++count;
        headword.clear();
    }
    const bool written =
        writeFile(base + ".ifo",
                  "StarDict's dict ifo file\nversion=2.4.2\nbookname=" + bookName.toUtf8() +
                      "\nwordcount=" + QByteArray::number(count) + "\nsametypesequence=h\n") &&
        writeFile(base + ".idx", idx) && writeFile(base + ".dict", dict);
    return written ? base + ".ifo" : QString();
}

QString sample(const QString &layout)
{
    return QFINDTESTDATA(QStringLiteral("data/classic/%1-sample.babylon").arg(layout));
}

// The records an import of the dictionary would write: key, meaning.
QMap<QString, QString> recordsOf(const QString &ifo, ArticleLayout layout,
                                 QStringList *notes = nullptr)
{
    ImportSource source = openImportSource(ifo, ImportFormat::Detect, RomanScheme::None, layout);
    QMap<QString, QString> records;
    if (!source.records)
        return records;
    QByteArrayView key, data;
    while (source.records->next(key, data)) {
        QString meaning, synonyms;
        decodeData(data.constData(), data.size(), meaning, synonyms);
        records.insert(QString::fromLatin1(key), meaning);
    }
    if (notes)
        *notes = source.notes;
    return records;
}

bool startsWithEnglish(const QString &meaning)
{
    QString outside = meaning;
    for (qsizetype open = outside.indexOf("##"); open >= 0; open = outside.indexOf("##")) {
        const qsizetype close = outside.indexOf("##", open + 2);
        outside.remove(open, close < 0 ? outside.size() - open : close + 2 - open);
    }
    const bool anySanskrit =
        std::any_of(outside.cbegin(), outside.cend(), [](QChar c) { return c.isLetter(); });
    return anySanskrit && meaning.startsWith("##");
}

} // namespace

class TestClassicDictionaries : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void firstEquivalent_data();
    void firstEquivalent();
    void everyRecord_data();
    void everyRecord();
    void layoutOfBook_data();
    void layoutOfBook();
    void layoutNamedOnTheCommandLine();
    void severalDictionariesInOne();
    void languageOfDictionary_data();
    void languageOfDictionary();
    void articlesOneAtATime();
    void subEntryGivesWayToStored_data();
    void subEntryGivesWayToStored();
    void languageOfStarDict();

private:
    QTemporaryDir m_dir;
    QMap<QString, QMap<QString, QString>> m_records;
};

void TestClassicDictionaries::initTestCase()
{
    for (const QString layout : {"mw", "apte", "borooah"}) {
        const QString ifo = starDictFromBabylon(sample(layout), m_dir.filePath(layout));
        QVERIFY2(!ifo.isEmpty(), qPrintable(layout));
        m_records.insert(layout, recordsOf(ifo, ArticleLayout::Detect));
        QVERIFY2(m_records.value(layout).size() > 60, qPrintable(layout));
    }
}

void TestClassicDictionaries::firstEquivalent_data()
{
    QTest::addColumn<QString>("layout");
    QTest::addColumn<QString>("headword");
    QTest::addColumn<QString>("first");
    for (const DataRow &row :
         DataRows::casesOf(QFINDTESTDATA("data/classic/first-equivalents.tsv"), 3, 3))
        QTest::newRow(row.place.constData()) << row.text(0) << row.text(1) << row.text(2);
}

// The meaning starts with the first equivalent and its tag, up to the separator after them.
void TestClassicDictionaries::firstEquivalent()
{
    QFETCH(QString, layout);
    QFETCH(QString, headword);
    QFETCH(QString, first);
    const QString meaning = m_records.value(layout).value(headword);
    QVERIFY2(meaning.startsWith(first), qPrintable(meaning));
    const QString after = meaning.mid(first.size());
    QVERIFY2(after.isEmpty() || after.startsWith(',') || after.startsWith(';') ||
                 after.startsWith(" ##"),
             qPrintable(meaning));
    QVERIFY(!first.contains("##"));
    // Ctrl+I and Word Forms take the word itself, never a bracket before it.
    QCOMPARE(firstItransWord(meaning), firstItransWord(first));
    QVERIFY(!firstItransWord(meaning).isEmpty());
}

void TestClassicDictionaries::everyRecord_data()
{
    QTest::addColumn<QString>("layout");
    for (const char *layout : {"mw", "apte", "borooah"})
        QTest::newRow(layout) << QString::fromLatin1(layout);
}

// No record starts with English when it has Sanskrit, keeps a link's text or a marker, or
// leaves a fence open.
void TestClassicDictionaries::everyRecord()
{
    QFETCH(QString, layout);
    const QMap<QString, QString> records = m_records.value(layout);
    for (auto it = records.cbegin(); it != records.cend(); ++it) {
        const QString &meaning = it.value();
        const QString what = it.key() + ": " + meaning;
        QVERIFY2(!startsWithEnglish(meaning), qPrintable(what));
        QVERIFY2(!meaning.contains("PDF") && !meaning.contains("Correction") &&
                     !meaning.contains("Page"),
                 qPrintable(what));
        QVERIFY2(!meaning.contains('?') || layout == "borooah", qPrintable(what));
        QVERIFY2(meaning.count("##") % 2 == 0, qPrintable(what));
        QVERIFY2(!meaning.contains("####"), qPrintable(what));
    }
}

void TestClassicDictionaries::layoutOfBook_data()
{
    QTest::addColumn<QString>("bookName");
    QTest::addColumn<QString>("layout");
    QTest::newRow("mw") << "mw-english-sanskrit (en-sa)"
                        << "mw";
    QTest::newRow("apte") << "apte-english-sanskrit-cologne"
                          << "apte";
    QTest::newRow("borooah") << "borooah (en-sa)"
                             << "borooah";
    QTest::newRow("Apte's Sanskrit-English") << "apte-bi"
                                             << "plain";
    QTest::newRow("Monier-Williams' Sanskrit-English") << "mw-sanskrit-english"
                                                       << "plain";
    QTest::newRow("any other") << "English-Hindi FreeDict Dictionary"
                               << "plain";
}

void TestClassicDictionaries::layoutOfBook()
{
    QFETCH(QString, bookName);
    QFETCH(QString, layout);
    QCOMPARE(articleLayoutName(articleLayoutOfBook(bookName)), layout);
}

// A dictionary whose name tells nothing is read as the layout named, and as text without one.
void TestClassicDictionaries::layoutNamedOnTheCommandLine()
{
    const QString ifo = starDictFromBabylon(sample("apte"), m_dir.filePath("unnamed"), "unnamed");
    const ProgramRun plain =
        runProgram(VANTRO_DICT_EXECUTABLE, {"--db", m_dir.filePath("plain.db"), "import", ifo});
    QCOMPARE(plain.status, 0);
    const ProgramRun apte = runProgram(VANTRO_DICT_EXECUTABLE, {"--db", m_dir.filePath("apte.db"),
                                                                "import", "--layout", "apte", ifo});
    QCOMPARE(apte.status, 0);
    QVERIFY2(apte.out.contains("as the apte dictionary's"), qPrintable(apte.out));
    const ProgramRun shown = runProgram(VANTRO_DICT_EXECUTABLE,
                                        {"--db", m_dir.filePath("apte.db"), "lookup", "abandon"});
    QVERIFY2(shown.out.contains("tyaj (1 P), hA (3 P)"), qPrintable(shown.out));
    const ProgramRun wrong = runProgram(
        VANTRO_DICT_EXECUTABLE, {"--db", m_dir.filePath("x.db"), "import", "--layout", "xx", ifo});
    QCOMPARE(wrong.status, 2);
    QVERIFY(wrong.err.contains("--layout takes mw, apte, borooah or plain"));
}

// Two dictionaries imported into one: the second's senses are added to the records the first
// made, marked with its name, and the history says which import brought which word.
void TestClassicDictionaries::severalDictionariesInOne()
{
    const QString db = m_dir.filePath("several.db");
    const auto dict = [&db](const QStringList &arguments) {
        return runProgram(VANTRO_DICT_EXECUTABLE, QStringList{"--db", db} + arguments);
    };
    QCOMPARE(dict({"import", m_dir.filePath("mw.ifo")}).status, 0);
    const ProgramRun apte = dict({"import", "--on-conflict", "append", m_dir.filePath("apte.ifo")});
    QCOMPARE(apte.status, 0);
    const QByteArray abandon = dict({"get", "abandon"}).out;
    QVERIFY2(abandon.startsWith("abandon\ttyaj (1 P), parityaj") &&
                 abandon.contains("; ##[apte]## tyaj (1 P), hA (3 P)"),
             abandon.constData());
    const QByteArray history = dict({"history"}).out;
    const qsizetype second = history.indexOf("\timport\tapte.ifo (apte)\tadded ");
    QVERIFY2(history.contains("\timport\tmw.ifo (mw)\tadded ") && second > 0, history.constData());
    QVERIFY(history.indexOf("\tadded\tabandon\n") < second);
    QVERIFY(history.indexOf("\tappended\tabandon\n") > second);
    QVERIFY(history.indexOf("\tadded\tabbacy\n") > second);
}

void TestClassicDictionaries::languageOfDictionary_data()
{
    QTest::addColumn<QString>("bookName");
    QTest::addColumn<QString>("fileName");
    QTest::addColumn<QString>("language");
    QTest::newRow("the digitisations") << "mw-english-sanskrit (en-sa)"
                                       << "mw"
                                       << "sa";
    QTest::newRow("FreeDict, by its file") << ""
                                           << "freedict-eng-hin"
                                           << "hi";
    QTest::newRow("a StarDict named so") << "eng-deu dictionary"
                                         << "x"
                                         << "de";
    QTest::newRow("a name that tells none") << "borooah"
                                            << "borooah"
                                            << "";
    QTest::newRow("no English to it") << "hin-eng"
                                      << "hin-eng"
                                      << "";
}

void TestClassicDictionaries::languageOfDictionary()
{
    QFETCH(QString, bookName);
    QFETCH(QString, fileName);
    QTEST(vantro::languageOfDictionary(bookName, fileName), "language");
}

// The articles reach the records one at a time: a Monier-Williams sub-entry read before the
// article of its own word gives way to it, one with no article of its own is kept, and an
// article its layout makes nothing of is kept as text instead of lost.
void TestClassicDictionaries::articlesOneAtATime()
{
    const QString babylon = m_dir.filePath("streamed.babylon");
    QVERIFY(writeFile(babylon, "#bookname=mw-english-sanskrit (en-sa)\n\n"
                               "break\nTo BREAK, v. a. भञ्ज् (c. 7. भनक्ति). — (Brittle) भिदुर. — "
                               "(Fragile) क्षणभङ्गुर.\n\n"
                               "brittle\nBRITTLE, a. भङ्गुर.\n\n"
                               "zzyzx\nZZYZX, s. See the preface.\n"));
    const QString ifo = starDictFromBabylon(babylon, m_dir.filePath("streamed"));
    QStringList notes;
    const QMap<QString, QString> records = recordsOf(ifo, ArticleLayout::Detect, &notes);
    QVERIFY2(records.value("break").startsWith("bha~nj"), qPrintable(records.value("break")));
    QCOMPARE(records.value("brittle"), QString("bha~Ngura"));
    QVERIFY2(records.value("fragile").startsWith("kShaNabha~Ngura"),
             qPrintable(records.value("fragile")));
    QVERIFY2(records.value("zzyzx").contains("preface"), qPrintable(records.value("zzyzx")));
    QVERIFY2(notes.contains("read 3 article(s) as the mw dictionary's; 1 derived word(s) and "
                            "sub-entries became records of their own"),
             qPrintable(notes.join('\n')));
}

void TestClassicDictionaries::subEntryGivesWayToStored_data()
{
    QTest::addColumn<QString>("policy");
    for (const char *policy : {"keep", "replace", "append"})
        QTest::newRow(policy) << QString::fromLatin1(policy);
}

// A Monier-Williams sub-entry becomes a record only where the dictionary imported into has none
// under its word, whatever the import does with its other records: its Sanskrit stays a sense
// of the article it was printed under.
void TestClassicDictionaries::subEntryGivesWayToStored()
{
    QFETCH(QString, policy);
    const QString babylon = m_dir.filePath("sub.babylon");
    QVERIFY(writeFile(babylon, "#bookname=mw-english-sanskrit (en-sa)\n\n"
                               "break\nTo BREAK, v. a. भञ्ज् (c. 7. भनक्ति). — (Brittle) भिदुर. — "
                               "(Fragile) क्षणभङ्गुर.\n\n"
                               "water\nWATER, s. जलं.\n"));
    const QString ifo = starDictFromBabylon(babylon, m_dir.filePath("sub-" + policy));
    const QString db = m_dir.filePath("sub-" + policy + ".db");
    const auto dict = [&db](const QStringList &arguments) {
        return runProgram(VANTRO_DICT_EXECUTABLE, QStringList{"--db", db} + arguments);
    };
    QCOMPARE(dict({"put", "brittle", "kaThina"}).status, 0);
    QCOMPARE(dict({"put", "water", "toya"}).status, 0);
    const ProgramRun imported = dict({"import", "--on-conflict", policy, ifo});
    QCOMPARE(imported.status, 0);
    QCOMPARE(dict({"get", "brittle"}).out, QByteArray("brittle\tkaThina\n"));
    QVERIFY(dict({"get", "fragile"}).out.startsWith("fragile\tkShaNabha~Ngura"));
    QVERIFY(dict({"get", "break"}).out.contains("bhidura ##Brittle##"));
    // The other records go as the policy says.
    const QByteArray water = dict({"get", "water"}).out;
    QCOMPARE(water.startsWith("water\ttoya"), policy != "replace");
    QCOMPARE(water.contains("jalaM"), policy != "keep");
}

// A StarDict whose name says its meanings are Hindi: each is stored fenced and named, and the
// summary says so.
void TestClassicDictionaries::languageOfStarDict()
{
    const QString babylon = m_dir.filePath("hindi.babylon");
    QVERIFY(writeFile(babylon, "#bookname=eng-hin test\n\nwater\nपानी\n"));
    const QString ifo = starDictFromBabylon(babylon, m_dir.filePath("hindi"));
    QStringList notes;
    const QMap<QString, QString> records = recordsOf(ifo, ArticleLayout::Detect, &notes);
    QCOMPARE(records.value("water"), QString("##[hi] pAnI##"));
    QVERIFY2(notes.join('\n').contains("stored fenced as \"##[hi] ...##\""),
             qPrintable(notes.join('\n')));
}

QTEST_GUILESS_MAIN(TestClassicDictionaries)
#include "tst_classicdicts.moc"

#include "capture.h"
#include "dbtools.h"
#include "dictdb.h"
#include "journal.h"
#include "recovery.h"
#include "snapshot.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTest>

#include <db.h>

using namespace vantro;
using namespace vantro::test;

namespace {

using Op = JournalEntry::Op;

JournalEntry entry(Op op, const QByteArray &key, const QByteArray &data = {})
{
    return {op, 1700000000000, key, data};
}

QByteArray journalImage(const QList<JournalEntry> &entries, bool open = true)
{
    QByteArray image = encodeJournalHeader({1, 2, 3}, open);
    for (const JournalEntry &one : entries)
        image += encodeJournalEntry(one);
    return image;
}

bool writeFile(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly | QIODevice::Truncate) &&
           file.write(bytes) == bytes.size() && file.flush();
}

QByteArray bytesOf(const QString &path)
{
    return QFileInfo(path).isFile() ? fileBytes(path) : QByteArray();
}

// A dictionary in a temporary directory with its journal and snapshot beside it.
struct Dictionary
{
    QTemporaryDir dir;
    QString path = dir.filePath(QStringLiteral("morvak.db"));
    QString journal = journalPath(path);
    QString snapshot = snapshotPath(path);
    std::unique_ptr<cDictDB> db = std::make_unique<cDictDB>(path);

    // The owner closes before deleting, as the window does; the object itself does not.
    ~Dictionary() { db->closeDB(); }

    // A file of n records written by the utilities, so that tests need not pay a flush each.
    bool seed(int n)
    {
        QList<KeyData> pairs;
        for (int i = 0; i < n; ++i)
            pairs.append({QByteArray("word") + QByteArray::number(i).rightJustified(3, '0'),
                          QByteArray("artha") + QByteArray::number(i)});
        return DbUtilities::load(path, pairs);
    }
    bool open() { return db->openDB() == 0; }
    void close()
    {
        db->closeDB();
        db = std::make_unique<cDictDB>(path);
    }
    int save(const QString &word, const QString &meaning)
    {
        db->setWord(word);
        db->setITRANS(meaning);
        db->setSynonym({});
        return db->saveRecord();
    }
    int add(const QString &word, const QString &meaning)
    {
        db->setWord(word);
        db->setITRANS(meaning);
        db->setSynonym({});
        return db->addRecord();
    }
    int remove(const QString &word)
    {
        db->setWord(word);
        return db->deleteRecord();
    }
    // What a SIGKILL now would leave on disk: the three files as they are, copied elsewhere.
    QString crashImage(QTemporaryDir &into) const
    {
        for (const QString &name : {path, journal, snapshot})
            if (QFileInfo::exists(name))
                QFile::copy(name, into.filePath(QFileInfo(name).fileName()));
        return into.filePath(QStringLiteral("morvak.db"));
    }
};

// Overwrites the first bytes of the second page, where the first leaf's header lies: the file
// keeps a sound metadata page, so only the library's own check finds the damage.
bool damageFirstLeaf(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadWrite) || file.size() < 8192)
        return false;
    return file.seek(4096) && file.write(QByteArray(64, '\xA5')) == 64;
}

} // namespace

class TestJournal : public QObject
{
    Q_OBJECT

private slots:
    void entriesRoundTrip_data();
    void entriesRoundTrip();
    void tornTailIsIgnored();
    void damagedEntryEndsTheReading();
    void damagedHeaderCountsAsOpen();
    void openCutsATornTail();
    void truncateBackRemovesAFailedChange();
    void roomMadeAheadIsReusedAcrossOpens();
    void snapshotIdentitySurvivesTheRename();
    void openFlagFollowsTheSession();
    void onlySuccessfulChangesAreJournaled();
    void refusedChangesWriteNothing_data();
    void refusedChangesWriteNothing();
    void replayIsIdempotent();
    void uncheckedCloseReplaysTheJournal();
    void damagedFileIsRebuilt();
    void damagedCopiesAreNeverOverwritten();
    void headerRefusedFileIsRebuiltToo();
    void noSnapshotMeansNoRebuild();
    void snapshotAfterJournalOutgrowsAQuarter();
    void snapshotOnRequestEmptiesTheJournal();
    void newDictionaryKeepsAnOldSnapshot();
};

void TestJournal::entriesRoundTrip_data()
{
    QTest::addColumn<QList<JournalEntry>>("entries");
    QTest::newRow("none") << QList<JournalEntry>{};
    QTest::newRow("one of each") << QList<JournalEntry>{entry(Op::Add, "water", "jalaM|udakaM"),
                                                        entry(Op::Save, "water", "toyaM"),
                                                        entry(Op::Delete, "water")};
    QTest::newRow("empty data, NUL and high bytes") << QList<JournalEntry>{
        entry(Op::Save, "a", {}), entry(Op::Save, QByteArray("k\0y", 3), QByteArray("\0\xff|", 3)),
        entry(Op::Add, "\xe9t\xe9", "grISmaH")};
    QTest::newRow("large") << QList<JournalEntry>{
        entry(Op::Save, QByteArray(100000, 'k'), QByteArray(1 << 20, 'm'))};
}

void TestJournal::entriesRoundTrip()
{
    QFETCH(QList<JournalEntry>, entries);
    const JournalContents contents = parseJournal(journalImage(entries));
    QVERIFY(contents.headerValid);
    QVERIFY(contents.openFlag);
    QCOMPARE(contents.snapshot, (SnapshotId{1, 2, 3}));
    QCOMPARE(contents.entries.size(), entries.size());
    for (qsizetype i = 0; i < entries.size(); ++i) {
        QCOMPARE(contents.entries[i].op, entries[i].op);
        QCOMPARE(contents.entries[i].key, entries[i].key);
        QCOMPARE(contents.entries[i].data, entries[i].data);
        QCOMPARE(contents.entries[i].msecsSinceEpoch, entries[i].msecsSinceEpoch);
    }
    QCOMPARE(contents.validLength, journalImage(entries).size());
}

// A write cut short anywhere inside the last entry leaves every earlier entry readable.
void TestJournal::tornTailIsIgnored()
{
    const QList<JournalEntry> entries{entry(Op::Save, "one", "ekaH"), entry(Op::Delete, "two"),
                                      entry(Op::Add, "three", "trayaH")};
    const QByteArray whole = journalImage(entries);
    const qsizetype lastStart = journalImage(entries.mid(0, 2)).size();
    for (qsizetype cut = lastStart; cut < whole.size(); ++cut) {
        const JournalContents contents = parseJournal(whole.left(cut));
        QCOMPARE(contents.entries.size(), 2);
        QCOMPARE(contents.validLength, lastStart);
    }
}

void TestJournal::damagedEntryEndsTheReading()
{
    const QList<JournalEntry> entries{entry(Op::Save, "one", "ekaH"), entry(Op::Save, "two", "dve"),
                                      entry(Op::Save, "three", "trayaH")};
    const QByteArray whole = journalImage(entries);
    const qsizetype secondStart = journalImage(entries.mid(0, 1)).size();
    const qsizetype thirdStart = journalImage(entries.mid(0, 2)).size();
    for (qsizetype at = secondStart; at < thirdStart; ++at) {
        QByteArray damaged = whole;
        damaged[at] = char(damaged[at] ^ 0x10);
        const JournalContents contents = parseJournal(damaged);
        QCOMPARE(contents.entries.size(), 1);
        QCOMPARE(contents.entries[0].key, QByteArray("one"));
    }
}

void TestJournal::damagedHeaderCountsAsOpen()
{
    QByteArray image = journalImage({entry(Op::Save, "one", "ekaH")}, false);
    QVERIFY(!parseJournal(image).openFlag);
    image[20] = char(image[20] ^ 1);
    const JournalContents contents = parseJournal(image);
    QVERIFY(!contents.headerValid);
    QVERIFY(contents.openFlag);
    QCOMPARE(contents.entries.size(), 1);
    QVERIFY(parseJournal(QByteArray("VNTJ")).openFlag);
    QVERIFY(!parseJournal(QByteArray()).openFlag);
}

void TestJournal::openCutsATornTail()
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("j"));
    const QByteArray sound = journalImage({entry(Op::Save, "one", "ekaH")});
    QVERIFY(writeFile(path, sound + encodeJournalEntry(entry(Op::Save, "two", "dve")).left(17)));
    Journal journal(QFile::encodeName(path));
    QVERIFY(journal.open());
    QCOMPARE(journal.size(), sound.size());
    QCOMPARE(QFileInfo(path).size(), sound.size());
    QVERIFY(journal.append(entry(Op::Delete, "one")) == sound.size());
    QCOMPARE(Journal::read(QFile::encodeName(path)).entries.size(), 2);
}

void TestJournal::truncateBackRemovesAFailedChange()
{
    QTemporaryDir dir;
    const QByteArray path = QFile::encodeName(dir.filePath(QStringLiteral("j")));
    Journal journal(path);
    QVERIFY(journal.open());
    QVERIFY(journal.reset({5, 6, 7}, true));
    QVERIFY(journal.append(entry(Op::Save, "kept", "1")) == kJournalHeaderSize);
    const qint64 mark = journal.append(entry(Op::Save, "failed", "2"));
    QVERIFY(mark > kJournalHeaderSize);
    QVERIFY(journal.truncateTo(mark));
    const JournalContents contents = Journal::read(path);
    QCOMPARE(contents.entries.size(), 1);
    QCOMPARE(contents.entries[0].key, QByteArray("kept"));
    QCOMPARE(contents.snapshot, (SnapshotId{5, 6, 7}));
}

// The file grows by blocks of zeros; a reopened journal appends right after its last entry, and a
// change taken back inside the block cannot reappear when a shorter entry is written over it.
void TestJournal::roomMadeAheadIsReusedAcrossOpens()
{
    QTemporaryDir dir;
    const QByteArray path = QFile::encodeName(dir.filePath(QStringLiteral("j")));
    {
        Journal journal(path);
        QVERIFY(journal.open());
        QVERIFY(journal.reset({}, true));
        QVERIFY(journal.append(entry(Op::Save, "one", "ekaH")) >= 0);
        const qint64 mark = journal.append(entry(Op::Save, "taken back", QByteArray(300, 'x')));
        QVERIFY(journal.truncateTo(mark));
    }
    const qint64 grown = QFileInfo(QFile::decodeName(path)).size();
    QCOMPARE(grown, 64 * 1024);
    Journal journal(path);
    QVERIFY(journal.open());
    QCOMPARE(QFileInfo(QFile::decodeName(path)).size(), grown);
    QCOMPARE(journal.contents().entries.size(), 1);
    QVERIFY(journal.append(entry(Op::Delete, "two")) >= 0);
    const QList<JournalEntry> entries = Journal::read(path).entries;
    QCOMPARE(entries.size(), 2);
    QCOMPARE(entries[1].key, QByteArray("two"));
    QVERIFY(journal.reset({}, false));
    QCOMPARE(QFileInfo(QFile::decodeName(path)).size(), kJournalHeaderSize);
}

void TestJournal::snapshotIdentitySurvivesTheRename()
{
    QTemporaryDir dir;
    const QByteArray from = QFile::encodeName(dir.filePath(QStringLiteral("a")));
    const QByteArray to = QFile::encodeName(dir.filePath(QStringLiteral("a.bak")));
    QVERIFY(writeFile(QFile::decodeName(from), QByteArray(10000, 'x')));
    QVERIFY(writeFile(QFile::decodeName(to), "old copy"));
    SnapshotId copied;
    QCOMPARE(copyDurably(from, to, &copied), QString());
    SnapshotId now;
    QVERIFY(identityOf(to, now));
    QCOMPARE(now, copied);
    QCOMPARE(now.size, quint64(10000));
    QCOMPARE(fileBytes(QFile::decodeName(to)), QByteArray(10000, 'x'));
    QVERIFY(!QFileInfo::exists(QFile::decodeName(to + ".new")));
    // A copy put there by other means is a different snapshot.
    QVERIFY(QFile::remove(QFile::decodeName(to)));
    QVERIFY(QFile::copy(QFile::decodeName(from), QFile::decodeName(to)));
    QVERIFY(identityOf(to, now));
    QVERIFY(now != copied);
}

void TestJournal::openFlagFollowsTheSession()
{
    Dictionary dict;
    QVERIFY(dict.open());
    QVERIFY(Journal::read(QFile::encodeName(dict.journal)).openFlag);
    QVERIFY(QFileInfo::exists(dict.snapshot));
    SnapshotId snapshot;
    QVERIFY(identityOf(QFile::encodeName(dict.snapshot), snapshot));
    QCOMPARE(Journal::read(QFile::encodeName(dict.journal)).snapshot, snapshot);
    dict.close();
    QVERIFY(!Journal::read(QFile::encodeName(dict.journal)).openFlag);
}

void TestJournal::onlySuccessfulChangesAreJournaled()
{
    Dictionary dict;
    QVERIFY(dict.open());
    for (int i = 0; i < 20; ++i)
        QCOMPARE(dict.save(QStringLiteral("pad%1").arg(i), QString(200, QLatin1Char('m'))), 0);
    dict.close();
    QVERIFY(dict.open());
    QCOMPARE(dict.add(QStringLiteral("Water"), QStringLiteral("jalaM")), 0);
    QCOMPARE(dict.save(QStringLiteral("water"), QStringLiteral("toyaM")), 0);
    QCOMPARE(dict.add(QStringLiteral("fire"), QStringLiteral("agniH")), 0);
    QCOMPARE(dict.remove(QStringLiteral("fire")), 0);
    const QList<JournalEntry> entries = Journal::read(QFile::encodeName(dict.journal)).entries;
    QCOMPARE(entries.size(), 4);
    QCOMPARE(entries[0].op, Op::Add);
    QCOMPARE(entries[0].key, QByteArray("water"));
    QCOMPARE(entries[1].op, Op::Save);
    QCOMPARE(entries[1].data, QByteArray("toyaM"));
    QCOMPARE(entries[3].op, Op::Delete);
    QCOMPARE(entries[3].key, QByteArray("fire"));
}

void TestJournal::refusedChangesWriteNothing_data()
{
    QTest::addColumn<QString>("operation");
    QTest::addColumn<QString>("word");
    QTest::addColumn<QString>("meaning");
    QTest::addColumn<QByteArray>("expectedOut");
    QTest::newRow("add of a stored key") << "add"
                                         << "water"
                                         << "x" << QByteArray();
    QTest::newRow("add, empty word") << "add"
                                     << ""
                                     << "x" << QByteArray();
    QTest::newRow("save, empty word") << "save"
                                      << ""
                                      << "x" << QByteArray();
    QTest::newRow("save, not Latin-1")
        << "save"
        << "water" << QStringLiteral("\u0924") << QByteArray("Save err - cDictDB");
    QTest::newRow("delete, missing key") << "delete"
                                         << "Water"
                                         << "" << QByteArray("Del I/O err");
}

void TestJournal::refusedChangesWriteNothing()
{
    QFETCH(QString, operation);
    QFETCH(QString, word);
    QFETCH(QString, meaning);
    QFETCH(QByteArray, expectedOut);
    Dictionary dict;
    QVERIFY(dict.open());
    QCOMPARE(dict.save(QStringLiteral("water"), QStringLiteral("jalaM")), 0);
    const QByteArray before = bytesOf(dict.journal);
    int result = 0;
    const Captured output = captureOutput([&] {
        result = operation == QLatin1String("add")    ? dict.add(word, meaning)
                 : operation == QLatin1String("save") ? dict.save(word, meaning)
                                                      : dict.remove(word);
    });
    QCOMPARE(result, 1);
    QVERIFY(output.out.startsWith(expectedOut));
    QCOMPARE(bytesOf(dict.journal), before);
}

void TestJournal::replayIsIdempotent()
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("replay.db"));
    QVERIFY(DbUtilities::load(path, {{"keep", "1"}, {"gone", "2"}, {"water", "old"}}));
    const QList<JournalEntry> entries{
        entry(Op::Add, "new", "3"),     entry(Op::Save, "water", "v1"), entry(Op::Delete, "gone"),
        entry(Op::Add, "gone", "back"), entry(Op::Save, "water", "v2"), entry(Op::Delete, "new")};
    const QList<KeyData> expected{{"gone", "back"}, {"keep", "1"}, {"water", "v2"}};
    for (int round = 0; round < 3; ++round) {
        DB *dbp = nullptr;
        QCOMPARE(db_create(&dbp, nullptr, 0), 0);
        QCOMPARE(dbp->open(dbp, nullptr, QFile::encodeName(path).constData(), nullptr, DB_BTREE, 0,
                           0664),
                 0);
        // Each round replays onto what the previous rounds left, as a second crash would.
        QCOMPARE(replayJournal(dbp, round == 1 ? entries.mid(2) : entries), 0);
        QCOMPARE(dbp->close(dbp, 0), 0);
        QCOMPARE(DbUtilities::dump(path), expected);
    }
    QVERIFY(fileVerifies(QFile::encodeName(path)));
}

// The file was not closed but is sound: the journal's last change reaches the file even if the
// database write itself never did.
void TestJournal::uncheckedCloseReplaysTheJournal()
{
    Dictionary dict;
    QVERIFY(dict.open());
    QCOMPARE(dict.save(QStringLiteral("water"), QStringLiteral("jalaM")), 0);
    const QByteArray dbBefore = fileBytes(dict.path);
    QCOMPARE(dict.save(QStringLiteral("fire"), QStringLiteral("agniH")), 0);
    QTemporaryDir crash;
    const QString crashed = dict.crashImage(crash);
    QVERIFY(writeFile(crashed, dbBefore));
    QVERIFY(Journal::read(QFile::encodeName(journalPath(crashed))).openFlag);

    cDictDB reopened(crashed);
    const Captured output = captureOutput([&] { QCOMPARE(reopened.openDB(), 0); });
    QCOMPARE(output.err, QByteArray());
    QCOMPARE(reopened.getStat(), 2);
    reopened.closeDB();
    QCOMPARE(DbUtilities::dump(crashed), (QList<KeyData>{{"fire", "agniH"}, {"water", "jalaM"}}));
    QVERIFY(!QFileInfo::exists(crashed + QStringLiteral(".damaged")));
    dict.close();
}

void TestJournal::damagedFileIsRebuilt()
{
    Dictionary dict;
    QVERIFY(dict.seed(300));
    QVERIFY(dict.open());
    QCOMPARE(dict.remove(QStringLiteral("word000")), 0);
    QCOMPARE(dict.save(QStringLiteral("word001"), QStringLiteral("changed")), 0);
    QCOMPARE(dict.add(QStringLiteral("new"), QStringLiteral("navaH")), 0);
    const QList<KeyData> expected = DbUtilities::dump(dict.path);
    QCOMPARE(expected.size(), 300);

    QTemporaryDir crash;
    const QString crashed = dict.crashImage(crash);
    QVERIFY(damageFirstLeaf(crashed));
    QVERIFY(!DbUtilities::verify(crashed));
    const QByteArray damagedBytes = fileBytes(crashed);

    cDictDB reopened(crashed);
    const Captured output = captureOutput([&] { QCOMPARE(reopened.openDB(), 0); });
    QCOMPARE(output.err.count('\n'), 1);
    QVERIFY(output.err.contains("rebuilt it from"));
    QVERIFY(reopened.notices().value(0).contains("rebuilt from its snapshot")); // the window's box
    QCOMPARE(output.out, QByteArray());
    QCOMPARE(reopened.getStat(), 300);
    QCOMPARE(reopened.closeDB(), 0);
    QVERIFY(DbUtilities::verify(crashed));
    QCOMPARE(DbUtilities::dump(crashed), expected);
    QCOMPARE(fileBytes(crashed + QStringLiteral(".damaged")), damagedBytes);
    QVERIFY(!QFileInfo::exists(crashed + QStringLiteral(".rebuild")));
    dict.close();
}

void TestJournal::damagedCopiesAreNeverOverwritten()
{
    Dictionary dict;
    QVERIFY(dict.seed(299));
    QVERIFY(dict.open());
    QCOMPARE(dict.save(QStringLiteral("last"), QStringLiteral("antimaH")), 0);
    QTemporaryDir crash;
    const QString crashed = dict.crashImage(crash);
    dict.close();
    QVERIFY(writeFile(crashed + QStringLiteral(".damaged"), "an older one"));
    QVERIFY(damageFirstLeaf(crashed));
    cDictDB reopened(crashed);
    captureOutput([&] { QCOMPARE(reopened.openDB(), 0); });
    QCOMPARE(reopened.getStat(), 300);
    reopened.closeDB();
    QCOMPARE(fileBytes(crashed + QStringLiteral(".damaged")), QByteArray("an older one"));
    QVERIFY(QFileInfo::exists(crashed + QStringLiteral(".damaged.1")));
}

// A crash while the file grew can leave a metadata page that promises more pages than the file
// holds; the header check refuses such a file, and the rebuild takes it in hand.
void TestJournal::headerRefusedFileIsRebuiltToo()
{
    Dictionary dict;
    QVERIFY(dict.seed(299));
    QVERIFY(dict.open());
    QCOMPARE(dict.save(QStringLiteral("last"), QStringLiteral("antimaH")), 0);
    QTemporaryDir crash;
    const QString crashed = dict.crashImage(crash);
    dict.close();
    QVERIFY(QFile::resize(crashed, QFileInfo(crashed).size() - 4096));
    cDictDB reopened(crashed);
    const Captured output = captureOutput([&] { QCOMPARE(reopened.openDB(), 0); });
    QVERIFY(output.err.contains("rebuilt it from"));
    QCOMPARE(reopened.getStat(), 300);
    reopened.closeDB();
    QVERIFY(DbUtilities::verify(crashed));
}

void TestJournal::noSnapshotMeansNoRebuild()
{
    Dictionary dict;
    QVERIFY(dict.seed(299));
    QVERIFY(dict.open());
    QCOMPARE(dict.save(QStringLiteral("last"), QStringLiteral("antimaH")), 0);
    QTemporaryDir crash;
    const QString crashed = dict.crashImage(crash);
    dict.close();
    QVERIFY(QFile::remove(snapshotPath(crashed)));
    QVERIFY(damageFirstLeaf(crashed));
    const QByteArray damagedBytes = fileBytes(crashed);
    cDictDB reopened(crashed);
    const Captured output = captureOutput([&] { reopened.openDB(); });
    QVERIFY(output.err.contains("there is no snapshot"));
    reopened.closeDB();
    QVERIFY(!QFileInfo::exists(crashed + QStringLiteral(".damaged")));
    QCOMPARE(fileBytes(crashed), damagedBytes);
}

void TestJournal::snapshotAfterJournalOutgrowsAQuarter()
{
    Dictionary dict;
    QVERIFY(dict.open());
    QCOMPARE(dict.save(QStringLiteral("seed"), QStringLiteral("bIjam")), 0);
    const QByteArray firstSnapshot = fileBytes(dict.snapshot);
    // A few small changes stay in the journal across a close.
    dict.close();
    QVERIFY(dict.open());
    QCOMPARE(fileBytes(dict.snapshot), firstSnapshot);
    QCOMPARE(Journal::read(QFile::encodeName(dict.journal)).entries.size(), 1);
    // Changes worth more than a quarter of the file bring a new snapshot at close.
    for (int i = 0; i < 10; ++i)
        QCOMPARE(dict.save(QStringLiteral("big%1").arg(i), QString(4000, QLatin1Char('m'))), 0);
    dict.close();
    QCOMPARE(Journal::read(QFile::encodeName(dict.journal)).entries.size(), 0);
    QCOMPARE(DbUtilities::dump(dict.snapshot).size(), 11);
    QCOMPARE(fileBytes(dict.snapshot), fileBytes(dict.path));
}

void TestJournal::snapshotOnRequestEmptiesTheJournal()
{
    Dictionary dict;
    QVERIFY(dict.open());
    QCOMPARE(dict.save(QStringLiteral("one"), QStringLiteral("ekaH")), 0);
    QCOMPARE(dict.db->takeSnapshot(), QString());
    const JournalContents contents = Journal::read(QFile::encodeName(dict.journal));
    QCOMPARE(contents.entries.size(), 0);
    QVERIFY(contents.openFlag);
    QCOMPARE(DbUtilities::dump(dict.snapshot), (QList<KeyData>{{"one", "ekaH"}}));
    dict.close();
    QVERIFY(!cDictDB(dict.path).takeSnapshot().isEmpty());
}

void TestJournal::newDictionaryKeepsAnOldSnapshot()
{
    Dictionary dict;
    QVERIFY(dict.open());
    QCOMPARE(dict.save(QStringLiteral("one"), QStringLiteral("ekaH")), 0);
    QCOMPARE(dict.db->takeSnapshot(), QString());
    dict.close();
    const QByteArray oldSnapshot = fileBytes(dict.snapshot);
    QVERIFY(QFile::remove(dict.path));
    captureOutput([&] { QVERIFY(dict.open()); });
    dict.close();
    QCOMPARE(fileBytes(dict.snapshot + QStringLiteral(".old")), oldSnapshot);
    QCOMPARE(DbUtilities::dump(dict.snapshot).size(), 0);
}

QTEST_GUILESS_MAIN(TestJournal)
#include "tst_journal.moc"

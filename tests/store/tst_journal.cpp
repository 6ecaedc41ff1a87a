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

#include <sys/stat.h>

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
    int save(const QString &word, const QString &meaning, bool add = false)
    {
        db->setWord(word);
        db->setITRANS(meaning);
        db->setSynonym({});
        return add ? db->addRecord() : db->saveRecord();
    }
    int add(const QString &word, const QString &meaning) { return save(word, meaning, true); }
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
    return file.open(QIODevice::ReadWrite) && file.size() >= 8192 && file.seek(4096) &&
           file.write(QByteArray(64, '\xA5')) == 64;
}

// Damages or replaces one of the files a crash left, as a crashThenReopen row names it.
bool applyDamage(const QString &step, const QString &db)
{
    const QString snapshot = snapshotPath(db);
    if (step == QLatin1String("leaf") || step == QLatin1String("snapshot leaf"))
        return damageFirstLeaf(step == QLatin1String("leaf") ? db : snapshot);
    if (step == QLatin1String("meta"))
        return writeFile(db, QByteArray(4096, '\xA5') + fileBytes(db).mid(4096));
    if (step == QLatin1String("older copy"))
        return writeFile(db + QStringLiteral(".damaged"), "an older one");
    if (step == QLatin1String("truncate"))
        return QFile::resize(db, QFileInfo(db).size() - 4096);
    if (step == QLatin1String("no snapshot"))
        return QFile::remove(snapshot);
    if (step == QLatin1String("journal middle")) {
        QByteArray journal = fileBytes(journalPath(db));
        const qsizetype first = encodeJournalEntry(entry(Op::Save, "last1", "antimaH")).size();
        journal[kJournalHeaderSize + first + 30] = 'X';
        return writeFile(journalPath(db), journal);
    }
    // Written into the same inode, as cp does.
    if (step == QLatin1String("restore"))
        return writeFile(db, fileBytes(snapshot));
    const QString other = db + QStringLiteral(".other");
    return step == QLatin1String("foreign") && DbUtilities::load(other, {{"apple", "phalam"}}) &&
           writeFile(db, fileBytes(other)) && QFile::remove(other);
}

} // namespace

class TestJournal : public QObject
{
    Q_OBJECT

private slots:
    void entriesRoundTrip_data();
    void entriesRoundTrip();
    void damagedImages_data();
    void damagedImages();
    void damagedHeaderCountsAsOpen();
    void openCutsATornTail();
    void roomMadeAheadIsReusedAcrossOpens();
    void onlySuccessfulChangesAreJournaled();
    void refusedChangesWriteNothing_data();
    void refusedChangesWriteNothing();
    void replayIsIdempotent();
    void uncheckedCloseReplaysTheJournal_data();
    void uncheckedCloseReplaysTheJournal();
    void crashThenReopen_data();
    void crashThenReopen();
    void linkedPrivateDictionaryIsRebuiltInPlace();
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
    QCOMPARE(encodeJournalHeader(contents), journalImage({}));
    QCOMPARE(contents.entries.size(), entries.size());
    for (qsizetype i = 0; i < entries.size(); ++i)
        QCOMPARE(encodeJournalEntry(contents.entries[i]), encodeJournalEntry(entries[i]));
    QCOMPARE(contents.validLength, journalImage(entries).size());
}

void TestJournal::damagedImages_data()
{
    QTest::addColumn<QByteArray>("image");
    QTest::addColumn<int>("damaged");
    QTest::addColumn<qsizetype>("end");
    const QList<JournalEntry> three{entry(Op::Save, "one", "ekaH"), entry(Op::Delete, "two"),
                                    entry(Op::Add, "three", "trayaH")};
    const QByteArray whole = journalImage(three);
    const qsizetype second = journalImage(three.mid(0, 1)).size();
    const qsizetype third = journalImage(three.mid(0, 2)).size();
    // A write cut short anywhere inside the last entry leaves every earlier entry readable.
    for (qsizetype cut = third; cut < whole.size(); ++cut)
        QTest::addRow("cut at %lld", qlonglong(cut)) << whole.left(cut) << 0 << third;
    // A damaged entry followed by sound ones is damage, not a torn tail: the sound ones are kept.
    for (qsizetype at = second; at < third; ++at) {
        QByteArray damaged = whole;
        damaged[at] = char(damaged[at] ^ 0x10);
        QTest::addRow("byte %lld damaged", qlonglong(at)) << damaged << 1 << whole.size();
    }
}

void TestJournal::damagedImages()
{
    QFETCH(QByteArray, image);
    QFETCH(int, damaged);
    QFETCH(qsizetype, end);
    const JournalContents contents = parseJournal(image);
    QCOMPARE(contents.entries.size(), 2);
    QCOMPARE(contents.entries.last().key, QByteArray(damaged ? "three" : "two"));
    QCOMPARE(contents.damagedEntries, damaged);
    QCOMPARE(contents.validLength, end);
}

void TestJournal::damagedHeaderCountsAsOpen()
{
    QByteArray image = journalImage({entry(Op::Save, "one", "ekaH")}, false);
    QVERIFY(!parseJournal(image).openFlag);
    image[20] = char(image[20] ^ 1);
    const JournalContents contents = parseJournal(image);
    QVERIFY(!contents.headerValid && contents.openFlag);
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
        QCOMPARE(Journal::read(path).entries.size(), 1);
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

void TestJournal::onlySuccessfulChangesAreJournaled()
{
    Dictionary dict;
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
    QTest::addColumn<QStringList>("change"); // operation, word, meaning
    QTest::addColumn<QByteArray>("expectedOut");
    QTest::newRow("add of a stored key") << QStringList{"add", "water", "x"} << QByteArray();
    QTest::newRow("add, empty word") << QStringList{"add", "", "x"} << QByteArray();
    QTest::newRow("save, empty word") << QStringList{"save", "", "x"} << QByteArray();
    QTest::newRow("save, not Latin-1") << QStringList{"save", "water", QStringLiteral("\u0924")}
                                       << QByteArray("Save err - cDictDB");
    QTest::newRow("delete, missing key")
        << QStringList{"delete", "Water", ""} << QByteArray("Del I/O err");
}

void TestJournal::refusedChangesWriteNothing()
{
    QFETCH(QStringList, change);
    QFETCH(QByteArray, expectedOut);
    Dictionary dict;
    QVERIFY(dict.open());
    QCOMPARE(dict.save(QStringLiteral("water"), QStringLiteral("jalaM")), 0);
    const QByteArray before = fileBytes(dict.journal);
    int result = 0;
    const Captured output = captureOutput([&] {
        result = change[0] == QLatin1String("delete")
                     ? dict.remove(change[1])
                     : dict.save(change[1], change[2], change[0] == QLatin1String("add"));
    });
    QCOMPARE(result, 1);
    QVERIFY(output.out.startsWith(expectedOut));
    QCOMPARE(fileBytes(dict.journal), before);
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
void TestJournal::uncheckedCloseReplaysTheJournal_data()
{
    QTest::addColumn<bool>("formatOne");
    QTest::newRow("journal format 2") << false;
    QTest::newRow("journal format 1, written by an older version") << true;
}

void TestJournal::uncheckedCloseReplaysTheJournal()
{
    QFETCH(bool, formatOne);
    Dictionary dict;
    QVERIFY(dict.open());
    QCOMPARE(dict.save(QStringLiteral("water"), QStringLiteral("jalaM")), 0);
    const QByteArray dbBefore = fileBytes(dict.path);
    QCOMPARE(dict.save(QStringLiteral("fire"), QStringLiteral("agniH")), 0);
    QTemporaryDir crash;
    const QString crashed = dict.crashImage(crash);
    QVERIFY(writeFile(crashed, dbBefore));
    QVERIFY(Journal::read(QFile::encodeName(journalPath(crashed))).openFlag);
    if (formatOne) {
        QByteArray header = QByteArray("VNTJRNL1\x01\0\0\0\x01", 13) + QByteArray(31, '\0');
        for (const quint32 crc = crc32(header); header.size() < 48;)
            header.append(char(crc >> (8 * (header.size() - 44))));
        const QByteArray entries = fileBytes(journalPath(crashed)).mid(kJournalHeaderSize);
        QVERIFY(writeFile(journalPath(crashed), header + entries));
    }

    cDictDB reopened(crashed);
    const Captured output = captureOutput([&] { QCOMPARE(reopened.openDB(), 0); });
    QCOMPARE(output.err, QByteArray());
    QCOMPARE(reopened.getStat(), 2);
    reopened.closeDB();
    QCOMPARE(DbUtilities::dump(crashed), (QList<KeyData>{{"fire", "agniH"}, {"water", "jalaM"}}));
    QVERIFY(!QFileInfo::exists(crashed + QStringLiteral(".damaged")));
    dict.close();
}

void TestJournal::crashThenReopen_data()
{
    QTest::addColumn<QStringList>("damage");
    QTest::addColumn<QByteArray>("said");
    QTest::addColumn<int>("keys");
    // Files beside the dictionary afterwards; a first ".damaged..." one holds the damaged bytes.
    QTest::addColumn<QStringList>("kept");
    QTest::newRow("damaged leaf") << QStringList{"leaf"} << QByteArray("rebuilt it from") << 302
                                  << QStringList{".damaged"};
    QTest::newRow("older damaged copy")
        << QStringList{"older copy", "leaf"} << QByteArray("rebuilt it from") << 302
        << QStringList{".damaged.1", ".damaged"};
    // A crash while the file grew can leave a metadata page that promises more pages than the
    // file holds; the header check refuses such a file, and the rebuild takes it in hand.
    QTest::newRow("header refused") << QStringList{"truncate"} << QByteArray("rebuilt it from")
                                    << 302 << QStringList{".damaged"};
    QTest::newRow("no snapshot") << QStringList{"no snapshot", "leaf"}
                                 << QByteArray("records salvaged from it") << 302
                                 << QStringList{".damaged"};
    QTest::newRow("damaged snapshot")
        << QStringList{"snapshot leaf", "leaf"} << QByteArray("records salvaged from it") << 302
        << QStringList{".damaged", ".bak.damaged"};
    QTest::newRow("damaged first page and snapshot")
        << QStringList{"snapshot leaf", "meta"} << QByteArray("snapshot could not be used") << 302
        << QStringList{".damaged"};
    QTest::newRow("damaged journal entry")
        << QStringList{"journal middle", "leaf"} << QByteArray("at least 1 change(s)") << 301
        << QStringList{".damaged", "-journal.damaged"};
    QTest::newRow("snapshot copied back") << QStringList{"restore"} << QByteArray("was written for")
                                          << 299 << QStringList{"-journal.stale"};
    QTest::newRow("another dictionary copied in")
        << QStringList{"foreign"} << QByteArray("was written for") << 1
        << QStringList{"-journal.stale", ".bak.stale"};
}

// The program dies after three acknowledged saves; the crash image is then damaged or replaced
// as the row says, and the next open must end with a sound file holding the right dictionary.
void TestJournal::crashThenReopen()
{
    QFETCH(QStringList, damage);
    QFETCH(QByteArray, said);
    QFETCH(int, keys);
    QFETCH(QStringList, kept);
    Dictionary dict;
    QVERIFY(dict.seed(299));
    QVERIFY(dict.open());
    for (int i = 1; i <= 3; ++i)
        QCOMPARE(dict.save(QStringLiteral("last%1").arg(i), QStringLiteral("antimaH")), 0);
    QTemporaryDir crash;
    const QString crashed = dict.crashImage(crash);
    dict.close();
    for (const QString &step : damage)
        QVERIFY2(applyDamage(step, crashed), qPrintable(step));
    const QByteArray damagedBytes = fileBytes(crashed);
    cDictDB reopened(crashed);
    const Captured output = captureOutput([&] { QCOMPARE(reopened.openDB(), 0); });
    QVERIFY2(output.err.contains(said) && !reopened.notices().isEmpty(),
             output.err.constData());
    QCOMPARE(reopened.getStat(), keys);
    QCOMPARE(reopened.closeDB(), 0);
    QVERIFY(DbUtilities::verify(crashed));
    QCOMPARE(DbUtilities::dump(snapshotPath(crashed)), DbUtilities::dump(crashed));
    for (const QString &suffix : kept)
        QVERIFY2(QFileInfo::exists(crashed + suffix), qPrintable(suffix));
    QCOMPARE(Journal::read(QFile::encodeName(journalPath(crashed) + ".damaged")).damagedEntries,
             int(kept.contains(QStringLiteral("-journal.damaged"))));
    if (kept.first().startsWith(QLatin1String(".damaged")))
        QCOMPARE(fileBytes(crashed + kept.first()), damagedBytes);
}

// A private dictionary reached through a link: the recovery files lie beside the file itself and
// take its mode, and a rebuild replaces that file, leaving the link a link.
void TestJournal::linkedPrivateDictionaryIsRebuiltInPlace()
{
    Dictionary dict;
    QVERIFY(dict.seed(299));
    const QString real = dict.dir.filePath(QStringLiteral("real.db"));
    QVERIFY(QFile::rename(dict.path, real) && QFile::link(real, dict.path));
    QVERIFY(::chmod(QFile::encodeName(real).constData(), 0600) == 0);
    QVERIFY(dict.open());
    QCOMPARE(dict.save(QStringLiteral("last"), QStringLiteral("antimaH")), 0);
    // The journal as a crash would leave it, over a damaged file.
    const QByteArray journal = fileBytes(journalPath(real));
    dict.close();
    QVERIFY(writeFile(journalPath(real), journal) && damageFirstLeaf(real));
    captureOutput([&] { QVERIFY(dict.open()); });
    QCOMPARE(dict.db->getStat(), 300);
    dict.close();
    QVERIFY(QFileInfo(dict.path).isSymLink());
    const QFileInfo damaged(real + QStringLiteral(".damaged"));
    QVERIFY(damaged.isFile() && !damaged.isSymLink());
    struct stat info;
    for (const QString &name : {real, snapshotPath(real), journalPath(real)})
        QVERIFY2(::stat(QFile::encodeName(name).constData(), &info) == 0 &&
                     (info.st_mode & 0777) == 0600,
                 qPrintable(name));
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
    QCOMPARE(DbUtilities::dump(dict.snapshot), DbUtilities::dump(dict.path));
    QCOMPARE(DbUtilities::dump(dict.path).size(), 11);
}

void TestJournal::snapshotOnRequestEmptiesTheJournal()
{
    Dictionary dict;
    QVERIFY(dict.open());
    QCOMPARE(dict.save(QStringLiteral("one"), QStringLiteral("ekaH")), 0);
    // A temporary a kill left behind goes; a link planted at a temporary's name is not followed.
    const QString victim = dict.dir.filePath(QStringLiteral("victim"));
    QVERIFY(writeFile(dict.snapshot + QStringLiteral(".new-abcdef"), "left by a kill"));
    QVERIFY(writeFile(victim, "mine") && QFile::link(victim, dict.snapshot + ".new"));
    QCOMPARE(dict.db->takeSnapshot(), QString());
    QVERIFY(!QFileInfo::exists(dict.snapshot + QStringLiteral(".new-abcdef")));
    QCOMPARE(fileBytes(victim), QByteArray("mine"));
    const JournalContents contents = Journal::read(QFile::encodeName(dict.journal));
    QCOMPARE(contents.entries.size(), 0);
    QVERIFY(contents.openFlag);
    SnapshotId snapshot;
    QVERIFY(identityOf(QFile::encodeName(dict.snapshot), snapshot));
    QCOMPARE(contents.snapshot, snapshot);
    QCOMPARE(DbUtilities::dump(dict.snapshot), (QList<KeyData>{{"one", "ekaH"}}));
    dict.close();
    QVERIFY(!Journal::read(QFile::encodeName(dict.journal)).openFlag);
    QVERIFY(!cDictDB(dict.path).takeSnapshot().isEmpty());
}

// A new, empty dictionary in place of one that was deleted keeps that one's snapshot and journal.
void TestJournal::newDictionaryKeepsAnOldSnapshot()
{
    Dictionary dict;
    QVERIFY(dict.open());
    QCOMPARE(dict.save(QStringLiteral("one"), QStringLiteral("ekaH")), 0);
    dict.close();
    const QByteArray oldSnapshot = fileBytes(dict.snapshot);
    QVERIFY(QFile::remove(dict.path));
    captureOutput([&] { QVERIFY(dict.open()); });
    dict.close();
    QCOMPARE(fileBytes(dict.snapshot + QStringLiteral(".old")), oldSnapshot);
    QCOMPARE(Journal::read(QFile::encodeName(dict.journal + ".stale")).entries.size(), 1);
    QCOMPARE(DbUtilities::dump(dict.snapshot).size(), 0);
}

QTEST_GUILESS_MAIN(TestJournal)
#include "tst_journal.moc"

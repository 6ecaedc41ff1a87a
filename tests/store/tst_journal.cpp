// SPDX-License-Identifier: GPL-3.0-or-later
#include "capture.h"
#include "dbtools.h"
#include "dictdb.h"
#include "journal.h"
#include "recovery.h"
#include "salvage.h"
#include "snapshot.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QMap>
#include <QTemporaryDir>
#include <QTest>

#include <db.h>

#include <sys/stat.h>
#include <unistd.h>

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
    int save(const QString &word, const QString &meaning)
    {
        return putRecord(*db, word, meaning, {}, false);
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

QString leftoverPath(const QString &db)
{
    return QFileInfo(db).dir().filePath(QStringLiteral("__db.morvak.db.rebuild-Ab12Cd"));
}

// Damages or replaces one of the files a crash left, as a crashThenReopen row names it;
// opened holds the dictionary's bytes before the last changes.
bool applyDamage(const QString &step, const QString &db, const QByteArray &opened)
{
    const QString snapshot = snapshotPath(db);
    if (step == QLatin1String("leaf") || step == QLatin1String("snapshot leaf"))
        return damageFirstLeaf(step == QLatin1String("leaf") ? db : snapshot);
    if (step == QLatin1String("meta") || step == QLatin1String("snapshot meta")) {
        const QString file = step == QLatin1String("meta") ? db : snapshot;
        return writeFile(file, QByteArray(4096, '\xA5') + fileBytes(file).mid(4096));
    }
    // The oldest of four copies holds a record the dictionary lacks: it is never pruned.
    if (step == QLatin1String("older copies, one unique"))
        return DbUtilities::load(db + ".damaged", {{"unique", "ekam"}}) &&
               writeFile(db + ".damaged.1", "older") && writeFile(db + ".damaged.2", "older") &&
               writeFile(db + ".damaged.3", "older");
    // Three older copies, and an empty leftover of the library's own create.
    if (step == QLatin1String("older copies"))
        return writeFile(db + ".damaged", "older") && writeFile(db + ".damaged.1", "older") &&
               writeFile(db + ".damaged.2", "older") && writeFile(leftoverPath(db), {});
    if (step == QLatin1String("journal header")) {
        QByteArray journal = fileBytes(journalPath(db));
        journal[20] = char(journal[20] ^ 1);
        return writeFile(journalPath(db), journal);
    }
    if (step == QLatin1String("truncate"))
        return QFile::resize(db, QFileInfo(db).size() - 4096);
    if (step == QLatin1String("no snapshot") || step == QLatin1String("no dictionary"))
        return QFile::remove(step == QLatin1String("no snapshot") ? snapshot : db);
    if (step == QLatin1String("journal middle")) {
        QByteArray journal = fileBytes(journalPath(db));
        const qsizetype first = encodeJournalEntry(entry(Op::Save, "last1", "antimaH")).size();
        journal[kJournalHeaderSize + first + 30] = 'X';
        return writeFile(journalPath(db), journal);
    }
    // The database writes never reached the disk; the journal entries did.
    if (step == QLatin1String("unwritten"))
        return writeFile(db, opened);
    // A journal of the first format, written by an older version.
    if (step == QLatin1String("format 1")) {
        QByteArray header = QByteArray("VNTJRNL1\x01\0\0\0\x01", 13) + QByteArray(31, '\0');
        for (const quint32 crc = crc32(header); header.size() < 48;)
            header.append(char(crc >> (8 * (header.size() - 44))));
        return writeFile(journalPath(db),
                         header + fileBytes(journalPath(db)).mid(kJournalHeaderSize));
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
    void parsedImages_data()
    {
        QTest::addColumn<QByteArray>("image");
        QTest::addColumn<QList<JournalEntry>>("entries");
        QTest::addColumn<int>("damaged");
        QTest::addColumn<qsizetype>("end"); // bytes up to the last whole entry; -1: not asked
        QTest::addColumn<bool>("open");
        QTest::addColumn<bool>("headerValid");
        const auto row = [](const QString &name, const QByteArray &image,
                            const QList<JournalEntry> &entries, int damaged = 0, qsizetype end = -2,
                            bool open = true, bool valid = true) {
            QTest::newRow(qPrintable(name))
                << image << entries << damaged << (end == -2 ? image.size() : end) << open << valid;
        };
        const QList<QList<JournalEntry>> trips{
            {},
            {entry(Op::Add, "water", "jalaM|udakaM"), entry(Op::Save, "water", "toyaM"),
             entry(Op::Delete, "water")},
            {entry(Op::Save, "a", {}),
             entry(Op::Save, QByteArray("k\0y", 3), QByteArray("\0\xff|", 3)),
             entry(Op::Add, "\xe9t\xe9", "grISmaH")},
            {entry(Op::Save, QByteArray(100000, 'k'), QByteArray(1 << 20, 'm'))}};
        for (const QList<JournalEntry> &trip : trips)
            row(QStringLiteral("round trip of %1").arg(trip.size()), journalImage(trip), trip);
        const QList<JournalEntry> three{entry(Op::Save, "one", "ekaH"), entry(Op::Delete, "two"),
                                        entry(Op::Add, "three", "trayaH")};
        const QByteArray whole = journalImage(three);
        const qsizetype second = journalImage(three.mid(0, 1)).size();
        const qsizetype third = journalImage(three.mid(0, 2)).size();
        // A write cut short anywhere inside the last entry leaves every earlier entry readable.
        for (qsizetype cut = third; cut < whole.size(); ++cut)
            row(QStringLiteral("cut at %1").arg(cut), whole.left(cut), three.mid(0, 2), 0, third);
        // A damaged entry followed by sound ones is damage, not a torn tail: the sound ones are
        // kept.
        for (qsizetype at = second; at < third; ++at) {
            QByteArray damaged = whole;
            damaged[at] = char(damaged[at] ^ 0x10);
            row(QStringLiteral("byte %1 damaged").arg(at), damaged, {three[0], three[2]}, 1);
        }
        // The last entry written whole and then damaged is a lost change, not a torn write.
        for (qsizetype at = third; at < whole.size(); ++at) {
            QByteArray damaged = whole + QByteArray(4096, '\0');
            damaged[at] = char(damaged[at] ^ 0x10);
            row(QStringLiteral("last entry's byte %1 damaged").arg(at), damaged, three.mid(0, 2), 1,
                third);
        }
        // A long last entry whose write stopped at a block's end lies over the zeros made ahead.
        const JournalEntry longOne = entry(Op::Save, "long", QByteArray(3000, 'm'));
        const QByteArray withLong = journalImage({three[0], longOne});
        const qsizetype longStart = journalImage({three[0]}).size();
        for (const qsizetype written : {qsizetype(1024), qsizetype(2560), withLong.size() - 4}) {
            QByteArray torn = withLong;
            torn.replace(written, torn.size() - written, QByteArray(torn.size() - written, '\0'));
            row(QStringLiteral("long entry torn at %1").arg(written), torn + QByteArray(8192, '\0'),
                {three[0]}, 0, longStart);
        }
        QByteArray flippedLong = withLong + QByteArray(8192, '\0');
        flippedLong[longStart + 2000] = char(flippedLong[longStart + 2000] ^ 1);
        row("long entry damaged", flippedLong, {three[0]}, 1, longStart);
        const QByteArray closed = journalImage(three.mid(0, 1), false);
        row("closed cleanly", closed, three.mid(0, 1), 0, -2, false);
        // A damaged header cannot say the close was clean.
        QByteArray badHeader = closed;
        badHeader[20] = char(badHeader[20] ^ 1);
        row("damaged header", badHeader, three.mid(0, 1), 0, -1, true, false);
        row("header cut short", "VNTJ", {}, 0, -1, true, false);
        row("no journal", {}, {}, 0, -1, false, false);
    }

    void parsedImages()
    {
        QFETCH(QByteArray, image);
        QFETCH(QList<JournalEntry>, entries);
        QFETCH(int, damaged);
        QFETCH(qsizetype, end);
        QFETCH(bool, open);
        QFETCH(bool, headerValid);
        const JournalContents contents = parseJournal(image);
        QCOMPARE(contents.headerValid, headerValid);
        QCOMPARE(contents.openFlag, open);
        if (headerValid)
            QCOMPARE(encodeJournalHeader(contents), image.left(kJournalHeaderSize));
        QCOMPARE(contents.entries.size(), entries.size());
        for (qsizetype i = 0; i < entries.size(); ++i)
            QCOMPARE(encodeJournalEntry(contents.entries[i]), encodeJournalEntry(entries[i]));
        QCOMPARE(contents.damagedEntries, damaged);
        if (end >= 0)
            QCOMPARE(contents.validLength, end);
    }

    // An open cuts a torn tail; the file grows by blocks of zeros, a reopened journal appends right
    // after its last entry, and a change taken back inside the block cannot reappear when a shorter
    // entry is written over it.
    void journalFileKeepsWhatIsSound()
    {
        QTemporaryDir dir;
        const QString name = dir.filePath(QStringLiteral("j"));
        const QByteArray path = QFile::encodeName(name);
        const QByteArray sound = journalImage({entry(Op::Save, "one", "ekaH")});
        QVERIFY(
            writeFile(name, sound + encodeJournalEntry(entry(Op::Save, "two", "dve")).left(17)));
        QString why;
        qint64 mark = 0;
        {
            Journal journal(path);
            QVERIFY2(journal.open({}, &why), qPrintable(why));
            QCOMPARE(QFileInfo(name).size(), sound.size());
            QVERIFY(journal.append(entry(Op::Save, "one", "ekaH"), &mark, &why));
            QCOMPARE(mark, sound.size());
            QVERIFY(
                journal.append(entry(Op::Save, "taken back", QByteArray(300, 'x')), &mark, &why));
            QVERIFY(journal.truncateTo(mark, &why));
        }
        QCOMPARE(QFileInfo(name).size(), 64 * 1024);
        Journal journal(path);
        QVERIFY(journal.open({}, &why));
        QVERIFY(journal.append(entry(Op::Delete, "two"), &mark, &why));
        const QList<JournalEntry> entries = Journal::read(path).entries;
        QCOMPARE(entries.size(), 3);
        QCOMPARE(entries[2].key, QByteArray("two"));
        QVERIFY(journal.reset({}, false, &why));
        QCOMPARE(QFileInfo(name).size(), kJournalHeaderSize);
    }

    void replayIsIdempotent()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("replay.db"));
        const QByteArray name = QFile::encodeName(path);
        QVERIFY(DbUtilities::load(path, {{"keep", "1"}, {"gone", "2"}, {"water", "old"}}));
        const QList<JournalEntry> entries{
            entry(Op::Add, "new", "3"),     entry(Op::Save, "water", "v1"),
            entry(Op::Delete, "gone"),      entry(Op::Add, "gone", "back"),
            entry(Op::Save, "water", "v2"), entry(Op::Delete, "new")};
        const QList<KeyData> expected{{"gone", "back"}, {"keep", "1"}, {"water", "v2"}};
        for (int round = 0; round < 3; ++round) {
            DB *dbp = nullptr;
            QVERIFY(db_create(&dbp, nullptr, 0) == 0 &&
                    dbp->open(dbp, nullptr, name.constData(), nullptr, DB_BTREE, 0, 0) == 0);
            // Each round replays onto what the previous rounds left, as a second crash would.
            QCOMPARE(replayJournal(dbp, round == 1 ? entries.mid(2) : entries), 0);
            QCOMPARE(dbp->close(dbp, 0), 0);
            QCOMPARE(DbUtilities::dump(path), expected);
        }
        QVERIFY(fileVerifies(name));
    }

    void crashThenReopen_data()
    {
        QTest::addColumn<QStringList>("damage");
        QTest::addColumn<QByteArray>("said");
        QTest::addColumn<int>("keys");
        // Files beside the dictionary afterwards; a first ".damaged..." one holds the damaged
        // bytes.
        QTest::addColumn<QStringList>("kept");
        const auto row = [](const char *name, const QStringList &damage, const char *said, int keys,
                            const QStringList &kept) {
            QTest::newRow(name) << damage << QByteArray(said) << keys << kept;
        };
        row("damaged leaf", {"leaf"}, "rebuilt it from", 302, {".damaged"});
        // Beyond the three newest copies set aside, older ones go, and that is said.
        row("older damaged copies", {"older copies", "leaf"}, "copies morvak.db.damaged (the", 302,
            {"~.damaged.1", "~.damaged.2", ".damaged.3"});
        row("an older copy holds a record", {"older copies, one unique", "leaf"},
            "copies morvak.db.damaged.1 (the", 302, {"~.damaged", "~.damaged.2", ".damaged.4"});
        // Damage after a clean close: a changed file is checked, a bad first page refused.
        row("leaf damaged after a clean close", {"closed", "leaf"}, "db is damaged; kept", 302,
            {".damaged"});
        row("first page damaged after a clean close", {"closed", "meta"}, "db is damaged; kept",
            302, {".damaged"});
        // A crash while the file grew can leave a metadata page that promises more pages than the
        // file holds; the header check refuses such a file, and the rebuild takes it in hand.
        row("header refused", {"truncate"}, "rebuilt it from", 302, {".damaged"});
        row("no snapshot", {"no snapshot", "leaf"}, "records salvaged from it", 302, {".damaged"});
        row("damaged snapshot", {"snapshot leaf", "leaf"}, "records salvaged from it", 302,
            {".damaged", ".bak.damaged"});
        row("damaged first page and snapshot", {"snapshot leaf", "meta"}, "snapshot is damaged",
            302, {".damaged", ".bak.damaged"});
        row("snapshot's first page destroyed", {"snapshot meta", "leaf"}, "snapshot is damaged",
            302, {".damaged", ".bak.damaged"});
        row("journal header cut short", {"journal header", "leaf"}, "cut-short header", 302,
            {".damaged"});
        row("damaged journal entry", {"journal middle", "leaf"}, "at least 1 change(s)", 301,
            {".damaged", "-journal.damaged"});
        row("snapshot copied back", {"restore"}, "was written for", 299, {"-journal.stale"});
        row("another dictionary copied in", {"foreign"}, "was written for", 1,
            {"-journal.stale", ".bak.stale"});
        // The file was not closed but is sound: the journal's changes reach it without a word.
        // A new, empty dictionary in place of one that was deleted keeps that one's recovery files.
        row("dictionary deleted", {"no dictionary"}, "belongs to a dictionary that is gone", 0,
            {".bak.old", "-journal.stale"});
        row("writes lost, file sound", {"unwritten"}, "", 302, {});
        row("writes lost, older journal format", {"unwritten", "format 1"}, "", 302, {});
    }

    // The program dies after three acknowledged saves; the crash image is then damaged or replaced
    // as the row says, and the next open must end with a sound file holding the right dictionary.
    void crashThenReopen()
    {
        QFETCH(QStringList, damage);
        QFETCH(QByteArray, said);
        QFETCH(int, keys);
        QFETCH(QStringList, kept);
        Dictionary dict;
        QVERIFY(dict.seed(299) && dict.open());
        const QByteArray opened = fileBytes(dict.path);
        for (int i = 1; i <= 3; ++i)
            QCOMPARE(dict.save(QStringLiteral("last%1").arg(i), QStringLiteral("antimaH")), 0);
        QTemporaryDir crash;
        if (damage.first() == "closed")
            dict.close();
        const QString crashed = dict.crashImage(crash);
        dict.close();
        damage.removeAll(QStringLiteral("closed"));
        for (const QString &step : damage)
            QVERIFY2(applyDamage(step, crashed, opened), qPrintable(step));
        const QMap<QString, QByteArray> bytes{{".damaged", fileBytes(crashed)},
                                              {".bak", fileBytes(snapshotPath(crashed))},
                                              {"-journal", fileBytes(journalPath(crashed))}};
        cDictDB reopened(crashed);
        const Captured output = captureOutput([&] { QCOMPARE(reopened.openDB(), 0); });
        QVERIFY2(said.isEmpty() ? output.err.isEmpty() && reopened.notices().isEmpty()
                                : output.err.contains(said) && !reopened.notices().isEmpty(),
                 output.err.constData());
        QCOMPARE(reopened.getStat(), keys);
        QCOMPARE(reopened.closeDB(), 0);
        QVERIFY(DbUtilities::verify(crashed));
        if (!said.isEmpty())
            QCOMPARE(DbUtilities::dump(snapshotPath(crashed)), DbUtilities::dump(crashed));
        QCOMPARE(DbUtilities::dump(crashed).size(), keys);
        // A rebuilt file carries page checksums (the flag in its metadata page).
        QCOMPARE(fileBytes(crashed).at(26) & 1,
                 int(kept.join("").contains("damaged") || damage.contains("no dictionary")));
        QVERIFY(!QFileInfo::exists(leftoverPath(crashed)));
        // What is set aside keeps its bytes; an older copy ("~") keeps its name.
        for (const QString &suffix : kept)
            QVERIFY2(suffix.startsWith('~') ? QFileInfo::exists(crashed + suffix.mid(1))
                                            : fileBytes(crashed + suffix) ==
                                                  bytes[suffix.left(suffix.indexOf('.', 1))],
                     qPrintable(suffix));
        QCOMPARE(QFileInfo::exists(crashed + ".damaged"),
                 kept.contains(QStringLiteral(".damaged")) ||
                     kept.contains(QStringLiteral("~.damaged")));
        QCOMPARE(Journal::read(QFile::encodeName(journalPath(crashed) + ".damaged")).damagedEntries,
                 int(kept.contains(QStringLiteral("-journal.damaged"))));
    }

    // Two leaves damaged, one of them the first: every record on the other pages comes back, and
    // exactly those on the two are missing.
    void salvageReadsEverySoundPage()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("salvage.db"));
        QList<KeyData> pairs;
        for (int i = 0; i < 3000; ++i)
            pairs.append({"word" + QByteArray::number(i).rightJustified(5, '0'),
                          "artha" + QByteArray::number(i)});
        QVERIFY(DbUtilities::load(path, pairs, "btree\nchksum=1"));
        QByteArray bytes = fileBytes(path);
        // The leaf page (type 5) that holds the key: the last one whose bytes hold it, since the
        // root holds some keys too and a split leaves a copy of the next leaf's first key behind.
        const auto leafOf = [&bytes](const QByteArray &key) {
            qsizetype leaf = -1;
            for (qsizetype page = 1; page * 4096 < bytes.size(); ++page)
                if (bytes[page * 4096 + 25] == 5 && bytes.mid(page * 4096, 4096).contains(key))
                    leaf = page;
            return leaf;
        };
        const QList<qsizetype> damaged{leafOf("word00000"), leafOf("word01500")};
        QList<StoredPair> expected;
        for (const KeyData &pair : pairs) {
            if (!damaged.contains(leafOf(pair.first)))
                expected.append(pair);
        }
        for (const qsizetype page : damaged)
            bytes[page * 4096 + 1000] = char(bytes[page * 4096 + 1000] ^ 0x40);
        QVERIFY(writeFile(path, bytes));
        const Salvage salvage = salvageRecords(QFile::encodeName(path));
        QCOMPARE(salvage.damagedPages, 2);
        QVERIFY(expected.size() < pairs.size() - 100);
        QCOMPARE(salvage.records, expected);
    }

    // A page that went bad on the disk while the dictionary was open is found when the snapshot
    // falls due at the close: the file is rebuilt from the snapshot before and the journal, the
    // saves included, and only then copied.
    void damageFoundWhenTheSnapshotFallsDue()
    {
        Dictionary dict;
        QList<KeyData> pairs;
        for (int i = 0; i < 3000; ++i)
            pairs.append({"word" + QByteArray::number(i).rightJustified(5, '0'), "artha"});
        QVERIFY(DbUtilities::load(dict.path, pairs, "btree\nchksum=1"));
        QVERIFY(dict.open());
        QByteArray bytes = fileBytes(dict.path);
        const qsizetype leaf = bytes.indexOf("word02900") / 4096 * 4096;
        QFile file(dict.path);
        QVERIFY(file.open(QIODevice::ReadWrite) && file.seek(leaf + 1000) && file.write("\xff"));
        file.close();
        for (int i = 0; i < 10; ++i)
            QCOMPARE(dict.save(QStringLiteral("aaa%1").arg(i), QString(4000, QLatin1Char('m'))), 0);
        const Captured output = captureOutput([&] { dict.close(); });
        QVERIFY2(output.err.contains("found damaged when its snapshot fell due"),
                 output.err.constData());
        QVERIFY(DbUtilities::verify(dict.path) && DbUtilities::verify(dict.snapshot));
        QCOMPARE(DbUtilities::dump(dict.path).size(), 3010);
        QCOMPARE(DbUtilities::dump(dict.snapshot), DbUtilities::dump(dict.path));
        QVERIFY(QFileInfo::exists(dict.path + ".damaged"));
    }

    // A private dictionary reached through a link: the recovery files lie beside the file itself
    // and take its mode, and a rebuild replaces that file, leaving the link a link.
    void linkedPrivateDictionaryIsRebuiltInPlace()
    {
        Dictionary dict;
        const QString real = dict.dir.filePath(QStringLiteral("real.db"));
        QVERIFY(dict.seed(299) && QFile::rename(dict.path, real) && QFile::link(real, dict.path));
        QVERIFY(dict.open());
        QCOMPARE(dict.save(QStringLiteral("last"), QStringLiteral("antimaH")), 0);
        // Made private after its recovery files were made: the next open makes them private too.
        QVERIFY(::chmod(QFile::encodeName(real).constData(), 0600) == 0);
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

    void snapshots()
    {
        Dictionary dict;
        QVERIFY(dict.open());
        QCOMPARE(dict.save(QStringLiteral("one"), QStringLiteral("ekaH")), 0);
        const QByteArray firstSnapshot = fileBytes(dict.snapshot);
        // A few small changes stay in the journal across a close and an open.
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
        // On request: a temporary a kill left behind goes; a link planted at a temporary's name is
        // not followed.
        QVERIFY(dict.open());
        QCOMPARE(dict.save(QStringLiteral("one"), QStringLiteral("ekaH")), 0);
        const QString victim = dict.dir.filePath(QStringLiteral("victim"));
        QVERIFY(writeFile(dict.snapshot + QStringLiteral(".new-abcdef"), "left by a kill"));
        QVERIFY(writeFile(victim, "mine") && QFile::link(victim, dict.snapshot + ".new"));
        QString why;
        QVERIFY2(dict.db->takeSnapshot(&why), qPrintable(why));
        QVERIFY(!QFileInfo::exists(dict.snapshot + QStringLiteral(".new-abcdef")));
        QCOMPARE(fileBytes(victim), QByteArray("mine"));
        const JournalContents contents = Journal::read(QFile::encodeName(dict.journal));
        QCOMPARE(contents.entries.size(), 0);
        QVERIFY(contents.openFlag);
        SnapshotId snapshot;
        QVERIFY(identityOf(QFile::encodeName(dict.snapshot), snapshot));
        QCOMPARE(contents.snapshot, snapshot);
        QCOMPARE(DbUtilities::dump(dict.snapshot).size(), 11);
        dict.close();
        QVERIFY(!Journal::read(QFile::encodeName(dict.journal)).openFlag);
        QVERIFY(!cDictDB(dict.path).takeSnapshot(&why) && !why.isEmpty());
    }

    // Creates of one folder take turns; a folder that is gone or held past the wait is refused
    // with the reason, and nothing stays open.
    void folderLockForCreate_data()
    {
        QTest::addColumn<QString>("folder");
        QTest::addColumn<bool>("heldByAnother");
        QTest::addColumn<QString>("refusal"); // the end of the reason, or empty when locked
        QTest::newRow("free") << "." << false << QString();
        QTest::newRow("held by another create")
            << "." << true << "another program is creating a file there";
        QTest::newRow("no such folder") << "gone" << false << "No such file or directory";
    }
    void folderLockForCreate()
    {
        QFETCH(QString, folder);
        QFETCH(bool, heldByAnother);
        QFETCH(QString, refusal);
        QTemporaryDir dir;
        const QByteArray path = QFile::encodeName(dir.filePath(folder + "/morvak.db"));
        int holder = -1;
        if (heldByAnother)
            QVERIFY(lockFolderForCreate(path, &holder, nullptr) && holder >= 0);
        int fd = 7;
        QString why;
        const bool locked = lockFolderForCreate(path, &fd, &why);
        if (holder >= 0)
            ::close(holder);
        QCOMPARE(locked, refusal.isEmpty());
        QCOMPARE(fd >= 0, locked);
        QVERIFY2(why.endsWith(refusal), qPrintable(why));
        if (locked)
            ::close(fd);
    }
};

QTEST_GUILESS_MAIN(TestJournal)
#include "tst_journal.moc"

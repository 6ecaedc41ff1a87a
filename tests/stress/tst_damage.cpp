// SPDX-License-Identifier: GPL-3.0-or-later
// Damage the program did not cause (a flipped bit, a zeroed page, a leftover, a FIFO) meets the
// command-line program, each command run with a time limit: no hang, no partial read reported as
// success, and no acknowledged record lost by a repair.
#include "dbtools.h"
#include "journal.h"
#include "mountpoint.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

#include <fcntl.h>
#include <sys/stat.h>

using namespace vantro;
using namespace vantro::test;

namespace {

constexpr int kRecords = 3000;
constexpr int kPage = 4096;
constexpr int kLeafType = 5;
constexpr int kInternalType = 3;

struct Run
{
    bool finished = false;
    int exitCode = -1;
    QByteArray out;
    QByteArray err;
};

struct Folder
{
    QTemporaryDir temporary;
    QDir dir{temporary.path()};
    QString db = dir.filePath(QStringLiteral("morvak.db"));

    Folder() = default;
    explicit Folder(const QString &path) : dir(path) {}

    Run run(const QStringList &args, int seconds = 20) const
    {
        QProcess process;
        process.setWorkingDirectory(dir.path());
        // VANTRO_DICT runs the same rows against another build of the program.
        process.start(qEnvironmentVariable("VANTRO_DICT", QStringLiteral(VANTRO_DICT_EXECUTABLE)),
                      args);
        Run result;
        result.finished = process.waitForFinished(seconds * 1000);
        if (!result.finished) {
            process.kill();
            process.waitForFinished();
        }
        result.exitCode = process.exitCode();
        result.out = process.readAllStandardOutput();
        result.err = process.readAllStandardError();
        return result;
    }
    bool ok(const QStringList &args) const
    {
        const Run result = run(args);
        return result.finished && result.exitCode == 0;
    }
    // kRecords words imported from a TSV file, as a user's dictionary is made.
    bool import(int from = 0)
    {
        QFile tsv(dir.filePath(QStringLiteral("in.tsv")));
        if (!tsv.open(QIODevice::WriteOnly))
            return false;
        for (int i = from; i < from + kRecords; ++i)
            tsv.write("word" + QByteArray::number(i).rightJustified(5, '0') + "\tartha" +
                      QByteArray::number(i) + "\n");
        tsv.close();
        return ok({"import", "in.tsv"});
    }
    QList<KeyData> records() const { return DbUtilities::dump(db); }
};

// Changes the bytes at offset the way a failing disk does: in place, with the file's modification
// time put back, so only the contents (and the status change time) tell.
bool overwrite(const QString &path, qint64 offset, const QByteArray &bytes)
{
    const QByteArray name = QFile::encodeName(path);
    struct stat before;
    QFile file(path);
    if (::stat(name.constData(), &before) != 0 || !file.open(QIODevice::ReadWrite) ||
        !file.seek(offset) || file.write(bytes) != bytes.size())
        return false;
    file.close();
    const struct timespec times[2] = {before.st_atim, before.st_mtim};
    return ::utimensat(AT_FDCWD, name.constData(), times, 0) == 0;
}

bool flipBit(const QString &path, qint64 offset)
{
    const QByteArray bytes = fileBytes(path);
    return offset < bytes.size() &&
           overwrite(path, offset, QByteArray(1, char(bytes[offset] ^ 0x08)));
}

// The page of that type nearest the middle of the file.
int pageOfType(const QString &path, int type)
{
    const QByteArray bytes = fileBytes(path);
    const int pages = int(bytes.size() / kPage);
    for (int distance = 0; distance < pages; ++distance) {
        for (const int page : {pages / 2 + distance, pages / 2 - distance})
            if (page > 0 && page < pages && bytes[qsizetype(page) * kPage + 25] == type)
                return page;
    }
    return -1;
}

bool damagePage(const QString &path, const QString &how)
{
    const int page =
        pageOfType(path, how.contains(QLatin1String("internal")) ? kInternalType : kLeafType);
    if (page < 0)
        return false;
    if (how.startsWith(QLatin1String("zeroed")))
        return overwrite(path, qint64(page) * kPage, QByteArray(kPage, '\0'));
    return flipBit(path, qint64(page) * kPage + kPage / 2);
}

QByteArray word(int i)
{
    return "word" + QByteArray::number(i).rightJustified(5, '0');
}

} // namespace

class TestDamage : public QObject
{
    Q_OBJECT

private slots:
    // Every reader and a writer on a file damaged after a clean close: each finishes, a reader
    // fails rather than print part of the dictionary as all of it, and the writer's change and
    // every record are there afterwards.
    void readersOnDamage_data()
    {
        QTest::addColumn<QString>("damage");
        QTest::addColumn<QStringList>("command");
        const QList<QStringList> readers{{"get", word(kRecords / 2)},
                                         {"lookup", word(kRecords / 2)},
                                         {"list"},
                                         {"count"},
                                         {"export", "out.tsv"},
                                         {"reverse", "artha1500"},
                                         {"put", word(kRecords / 2), "navam"}};
        for (const char *damage : {"zeroed leaf", "zeroed internal", "flipped leaf"})
            for (const QStringList &reader : readers)
                QTest::newRow(qPrintable(damage + QStringLiteral(": ") + reader.first()))
                    << QString::fromLatin1(damage) << reader;
    }

    void readersOnDamage()
    {
        QFETCH(QString, damage);
        QFETCH(QStringList, command);
        Folder folder;
        QVERIFY(folder.import());
        QVERIFY(folder.ok({"put", "alpha", "prathamaH"}));
        const QList<KeyData> before = folder.records();
        QVERIFY(damagePage(folder.db, damage));
        const Run run = folder.run(command);
        QVERIFY2(run.finished, "the command did not finish");
        const bool writer = command.first() == QLatin1String("put");
        QVERIFY2(run.exitCode == (writer ? 0 : 1), run.err.constData());
        QVERIFY(writer || run.err.contains("damaged"));
        QVERIFY2(!run.err.contains("BDB0") && !run.err.contains("no record"), run.err.constData());
        const Run repair = folder.run({"repair"});
        QVERIFY2(repair.finished && repair.exitCode == 0, repair.err.constData());
        QList<KeyData> expected = before;
        for (KeyData &pair : expected) {
            if (writer && pair.first == word(kRecords / 2))
                pair.second = "navam";
        }
        QCOMPARE(folder.records(), expected);
    }

    // A fault, then the program used on, then a repair: every acknowledged record is there, and
    // nothing hangs.
    void faultsThenRepair_data()
    {
        QTest::addColumn<QString>("fault");
        for (const char *fault :
             {"import then damage", "import then two imports and damage",
              "flipped page then 200 saves", "zero-byte library leftover", "import mark is a FIFO"})
            QTest::newRow(fault) << QString::fromLatin1(fault);
    }

    void faultsThenRepair()
    {
        QFETCH(QString, fault);
        Folder folder;
        QMap<QByteArray, QByteArray> model;
        const auto put = [&](const QByteArray &key, const QByteArray &meaning) {
            const bool stored = folder.ok({"put", QString::fromLatin1(key), meaning});
            if (stored)
                model.insert(key, meaning);
            return stored;
        };
        const auto imported = [&](int from) {
            for (int i = from; i < from + kRecords; ++i)
                model.insert(word(i), "artha" + QByteArray::number(i));
        };
        if (fault == QLatin1String("zero-byte library leftover")) {
            const QString leftover = folder.dir.filePath(QStringLiteral("__db.morvak.db"));
            QVERIFY(QFile(leftover).open(QIODevice::WriteOnly));
            const struct timespec old[2] = {{1000000000, 0}, {1000000000, 0}};
            QVERIFY(::utimensat(AT_FDCWD, QFile::encodeName(leftover).constData(), old, 0) == 0);
            QVERIFY(put("alpha", "prathamaH"));
        } else if (fault == QLatin1String("import mark is a FIFO")) {
            // The snapshot copied back by hand: the journal is another file's, and the mark is
            // read to tell an import's file from a copy.
            QVERIFY(put("alpha", "prathamaH") && put("beta", "dvitIyaH"));
            QVERIFY(::mkfifo(QFile::encodeName(folder.db + "-import").constData(), 0600) == 0);
            QFile copy(folder.db);
            QVERIFY(copy.open(QIODevice::WriteOnly) &&
                    copy.write(fileBytes(folder.db + ".bak")) > 0);
            copy.close();
            model.clear();
            for (const KeyData &pair : folder.records())
                model.insert(pair.first, pair.second);
            QVERIFY(put("gamma", "tRtIyaH"));
        } else {
            QVERIFY(put("alpha", "prathamaH"));
            QVERIFY(folder.import());
            imported(0);
            if (fault.contains(QLatin1String("two imports"))) {
                QVERIFY(put("gamma", "tRtIyaH"));
                QVERIFY(folder.import(kRecords));
                imported(kRecords);
            }
            QVERIFY(damagePage(folder.db, QStringLiteral("flipped leaf")));
            if (fault.contains(QLatin1String("200 saves"))) {
                for (int i = 0; i < 200; ++i)
                    put("save" + QByteArray::number(i), "punaH");
            }
        }
        const Run repair = folder.run({"repair"});
        QVERIFY2(repair.finished && repair.exitCode == 0, repair.err.constData());
        QList<KeyData> expected;
        for (auto at = model.cbegin(); at != model.cend(); ++at)
            expected.append({at.key(), at.value()});
        const QList<KeyData> stored = folder.records();
        QCOMPARE(stored.size(), expected.size());
        QCOMPARE(stored, expected);
    }

    // A dictionary whose first page is zeroed and which has no journal (killed while it was
    // being created, or the journal removed by hand): a writer calls it damaged, and a repair
    // salvages its records and keeps the damaged copy. Any other file is left untouched.
    void firstPageZeroedWithoutJournal_data()
    {
        QTest::addColumn<QString>("file");
        QTest::addColumn<bool>("salvaged");
        QTest::newRow("the program's dictionary") << "program" << true;
        QTest::newRow("16 KiB pages, no checksums") << "loaded" << true;
        QTest::newRow("a text file") << "text" << false;
        QTest::newRow("a file of zeros") << "zeros" << false;
    }

    void firstPageZeroedWithoutJournal()
    {
        QFETCH(QString, file);
        QFETCH(bool, salvaged);
        Folder folder;
        constexpr int kLargePage = 16384;
        if (file == QLatin1String("program")) {
            QVERIFY(folder.import());
            QVERIFY(QFile::remove(folder.db + ".bak") && QFile::remove(folder.db + "-journal"));
        } else if (file == QLatin1String("loaded")) {
            QList<KeyData> pairs;
            for (int i = 0; i < 300; ++i)
                pairs.append({word(i), "artha" + QByteArray::number(i)});
            QVERIFY(DbUtilities::load(folder.db, pairs, "btree", kLargePage));
        } else {
            QFile made(folder.db);
            QVERIFY(made.open(QIODevice::WriteOnly));
            made.write(file == QLatin1String("text") ? QByteArray(8192, 'x') : QByteArray(8192, 0));
        }
        const QList<KeyData> before = salvaged ? folder.records() : QList<KeyData>();
        const int firstPage = file == QLatin1String("loaded") ? kLargePage : kPage;
        QVERIFY(overwrite(folder.db, 0, QByteArray(firstPage, '\0')));
        const QByteArray bytes = fileBytes(folder.db);
        const Run put = folder.run({"put", "alpha", "prathamaH"});
        QVERIFY(put.finished && put.exitCode == 1);
        QVERIFY2(put.err.contains(salvaged ? "is damaged" : "is not a dictionary file"),
                 put.err.constData());
        const Run repair = folder.run({"repair"});
        QVERIFY(repair.finished);
        QVERIFY2(repair.exitCode == (salvaged ? 0 : 1), repair.err.constData());
        if (!salvaged)
            QCOMPARE(fileBytes(folder.db), bytes);
        else
            QCOMPARE(folder.records(), before);
        QCOMPARE(QFile::exists(folder.db + ".damaged"), salvaged);
    }

    // A disk that fills up right after an import: the change refused, or kept, and a repair of
    // damage found afterwards starts from the imported file, not the snapshot before it.
    void importThenFullDisk()
    {
        ScratchMount disk(QStringLiteral("size=2m"));
        SKIP_UNLESS_MOUNTED(disk);
        Folder folder(disk.dir.path());
        QVERIFY(folder.ok({"put", "alpha", "prathamaH"}));
        QVERIFY(folder.import());
        QFile filler(disk.filePath(QStringLiteral("filler")));
        QVERIFY(filler.open(QIODevice::WriteOnly));
        while (filler.write(QByteArray(4096, 'f')) == 4096 && filler.flush()) {
        }
        const bool stored = folder.ok({"put", "beta", "dvitIyaH"});
        filler.close();
        QVERIFY(filler.remove());
        QVERIFY(damagePage(folder.db, QStringLiteral("flipped leaf")));
        const Run repair = folder.run({"repair"});
        QVERIFY2(repair.finished && repair.exitCode == 0, repair.err.constData());
        const QList<KeyData> records = folder.records();
        QCOMPARE(records.size(), kRecords + 1 + (stored ? 1 : 0));
        QCOMPARE(records.first(), KeyData("alpha", "prathamaH"));
    }

    // The last entry of the journal damaged after it was acknowledged: the history and the
    // repair say a change was lost; neither takes it for a write cut short.
    void damagedLastJournalEntry()
    {
        Folder folder;
        QVERIFY(folder.ok({"put", "alpha", "prathamaH"}));
        for (int i = 1; i <= 5; ++i)
            QVERIFY(folder.ok({"put", "change" + QString::number(i), "parivartanam"}));
        const QString journal = folder.db + "-journal";
        const JournalContents contents = Journal::read(QFile::encodeName(journal));
        QVERIFY(contents.entries.size() >= 5);
        QVERIFY(flipBit(journal, contents.validLength - 6));
        const Run history = folder.run({"history"});
        QVERIFY(history.finished);
        QCOMPARE(history.exitCode, 1);
        QVERIFY2(history.err.contains("at least 1 change"), history.err.constData());
        QVERIFY(damagePage(folder.db, QStringLiteral("zeroed leaf")));
        const Run repair = folder.run({"repair"});
        QVERIFY2(repair.finished && repair.err.contains("at least 1 change"),
                 repair.err.constData());
    }
};

QTEST_GUILESS_MAIN(TestDamage)
#include "tst_damage.moc"

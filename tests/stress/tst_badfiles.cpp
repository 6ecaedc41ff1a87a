// SPDX-License-Identifier: GPL-3.0-or-later
#include "capture.h"
#include "dbtools.h"
#include "dictdb.h"
#include "mountpoint.h"
#include "workspacefixture.h"

#include <QDir>
#include <QFile>
#include <QLabel>
#include <QTemporaryDir>
#include <QTest>

#include <cstdio>
#include <sys/stat.h>

using namespace vantro;
using namespace vantro::test;

namespace {

QList<KeyData> somePairs(int count)
{
    QList<KeyData> pairs;
    for (int i = 0; i < count; ++i)
        pairs.append({"word" + QByteArray::number(i).rightJustified(4, '0'),
                      QByteArray("artha|paryAyaH ") + QByteArray::number(i)});
    return pairs;
}

// Builds the bad morvak.db the row names in dir; answers false when it could not.
bool makeBadFile(const QString &kind, const QDir &dir)
{
    const QString path = dir.filePath(QStringLiteral("morvak.db"));
    QFile file(path);
    if (kind == QLatin1String("text") || kind == QLatin1String("unreadable"))
        return file.open(QIODevice::WriteOnly) &&
               file.write(QByteArray("water jalaM\nfire agniH\n").repeated(400)) > 0 &&
               file.flush() && (kind == QLatin1String("text") || file.setPermissions({}));
    if (kind == QLatin1String("fifo"))
        return ::mkfifo(QFile::encodeName(path).constData(), 0600) == 0;
    if (kind == QLatin1String("directory"))
        return dir.mkdir(QStringLiteral("morvak.db"));
    if (!kind.startsWith(QLatin1String("truncated")))
        return DbUtilities::load(path, somePairs(300), kind.toLatin1());
    if (!DbUtilities::load(path, somePairs(2000)))
        return false;
    const qint64 at = kind.section(QLatin1Char(' '), 1).toLongLong();
    return file.resize(at < 0 ? file.size() + at : at);
}

// Everything in the directory, names and bytes, to prove nothing was changed or added.
QMap<QString, QByteArray> contentsOf(const QString &dir)
{
    QMap<QString, QByteArray> contents;
    for (const QFileInfo &info : QDir(dir).entryInfoList(QDir::AllEntries | QDir::NoDotAndDotDot))
        contents.insert(info.fileName(), info.isFile() ? fileBytes(info.filePath()) : "<dir>");
    return contents;
}

// Opens the window of the fixture in dir, the way the program starts there; answers what it
// printed and the key count it showed, then closes it.
QByteArray openWindowIn(const QString &dir, QString &keys)
{
    WorkspaceFixture fx;
    QDir::setCurrent(dir);
    const Captured output = captureOutput([&] { fx.open(); });
    keys = fx.form->lblKeys->text();
    return output.out + output.err;
}

} // namespace

class TestBadFiles : public QObject
{
    Q_OBJECT

private slots:
    void badDictionaryIsLeftAlone_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<QByteArray>("verdict");
        for (const int at : {100, 511, 512, 4096, 4097, 8192, -4096, -1})
            QTest::newRow(qPrintable(QStringLiteral("truncated at %1").arg(at)))
                << QStringLiteral("truncated %1").arg(at) << QByteArray();
        QTest::newRow("text") << "text" << QByteArray("not a dictionary file (not a Berkeley");
        QTest::newRow("hash database") << "hash" << QByteArray("not a dictionary file (a hash");
        QTest::newRow("recno database") << "recno" << QByteArray("not a dictionary file (a record");
        QTest::newRow("duplicate keys")
            << "btree\nduplicates=1" << QByteArray("not a dictionary file (a B-tree with dup");
        QTest::newRow("FIFO") << "fifo" << QByteArray("(not a regular file)");
        QTest::newRow("directory") << "directory" << QByteArray("(not a regular file)");
        // Permission bits do not stop root, under whom these tests run: the file is then read
        // anyway and refused for what it holds. As another user the open itself is refused.
        QTest::newRow("unreadable (mode 000)") << "unreadable" << QByteArray();
    }

    // The window refuses the file in a line or two, shows no keys and changes nothing; the tool's
    // verify names it for what it is (it verifies only what the open takes for a dictionary).
    void badDictionaryIsLeftAlone()
    {
        QFETCH(QString, kind);
        QFETCH(QByteArray, verdict);
        QTemporaryDir dir;
        QVERIFY(makeBadFile(kind, QDir(dir.path())));
        const QMap<QString, QByteArray> before = contentsOf(dir.path());
        QString keys;
        const QByteArray said = openWindowIn(dir.path(), keys);
        QCOMPARE(keys, QStringLiteral("Keys: 0"));
        QVERIFY2(!said.isEmpty() && said.count('\n') <= 2, said.constData());
        std::printf("  %s: %s", qPrintable(kind), said.constData());
        const ProgramRun verify = runProgram(QStringLiteral(VANTRO_DICT_EXECUTABLE),
                                             {"--db", dir.filePath("morvak.db"), "verify"});
        QCOMPARE(verify.status, 1);
        QVERIFY2(verify.err.contains(verdict), verify.err.constData());
        // Neither the window nor the tool changed or added a file.
        QCOMPARE(contentsOf(dir.path()), before);
    }

    // A sound dictionary on a file system mounted read-only is opened read-only and left as it is.
    void readOnlyFileSystem()
    {
        ScratchMount disk(QStringLiteral("size=1m"));
        SKIP_UNLESS_MOUNTED(disk);
        QVERIFY(DbUtilities::load(disk.filePath(QStringLiteral("morvak.db")), somePairs(100)));
        QVERIFY(ScratchMount::mount({"-o", "remount,ro", disk.dir.path()}));
        const QMap<QString, QByteArray> before = contentsOf(disk.dir.path());
        QString keys;
        openWindowIn(disk.dir.path(), keys);
        QCOMPARE(keys, QStringLiteral("Keys: 100"));
        QCOMPARE(contentsOf(disk.dir.path()), before);
    }
};

QTEST_MAIN(TestBadFiles)
#include "tst_badfiles.moc"

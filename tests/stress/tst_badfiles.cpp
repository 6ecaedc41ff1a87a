#include "capture.h"
#include "dbtools.h"
#include "dialogs.h"
#include "dictdb.h"
#include "mainform.h"
#include "mountpoint.h"

#include <QDir>
#include <QFile>
#include <QLabel>
#include <QTemporaryDir>
#include <QTest>

#include <cstdio>
#include <memory>
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

bool writeBytes(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

// Builds the bad morvak.db the row names in dir; answers false when it could not.
bool makeBadFile(const QString &kind, const QString &dir)
{
    const QString path = QDir(dir).filePath(QStringLiteral("morvak.db"));
    if (kind == QLatin1String("text") || kind == QLatin1String("unreadable")) {
        if (!writeBytes(path, QByteArray("water jalaM\nfire agniH\n").repeated(400)))
            return false;
        return kind == QLatin1String("text") || ::chmod(QFile::encodeName(path), 0) == 0;
    }
    if (kind == QLatin1String("hash") || kind.startsWith(QLatin1String("btree\n")))
        return DbUtilities::load(path, somePairs(300), kind.toLatin1());
    if (kind == QLatin1String("fifo"))
        return ::mkfifo(QFile::encodeName(path).constData(), 0600) == 0;
    if (kind == QLatin1String("directory"))
        return QDir(dir).mkdir(QStringLiteral("morvak.db"));
    if (kind.startsWith(QLatin1String("truncated"))) {
        QString full = QDir(dir).filePath(QStringLiteral("whole.db"));
        if (!DbUtilities::load(full, somePairs(2000)))
            return false;
        QByteArray bytes = fileBytes(full);
        QFile::remove(full);
        const qsizetype at = kind.section(QLatin1Char(' '), 1).toLongLong();
        return writeBytes(path, bytes.left(at < 0 ? bytes.size() + at : at));
    }
    return false;
}

// Everything in the directory, names and bytes, to prove nothing was changed or added.
QMap<QString, QByteArray> contentsOf(const QString &dir)
{
    QMap<QString, QByteArray> contents;
    for (const QFileInfo &info : QDir(dir).entryInfoList(QDir::AllEntries | QDir::NoDotAndDotDot))
        contents.insert(info.fileName(), info.isFile() ? fileBytes(info.filePath()) : "<dir>");
    return contents;
}

// Opens the window in dir the way the program starts there, and answers what it printed.
Captured openWindowIn(const QString &dir, QString &keys)
{
    const QString previous = QDir::currentPath();
    QDir::setCurrent(dir);
    ScriptedDialogs dialogs;
    ScopedDialogs guard(dialogs);
    std::unique_ptr<MainForm> form;
    const Captured output = captureOutput([&] { form = std::make_unique<MainForm>(); });
    keys = form->lblKeys->text();
    form.reset();
    QDir::setCurrent(previous);
    return output;
}

void checkRefusal(const QString &dir, const QMap<QString, QByteArray> &before)
{
    QString keys;
    const Captured output = openWindowIn(dir, keys);
    QCOMPARE(keys, QStringLiteral("Keys: 0"));
    QCOMPARE(contentsOf(dir), before);
    const QByteArray said = output.out + output.err;
    QVERIFY2(!said.isEmpty(), "the refusal says nothing");
    QVERIFY2(said.count('\n') <= 2, said.constData());
    std::printf("    %s", said.constData());
}

} // namespace

class TestBadFiles : public QObject
{
    Q_OBJECT

private slots:
    void badDictionaryIsLeftAlone_data();
    void badDictionaryIsLeftAlone();
    void readOnlyFileSystem();
};

void TestBadFiles::badDictionaryIsLeftAlone_data()
{
    QTest::addColumn<QString>("kind");
    for (const int at : {100, 511, 512, 4096, 4097, 8192, -4096, -1})
        QTest::newRow(qPrintable(QStringLiteral("truncated at %1").arg(at)))
            << QStringLiteral("truncated %1").arg(at);
    QTest::newRow("text") << "text";
    QTest::newRow("hash database") << "hash";
    QTest::newRow("duplicate keys") << "btree\nduplicates=1";
    QTest::newRow("FIFO") << "fifo";
    QTest::newRow("directory") << "directory";
    // Permission bits do not stop root, under whom these tests run: the file is then read
    // anyway and refused for what it holds. As another user the open itself is refused.
    QTest::newRow("unreadable (mode 000)") << "unreadable";
}

void TestBadFiles::badDictionaryIsLeftAlone()
{
    QFETCH(QString, kind);
    QTemporaryDir dir;
    QVERIFY(makeBadFile(kind, dir.path()));
    std::printf("  %s:\n", qPrintable(kind));
    checkRefusal(dir.path(), contentsOf(dir.path()));
}

// A sound dictionary on a file system mounted read-only is opened read-only and left as it is.
void TestBadFiles::readOnlyFileSystem()
{
    ScratchMount disk(QStringLiteral("size=1m"));
    SKIP_UNLESS_MOUNTED(disk);
    QVERIFY(DbUtilities::load(disk.filePath(QStringLiteral("morvak.db")), somePairs(100)));
    QVERIFY(disk.remount(QStringLiteral("remount,ro")));
    const QMap<QString, QByteArray> before = contentsOf(disk.path());
    QString keys;
    openWindowIn(disk.path(), keys);
    QCOMPARE(keys, QStringLiteral("Keys: 100"));
    QCOMPARE(contentsOf(disk.path()), before);
}

QTEST_MAIN(TestBadFiles)
#include "tst_badfiles.moc"

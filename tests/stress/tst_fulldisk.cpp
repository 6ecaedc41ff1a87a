// SPDX-License-Identifier: GPL-3.0-or-later
#include "capture.h"
#include "dbtools.h"
#include "dictdb.h"
#include "mountpoint.h"
#include "workspacefixture.h"

#include <QAction>
#include <QFile>
#include <QFileInfo>
#include <QMap>
#include <QTest>

#include <cstdio>
#include <unistd.h>

using namespace vantro;
using namespace vantro::test;

class TestFullDisk : public QObject
{
    Q_OBJECT

private slots:
    void dictionaryOnAFullDisk()
    {
        ScratchMount disk(QStringLiteral("size=256k"));
        SKIP_UNLESS_MOUNTED(disk);
        const QString path = disk.filePath(QStringLiteral("morvak.db"));
        QMap<QByteArray, QByteArray> acknowledged;
        QList<QByteArray> refused;
        int deleted = -1;
        {
            cDictDB db(path);
            QCOMPARE(db.openDB(), 0);
            for (int i = 0; i < 400 && refused.size() < 20; ++i) {
                const QByteArray key = "word" + QByteArray::number(i);
                const QByteArray meaning = QByteArray::number(i).repeated(300).left(1500);
                int result = -1;
                const Captured output =
                    captureOutput([&] { result = putRecord(db, key, meaning, {}, false); });
                if (result == 0) {
                    QCOMPARE(output.out, QByteArray());
                    acknowledged.insert(key, meaning);
                    continue;
                }
                refused.append(key);
                QCOMPARE(result, 1);
                // The store's words for a failed save: one of these lines, and at most the error
                // routine's one line on stderr (none of the library's own).
                QVERIFY2(output.out == "Save/put I/O err cDictDB\n" ||
                             output.out == "cDictDB: put/sync err\n",
                         output.out.constData());
                QVERIFY2(output.err.count('\n') <= 1 && !output.err.contains("BDB"),
                         output.err.constData());
                QVERIFY2(db.failureReason().startsWith("write error: "),
                         qPrintable(db.failureReason()));
            }
            // Deleting needs room for its journal entry too; it either works or fails in its words.
            db.setWord(QStringLiteral("word0"));
            const Captured output = captureOutput([&] { deleted = db.deleteRecord(); });
            if (deleted == 0)
                acknowledged.remove("word0");
            else
                QVERIFY(output.out == "Del I/O err cDictDB\n" ||
                        output.out == "cDictDB: del/sync err\n");
            captureOutput([&] { db.closeDB(); });
        }
        std::printf("full disk: %d saves acknowledged, %d refused, the delete %s\n",
                    int(acknowledged.size()), int(refused.size()),
                    deleted == 0 ? "worked" : "was refused");
        QVERIFY(!refused.isEmpty());
        QVERIFY(acknowledged.size() > 20);

        // Still full: the file opens, verifies and holds every acknowledged record.
        for (int attempt = 0; attempt < 2; ++attempt) {
            cDictDB db(path);
            const Captured opened = captureOutput([&] { QCOMPARE(db.openDB(), 0); });
            QMap<QByteArray, QByteArray> stored;
            for (int r = db.getCursorRec(cDictDB::First); r == 0;
                 r = db.getCursorRec(cDictDB::Next))
                stored.insert(db.storedKey(), db.storedData());
            const Captured closed = captureOutput([&] { db.closeDB(); });
            // A writer that cannot take the snapshot works on with the journal and says so once.
            QCOMPARE((opened.err + closed.err).count("cannot take the snapshot"), 1);
            for (auto it = acknowledged.cbegin(); it != acknowledged.cend(); ++it)
                QCOMPARE(stored.value(it.key()), it.value());
            // A save the caller was told had failed must not turn up later.
            for (const QByteArray &key : refused)
                QVERIFY2(!stored.contains(key), key.constData());
            QCOMPARE(stored.contains("word0"), deleted != 0);
            QVERIFY(DbUtilities::verify(path));
        }

        // Damaged while the disk is full: the rebuild fails for want of room, and the file, its
        // snapshot and its journal stay as they are; with room, the next open rebuilds it whole.
        QFile file(path);
        QVERIFY(file.open(QIODevice::ReadWrite) && file.seek(4096) &&
                file.write(QByteArray(64, '\xA5')) == 64);
        file.close();
        const QByteArray snapshot = fileBytes(path + ".bak");
        for (const bool room : {false, true}) {
            if (room)
                QVERIFY(ScratchMount::mount({"-o", "remount,size=1m", disk.dir.path()}));
            cDictDB db(path);
            const Captured opened = captureOutput([&] { QCOMPARE(db.openDB(), room ? 0 : 1); });
            QVERIFY2(opened.err.contains(room ? "rebuilt it from" : "rebuilding it failed"),
                     opened.err.constData());
            QVERIFY2(opened.err.count(QByteArrayLiteral("\n")) == 1, opened.err.constData());
            QVERIFY(room || fileBytes(path + ".bak") == snapshot);
            QVERIFY(!QFile::exists(path + ".bak.damaged"));
            for (auto it = acknowledged.cbegin(); it != acknowledged.cend(); ++it)
                QVERIFY(!room || (db.getStoredRec(it.key()) == 0 && db.storedData() == it.value()));
            captureOutput([&] { db.closeDB(); });
        }
    }

    void documentOnAFullDisk_data()
    {
        QTest::addColumn<bool>("linked");
        QTest::newRow("swapped") << false;
        QTest::newRow("with another name: written in place") << true;
    }

    // Either way the old text stays: the new file, or the space reserved in the old one, does not
    // fit.
    void documentOnAFullDisk()
    {
        QFETCH(bool, linked);
        ScratchMount disk(QStringLiteral("size=256k"));
        SKIP_UNLESS_MOUNTED(disk);
        const QString document = disk.filePath(QStringLiteral("doc.txt"));
        const QByteArray old = "purANaM vAkyam\n";
        QFile file(document);
        QVERIFY(file.open(QIODevice::WriteOnly) && file.write(old) == old.size() && file.flush());
        QVERIFY(!linked ||
                ::link(qPrintable(document), qPrintable(disk.filePath("link.txt"))) == 0);
        WorkspaceFixture fx;
        MainForm &form = fx.open();
        fx.dialogs.setNextFileName(document);
        form.fileOpenAction->trigger();
        QFile filler(disk.filePath(QStringLiteral("filler")));
        QVERIFY(filler.open(QIODevice::WriteOnly));
        while (filler.write(QByteArray(4096, 'f')) == 4096 && filler.flush()) {
        }
        typeAtEnd(form.itrans, QString(64 * 1024, QLatin1Char('a')));

        form.fileSaveAction->trigger();

        QCOMPARE(fileBytes(document), old);
        QCOMPARE(QFileInfo(document).size(), old.size());
        QVERIFY(isModified(form.itrans));
        QVERIFY(!fx.dialogs.shown.isEmpty());
        QCOMPARE(fx.dialogs.shown.last().kind, QStringLiteral("information"));
        std::printf("document on a full disk: \"%s\"\n",
                    fx.dialogs.shown.last().text.toLocal8Bit().constData());
    }
};

QTEST_MAIN(TestFullDisk)
#include "tst_fulldisk.moc"

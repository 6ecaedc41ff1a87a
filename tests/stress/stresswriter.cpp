// SPDX-License-Identifier: GPL-3.0-or-later
// Changes a dictionary in an endless loop, the way the window or the command-line tool does, and
// says on the standard output what it is about to do and how it ended, so that whoever kills it
// knows which changes were acknowledged:
//   B <op> <key-hex> <data-hex>   before the change (op A add, S save, D delete)
//   B I <tsv-hex>                 before an import that replaces the records of the TSV lines
//   K                             the change returned success
//   F                             the change returned failure
// Usage: vantro-stress-writer DB SEED [TOOL]   (with TOOL, every change is one run of the tool)

#include "dictdb.h"

#include <QByteArray>
#include <QFile>
#include <QProcess>
#include <QSet>

#include <cstdio>
#include <cstdlib>
#include <memory>
#include <random>
#include <unistd.h>

using namespace vantro;

namespace {

void say(const QByteArray &line)
{
    const QByteArray whole = line + '\n';
    // One write per line, so that a kill never leaves half a line in the pipe.
    if (::write(STDOUT_FILENO, whole.constData(), size_t(whole.size())) < 0)
        std::_Exit(3);
}

std::mt19937 dice;

QByteArray someKey()
{
    const int n = int(dice() % 1500);
    // Some long keys, so that page splits move big items too.
    return n % 97 == 0 ? "long" + QByteArray(300 + n % 500, 'q') + QByteArray::number(n)
                       : "k" + QByteArray::number(n);
}

QByteArray someMeaning()
{
    const int length = dice() % 100 < 3 ? 1500 + int(dice() % 3000) : 1 + int(dice() % 200);
    QByteArray text(length, 'a');
    for (char &c : text)
        c = char('a' + dice() % 26);
    return text;
}

// One change through a run of the tool; answers its exit status (1 when it did not exit).
int runTool(const QString &tool, const char *db, char op, const QByteArray &key,
            const QByteArray &data)
{
    QProcess run;
    run.setStandardOutputFile(QProcess::nullDevice());
    run.setStandardErrorFile(QProcess::nullDevice());
    const QStringList change =
        op == 'D' ? QStringList{"del", key} : QStringList{"put", key, QString::fromLatin1(data)};
    run.start(tool, QStringList{"--db", db} + change);
    run.waitForFinished(-1);
    return run.exitStatus() == QProcess::NormalExit ? run.exitCode() : 1;
}

// A few records as an exchange file, imported with --on-conflict replace in one run of the tool.
QByteArray someImport()
{
    QByteArray tsv;
    QSet<QByteArray> keys;
    const int records = 1 + int(dice() % 40);
    // A word twice in one file is refused whole: each is taken once.
    for (int i = 0; i < records; ++i) {
        if (const QByteArray key = someKey(); !keys.contains(key)) {
            keys.insert(key);
            tsv += key + '\t' + someMeaning() + '\n';
        }
    }
    return tsv;
}

int runImport(const QString &tool, const char *db, const QByteArray &tsv)
{
    const QString file = QString::fromLocal8Bit(db) + QStringLiteral(".in.tsv");
    QFile out(file);
    if (!out.open(QIODevice::WriteOnly) || out.write(tsv) != tsv.size() || !out.flush())
        return 1;
    QProcess run;
    run.setStandardOutputFile(QProcess::nullDevice());
    run.setStandardErrorFile(QProcess::nullDevice());
    run.start(tool, {"--db", db, "import", "--on-conflict", "replace", file});
    run.waitForFinished(-1);
    return run.exitStatus() == QProcess::NormalExit ? run.exitCode() : 1;
}

int runWithDictDB(const char *path)
{
    auto db = std::make_unique<cDictDB>(QString::fromLatin1(path));
    if (db->openDB() != 0)
        return 2;
    QSet<QByteArray> keys;
    for (int ret = db->getCursorRec(cDictDB::First); ret == 0;
         ret = db->getCursorRec(cDictDB::Next))
        keys.insert(db->storedKey());
    for (int done = 1;; ++done) {
        const QByteArray key = someKey();
        const int roll = int(dice() % 100);
        // A stored key is saved 45%, deleted 40% or added 15%; a new one added 70%, saved 20%
        // or deleted 10%.
        const bool stored = keys.contains(key);
        const char op =
            (stored ? "SDA" : "ASD")[(roll >= (stored ? 45 : 70)) + (roll >= (stored ? 85 : 90))];
        const QByteArray data = op == 'D' ? QByteArray() : someMeaning();
        say("B " + QByteArray(1, op) + ' ' + key.toHex() + ' ' + data.toHex());
        db->setWord(QString::fromLatin1(key));
        db->setITRANS(QString::fromLatin1(data));
        db->setSynonym(QString());
        const int ret = op == 'A'   ? db->addRecord()
                        : op == 'S' ? db->saveRecord()
                                    : db->deleteRecord();
        say(ret == 0 ? "K" : "F");
        if (ret == 0 && op == 'D')
            keys.remove(key);
        else if (ret == 0)
            keys.insert(key);
        // Now and then the window is closed and opened again.
        if (done % 60 == 0) {
            db->closeDB();
            db = std::make_unique<cDictDB>(QString::fromLatin1(path));
            if (db->openDB() != 0)
                return 2;
        }
    }
}

} // namespace

int main(int argc, char **argv)
{
    if (argc < 3) {
        std::fprintf(stderr, "usage: %s DB SEED [TOOL]\n", argv[0]);
        return 2;
    }
    dice.seed(unsigned(std::strtoul(argv[2], nullptr, 10)));
    if (argc == 3)
        return runWithDictDB(argv[1]);
    const QString tool = QString::fromLocal8Bit(argv[3]);
    for (;;) {
        // One change in twenty is an import, which replaces the dictionary's file whole.
        if (dice() % 20 == 0) {
            const QByteArray tsv = someImport();
            say("B I " + tsv.toHex());
            say(runImport(tool, argv[1], tsv) == 0 ? "K" : "F");
            continue;
        }
        const QByteArray key = someKey();
        const char op = dice() % 100 < 70 ? 'S' : 'D';
        const QByteArray data = op == 'D' ? QByteArray() : someMeaning();
        say("B " + QByteArray(1, op) + ' ' + key.toHex() + ' ' + data.toHex());
        say(runTool(QString::fromLocal8Bit(argv[3]), argv[1], op, key, data) == 0 ? "K" : "F");
    }
}

// Changes a dictionary in an endless loop, the way the window or the command-line tool does, and
// says on the standard output what it is about to do and how it ended, so that whoever kills it
// knows which changes were acknowledged:
//   B <op> <key-hex> <data-hex>   before the change (op A add, S save, D delete)
//   K                             the change returned success
//   F                             the change returned failure
// Usage: vantro-stress-writer DB SEED [TOOL]   (with TOOL, every change is one run of the tool)

#include "dictdb.h"
#include "record.h"

#include <QByteArray>
#include <QSet>
#include <QString>

#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <random>
#include <sys/wait.h>
#include <unistd.h>

using namespace vantro;

namespace {

constexpr int kKeySpace = 1500;

void say(const QByteArray &line)
{
    const QByteArray whole = line + '\n';
    // One write per line, so that a kill never leaves half a line in the pipe.
    if (::write(STDOUT_FILENO, whole.constData(), size_t(whole.size())) < 0)
        std::_Exit(3);
}

class Changes
{
public:
    explicit Changes(unsigned seed) : m_random(seed) {}

    QByteArray key()
    {
        const int n = int(m_random() % kKeySpace);
        // Some long keys, so that page splits move big items too.
        return n % 97 == 0
                   ? QByteArray("long") + QByteArray(300 + n % 500, 'q') + QByteArray::number(n)
                   : QByteArray("k") + QByteArray::number(n);
    }
    QByteArray meaning()
    {
        const int roll = int(m_random() % 100);
        const int length = roll < 3 ? 1500 + int(m_random() % 3000) : 1 + int(m_random() % 200);
        QByteArray text(length, 'a');
        for (char &c : text)
            c = char('a' + m_random() % 26);
        return text;
    }
    int percent() { return int(m_random() % 100); }

private:
    std::mt19937 m_random;
};

int runTool(const char *tool, const char *db, const QByteArray &op, const QByteArray &key,
            const QByteArray &data)
{
    const pid_t child = ::fork();
    if (child == 0) {
        const int null = ::open("/dev/null", O_WRONLY);
        ::dup2(null, STDOUT_FILENO);
        ::dup2(null, STDERR_FILENO);
        if (op == "D")
            ::execl(tool, tool, "--db", db, "del", key.constData(), nullptr);
        else
            ::execl(tool, tool, "--db", db, "put", key.constData(), data.constData(), nullptr);
        std::_Exit(127);
    }
    int status = 0;
    if (child < 0 || ::waitpid(child, &status, 0) != child)
        return 1;
    return WIFEXITED(status) ? WEXITSTATUS(status) : 1;
}

int runWithDictDB(const char *path, Changes &changes)
{
    auto db = std::make_unique<cDictDB>(QString::fromLatin1(path));
    if (db->openDB() != 0)
        return 2;
    QSet<QByteArray> keys;
    for (int ret = db->getCursorRec(cDictDB::First); ret == 0;
         ret = db->getCursorRec(cDictDB::Next))
        keys.insert(db->storedKey());
    for (int done = 1;; ++done) {
        const QByteArray key = changes.key();
        const int roll = changes.percent();
        const bool stored = keys.contains(key);
        const QByteArray op = stored ? (roll < 45   ? "S"
                                        : roll < 85 ? "D"
                                                    : "A")
                                     : (roll < 70   ? "A"
                                        : roll < 90 ? "S"
                                                    : "D");
        const QByteArray data = op == "D" ? QByteArray() : changes.meaning();
        say("B " + op + ' ' + key.toHex() + ' ' + data.toHex());
        db->setWord(QString::fromLatin1(key));
        db->setITRANS(QString::fromLatin1(data));
        db->setSynonym(QString());
        const int ret = op == "A"   ? db->addRecord()
                        : op == "S" ? db->saveRecord()
                                    : db->deleteRecord();
        say(ret == 0 ? "K" : "F");
        if (ret == 0 && op == "D")
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

int runWithTool(const char *path, const char *tool, Changes &changes)
{
    for (;;) {
        const QByteArray key = changes.key();
        const QByteArray op = changes.percent() < 70 ? "S" : "D";
        const QByteArray data = op == "D" ? QByteArray() : changes.meaning();
        say("B " + op + ' ' + key.toHex() + ' ' + data.toHex());
        say(runTool(tool, path, op, key, data) == 0 ? "K" : "F");
    }
}

} // namespace

int main(int argc, char **argv)
{
    if (argc < 3) {
        std::fprintf(stderr, "usage: %s DB SEED [TOOL]\n", argv[0]);
        return 2;
    }
    Changes changes(unsigned(std::strtoul(argv[2], nullptr, 10)));
    return argc > 3 ? runWithTool(argv[1], argv[3], changes) : runWithDictDB(argv[1], changes);
}

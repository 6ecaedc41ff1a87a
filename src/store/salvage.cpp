#include "salvage.h"

#include <QSet>

#include <db.h>

#include <cstdio>
#include <cstdlib>

namespace vantro {
namespace {

QByteArray salvageDump(const QByteArray &path, u_int32_t flags)
{
    DB *dbp = nullptr;
    if (db_create(&dbp, nullptr, 0) != 0)
        return {};
    char *buffer = nullptr;
    size_t length = 0;
    FILE *out = open_memstream(&buffer, &length);
    // What the library says about each bad page would only bury the one line that matters.
    char *noiseBuffer = nullptr;
    size_t noiseLength = 0;
    FILE *noise = open_memstream(&noiseBuffer, &noiseLength);
    dbp->set_errfile(dbp, noise);
    dbp->set_msgfile(dbp, noise);
    if (out)
        dbp->verify(dbp, path.constData(), nullptr, out, flags);
    else
        dbp->close(dbp, 0);
    if (noise)
        std::fclose(noise);
    std::free(noiseBuffer);
    if (!out)
        return {};
    std::fclose(out);
    QByteArray dump(buffer, qsizetype(length));
    std::free(buffer);
    return dump;
}

} // namespace

QList<StoredPair> parseDump(const QByteArray &dump)
{
    QList<StoredPair> pairs;
    QSet<QByteArray> seen;
    bool inData = false;
    QByteArray key;
    bool haveKey = false;
    for (const QByteArray &line : dump.split('\n')) {
        if (line == "HEADER=END") {
            inData = true;
            haveKey = false;
        } else if (line == "DATA=END") {
            inData = false;
        } else if (inData && line.startsWith(' ')) {
            const QByteArray bytes = QByteArray::fromHex(line.mid(1));
            if (!haveKey) {
                key = bytes;
                haveKey = true;
            } else {
                haveKey = false;
                if (!key.isEmpty() && !seen.contains(key)) {
                    seen.insert(key);
                    pairs.append({key, bytes});
                }
            }
        }
    }
    return pairs;
}

QList<StoredPair> salvageRecords(const QByteArray &path)
{
    QList<StoredPair> pairs = parseDump(salvageDump(path, DB_SALVAGE));
    if (pairs.isEmpty())
        pairs = parseDump(salvageDump(path, DB_SALVAGE | DB_AGGRESSIVE));
    return pairs;
}

} // namespace vantro

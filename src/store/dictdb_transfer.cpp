// SPDX-License-Identifier: GPL-3.0-or-later
// The dictionary in and out as a whole: the walk over every stored record that export and import
// make, and the replacement file an import writes and puts in place.
#include "dictdb.h"

#include "dictreplacement.h"
#include "libraryhandle.h"
#include "snapshot.h"

#include <db.h>

#include <cstring>

namespace vantro {

std::unique_ptr<cDictDB::Replacement> cDictDB::beginReplacement(QString *why)
{
    if (!isOpen() || m_readOnly) {
        *why = QStringLiteral("the dictionary is not open for writing");
        return nullptr;
    }
    // The lock held on the dictionary admits no other writer, so whatever carries the temporary
    // names now was left by a process that was killed.
    Replacement::removeStale(m_openPath);
    auto replacement = std::make_unique<Replacement>(m_openPath);
    if (!replacement->create(why))
        return nullptr;
    return replacement;
}

bool cDictDB::commitReplacement(std::unique_ptr<Replacement> replacement, QString *error)
{
    if (!replacement->finish(error))
        return false;
    // Locked under its temporary name before it takes the dictionary's, so that no other
    // program can open the new file in between; the old file's lock goes once it is in place.
    FileLock newLock;
    if (QString why; newLock.acquire(replacement->path(), FileLock::Mode::Exclusive, &why) !=
                     FileLock::Result::Locked)
        return failWith(error, why);
    const QByteArray name = m_openPath;
    // Readers finish with the old file before it goes; the new one is complete and flushed.
    ChangeLock::Bracket replacing(m_changeLock, ChangeLock::Mode::Exclusive, ChangeLock::kWaitMs);
    if (!replacing.held())
        return failWith(
            error, QStringLiteral("another program has been reading the dictionary for a while"));
    dbcp->close(dbcp);
    dbcp = nullptr;
    m_bulkAt = nullptr;
    m_cursorPlaced = false;
    m_walked = false;
    dbp->close(dbp, 0);
    dbp = nullptr;
    QString why;
    m_keysCounted = false;
    m_notFlushed.clear();
    // The snapshot of the new file is on disk and the journal names it before the file takes
    // the dictionary's name: a repair after the import never goes back to the older snapshot.
    bool inPlace = m_recovery.prepareImport(replacement->path(), &why);
    if (inPlace && ::rename(replacement->path().constData(), name.constData()) == 0) {
        replacement->m_finished = true;
        // In place: from here on the import is done, at worst not yet flushed.
        const bool flushed = syncDirectoryOf(name, &m_notFlushed);
        m_lock.swap(newLock);
        // The import stands, but no change is written without the lock readers wait on.
        if (QString lockError; !m_changeLock.open(name, true, &lockError))
            m_changeLockFailure =
                QStringLiteral("the change lock of %1 could not be opened again after the "
                               "import (%2); close the dictionary and open it again")
                    .arg(QString::fromLocal8Bit(name), lockError);
        iKeys = replacement->m_written;
        m_keysCounted = true;
        if (flushed)
            m_recovery.importInPlace();
    } else if (inPlace) {
        inPlace = failWith(&why, QString::fromLocal8Bit(std::strerror(errno)));
    }
    int ret = createHandle(&dbp);
    if (ret == 0)
        ret = dbp->open(dbp, nullptr, name.constData(), nullptr, DB_BTREE, DB_CREATE, 0664);
    if (ret == 0)
        ret = dbp->cursor(dbp, nullptr, &dbcp, 0);
    if (ret != 0) {
        dbcp = nullptr;
        libraryReport(dbp, ret, name.constData());
    }
    return inPlace || failWith(error, why);
}

// Records are fetched many at a time (the library's bulk read), so that a walk over a large
// dictionary costs one library call per block rather than one per record.
bool cDictDB::nextStored(QByteArrayView &key, QByteArrayView &data, QString *error)
{
    if (!dbcp)
        return failWith(error, errorText(EINVAL));
    for (;;) {
        if (m_bulkAt) {
            DBT block{};
            block.data = m_bulk.data();
            block.ulen = u_int32_t(m_bulk.size());
            void *keyBytes = nullptr;
            void *dataBytes = nullptr;
            u_int32_t keySize = 0;
            u_int32_t dataSize = 0;
            DB_MULTIPLE_KEY_NEXT(m_bulkAt, &block, keyBytes, keySize, dataBytes, dataSize);
            if (m_bulkAt) {
                key = QByteArrayView(static_cast<const char *>(keyBytes), qsizetype(keySize));
                data = QByteArrayView(static_cast<const char *>(dataBytes), qsizetype(dataSize));
                return walkedInOrder(key) || failWith(error, errorText(DB_VERIFY_BAD));
            }
        }
        if (m_bulk.isEmpty())
            m_bulk.resize(kBulkBytes);
        DBT dbKey{};
        DBT block{};
        block.data = m_bulk.data();
        block.ulen = u_int32_t(m_bulk.size());
        block.flags = DB_DBT_USERMEM;
        const int ret = dbcp->get(dbcp, &dbKey, &block, DB_NEXT | DB_MULTIPLE_KEY);
        if (ret == DB_BUFFER_SMALL) {
            // One record larger than the block: a block that holds it, rounded to whole KiB.
            m_bulk.resize((qsizetype(block.size) + 1023) & ~qsizetype(1023));
            continue;
        }
        if (ret != 0) {
            if (isDamage(ret))
                noteDamage(ret);
            m_walkHoldsLock = false;
            readDone();
            return ret == DB_NOTFOUND ? false : failWith(error, errorText(ret));
        }
        DB_MULTIPLE_INIT(m_bulkAt, &block);
    }
}

// The walk's keys must rise, as in readAtCursor; the last one is kept in a buffer that is reused.
bool cDictDB::walkedInOrder(QByteArrayView key)
{
    if (m_walked && !(QByteArrayView(m_walkedKey) < key)) {
        noteDamage(DB_VERIFY_BAD);
        return false;
    }
    m_walked = true;
    m_walkedKey.resize(key.size());
    std::memcpy(m_walkedKey.data(), key.data(), size_t(key.size()));
    return true;
}

bool cDictDB::startWalk(QString *error)
{
    // A reader sharing the file with a writer holds the change lock for the whole walk.
    if (!readLocked())
        return failWith(error, errorText(EINVAL));
    m_walkHoldsLock = m_lockEachRead;
    m_bulkAt = nullptr;
    m_walked = false;
    dbcp->close(dbcp);
    dbcp = nullptr;
    const int ret = dbp->cursor(dbp, nullptr, &dbcp, 0);
    return ret == 0 || failWith(error, errorText(ret));
}

// The library's own numbering ("BDB0087 ") tells a user nothing.
QString cDictDB::errorText(int code)
{
    QString text = QString::fromLocal8Bit(db_strerror(code));
    if (text.startsWith(QLatin1String("BDB")) && text.size() > 8 && text.at(7) == QLatin1Char(' '))
        text.remove(0, 8);
    return text;
}

} // namespace vantro

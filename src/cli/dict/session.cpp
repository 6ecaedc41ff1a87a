// SPDX-License-Identifier: GPL-3.0-or-later
#include "session.h"

#include "console.h"
#include "filelock.h"
#include "record.h"

#include <QFile>
#include <QFileInfo>

namespace vantro::dict {

// cDictDB turns its name into Latin-1 bytes. Handing it the file system's own bytes as Latin-1
// characters makes it open exactly the file the user named, whatever the name's encoding.
Session::Session(const QString &path)
    : m_path(path), m_db(std::make_unique<cDictDB>(QString::fromLatin1(QFile::encodeName(path))))
{
}

Session::~Session()
{
    close();
}

bool Session::open(Missing missing, cDictDB::Access access)
{
    if (!QFileInfo::exists(m_path) && missing == Missing::Refuse) {
        reportError(
            QStringLiteral("%1: no such dictionary file (name one with --db FILE)").arg(m_path));
        return false;
    }
    // The same lock a writing cDictDB takes, tried first so that the refusal speaks to the user
    // of this program; if the window takes the file in between, cDictDB refuses in its own
    // words. A reader reads beside a writer, as last saved.
    FileLock probe;
    if (access != cDictDB::Access::ReadOnly &&
        probe.acquire(QFile::encodeName(m_path), FileLock::Mode::Exclusive, nullptr) ==
            FileLock::Result::Busy) {
        reportError(QStringLiteral("%1 is open in another program (the window or another "
                                   "vantro-dict); nothing was done")
                        .arg(m_path));
        return false;
    }
    probe.release();
    m_db->setAccess(access);
    // A failed open has already said why, in the store's own line.
    if (m_db->openDB() != 0) {
        m_db->closeDB();
        return false;
    }
    return true;
}

namespace {
bool g_damageSeen = false;
} // namespace

bool Session::damageSeen()
{
    return g_damageSeen;
}

bool Session::close()
{
    if (!m_db->isOpen())
        return true;
    const bool damaged = m_db->damageFound();
    g_damageSeen = g_damageSeen || damaged;
    const bool closed = m_db->closeDB() == 0;
    // A damaged file fails its close as well; the store has said what matters.
    if (damaged)
        return false;
    if (!closed) {
        reportError(QStringLiteral("closing %1 failed; the last changes may be lost").arg(m_path));
        return false;
    }
    return true;
}

bool findExactly(cDictDB &db, const QString &word)
{
    return db.getStoredRec(encodeKey(word)) == 0 || db.getStoredRec(word.toLatin1()) == 0;
}

} // namespace vantro::dict

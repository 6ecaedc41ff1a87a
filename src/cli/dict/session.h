// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "dictdb.h"

#include <QString>
#include <memory>

namespace vantro::dict {

// The dictionary a command works on, opened under the single-writer lock for as long as the
// object lives and closed (everything flushed) when it goes.
class Session
{
public:
    enum class Missing { Refuse, Create };

    explicit Session(const QString &path);
    ~Session();
    Session(const Session &) = delete;
    Session &operator=(const Session &) = delete;

    // Opens the file, or says on the standard error stream why not (one line) and answers false.
    // Commands that only read open it read-only: they share the file with other readers and
    // write nothing beside it.
    bool open(Missing missing, cDictDB::Access access = cDictDB::Access::ReadWrite);
    // Closes the file; false (after saying so) when the final flush failed.
    bool close();

    cDictDB &db() { return *m_db; }
    const QString &path() const { return m_path; }
    // True once a session of this process met a damaged file (the store said so in its line).
    static bool damageSeen();

private:
    QString m_path;
    std::unique_ptr<cDictDB> m_db;
};

// Moves the cursor to the record stored under the word, lower-cased as it is stored or, when
// there is none, exactly as given (another tool may have stored capitals); false and the cursor
// wherever the search left it when there is neither.
bool findExactly(cDictDB &db, const QString &word);

} // namespace vantro::dict

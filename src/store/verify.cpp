#include "verify.h"

#include "filelock.h"

#include <QFile>

#include <db.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace vantro {
namespace {

QStringList linesOf(const char *text, size_t length)
{
    QStringList lines = QString::fromLocal8Bit(text, qsizetype(length)).split(QLatin1Char('\n'));
    lines.removeAll(QString());
    return lines;
}

// DB->verify consumes the handle and must be given one that was never opened. Its reports go to a
// memory stream so that the caller decides how much of them to show.
VerifyReport checkFile(const QByteArray &path)
{
    VerifyReport report;
    DB *dbp = nullptr;
    const int created = db_create(&dbp, nullptr, 0);
    if (created != 0) {
        report.messages
            << QStringLiteral("db_create: %1").arg(QString::fromLocal8Bit(db_strerror(created)));
        return report;
    }
    char *buffer = nullptr;
    size_t length = 0;
    FILE *sink = open_memstream(&buffer, &length);
    if (sink) {
        dbp->set_errfile(dbp, sink);
        dbp->set_msgfile(dbp, sink);
    }
    const int ret = dbp->verify(dbp, path.constData(), nullptr, nullptr, 0);
    if (sink) {
        std::fclose(sink);
        report.messages = linesOf(buffer, length);
        std::free(buffer);
    }
    if (ret == 0)
        report.verdict = VerifyReport::Verdict::Consistent;
    else if (ret == DB_VERIFY_BAD || report.messages.isEmpty() == false)
        report.verdict = VerifyReport::Verdict::Damaged;
    if (ret != 0 && report.messages.isEmpty())
        report.messages << QString::fromLocal8Bit(db_strerror(ret));
    return report;
}

} // namespace

VerifyReport verifyDictionary(const QString &path)
{
    const QByteArray name = QFile::encodeName(path);
    FileLock lock;
    switch (lock.acquire(name)) {
    case FileLock::Result::Missing:
        return {VerifyReport::Verdict::Missing, {}};
    case FileLock::Result::Busy:
        return {VerifyReport::Verdict::Busy, {}};
    case FileLock::Result::Failed:
        return {VerifyReport::Verdict::Failed,
                {QString::fromLocal8Bit(std::strerror(lock.lastError()))}};
    case FileLock::Result::Locked:
        break;
    }
    return checkFile(name);
}

VerifyReport verifyLockedDictionary(const QByteArray &path)
{
    return checkFile(path);
}

} // namespace vantro

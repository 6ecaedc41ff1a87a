// SPDX-License-Identifier: GPL-3.0-or-later
#include "capture.h"

#include <QFile>
#include <QProcess>

#include <cstdio>
#include <unistd.h>

namespace vantro::test {
namespace {

// Points a stream's descriptor at a temporary file until finish() gives back what was written.
class Redirect
{
public:
    explicit Redirect(int fd) : m_fd(fd), m_saved((fflush(nullptr), dup(fd)))
    {
        dup2(fileno(m_file), m_fd);
    }

    QByteArray finish()
    {
        fflush(nullptr);
        dup2(m_saved, m_fd);
        close(m_saved);
        rewind(m_file);
        QFile copy;
        const QByteArray text =
            copy.open(m_file, QIODevice::ReadOnly) ? copy.readAll() : QByteArray();
        copy.close();
        fclose(m_file);
        return text;
    }

private:
    int m_fd;
    int m_saved;
    FILE *m_file = tmpfile();
};

} // namespace

Captured captureOutput(const std::function<void()> &work)
{
    Redirect out(STDOUT_FILENO);
    Redirect err(STDERR_FILENO);
    work();
    return {out.finish(), err.finish()};
}

ProgramRun runProgram(const QString &program, const QStringList &arguments, const QByteArray &input,
                      const QString &workingDirectory)
{
    QProcess process;
    process.setWorkingDirectory(workingDirectory);
    process.start(program, arguments);
    process.write(input);
    process.closeWriteChannel();
    ProgramRun run;
    if (process.waitForFinished(60000) && process.exitStatus() == QProcess::NormalExit)
        run.status = process.exitCode();
    run.out = process.readAllStandardOutput();
    run.err = process.readAllStandardError();
    return run;
}

} // namespace vantro::test

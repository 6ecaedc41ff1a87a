#include "capture.h"

#include <QProcess>

#include <cstdio>
#include <unistd.h>

namespace vantro::test {
namespace {

class Redirect
{
public:
    Redirect(FILE *stream, int fd) : m_stream(stream), m_fd(fd)
    {
        fflush(m_stream);
        m_saved = dup(m_fd);
        m_file = tmpfile();
        dup2(fileno(m_file), m_fd);
    }

    QByteArray finish()
    {
        fflush(m_stream);
        dup2(m_saved, m_fd);
        close(m_saved);
        QByteArray text;
        rewind(m_file);
        char buffer[4096];
        size_t n;
        while ((n = fread(buffer, 1, sizeof buffer, m_file)) > 0)
            text.append(buffer, qsizetype(n));
        fclose(m_file);
        return text;
    }

private:
    FILE *m_stream;
    int m_fd;
    int m_saved = -1;
    FILE *m_file = nullptr;
};

} // namespace

Captured captureOutput(const std::function<void()> &work)
{
    Redirect out(stdout, STDOUT_FILENO);
    Redirect err(stderr, STDERR_FILENO);
    work();
    Captured result;
    result.err = err.finish();
    result.out = out.finish();
    return result;
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

// SPDX-License-Identifier: GPL-3.0-or-later
// How long the window takes to answer a key press after opening a large text, how long until the
// text is all in, and the peak memory that costs. Each size and pane runs in a child process so
// that its peak is its own; the file is read once beforehand, so the figures start from the page
// cache. Processor time is what the work costs however busy the machine; clock time is what the
// user waits on it.
// Usage: vantro-workspacebench [--sizes 1,20,100]   (sizes in MB; any Qt platform, e.g. offscreen)

#include "scripteddialogs.h"
#include "mainform.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QKeyEvent>
#include <QProcess>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTextDocument>

#include <cstdio>
#include <sys/resource.h>

namespace {

// English-looking lines of about 50 bytes, so 20 MB holds some 400,000 lines.
bool writeText(const QString &path, qint64 megabytes)
{
    static const char *const words[] = {"the",   "old", "man", "walked", "slowly", "along",
                                        "shore", "and", "saw", "boats",  "river",  "morning"};
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    QByteArray line;
    for (qint64 written = 0, n = 0; written < megabytes * 1024 * 1024; written += line.size()) {
        line.clear();
        for (int w = 0; w < 8; ++w)
            line += QByteArray(words[(n * 7 + w * 5) % 12]) + ' ';
        line += QByteArray::number(++n) + '\n';
        if (file.write(line) != line.size())
            return false;
    }
    return true;
}

double peakMegabytes()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss / 1024.0;
}

// Processor time of this process: on a busy machine it is what the work costs, whatever the
// others take of the clock.
double cpuSeconds()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    const auto seconds = [](const timeval &t) { return t.tv_sec + t.tv_usec / 1e6; };
    return seconds(usage.ru_utime) + seconds(usage.ru_stime);
}

QByteArray loadAverage()
{
    QFile file(QStringLiteral("/proc/loadavg"));
    return file.open(QIODevice::ReadOnly) ? file.readLine().trimmed() : QByteArray("?");
}

// Opens the file in one pane and sends it a key; prints one line of figures.
int measure(QApplication &app, const QString &path, bool english)
{
    QTemporaryDir workDir; // the window makes its dictionary in the current directory
    QDir::setCurrent(workDir.path());
    ScriptedDialogs dialogs;
    ScopedDialogs guard(dialogs);
    MainForm form;
    form.show();
    for (int i = 0; i < 20; ++i)
        app.processEvents();
    const double before = peakMegabytes();
    QPlainTextEdit *pane = english ? form.english : form.itrans;
    dialogs.setNextFileName(path);

    const double cpuBefore = cpuSeconds();
    QElapsedTimer timer;
    timer.start();
    if (english)
        form.btnBrowse->click();
    else
        form.fileOpenAction->trigger();
    const qint64 opened = timer.elapsed();
    // The pane answers a key while it loads by moving its cursor a line down.
    QCoreApplication::postEvent(pane,
                                new QKeyEvent(QEvent::KeyPress, Qt::Key_Down, Qt::NoModifier));
    while (pane->textCursor().position() == 0)
        app.processEvents();
    app.processEvents(); // the repaint that shows the key
    const qint64 answered = timer.elapsed();
    const double cpuAnswered = cpuSeconds() - cpuBefore;
    while (form.isLoading())
        app.processEvents();
    const qint64 loaded = timer.elapsed();
    const double cpuLoaded = cpuSeconds() - cpuBefore;

    const double megabytes = QFileInfo(path).size() / (1024.0 * 1024.0);
    const double peak = peakMegabytes();
    std::printf("%6.1f MB %-7s  opened %5lld ms, key answered %5lld ms (processor %5.2f s), "
                "loaded %6lld ms (processor %5.2f s)  peak %6.1f MB (window alone %5.1f MB: "
                "%4.2fx the file)  %d lines\n",
                megabytes, english ? "english" : "itrans", static_cast<long long>(opened),
                static_cast<long long>(answered), cpuAnswered, static_cast<long long>(loaded),
                cpuLoaded, peak, before, (peak - before) / megabytes,
                pane->document()->blockCount());
    std::fflush(stdout);
    // The text is ASCII: loaded whole, the document holds a character for each byte.
    const bool whole = pane->document()->characterCount() - 1 == QFileInfo(path).size();
    return dialogs.unscripted == 0 && whole ? 0 : 1;
}

} // namespace

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() == 4 && args[1] == QLatin1String("--one"))
        return measure(app, args[2], args[3] == QLatin1String("english"));

    QList<qint64> sizes{1, 20, 100};
    if (args.size() == 3 && args[1] == QLatin1String("--sizes")) {
        sizes.clear();
        for (const QString &size : args[2].split(QLatin1Char(',')))
            sizes.append(size.toLongLong());
    }
    std::printf("platform %s, load average %s\n", qPrintable(QGuiApplication::platformName()),
                loadAverage().constData());
    std::fflush(stdout); // before the children's lines
    QTemporaryDir dir;
    int failures = 0;
    for (const qint64 size : sizes) {
        const QString path = dir.filePath(QStringLiteral("text-%1MB.txt").arg(size));
        if (!writeText(path, size))
            return 2;
        // Into the page cache, a piece at a time: a child inherits this process's peak.
        QFile warm(path);
        if (warm.open(QIODevice::ReadOnly)) {
            while (!warm.read(1 << 20).isEmpty()) {
            }
        }
        for (const char *pane : {"itrans", "english"}) {
            QProcess child;
            child.setProcessChannelMode(QProcess::ForwardedChannels);
            child.start(QCoreApplication::applicationFilePath(),
                        {QStringLiteral("--one"), path, QLatin1String(pane)});
            child.waitForFinished(-1);
            failures += child.exitCode() != 0;
        }
    }
    return failures == 0 ? 0 : 1;
}

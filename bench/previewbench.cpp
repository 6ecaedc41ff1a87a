// SPDX-License-Identifier: GPL-3.0-or-later
// What the Devanagari preview costs while the user types into a large ITRANS document: a
// keystroke with the preview closed and open, the update after a pause in typing, the opening
// of the preview and the longest turn of the event loop after a jump to the end (which learns
// the "##" state of every paragraph above), against converting the whole document; and the
// peak memory with the preview open against the window holding the document alone.
// Times are processor time of the program's one thread.
// Usage: vantro-previewbench [--size BYTES] [--keys N]

#include "mainform.h"
#include "transliterate.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QKeyEvent>
#include <QTemporaryDir>
#include <QTextEdit>
#include <QThread>

#include <algorithm>
#include <cstdio>
#include <ctime>
#include <sys/resource.h>

namespace {

// Sanskrit-like lines of 6 to 20 words, the same on every run.
QString itransDocument(qsizetype size)
{
    static const char *const syllables[] = {"ka",  "rA", "ma",   "sI", "tA",  "dha", "rma",  "kShe",
                                            "tre", "vi", "ShNu", "gu", "ru",  "shA", "stra", "M",
                                            "bhU", "ta", "ni",   "Ri", "jJA", "naM", "pra",  "H"};
    quint32 seed = 12345;
    const auto next = [&seed](quint32 limit) {
        seed = seed * 1103515245u + 12345u;
        return (seed >> 16) % limit;
    };
    QString text;
    while (text.size() < size) {
        const quint32 words = 6 + next(15);
        for (quint32 w = 0; w < words; ++w) {
            for (quint32 s = 0, n = 1 + next(4); s < n; ++s)
                text += QLatin1String(syllables[next(std::size(syllables))]);
            text += w + 1 < words ? u' ' : u'\n';
        }
    }
    return text;
}

// The processor time of this thread: on a shared machine it does not count the time spent
// waiting for a processor, which wall time would.
class CpuClock
{
public:
    void start() { m_start = now(); }
    qint64 nsecsElapsed() const { return now() - m_start; }

private:
    static qint64 now()
    {
        timespec time{};
        clock_gettime(CLOCK_THREAD_CPUTIME_ID, &time);
        return qint64(time.tv_sec) * 1000000000 + time.tv_nsec;
    }
    qint64 m_start = 0;
};

struct Typing
{
    double keyMs = 0;   // handling one key press in the pane
    double pauseMs = 0; // what the event loop then runs after a pause (layout, paint, preview)
};

// Types keys into the pane the way the keyboard delivers them, in words of five letters, each
// followed by a pause longer than the preview's; measures the keys and what runs in the pauses.
Typing typeAndPause(QWidget *pane, int keys)
{
    CpuClock clock;
    qint64 keyNs = 0;
    QList<qint64> pauses;
    for (int i = 0; i < keys; ++i) {
        const QString letter = QString(QChar(u"rAmaH "[i % 6]));
        QKeyEvent press(QEvent::KeyPress, 0, Qt::NoModifier, letter);
        clock.start();
        QApplication::sendEvent(pane, &press);
        keyNs += clock.nsecsElapsed();
        if (i % 5 != 4)
            continue;
        QThread::msleep(300);
        clock.start();
        QApplication::processEvents();
        pauses.append(clock.nsecsElapsed());
    }
    std::sort(pauses.begin(), pauses.end());
    return {double(keyNs) / 1e6 / keys,
            pauses.isEmpty() ? 0 : double(pauses[pauses.size() / 2]) / 1e6};
}

double peakMegabytes()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss / 1024.0;
}

// The longest turn of the event loop within a second of the key: what the user can see stall.
double longestTurnAfter(QWidget *pane, int key, Qt::KeyboardModifiers modifiers)
{
    QKeyEvent press(QEvent::KeyPress, key, modifiers);
    QApplication::sendEvent(pane, &press);
    CpuClock clock;
    qint64 longest = 0;
    QElapsedTimer wall;
    wall.start();
    while (wall.elapsed() < 1000) {
        clock.start();
        QApplication::processEvents();
        longest = std::max(longest, clock.nsecsElapsed());
        QThread::msleep(5);
    }
    return double(longest) / 1e6;
}

} // namespace

int main(int argc, char *argv[])
{
    qputenv("QT_QPA_PLATFORM",
            qgetenv("QT_QPA_PLATFORM").isEmpty() ? "offscreen" : qgetenv("QT_QPA_PLATFORM"));
    QApplication app(argc, argv);
    const QStringList args = app.arguments();
    const qsizetype size = args.contains(QStringLiteral("--size"))
                               ? args.value(args.indexOf(QStringLiteral("--size")) + 1).toLongLong()
                               : 1 << 20;
    const int keys = args.contains(QStringLiteral("--keys"))
                         ? args.value(args.indexOf(QStringLiteral("--keys")) + 1).toInt()
                         : 100;
    QTemporaryDir dir;
    QDir::setCurrent(dir.path());
    const QString document = itransDocument(size);

    CpuClock clock;
    MainForm form;
    form.show();
    form.itrans->setPlainText(document);
    QTextCursor middle = form.itrans->textCursor();
    middle.setPosition(int(document.size() / 2));
    form.itrans->setTextCursor(middle);
    QApplication::processEvents();
    // The first keys typed into a long document grow the editor's own text buffer, by more than
    // the document's size; a first round takes that, so that both peaks below include it.
    typeAndPause(form.itrans, keys);
    const Typing closed = typeAndPause(form.itrans, keys);
    // The same jumps with the preview closed, so that both peaks include what the pane needs.
    const double toEndClosed = longestTurnAfter(form.itrans, Qt::Key_End, Qt::ControlModifier);
    const double toStartClosed = longestTurnAfter(form.itrans, Qt::Key_Home, Qt::ControlModifier);
    form.itrans->setTextCursor(middle);
    QApplication::processEvents();
    const double alone = peakMegabytes();

    clock.start();
    form.viewDevanagariPreviewAction->trigger();
    QApplication::processEvents();
    const double openMs = double(clock.nsecsElapsed()) / 1e6;
    const Typing open = typeAndPause(form.itrans, keys);
    const double toEnd = longestTurnAfter(form.itrans, Qt::Key_End, Qt::ControlModifier);
    const double toStart = longestTurnAfter(form.itrans, Qt::Key_Home, Qt::ControlModifier);
    const double withPreview = peakMegabytes();
    // Last, so that its copy of the text does not count in the window's peak.
    clock.start();
    const QString whole = vantro::itransToDevanagari(document);
    const double wholeMs = double(clock.nsecsElapsed()) / 1e6;

    std::printf("document: %lld characters, %d paragraphs (%lld characters in Devanagari)\n",
                qlonglong(document.size()), form.itrans->document()->blockCount(),
                qlonglong(whole.size()));
    std::printf("whole document converted once:          %8.1f ms\n", wholeMs);
    std::printf("opening the preview:                    %8.1f ms\n", openMs);
    std::printf("longest turn after Ctrl+End / Ctrl+Home, preview closed: %.1f ms / %.1f ms, "
                "open: %.1f ms / %.1f ms\n",
                toEndClosed, toStartClosed, toEnd, toStart);
    std::printf("peak memory: window with the document %.0f MB, then with the preview %.0f MB "
                "(%.2fx)\n",
                alone, withPreview, withPreview / alone);
    std::printf("                                        preview closed   preview open\n");
    std::printf("keystroke (mean of %4d):               %8.2f ms     %8.2f ms\n", keys,
                closed.keyMs, open.keyMs);
    std::printf("event loop after a pause (median):      %8.2f ms     %8.2f ms\n", closed.pauseMs,
                open.pauseMs);
    return 0;
}

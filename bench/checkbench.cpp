// SPDX-License-Identifier: GPL-3.0-or-later
// What Check Sanskrit costs the window on a large ITRANS document: a keystroke and the check
// after a pause in typing, with the check off and on; the longest turn of the event loop after
// Ctrl+End and Ctrl+Home (the fences of every paragraph above are learned on the way) and while
// F7 looks through a document whose words are all known. Times are processor time of the
// window's thread; the analyser is built in its own thread before the clock starts.
// Usage: vantro-checkbench [--size BYTES] [--keys N]

#include "mainform.h"
#include "sanskritchecker.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QKeyEvent>
#include <QTemporaryDir>
#include <QThread>

#include <algorithm>
#include <cstdio>
#include <ctime>

namespace {

// Lines of words the built-in lexicon knows, with a fence now and then.
QString knownDocument(qsizetype size)
{
    static const char *const words[] = {"gachChati", "tataH", "saH",   "tasmai", "iti",
                                        "cha",       "aham",  "tvam",  "mayA",   "bhavati",
                                        "na",        "eva",   "tatra", "asti",   "tena"};
    QString text;
    quint32 seed = 35;
    while (text.size() < size) {
        for (int w = 0; w < 12; ++w) {
            seed = seed * 1103515245u + 12345u;
            text += QLatin1String(words[(seed >> 16) % std::size(words)]);
            text += u' ';
        }
        text += (seed >> 20) % 50 == 0 ? QStringLiteral("## an English note ##\n")
                                       : QStringLiteral("|\n");
    }
    return text;
}

qint64 threadNanoseconds()
{
    timespec time{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &time);
    return qint64(time.tv_sec) * 1000000000 + time.tv_nsec;
}

// The longest turn of the event loop within `ms` of the key (or the action).
double longestTurnAfter(QWidget *pane, int key, Qt::KeyboardModifiers modifiers, int ms,
                        QAction *action = nullptr)
{
    QKeyEvent press(QEvent::KeyPress, key, modifiers);
    action ? action->trigger() : void(QApplication::sendEvent(pane, &press));
    qint64 longest = 0;
    QElapsedTimer wall;
    wall.start();
    while (wall.elapsed() < ms) {
        const qint64 start = threadNanoseconds();
        QApplication::processEvents();
        longest = std::max(longest, threadNanoseconds() - start);
        QThread::msleep(2);
    }
    return double(longest) / 1e6;
}

// Mean time of a key press, and the longest turn of the event loop in the pauses after words.
std::pair<double, double> typeWords(QWidget *pane, int keys)
{
    qint64 keyNs = 0, longest = 0;
    for (int i = 0; i < keys; ++i) {
        QKeyEvent press(QEvent::KeyPress, 0, Qt::NoModifier, QString(QChar(u"rAmeNa "[i % 7])));
        const qint64 start = threadNanoseconds();
        QApplication::sendEvent(pane, &press);
        keyNs += threadNanoseconds() - start;
        if (i % 7 != 6)
            continue;
        QElapsedTimer wall;
        wall.start();
        while (wall.elapsed() < 200) {
            const qint64 turn = threadNanoseconds();
            QApplication::processEvents();
            longest = std::max(longest, threadNanoseconds() - turn);
            QThread::msleep(2);
        }
    }
    return {double(keyNs) / 1e6 / keys, double(longest) / 1e6};
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
                               : 100 << 20;
    const int keys = args.contains(QStringLiteral("--keys"))
                         ? args.value(args.indexOf(QStringLiteral("--keys")) + 1).toInt()
                         : 70;
    QTemporaryDir dir;
    QDir::setCurrent(dir.path());
    MainForm form;
    form.show();
    auto *checker = form.findChild<SanskritChecker *>();
    QElapsedTimer wall;
    wall.start();
    while (!checker->analyser() && wall.elapsed() < 60000) {
        QApplication::processEvents();
        QThread::msleep(10);
    }
    std::printf("analyser ready after %lld ms (built in its own thread)\n", wall.elapsed());
    form.itrans->setPlainText(knownDocument(size));
    QTextCursor middle = form.itrans->textCursor();
    middle.setPosition(form.itrans->document()->characterCount() / 2);
    form.itrans->setTextCursor(middle);
    QApplication::processEvents();
    std::printf("document: %d characters, %d paragraphs\n",
                form.itrans->document()->characterCount(), form.itrans->document()->blockCount());
    const auto off = typeWords(form.itrans, keys);
    form.viewCheckSanskritAction->setChecked(true);
    const auto on = typeWords(form.itrans, keys);
    std::printf("keystroke (mean): check off %.2f ms, on %.2f ms; longest turn after a word: "
                "off %.1f ms, on %.1f ms\n",
                off.first, on.first, off.second, on.second);
    const double toEnd = longestTurnAfter(form.itrans, Qt::Key_End, Qt::ControlModifier, 1500);
    const double toStart = longestTurnAfter(form.itrans, Qt::Key_Home, Qt::ControlModifier, 1500);
    std::printf("longest turn after Ctrl+End %.1f ms, after Ctrl+Home %.1f ms\n", toEnd, toStart);
    const double f7 =
        longestTurnAfter(form.itrans, 0, Qt::NoModifier, 3000, form.editNextUnknownAction);
    std::printf("longest turn while F7 looks for an unknown word (3 s): %.1f ms\n", f7);
    return 0;
}

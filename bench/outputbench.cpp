// SPDX-License-Identifier: GPL-3.0-or-later
// What the PDF export of a large document costs: our writer, whose text reads back, against the
// toolkit's own PDF writer drawing the same pages (the export before it kept the text, and still
// what drives a printer). Processor time of the program's one thread for the whole export, which
// on a shared machine does not count the time spent waiting for a processor; interleaved rounds.
// Usage: vantro-outputbench [--size BYTES] [--runs N] [--document ITRANS-FILE] [--keep DIR]
// --keep leaves both PDFs of the last run in DIR, as toolkit.pdf and textlayer.pdf.

#include "benchdata.h"
#include "documentoutput.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QPdfWriter>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <ctime>
#include <functional>

namespace {

// Sanskrit-like lines of 6 to 20 words with conjuncts, the same on every run.
QString itransDocument(qsizetype size)
{
    static const char *const syllables[] = {
        "ka", "rA",  "ma",   "sI", "tA",  "dha", "rma", "kShe", "tre",  "vi",  "ShNu", "gu",
        "ru", "shA", "stra", "M",  "bhU", "ta",  "ni",  "Ri",   "j~nA", "naM", "pra",  "H"};
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

double cpuSecondsOf(const std::function<void()> &work)
{
    const auto now = [] {
        timespec time{};
        clock_gettime(CLOCK_THREAD_CPUTIME_ID, &time);
        return double(time.tv_sec) + double(time.tv_nsec) / 1e9;
    };
    const double start = now();
    work();
    return now() - start;
}

bool writeToolkitPdf(const QString &path, const QString &text)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    QPdfWriter writer(&file);
    writer.setPageMargins(QMarginsF(20, 20, 20, 20), QPageLayout::Millimeter);
    QString error;
    return vantro::output::printText(writer, text, QStringLiteral("bench.txt"), &error);
}

QString option(const QStringList &args, const QString &name, const QString &fallback)
{
    const qsizetype at = args.indexOf(name);
    return at >= 0 ? args.value(at + 1) : fallback;
}

} // namespace

int main(int argc, char *argv[])
{
    qputenv("QT_QPA_PLATFORM",
            qgetenv("QT_QPA_PLATFORM").isEmpty() ? "offscreen" : qgetenv("QT_QPA_PLATFORM"));
    QApplication app(argc, argv);
    const QStringList args = app.arguments();
    const qsizetype size =
        option(args, QStringLiteral("--size"), QStringLiteral("1048576")).toLongLong();
    const int runs = option(args, QStringLiteral("--runs"), QStringLiteral("3")).toInt();
    const QString documentFile = option(args, QStringLiteral("--document"), {});
    QTemporaryDir temporary;
    const QString dir = option(args, QStringLiteral("--keep"), temporary.path());
    QString itrans = itransDocument(size);
    if (!documentFile.isEmpty()) {
        QFile file(documentFile);
        if (!file.open(QIODevice::ReadOnly)) {
            std::fprintf(stderr, "cannot read %s\n", qPrintable(documentFile));
            return 1;
        }
        itrans = QString::fromUtf8(file.readAll());
    }
    const QString text = vantro::itransInScript(itrans, vantro::Script::Devanagari);
    const QString toolkitPdf = QDir(dir).filePath(QStringLiteral("toolkit.pdf"));
    const QString ourPdf = QDir(dir).filePath(QStringLiteral("textlayer.pdf"));
    // Interleaved, and the ratio taken within each round: the machine is shared, and what else
    // runs then slows both sides of a round alike.
    bool ok = true;
    QString error;
    QList<double> toolkitTimes, ourTimes, ratios;
    for (int round = 0; round < runs; ++round) {
        toolkitTimes << cpuSecondsOf([&] { ok = writeToolkitPdf(toolkitPdf, text) && ok; });
        ourTimes << cpuSecondsOf([&] {
            ok = vantro::output::writePdf(ourPdf, text, QStringLiteral("bench.txt"), &error) && ok;
        });
        ratios << ourTimes.constLast() / toolkitTimes.constLast();
    }
    const double toolkit = vantro::bench::median(toolkitTimes);
    const double ours = vantro::bench::median(ourTimes);
    if (!ok) {
        std::fprintf(stderr, "an export failed: %s\n", qPrintable(error));
        return 1;
    }
    std::printf("document: %lld ITRANS characters, %lld in Devanagari\n", qlonglong(itrans.size()),
                qlonglong(text.size()));
    std::printf("PDF export, median of %d rounds   time      file\n", runs);
    std::printf("toolkit's writer (before):        %7.2f s  %6.1f MB\n", toolkit,
                QFileInfo(toolkitPdf).size() / 1048576.0);
    std::printf("with the text layer:              %7.2f s  %6.1f MB\n", ours,
                QFileInfo(ourPdf).size() / 1048576.0);
    std::printf("text layer / toolkit, per round:  %.2fx median, %.2fx to %.2fx\n",
                vantro::bench::median(ratios), *std::min_element(ratios.cbegin(), ratios.cend()),
                *std::max_element(ratios.cbegin(), ratios.cend()));
    return 0;
}

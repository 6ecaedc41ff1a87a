// SPDX-License-Identifier: GPL-3.0-or-later
// The import of a whole classic English-Sanskrit dictionary read article by article, beside the
// import of the same StarDict files read as text (what every StarDict import did before the
// layouts were known). The dictionaries are made from the samples in the tests: their articles
// repeated under new headwords up to the size of the whole dictionary.
//
//   vantro-classicbench [--entries N] [--rounds N]
//
// Prints for each dictionary the least of the rounds of each import and their ratio, then the
// medians.
#include <QCommandLineParser>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTextStream>
#include <QtEndian>

#include <algorithm>

namespace {

struct Article
{
    QByteArray headword;
    QByteArray definition;
};

QList<Article> articlesOf(const QString &babylon, QByteArray &bookName)
{
    QFile file(babylon);
    QList<Article> articles;
    if (!file.open(QIODevice::ReadOnly))
        return articles;
    QByteArray headword;
    for (const QByteArray &line : file.readAll().split('\n')) {
        if (line.startsWith("#bookname="))
            bookName = line.mid(10);
        if (line.isEmpty() || line.startsWith('#')) {
            headword.clear();
        } else if (headword.isEmpty()) {
            headword = line;
        } else {
            articles.append({headword, line});
            headword.clear();
        }
    }
    return articles;
}

QByteArray bigEndian32(quint32 value)
{
    QByteArray bytes(4, '\0');
    qToBigEndian(value, bytes.data());
    return bytes;
}

// A letter suffix for copy n ("", "b", "c", ... "bb"...), so that every headword is new.
QByteArray copySuffix(int n)
{
    QByteArray suffix;
    for (; n > 0; n /= 25)
        suffix.prepend(char('b' + n % 25));
    return suffix;
}

bool writeStarDict(const QList<Article> &articles, const QByteArray &bookName, int entries,
                   const QString &base)
{
    QList<Article> all;
    for (int i = 0; all.size() < entries; ++i) {
        const Article &article = articles.at(i % articles.size());
        all.append({article.headword + copySuffix(i / int(articles.size())), article.definition});
    }
    std::sort(all.begin(), all.end(),
              [](const Article &a, const Article &b) { return a.headword < b.headword; });
    QByteArray idx, dict;
    for (const Article &article : all) {
        idx += article.headword + '\0' + bigEndian32(quint32(dict.size())) +
               bigEndian32(quint32(article.definition.size()));
        dict += article.definition;
    }
    const QByteArray ifo = "StarDict's dict ifo file\nversion=2.4.2\nbookname=" + bookName +
                           "\nwordcount=" + QByteArray::number(all.size()) +
                           "\nsametypesequence=h\n";
    for (const auto &[suffix, bytes] : {std::pair{".ifo", ifo}, {".idx", idx}, {".dict", dict}}) {
        QFile file(base + QLatin1String(suffix));
        if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
            return false;
    }
    return true;
}

// Milliseconds of one `vantro-dict import` into a new dictionary, or -1 when it failed.
double importMilliseconds(const QString &ifo, const QString &layout, const QString &db)
{
    QFile::remove(db);
    QProcess dict;
    dict.setStandardOutputFile(QProcess::nullDevice());
    QElapsedTimer timer;
    timer.start();
    dict.start(QStringLiteral(VANTRO_DICT_EXECUTABLE),
               {QStringLiteral("--db"), db, QStringLiteral("import"), QStringLiteral("--layout"),
                layout, ifo});
    if (!dict.waitForFinished(-1) || dict.exitCode() != 0)
        return -1;
    return double(timer.nsecsElapsed()) / 1e6;
}

double median(QList<double> values)
{
    std::sort(values.begin(), values.end());
    return values.isEmpty() ? 0 : values.at(values.size() / 2);
}

// The least of the rounds: the one the other work on the machine disturbed least.
double least(const QList<double> &values)
{
    return values.isEmpty() ? 0 : *std::min_element(values.cbegin(), values.cend());
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    QCommandLineParser parser;
    parser.addHelpOption();
    parser.addOption({QStringLiteral("entries"), QStringLiteral("Entries of each dictionary."),
                      QStringLiteral("N"), QStringLiteral("40000")});
    parser.addOption({QStringLiteral("rounds"), QStringLiteral("Imports of each kind."),
                      QStringLiteral("N"), QStringLiteral("5")});
    parser.process(app);
    const int entries = parser.value(QStringLiteral("entries")).toInt();
    const int rounds = parser.value(QStringLiteral("rounds")).toInt();
    QTemporaryDir dir;
    QTextStream out(stdout);
    out << "dictionary\tentries\ttext ms (least)\tarticles ms (least)\tarticles / text (least)"
           "\ttext ms (median)\tarticles ms (median)\tarticles / text (median of rounds)\n";
    for (const QString layout : {"mw", "apte", "borooah"}) {
        QByteArray bookName;
        const QList<Article> articles = articlesOf(
            QStringLiteral(VANTRO_CLASSIC_SAMPLES "/%1-sample.babylon").arg(layout), bookName);
        const QString base = dir.filePath(layout);
        if (articles.isEmpty() || !writeStarDict(articles, bookName, entries, base)) {
            out << layout << "\tcannot make the dictionary\n";
            return 1;
        }
        QList<double> text, read, ratios;
        for (int round = 0; round < rounds; ++round) {
            text.append(importMilliseconds(base + ".ifo", QStringLiteral("plain"),
                                           dir.filePath(QStringLiteral("t.db"))));
            read.append(
                importMilliseconds(base + ".ifo", layout, dir.filePath(QStringLiteral("a.db"))));
            if (text.last() < 0 || read.last() < 0) {
                out << layout << "\tthe import failed\n";
                return 1;
            }
            ratios.append(read.last() / text.last());
        }
        out << layout << '\t' << entries << '\t' << least(text) << '\t' << least(read) << '\t'
            << least(read) / least(text) << '\t' << median(text) << '\t' << median(read) << '\t'
            << median(ratios) << '\n';
        out.flush();
    }
    return 0;
}

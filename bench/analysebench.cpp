// SPDX-License-Identifier: GPL-3.0-or-later
// What Check Sanskrit costs and how well it reads: the lexicon's build time and memory for the
// built-in words alone and with a dictionary of 25,000 made-up citation forms; analyses per
// second; the passage of data/passage.tsv read word by word and again joined with sandhi
// (the right reading among the first three, with its English key); one-letter misspellings of
// its words (how many are marked) and its correct words marked.
// Usage: vantro-analysebench [--records N] [--build-only]

#include "analyser.h"
#include "sandhi.h"
#include "soundstring.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>

#include <cstdio>
#include <ctime>
#include <random>

using namespace vantro;

namespace {

struct PassageWord
{
    QString word;
    QString expected; // the reading's fields, tab-separated
    int sentence = 0;
};

QStringList dataLines(const QString &name)
{
    QFile file(QStringLiteral(VANTRO_BENCH_DATA "/") + name);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    QStringList lines;
    for (const QByteArray &line : file.readAll().split('\n'))
        if (!line.isEmpty() && !line.startsWith('#'))
            lines.append(QString::fromUtf8(line));
    return lines;
}

QList<PassageWord> readPassage(const QString &name)
{
    QList<PassageWord> words;
    int sentence = 0;
    for (const QString &line : dataLines(name)) {
        if (line == u"|") {
            ++sentence;
            continue;
        }
        words.append({line.section(u'\t', 0, 0), line.section(u'\t', 1), sentence});
    }
    return words;
}

QList<MeaningRecord> readDictionary(const QString &name)
{
    QList<MeaningRecord> records;
    for (const QString &line : dataLines(name))
        records.append({line.section(u'\t', 0, 0), line.section(u'\t', 1)});
    return records;
}

// The processor time of this thread: on a shared machine the clock also counts the time spent
// waiting for a processor.
double processorMs()
{
    timespec time{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &time);
    return time.tv_sec * 1e3 + time.tv_nsec / 1e6;
}

qint64 residentKilobytes()
{
    QFile status(QStringLiteral("/proc/self/statm"));
    if (!status.open(QIODevice::ReadOnly))
        return 0;
    return status.readAll().split(' ').value(1).toLongLong() * 4;
}

// Whether the expected reading is among the first three of those that read the same word
// (a word joined to another by sandhi is read as two, each with its own readings).
bool readRight(const QList<WordReading> &readings, const PassageWord &word, bool needKey)
{
    QHash<QString, int> rankOfPart;
    for (const WordReading &reading : readings) {
        const int rank = rankOfPart[reading.pausalForm]++;
        if (rank >= 3 && readings.size() > 3)
            continue;
        if (readingFields(reading).join(u'\t') == word.expected &&
            (!needKey || !reading.englishKeys.isEmpty()))
            return true;
    }
    return false;
}

// A made-up dictionary: stems of two to four syllables cited as the dictionary cites nouns,
// adjectives and verbs.
QList<MeaningRecord> madeUpDictionary(int count)
{
    std::mt19937 random(35);
    const QStringList syllables = {"ka",  "ga",  "cha", "ja",  "Ta",   "Da",  "ta", "da",
                                   "na",  "pa",  "ba",  "ma",  "ya",   "ra",  "la", "va",
                                   "sha", "Sha", "sa",  "ha",  "ku",   "gi",  "ni", "pu",
                                   "ri",  "mA",  "vI",  "dhU", "kR^i", "sthA"};
    const QStringList endings = {"aH",     "aM",      "A",       "iH",    "I",  "uH", "A",
                                 "a mfn.", "at mfn.", "in mfn.", "aH n.", "tA", "ati"};
    QList<MeaningRecord> records;
    for (int i = 0; i < count; ++i) {
        QString stem;
        const int length = 2 + int(random() % 3);
        for (int s = 0; s < length; ++s)
            stem += syllables.at(int(random() % syllables.size()));
        stem.chop(1);
        records.append(
            {QStringLiteral("word%1").arg(i), stem + endings.at(int(random() % endings.size()))});
    }
    return records;
}

// A dictionary of `count` records shaped as the starter's (one to three words a meaning, cited
// as the starter cites them), so that nouns, adjectives, indeclinables and verbs come in its
// proportions: its records again and again under new English keys, each copy's words given a
// new first syllable (jalaM, karjalaM, kirjalaM...) so that they are new stems of the same
// declension, and two copies sharing their words, as a dictionary's synonyms are shared by
// neighbouring keys. Its verbs keep their roots: a dictionary cites the roots of the table.
QList<MeaningRecord> starterShapedDictionary(const QList<MeaningRecord> &starter, int count)
{
    const QString consonants = QStringLiteral("kgtdpbmvsh");
    const QString vowels = QStringLiteral("aiu");
    QList<MeaningRecord> records;
    for (int i = 0; i < count && !starter.isEmpty(); ++i) {
        const MeaningRecord &model = starter.at(i % starter.size());
        const int copy = int(i / starter.size()) / 2;
        QString prefix;
        if (copy > 0)
            prefix = QString(consonants.at(copy % consonants.size())) +
                     vowels.at(copy / consonants.size() % vowels.size()) + QStringLiteral("r") +
                     QString(copy / 30, u'a');
        QStringList words;
        for (const QString &word : model.second.split(QStringLiteral(", "))) {
            const QList<LexiconEntry> entries = lexiconEntriesForCitation(word.section(u' ', 0, 0));
            const bool verb = !entries.isEmpty() && entries.first().kind == ReadingKind::Verb;
            words.append(verb ? word : prefix + word);
        }
        records.append({QStringLiteral("%1 %2").arg(model.first).arg(i), words.join(u", ")});
    }
    return records;
}

// The starter dictionary shipped with the program, as the window reads it.
QList<MeaningRecord> starterDictionary()
{
    QFile file(QStringLiteral(VANTRO_STARTER_TSV));
    QList<MeaningRecord> records;
    if (!file.open(QIODevice::ReadOnly))
        return records;
    for (const QByteArray &line : file.readAll().split('\n'))
        if (!line.isEmpty())
            records.append({QString::fromUtf8(line.split('\t').value(0)),
                            QString::fromUtf8(line.split('\t').value(1))});
    return records;
}

void dictionaryFigures(const QString &what, const QList<MeaningRecord> &dictionary)
{
    auto analyser = std::make_unique<Analyser>();
    QElapsedTimer clock;
    const qint64 before = residentKilobytes();
    clock.start();
    const double processor = processorMs();
    analyser->addRecords(dictionary);
    const double ms = processorMs() - processor;
    std::printf("%lld-record %s: %d entries, %lld forms, %.0f ms more than the built-in words "
                "(processor; %lld ms by the clock), %lld KB (estimate), %lld KB resident more\n",
                qint64(dictionary.size()), qPrintable(what), analyser->lexicon().size(),
                qint64(analyser->formCount()), ms, clock.elapsed(),
                qint64(analyser->memoryBytes() / 1024), residentKilobytes() - before);
}

void buildFigures(int records)
{
    QElapsedTimer clock;
    const qint64 before = residentKilobytes();
    clock.start();
    double processor = processorMs();
    auto starter = std::make_unique<Analyser>();
    const double builtInMs = processorMs() - processor;
    std::printf("built-in lexicon: %d entries, %lld forms, built in %.0f ms (processor; %lld ms "
                "by the clock), %lld KB (estimate), %lld KB resident\n",
                starter->lexicon().size(), qint64(starter->formCount()), builtInMs, clock.elapsed(),
                qint64(starter->memoryBytes() / 1024), residentKilobytes() - before);
    const QList<MeaningRecord> starterRecords = starterDictionary();
    clock.restart();
    processor = processorMs();
    starter->addRecords(starterRecords);
    const double starterMs = processorMs() - processor;
    std::printf("with the starter dictionary (%lld records): %d entries, %lld forms, %.0f ms more "
                "(%.0f ms in all; %lld ms more by the clock), %lld KB (estimate), %lld KB "
                "resident\n",
                qint64(starterRecords.size()), starter->lexicon().size(),
                qint64(starter->formCount()), starterMs, builtInMs + starterMs, clock.elapsed(),
                qint64(starter->memoryBytes() / 1024), residentKilobytes() - before);
    starter.reset();
    dictionaryFigures(QStringLiteral("dictionary shaped as the starter"),
                      starterShapedDictionary(starterRecords, records));
    dictionaryFigures(QStringLiteral("made-up dictionary (random stems, a verb in 13 words)"),
                      madeUpDictionary(records));
}

void passageFigures(const Analyser &analyser, const QList<PassageWord> &passage)
{
    int right = 0;
    QStringList missed;
    for (const PassageWord &word : passage) {
        const bool ok = readRight(analyser.analyse(word.word), word, true);
        right += ok;
        if (!ok)
            missed.append(word.word);
    }
    std::printf("passage word by word: %d of %lld words (%.1f%%) have the right reading among "
                "the first three, with the English key\n  missed: %s\n",
                right, qint64(passage.size()), 100.0 * right / passage.size(),
                qPrintable(missed.join(u' ')));
}

// The passage joined sentence by sentence as the grammar joins it; each written word is read
// and the words it holds are looked for among its readings.
void sandhiFigures(const Analyser &analyser, const QList<PassageWord> &passage)
{
    int right = 0, changed = 0, tokens = 0;
    QStringList missed;
    for (qsizetype first = 0; first < passage.size();) {
        qsizetype end = first;
        while (end < passage.size() && passage.at(end).sentence == passage.at(first).sentence)
            ++end;
        // Which neighbours sandhi writes as one word.
        QList<QList<qsizetype>> groups = {QList<qsizetype>{first}};
        for (qsizetype i = first; i + 1 < end; ++i) {
            const QString pair = joinPair(passage.at(i).word, passage.at(i + 1).word).value(0);
            if (pair.contains(u' '))
                groups.append(QList<qsizetype>{i + 1});
            else
                groups.last().append(i + 1);
        }
        QStringList sentence;
        for (qsizetype i = first; i < end; ++i)
            sentence.append(passage.at(i).word);
        const QStringList written = joinLine(sentence.join(u' ')).split(u' ', Qt::SkipEmptyParts);
        for (qsizetype g = 0; g < groups.size(); ++g) {
            const QString token = written.value(g);
            ++tokens;
            const QList<WordReading> readings = analyser.analyse(token);
            for (const qsizetype index : groups.at(g)) {
                const PassageWord &word = passage.at(index);
                changed += token != word.word;
                const bool ok = written.size() == groups.size() && readRight(readings, word, true);
                right += ok;
                if (!ok)
                    missed.append(QStringLiteral("%1(%2)").arg(token, word.word));
            }
        }
        first = end;
    }
    std::printf("passage with its sandhi: %d written words for %lld, %d words changed by sandhi; "
                "%d (%.1f%%) have the right reading among the first three\n  missed: %s\n",
                tokens, qint64(passage.size()), changed, right, 100.0 * right / passage.size(),
                qPrintable(missed.join(u' ')));
}

void misspellingFigures(const Analyser &analyser, const QList<PassageWord> &passage)
{
    const SoundString alphabet("aAiIuUR^ieaioauMHkkhgghchChjjhTThDDhNtthddhnpphbbhmyrlvshShs_h");
    std::mt19937 random(100);
    int marked = 0, made = 0;
    QStringList unmarked;
    while (made < 100) {
        const PassageWord &word = passage.at(qsizetype(random() % passage.size()));
        SoundString sounds = SoundString::fromItrans(word.word).value;
        if (sounds.isEmpty())
            continue;
        const int at = int(random() % unsigned(sounds.size()));
        const Sound other = alphabet.at(int(random() % unsigned(alphabet.size())));
        if (other == sounds.at(at))
            continue;
        sounds.set(at, other);
        const QString misspelt = sounds.toItrans();
        ++made;
        if (analyser.explains(misspelt))
            unmarked.append(QStringLiteral("%1(%2)").arg(misspelt, word.word));
        else
            ++marked;
    }
    int correctMarked = 0;
    QStringList wronglyMarked;
    for (const PassageWord &word : passage) {
        if (!analyser.explains(word.word)) {
            ++correctMarked;
            wronglyMarked.append(word.word);
        }
    }
    std::printf("one-letter misspellings: %d of %d marked (%d%%); not marked (another known "
                "form): %s\n",
                marked, made, marked * 100 / made, qPrintable(unmarked.join(u' ')));
    std::printf("correct words marked: %d of %lld (%.1f%%): %s\n", correctMarked,
                qint64(passage.size()), 100.0 * correctMarked / passage.size(),
                qPrintable(wronglyMarked.join(u' ')));
}

void speedFigures(const Analyser &analyser, const QList<PassageWord> &passage)
{
    QElapsedTimer clock;
    clock.start();
    qint64 analyses = 0;
    while (clock.elapsed() < 2000) {
        for (const PassageWord &word : passage)
            analyses += !analyser.analyse(word.word).isEmpty() || true;
    }
    std::printf("analyses: %.0f words a second (the passage's words, each read in full)\n",
                analyses / (clock.nsecsElapsed() / 1e9));
    clock.restart();
    int suggested = 0;
    for (int i = 0; i < 20; ++i)
        suggested += int(analyser.suggestions(QStringLiteral("vyAghrenA")).size());
    std::printf("suggestions for an unknown word: %.1f ms each (%d found)\n",
                clock.nsecsElapsed() / 1e6 / 20, suggested / 20);
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    const qsizetype at = args.indexOf(QStringLiteral("--records"));
    const int records = at > 0 && at + 1 < args.size() ? args[at + 1].toInt() : 25000;
    const QList<PassageWord> passage = readPassage(QStringLiteral("passage.tsv"));
    const QList<PassageWord> verses = readPassage(QStringLiteral("verses.tsv"));
    if (passage.isEmpty() || verses.isEmpty()) {
        std::fprintf(stderr, "no passage in %s\n", VANTRO_BENCH_DATA);
        return 1;
    }
    buildFigures(records);
    if (args.contains(QStringLiteral("--build-only")))
        return 0;
    Analyser analyser;
    analyser.addRecords(readDictionary(QStringLiteral("passage-dictionary.tsv")));
    std::printf("The Hitopadesha passage (passage.tsv):\n");
    passageFigures(analyser, passage);
    sandhiFigures(analyser, passage);
    misspellingFigures(analyser, passage);
    speedFigures(analyser, passage);
    Analyser versesAnalyser;
    versesAnalyser.addRecords(readDictionary(QStringLiteral("verses-dictionary.tsv")));
    std::printf("Five verses (verses.tsv):\n");
    passageFigures(versesAnalyser, verses);
    sandhiFigures(versesAnalyser, verses);
    return 0;
}

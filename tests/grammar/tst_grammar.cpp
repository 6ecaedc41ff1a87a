// SPDX-License-Identifier: GPL-3.0-or-later
// The grammar library, driven by the paradigms and cases in data/.
#include "conjugation.h"
#include "datarows.h"
#include "declension.h"
#include "rootderivatives.h"
#include "sandhi.h"
#include "soundclasses.h"
#include "statedgrammar.h"
#include "verbroots.h"

#include <QRegularExpression>
#include <QTest>

#include <cstdio>

using namespace vantro;

namespace {

// One row for each case of a data file, with its cells in one column.
void addRows(const char *file, int least, int most)
{
    QTest::addColumn<QStringList>("cells");
    for (const test::DataRow &row :
         test::DataRows::casesOf(VANTRO_GRAMMAR_DATA "/" + QString(file), least, most))
        QTest::newRow(row.place.constData()) << row.texts();
}

Gender genderOf(const QString &letter)
{
    return letter == u"m" ? Gender::Masculine : letter == u"f" ? Gender::Feminine : Gender::Neuter;
}

Tense tenseNamed(const QString &name)
{
    const QStringList names = {"present",      "imperfect",   "imperative",  "optative", "future",
                               "periphrastic", "conditional", "benedictive", "perfect",  "aorist"};
    return static_cast<Tense>(names.indexOf(name));
}

// The sounds, in the table's order, that answer the question a row of soundclasses.tsv names:
// a class ("isNasal"), a place's plain stops ("isOralStop Dental") or a vowel's quality
// ("sameVowelQuality i"); for a map ("otherLength", "retroflexOf") what each sound becomes.
QString membersOf(const QString &question)
{
    using namespace verbs;
    static const QHash<QString, bool (*)(Sound)> classes = {
        {"isVoiced", isVoiced},
        {"isNasal", isNasal},
        {"isSemivowel", isSemivowel},
        {"isLiquid", isLiquid},
        {"isSibilant", isSibilant},
        {"isSpirant", isSpirant},
        {"isLabial", isLabial},
        {"isOralStop", [](Sound s) { return isPlainStop(s); }},
        {"isVoicelessStop", isVoicelessStop},
        {"isHighVowel", isHighVowel},
        {"isVocalicLiquid", isVocalicLiquid},
        {"turnsToSemivowel", turnsToSemivowel},
        {"isDiphthong", isDiphthong},
        {"isVrddhiDiphthong", isVrddhiDiphthong}};
    static const QHash<QString, SoundString (*)(Sound)> maps = {
        {"reduplicatingStop", [](Sound s) { return SoundString(reduplicatingStop(s)); }},
        {"otherLength", [](Sound s) { return SoundString(otherLength(s)); }},
        {"shortenedVowel", [](Sound s) { return SoundString(shortenedVowel(s)); }},
        {"retroflexOf", [](Sound s) { return SoundString(retroflexOf(s)); }},
        {"diphthongBeforeVowel", diphthongBeforeVowel}};
    const QStringList words = question.split(u' ');
    const QStringList places = {"Velar", "Palatal", "Retroflex", "Dental", "Labial"};
    const Sound vowel = SoundString::fromItrans(words.value(1)).value.last();
    QStringList members;
    for (int s = 0; s < kSoundCount; ++s) {
        const Sound sound = static_cast<Sound>(s);
        if (maps.contains(question))
            members += maps.value(question)(sound).toItrans();
        else if (words.size() == 1 ? classes.value(question, nullptr) && classes[question](sound)
                 : words[0] == u"isOralStop"
                     ? isPlainStop(sound, static_cast<Place>(places.indexOf(words[1])))
                     : sameVowelQuality(sound, vowel))
            members += SoundString(sound).toItrans();
    }
    return members.join(u' ');
}

// What a row of soundstrings.tsv asks of a SoundString, written as the row writes it.
QString soundStringAnswer(const QStringList &cells)
{
    const auto sounds = [](const QString &itrans) { return SoundString::fromItrans(itrans).value; };
    const auto yes = [](bool answer) { return QString(answer ? "yes" : "no"); };
    const QString &operation = cells[0];
    SoundString word = sounds(cells[1]);
    const QStringList args = cells[2].split(u' ');
    const SoundString piece = sounds(args[0]);
    if (operation == u"indexOf")
        return QString::number(piece.size() == 1
                                   ? word.indexOf(piece.front(), args.value(1).toInt())
                                   : word.indexOf(piece, args.value(1).toInt()));
    if (operation == u"startsWith")
        return yes(piece.size() == 1 ? word.startsWith(piece.front()) : word.startsWith(piece));
    if (operation == u"endsWith")
        return yes(piece.size() == 1 ? word.endsWith(piece.front()) : word.endsWith(piece));
    if (operation == u"contains")
        return yes(word.contains(piece));
    if (operation == u"mid")
        return word.mid(args[0].toInt(), args[1].toInt()).toItrans();
    if (operation == u"replace")
        return word.replace(args[0].toInt(), args[1].toInt(), sounds(args[2])).toItrans();
    if (operation == u"replaceAll")
        return word.replaceAll(piece, sounds(args[1])).toItrans();
    if (operation == u"chop") {
        word.chop(args[0].toInt());
        return word.toItrans();
    }
    SoundStrings words{word};
    for (const QString &itrans : args)
        words.append(sounds(itrans));
    removeDuplicates(words);
    QStringList written;
    for (const SoundString &each : words)
        written.append(each.toItrans());
    return operation == u"removeDuplicates" ? written.join(u' ') : QString("?");
}

} // namespace

class TestGrammar : public QObject
{
    Q_OBJECT

private slots:
    // stem, gender, then the 24 cells (nom acc ins dat abl gen loc voc, each sg du pl) with
    // the alternatives after commas and "-" for none; or "!" for a stem refused in that gender.
    void declension_data() { addRows("nouns.tsv", 3, 2 + kCaseCount * kNumberCount); }
    void declension()
    {
        QFETCH(QStringList, cells);
        const Inflection<NounParadigm> declined = declineNoun(cells[0], genderOf(cells[1]));
        if (cells.value(2) == u"!") {
            QVERIFY2(!declined.ok() && !declined.error.isEmpty(), qPrintable(cells[0]));
            return;
        }
        QVERIFY2(declined.ok(), qPrintable(declined.error));
        QCOMPARE(cells.size(), 2 + kCaseCount * kNumberCount);
        for (int cell = 0; cell < kCaseCount * kNumberCount; ++cell) {
            const QString expected = cells[2 + cell] == u"-" ? QString() : cells[2 + cell];
            QCOMPARE(declined.paradigm.cells[std::size_t(cell)].join(u','), expected);
        }
    }

    // citation form, then the candidates it must give first, in order ("rAjan m"), or none.
    void guess_data() { addRows("nounguess.tsv", 1, test::DataRows::kAnyCount); }
    void guess()
    {
        QFETCH(QStringList, cells);
        const QList<NounCandidate> candidates = guessNounStems(cells[0]);
        QStringList given;
        for (const NounCandidate &candidate : candidates)
            given << candidate.stem + u' ' + QString("mfn")[int(candidate.gender)];
        const QStringList expected = cells.mid(1);
        QCOMPARE(given.mid(0, expected.size()), expected);
        if (expected.isEmpty())
            QVERIFY(given.isEmpty());
    }

    // root, class, pada, tense, voice (0 active, 1 passive; c causative, cp its passive,
    // d desiderative, dp its passive), then the nine cells 3sg 3du 3pl 2sg ... 1pl ("-" for a cell
    // not made), or "error" and a piece of the reason.
    // The build checks each root line's shape; reading it checks its ITRANS and stems.
    void everyVerbRootLineReads() { QCOMPARE(verbRootLinesNotRead(), QStringList()); }

    void verbs_data() { addRows("verbs.tsv", 7, 14); }
    void verbs()
    {
        QFETCH(QStringList, cells);
        // A line of the table of roots that does not read is only ever reported as a warning.
        QTest::failOnWarning(QRegularExpression(QStringLiteral("^verb roots")));
        const QString &voice = cells[4];
        VerbRequest request{cells[0], cells[1].toInt(),
                            cells[2] == u"A" ? Pada::Atmanepada : Pada::Parasmaipada,
                            tenseNamed(cells[3]), voice == u"1" || voice.endsWith(u'p')};
        request.derived = voice.startsWith(u'c')   ? VerbRequest::Derived::Causative
                          : voice.startsWith(u'd') ? VerbRequest::Derived::Desiderative
                                                   : VerbRequest::Derived::None;
        const Inflection<VerbParadigm> result = conjugate(request);
        if (cells.value(5) == u"error") {
            QVERIFY(!result.ok() && result.error.contains(cells.value(6)));
            return;
        }
        QCOMPARE(cells.size(), 14);
        QVERIFY2(result.ok(), qPrintable(result.error));
        for (int cell = 0; cell < kPersonCount * kNumberCount; ++cell) {
            const QString expected = cells[5 + cell] == u"-" ? QString() : cells[5 + cell];
            QCOMPARE(result.paradigm.cells[std::size_t(cell)].join(u','), expected);
        }
    }

    // root, class, the name of a form made from it, then its forms parted by commas, or "-"
    // for a form that must not be made; a class the root is not known in: "error" and a piece
    // of the reason in place of the name.
    void derivatives_data() { addRows("derivatives.tsv", 4, 4); }
    void derivatives()
    {
        QFETCH(QStringList, cells);
        const RootDerivatives made = rootDerivatives(cells[0], cells[1].toInt());
        if (cells[2] == u"error") {
            QVERIFY(!made.ok() && made.error.contains(cells[3]));
            return;
        }
        QVERIFY2(made.ok(), qPrintable(made.error));
        QVERIFY(rootDerivativeNames().contains(cells[2]));
        QStringList given;
        for (const RootDerivative &derivative : made.derivatives) {
            if (derivative.name == cells[2])
                given = derivative.forms;
        }
        QCOMPARE(given.join(u','), cells[3] == u"-" ? QString() : cells[3]);
    }

    // a form, then the candidates "root class pada", best first, parted by semicolons.
    void verbGuesses_data() { addRows("verbguess.tsv", 1, 2); }
    void verbGuesses()
    {
        QFETCH(QStringList, cells);
        QStringList guessed;
        for (const VerbCandidate &c : guessVerbRoots(cells[0]))
            guessed << QStringLiteral("%1 %2 %3")
                           .arg(c.root)
                           .arg(c.verbClass)
                           .arg(c.pada == Pada::Atmanepada ? QStringLiteral("A")
                                                           : QStringLiteral("P"));
        QCOMPARE(guessed.join(u';'), cells.value(1));
    }

    // a word, its tag, then the readings the tag gives it, best first ("tyaj 1 P", "vakra m").
    void statedGrammar_data() { addRows("statedgrammar.tsv", 2, 3); }
    void statedGrammar()
    {
        QFETCH(QStringList, cells);
        QStringList readings;
        const StatedGrammar stated = parseStatedGrammar(cells.value(1));
        // The verb meant: the root's own, its causative or desiderative, the passive.
        const QString use = QStringList{"", " caus.", " desid."}.at(int(stated.derived)) +
                            (stated.passive ? " pass." : "");
        for (const WordGuess &guess : statedReadings(cells[0], stated))
            readings << (guess.kind == WordGuess::Kind::Verb
                             ? QStringLiteral("%1 %2 %3")
                                       .arg(guess.verb.root)
                                       .arg(guess.verb.verbClass)
                                       .arg(guess.verb.pada == Pada::Atmanepada
                                                ? QStringLiteral("A")
                                                : QStringLiteral("P")) +
                                   use
                             : guess.noun.stem + u' ' + QString("mfn")[int(guess.noun.gender)]);
        QCOMPARE(readings.join(u';'), cells.value(2));
        // The guesses follow what the dictionary states.
        const QList<WordGuess> all = guessWord(cells[0], cells.value(1));
        QVERIFY(all.size() >= readings.size());
    }

    // a question about a sound, then the sounds that answer yes
    void soundClasses_data() { addRows("soundclasses.tsv", 1, 2); }
    void soundClasses()
    {
        QFETCH(QStringList, cells);
        QCOMPARE(membersOf(cells[0]), cells.value(1));
    }

    // an operation, a word, its arguments, then what it gives
    void soundStrings_data() { addRows("soundstrings.tsv", 3, 4); }
    void soundStrings()
    {
        QFETCH(QStringList, cells);
        QCOMPARE(soundStringAnswer(cells), cells.value(3));
    }

    // A literal's sounds stay where they are while more literals are read: a rule holds one (an
    // ending) while the rules it calls read others.
    void literalsStayPut()
    {
        static const char *const ending = "anti";
        const SoundString &held = SoundString::literal(ending);
        static char others[500][8];
        for (int i = 0; i < 500; ++i) {
            std::snprintf(others[i], sizeof others[i], "k%c", "aiu"[i % 3]);
            SoundString::literal(others[i]);
        }
        QCOMPARE(&SoundString::literal(ending), &held);
        QCOMPARE(held.toItrans(), QString("anti"));
    }

    // the words as typed, the usual joining and, where given, the other permitted ones parted
    // by " / ": the usual one alone where the row lists no others, else every one in order.
    void sandhi_data() { addRows("sandhi.tsv", 2, 3); }
    void sandhi()
    {
        QFETCH(QStringList, cells);
        QStringList joinings{cells[1]};
        if (cells.size() > 2)
            joinings += cells[2].split(QStringLiteral(" / "));
        QCOMPARE(joinLine(cells[0]), joinings.first());
        const QStringList variants = joinLineVariants(cells[0]);
        QCOMPARE(variants.first(), joinings.first());
        if (joinings.size() > 1)
            QCOMPARE(variants, joinings);
    }
};

QTEST_GUILESS_MAIN(TestGrammar)
#include "tst_grammar.moc"

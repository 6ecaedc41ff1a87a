// SPDX-License-Identifier: GPL-3.0-or-later
#include "analysecommand.h"
#include "conjugation.h"
#include "declension.h"
#include "exitstatus.h"
#include "formindex.h"
#include "linereader.h"
#include "printedtable.h"
#include "programversion.h"
#include "rootderivatives.h"
#include "sandhi.h"
#include "transliterate.h"
#include "versionline.h"
#include "wordguess.h"
#include "wordreading.h"

#include <QCommandLineParser>
#include <QCoreApplication>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <optional>
#include <unistd.h>

using namespace vantro;

namespace {

struct Request
{
    QString command;
    QStringList words;
    Gender gender = Gender::Masculine;
    VerbRequest verb;
    Script script = Script::Itrans;
    bool tsv = false;
    bool all = false;
    AnalyseRequest analyse;
};

void complain(const QString &message)
{
    std::fprintf(stderr, "vantro-grammar: %s\n", qUtf8Printable(message));
}

const QCommandLineOption kScript(QStringLiteral("script"),
                                 QStringLiteral("Write the forms in itrans (default), devanagari "
                                                "or iast."),
                                 QStringLiteral("script"), QStringLiteral("itrans"));
const QCommandLineOption kTsv(QStringLiteral("tsv"),
                              QStringLiteral("One form cell a line, fields separated by tabs."));
const QCommandLineOption kPada(QStringLiteral("pada"),
                               QStringLiteral("verb: P (parasmaipada, default) or A "
                                              "(atmanepada)."),
                               QStringLiteral("P|A"), QStringLiteral("P"));
const QCommandLineOption kTense(QStringLiteral("tense"),
                                QStringLiteral("verb: present (default), imperfect, imperative, "
                                               "optative, future, periphrastic (future), "
                                               "conditional, benedictive, perfect or aorist."),
                                QStringLiteral("tense"), QStringLiteral("present"));
const QCommandLineOption kPassive(QStringLiteral("passive"),
                                  QStringLiteral("verb: the passive instead of the active."));
const QCommandLineOption kDb(QStringLiteral("db"),
                             QStringLiteral("analyse: the dictionary whose meanings are read as "
                                            "the lexicon (default: morvak.db in the current "
                                            "directory when there is one)."),
                             QStringLiteral("FILE"), QStringLiteral("morvak.db"));
const QCommandLineOption kSuggest(QStringLiteral("suggest"),
                                  QStringLiteral("analyse: after an unknown word, the known "
                                                 "forms nearest to it."));
const QCommandLineOption kCausative(QStringLiteral("causative"),
                                    QStringLiteral("verb: the causative (kArayati)."));
const QCommandLineOption kDesiderative(QStringLiteral("desiderative"),
                                       QStringLiteral("verb: the desiderative (jigamiShati)."));
const QCommandLineOption kAll(QStringLiteral("all"),
                              QStringLiteral("join: every permitted joining, the usual first."));

const char *const kDescription =
    "Word forms and sandhi for Sanskrit written in ITRANS.\n\n"
    "Commands:\n"
    "  noun STEM m|f|n       decline a noun, adjective, pronoun or numeral stem\n"
    "  verb ROOT CLASS       conjugate a root of class 1 to 10\n"
    "  participles ROOT CLASS  the participles, gerund, infinitive and gerundives of a root\n"
    "  guess WORD            the stems and roots a dictionary word may come from\n"
    "  join [WORD...]        join words with sandhi; without words, each line of stdin\n"
    "  analyse [WORD...]     the readings of written words; without words, each line of stdin";

std::optional<Gender> genderOf(const QString &text)
{
    if (text == u"m")
        return Gender::Masculine;
    if (text == u"f")
        return Gender::Feminine;
    if (text == u"n")
        return Gender::Neuter;
    return std::nullopt;
}

std::optional<Script> scriptOf(const QString &text)
{
    if (text == u"itrans")
        return Script::Itrans;
    if (text == u"devanagari")
        return Script::Devanagari;
    if (text == u"iast")
        return Script::Iast;
    return std::nullopt;
}

// The reason the command line cannot be carried out, or an empty text.
QString checkArguments(const Request &request)
{
    const QString &command = request.command;
    const qsizetype count = request.words.size();
    if (command == u"noun" && count != 2)
        return QStringLiteral("noun takes a stem and a gender (m, f or n)");
    if (command == u"verb" && count != 2)
        return QStringLiteral("verb takes a root and a class (1 to 10)");
    if (command == u"participles" && count != 2)
        return QStringLiteral("participles takes a root and a class (1 to 10)");
    if (command == u"guess" && count != 1)
        return QStringLiteral("guess takes one word");
    if (command != u"noun" && command != u"verb" && command != u"guess" && command != u"join" &&
        command != u"participles" && command != u"analyse")
        return QStringLiteral("unknown command '%1'").arg(command);
    return {};
}

// Options given to a command they do not belong to.
QString checkOptions(const QCommandLineParser &parser, const QString &command)
{
    if (parser.isSet(kCausative) && parser.isSet(kDesiderative))
        return QStringLiteral("--causative and --desiderative exclude each other");
    for (const QCommandLineOption *option :
         {&kPada, &kTense, &kPassive, &kCausative, &kDesiderative})
        if (parser.isSet(*option) && command != u"verb")
            return QStringLiteral("--%1 is for verb only").arg(option->names().first());
    if (parser.isSet(kAll) && command != u"join")
        return QStringLiteral("--all is for join only");
    if (parser.isSet(kTsv) && (command == u"join" || command == u"analyse"))
        return QStringLiteral("--tsv is not for %1").arg(command);
    for (const QCommandLineOption *option : {&kDb, &kSuggest})
        if (parser.isSet(*option) && command != u"analyse")
            return QStringLiteral("--%1 is for analyse only").arg(option->names().first());
    return {};
}

QString readValues(const QCommandLineParser &parser, Request *request)
{
    const std::optional<Script> script = scriptOf(parser.value(kScript));
    if (!script)
        return QStringLiteral("unknown script '%1': use itrans, devanagari or iast")
            .arg(parser.value(kScript));
    request->script = *script;
    request->analyse = {request->words, parser.value(kDb), parser.isSet(kDb),
                        parser.isSet(kSuggest), *script};
    if (request->command == u"noun") {
        const std::optional<Gender> gender = genderOf(request->words.at(1));
        if (!gender)
            return QStringLiteral("unknown gender '%1': use m, f or n").arg(request->words.at(1));
        request->gender = *gender;
    }
    if (request->command != u"verb" && request->command != u"participles")
        return {};
    bool number = false;
    request->verb.root = request->words.at(0);
    request->verb.verbClass = request->words.at(1).toInt(&number);
    if (!number || request->verb.verbClass < 1 || request->verb.verbClass > 10)
        return QStringLiteral("unknown class '%1': use 1 to 10").arg(request->words.at(1));
    if (request->command == u"participles")
        return {};
    const QString pada = parser.value(kPada);
    if (pada != u"P" && pada != u"A")
        return QStringLiteral("unknown pada '%1': use P or A").arg(pada);
    request->verb.pada = pada == u"A" ? Pada::Atmanepada : Pada::Parasmaipada;
    const std::optional<Tense> tense = tenseFromName(parser.value(kTense));
    if (!tense)
        return QStringLiteral("unknown tense '%1'").arg(parser.value(kTense));
    request->verb.tense = *tense;
    request->verb.passive = parser.isSet(kPassive);
    using Derived = VerbRequest::Derived;
    request->verb.derived = parser.isSet(kCausative)      ? Derived::Causative
                            : parser.isSet(kDesiderative) ? Derived::Desiderative
                                                          : Derived::None;
    return {};
}

std::optional<Request> parseRequest(const QCoreApplication &app)
{
    QCommandLineParser parser;
    parser.setApplicationDescription(QString::fromLatin1(kDescription));
    const QCommandLineOption help = parser.addHelpOption();
    const QCommandLineOption version = parser.addVersionOption();
    parser.addOptions(
        {kScript, kTsv, kPada, kTense, kPassive, kCausative, kDesiderative, kAll, kDb, kSuggest});
    parser.addPositionalArgument(QStringLiteral("command"),
                                 QStringLiteral("noun, verb, participles, guess, join or "
                                                "analyse."));
    parser.addPositionalArgument(QStringLiteral("arguments"),
                                 QStringLiteral("The command's words."), QStringLiteral("[...]"));
    QString error;
    if (parser.parse(app.arguments())) {
        if (parser.isSet(help))
            parser.showHelp(Success);
        if (parser.isSet(version))
            showVersionAndExit();
    } else {
        error = parser.errorText();
    }
    Request request;
    QStringList positional = parser.positionalArguments();
    if (error.isEmpty() && positional.isEmpty())
        error = QStringLiteral("no command given");
    if (error.isEmpty()) {
        request.command = positional.takeFirst();
        request.words = positional;
        request.tsv = parser.isSet(kTsv);
        request.all = parser.isSet(kAll);
        error = checkArguments(request);
    }
    if (error.isEmpty())
        error = checkOptions(parser, request.command);
    if (error.isEmpty())
        error = readValues(parser, &request);
    if (error.isEmpty())
        return request;
    complain(error);
    std::fprintf(stderr, "Try 'vantro-grammar --help'.\n");
    return std::nullopt;
}

bool write(const QString &text)
{
    const QByteArray bytes = text.toUtf8();
    return std::fwrite(bytes.constData(), 1, size_t(bytes.size()), stdout) ==
               size_t(bytes.size()) &&
           !std::ferror(stdout);
}

// Everything written reaches its file, or the user is told: a full disk shows only at the
// flush.
int finishOutput(int status)
{
    if (std::fflush(stdout) != 0 || std::ferror(stdout)) {
        complain(QStringLiteral("cannot write the output: %1")
                     .arg(QString::fromLocal8Bit(std::strerror(errno))));
        return Failure;
    }
    return status;
}

// An adjective's feminine is declined from a stem of its own: say which, and what each is
// where a word has several (bhavatI, the pronoun; bhavantI, the participle).
QString derivedStemsNote(const QStringList &stems, const QStringList &uses, Script script)
{
    QStringList shown;
    for (qsizetype i = 0; i < stems.size(); ++i) {
        const QString use = uses.value(i);
        shown.append(itransInScript(stems[i], script) +
                     (use.isEmpty() ? QString() : QStringLiteral(" (%1)").arg(use)));
    }
    return QStringLiteral("(feminine stem%1 %2)\n")
        .arg(stems.size() > 1 ? QStringLiteral("s") : QString(), shown.join(QStringLiteral(", ")));
}

template <typename Paradigm>
int printInflection(const Inflection<Paradigm> &inflection, const PrintedTable &table,
                    const Request &request)
{
    if (!inflection.ok()) {
        complain(inflection.error);
        return Failure;
    }
    if (request.tsv) {
        write(tsvText(table, request.script));
        return finishOutput(Success);
    }
    if (!inflection.derivedStems.isEmpty())
        write(
            derivedStemsNote(inflection.derivedStems, inflection.derivedStemUses, request.script));
    write(alignedText(table, request.script));
    return finishOutput(Success);
}

QString genderCode(Gender gender)
{
    return gender == Gender::Masculine  ? QStringLiteral("m")
           : gender == Gender::Feminine ? QStringLiteral("f")
                                        : QStringLiteral("n");
}

int printGuesses(const Request &request)
{
    const QString &word = request.words.first();
    const QList<WordGuess> guesses = guessWord(word);
    if (guesses.isEmpty()) {
        complain(QStringLiteral("no noun stem or verb root is known for '%1'").arg(word));
        return Failure;
    }
    QString text;
    for (const WordGuess &guess : guesses) {
        if (guess.kind == WordGuess::Kind::Noun)
            text += QStringLiteral("noun\t%1\t%2\n")
                        .arg(itransInScript(guess.noun.stem, request.script),
                             genderCode(guess.noun.gender));
        else
            text += QStringLiteral("verb\t%1\t%2\t%3\n")
                        .arg(itransInScript(guess.verb.root, request.script))
                        .arg(guess.verb.verbClass)
                        .arg(guess.verb.pada == Pada::Atmanepada ? QStringLiteral("A")
                                                                 : QStringLiteral("P"));
    }
    write(text);
    return finishOutput(Success);
}

QString joined(const QString &line, const Request &request)
{
    if (!request.all)
        return itransInScript(joinLine(line), request.script) + u'\n';
    QString text;
    for (const QString &variant : joinLineVariants(line))
        text += itransInScript(variant, request.script) + u'\n';
    return text;
}

// A line of the input joined, its line end and trailing blanks kept; with --all, an empty line
// closes the variants of each input line.
QString joinedPiece(const QString &piece, const Request &request)
{
    qsizetype end = piece.size();
    while (end > 0 && piece.at(end - 1).isSpace())
        --end;
    QString text = joined(piece.left(end), request);
    text.chop(1);
    text += piece.mid(end);
    if (request.all && piece.endsWith(u'\n'))
        text += u'\n';
    return text;
}

// Each line goes out as soon as it is joined, so that a pipe sees the output as the input
// arrives. A line that is not UTF-8 is passed on unchanged and reported.
int joinInput(const Request &request)
{
    LineReader reader(STDIN_FILENO, [] { std::fflush(stdout); });
    bool invalid = false;
    QByteArray bytes;
    while (reader.next(&bytes)) {
        const qsizetype bad = firstInvalidUtf8(bytes);
        if (bad >= 0) {
            complain(QStringLiteral("<stdin>:%1: invalid UTF-8 at byte offset %2; the line is "
                                    "left as it is")
                         .arg(reader.lineNumber())
                         .arg(reader.inputOffset() + bad));
            invalid = true;
        }
        const bool written = bad >= 0 ? std::fwrite(bytes.constData(), 1, size_t(bytes.size()),
                                                    stdout) == size_t(bytes.size())
                                      : write(joinedPiece(QString::fromUtf8(bytes), request));
        if (!written)
            return finishOutput(Failure);
    }
    if (reader.error() != 0) {
        complain(QStringLiteral("cannot read <stdin>: %1")
                     .arg(QString::fromLocal8Bit(std::strerror(reader.error()))));
        return finishOutput(Failure);
    }
    return finishOutput(invalid ? Failure : Success);
}

// One line for each form the root makes: its name, then the forms parted by commas (by tabs
// with --tsv).
int printDerivatives(const Request &request)
{
    const RootDerivatives made = rootDerivatives(request.verb.root, request.verb.verbClass);
    if (!made.ok()) {
        complain(made.error);
        return Failure;
    }
    QString text;
    for (const RootDerivative &derivative : made.derivatives) {
        QStringList forms;
        for (const QString &form : derivative.forms)
            forms.append(itransInScript(form, request.script));
        text += request.tsv ? derivative.name + u'\t' + forms.join(u'\t') + u'\n'
                            : derivative.name + QStringLiteral(": ") +
                                  forms.join(QStringLiteral(", ")) + u'\n';
    }
    write(text);
    return finishOutput(Success);
}

int run(const Request &request)
{
    if (request.command == u"participles")
        return printDerivatives(request);
    if (request.command == u"noun") {
        const auto inflection = declineNoun(request.words.first(), request.gender);
        return printInflection(inflection, nounTable(inflection.paradigm), request);
    }
    if (request.command == u"verb") {
        const auto inflection = conjugate(request.verb);
        return printInflection(inflection, verbTable(inflection.paradigm), request);
    }
    if (request.command == u"guess")
        return printGuesses(request);
    if (request.command == u"analyse")
        return runAnalyse(request.analyse);
    if (request.words.isEmpty())
        return joinInput(request);
    write(joined(request.words.join(u' '), request));
    return finishOutput(Success);
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("vantro-grammar"));
    QCoreApplication::setApplicationVersion(QStringLiteral(VANTRO_VERSION_TEXT));
    const std::optional<Request> request = parseRequest(app);
    return request ? run(*request) : BadUsage;
}

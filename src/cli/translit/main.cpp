// SPDX-License-Identifier: GPL-3.0-or-later
#include "exitstatus.h"
#include "itranslinter.h"
#include "itranstoken.h"
#include "linereader.h"
#include "linetransliterator.h"
#include "programversion.h"
#include "transliterate.h"
#include "versionline.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QFile>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <optional>
#include <unistd.h>

using namespace vantro;

namespace {

// vantro-translit says what the text holds with 1, and ends with 2 when it cannot work at all:
// wrong options, an input it cannot read or an output it cannot write.
constexpr ExitStatus kLintFound = Failure;
constexpr ExitStatus kInvalidInput = Failure;
constexpr ExitStatus kCannotWork = BadUsage;

struct Request
{
    QString target = QStringLiteral("devanagari");
    bool lint = false;
    bool lossy = false;
    TranslitOptions options;
    QString input = QStringLiteral("-");
};

void complain(const QString &message)
{
    std::fprintf(stderr, "vantro-translit: %s\n", qUtf8Printable(message));
}

const QCommandLineOption kTo(QStringLiteral("to"),
                             QStringLiteral("Output script: devanagari (default), iast, or "
                                            "itrans (the input is then Devanagari)."),
                             QStringLiteral("script"), QStringLiteral("devanagari"));
const QCommandLineOption kLint(QStringLiteral("lint"),
                               QStringLiteral("Check the ITRANS input instead of converting it; "
                                              "exit status 1 when anything is found."));
const QCommandLineOption kExplicitVirama(
    QStringLiteral("explicit-virama"),
    QStringLiteral("A word-final consonant keeps its inherent a unless written with .h "
                   "(default: it takes a virama)."));
const QCommandLineOption kLossy(
    QStringLiteral("lossy"),
    QStringLiteral("Convert lines that are not valid UTF-8 too, with U+FFFD for the bad bytes "
                   "(default: leave them out, say where on stderr, and exit with status 1)."));

bool checkRequest(const Request &request, const QStringList &inputs)
{
    if (inputs.size() > 1) {
        complain(QStringLiteral("one input at most; see --help"));
        return false;
    }
    const QStringList targets = {QStringLiteral("devanagari"), QStringLiteral("iast"),
                                 QStringLiteral("itrans")};
    if (!targets.contains(request.target)) {
        complain(QStringLiteral("unknown script \"%1\": use devanagari, iast or itrans")
                     .arg(request.target));
        return false;
    }
    return true;
}

std::optional<Request> parseRequest(const QCoreApplication &app)
{
    QCommandLineParser parser;
    parser.setApplicationDescription(
        QStringLiteral("Converts ITRANS text to Devanagari or IAST, Devanagari back to ITRANS, "
                       "and checks ITRANS text."));
    parser.addHelpOption();
    parser.addVersionOption();
    parser.addOptions({kTo, kLint, kExplicitVirama, kLossy});
    parser.addPositionalArgument(QStringLiteral("file"),
                                 QStringLiteral("Text to read, UTF-8; - or nothing for stdin."),
                                 QStringLiteral("[FILE|-]"));
    // Wrong options exit with 2, as every other usage error does (the parser's own process()
    // would exit with 1, the status of a lint finding).
    if (!parser.parse(app.arguments())) {
        QString why = parser.errorText();
        if (why.endsWith(u'.'))
            why.chop(1);
        complain(why + QStringLiteral("; see --help"));
        return std::nullopt;
    }
    if (parser.isSet(QStringLiteral("help")))
        parser.showHelp(0);
    if (parser.isSet(QStringLiteral("version")))
        showVersionAndExit();
    Request request;
    request.target = parser.value(kTo);
    request.lint = parser.isSet(kLint);
    request.lossy = parser.isSet(kLossy);
    if (parser.isSet(kExplicitVirama))
        request.options.finalConsonant = FinalConsonant::Explicit;
    const QStringList inputs = parser.positionalArguments();
    if (!inputs.isEmpty())
        request.input = inputs.first();
    if (!checkRequest(request, inputs))
        return std::nullopt;
    return request;
}

QString inputName(const Request &request)
{
    return request.input == u"-" ? QStringLiteral("<stdin>") : request.input;
}

int openInput(const QString &name)
{
    if (name == u"-")
        return STDIN_FILENO;
    const int fd = ::open(QFile::encodeName(name).constData(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        complain(QStringLiteral("cannot read %1: %2")
                     .arg(name, QString::fromLocal8Bit(std::strerror(errno))));
    return fd;
}

Script targetOf(const Request &request)
{
    if (request.target == u"iast")
        return Script::Iast;
    if (request.target == u"itrans")
        return Script::Itrans;
    return Script::Devanagari;
}

// Lines of the input as text: a line that is not UTF-8 is reported and read as empty, unless
// the request is lossy.
class TextLines
{
public:
    TextLines(const Request &request, LineReader &reader) : m_request(request), m_reader(reader) {}

    bool next(QString *line)
    {
        QByteArray bytes;
        if (!m_reader.next(&bytes))
            return false;
        const qsizetype bad = m_request.lossy ? -1 : firstInvalidUtf8(bytes);
        if (bad < 0) {
            *line = QString::fromUtf8(bytes);
            return true;
        }
        complain(QStringLiteral("%1:%2: invalid UTF-8 at byte offset %3; the line is left out")
                     .arg(inputName(m_request))
                     .arg(m_reader.lineNumber())
                     .arg(m_reader.inputOffset() + bad));
        m_invalid = true;
        line->clear();
        return true;
    }

    qint64 lineNumber() const { return m_reader.lineNumber(); }

    int finish() const
    {
        if (m_reader.error() != 0) {
            complain(
                QStringLiteral("cannot read %1: %2")
                    .arg(m_request.input, QString::fromLocal8Bit(std::strerror(m_reader.error()))));
            return kCannotWork;
        }
        return m_invalid ? kInvalidInput : Success;
    }

private:
    const Request &m_request;
    LineReader &m_reader;
    bool m_invalid = false;
};

bool write(const QString &text)
{
    const QByteArray bytes = text.toUtf8();
    return std::fwrite(bytes.constData(), 1, size_t(bytes.size()), stdout) == size_t(bytes.size());
}

// Each line goes out as soon as it is converted; stdout is flushed whenever the input has to
// be waited for, so that a pipe sees the output as the input arrives.
int convert(const Request &request, TextLines &lines)
{
    LineTransliterator converter(targetOf(request), request.options);
    QString line;
    while (lines.next(&line)) {
        if (!write(converter.convert(line))) {
            complain(QStringLiteral("cannot write the output"));
            return kCannotWork;
        }
    }
    // A flush made while waiting for input may have failed already: the error flag remembers.
    if (std::fflush(stdout) != 0 || std::ferror(stdout)) {
        complain(QStringLiteral("cannot write the output"));
        return kCannotWork;
    }
    return lines.finish();
}

bool printFindings(const QString &name, const QVector<LintFinding> &findings)
{
    for (const LintFinding &finding : findings)
        std::printf("%s:%d:%d: %s\n", qUtf8Printable(name), finding.line, finding.column,
                    qUtf8Printable(finding.message));
    return !findings.isEmpty();
}

// The lint goes a line at a time too, comparing spellings with those of the lines before;
// lines inside a "##" fence are taken together with the line that opens it.
int reportLint(const Request &request, TextLines &lines)
{
    const QString name = inputName(request);
    ItransLinter linter;
    bool found = false;
    QString part;
    qint64 partLine = 0;
    QString line;
    while (lines.next(&line)) {
        partLine = part.isEmpty() ? lines.lineNumber() : partLine;
        part += line;
        if (leavesFenceOpen(part))
            continue;
        found |= printFindings(name, linter.lintPart(part, int(partLine)));
        part.clear();
    }
    if (!part.isEmpty())
        found |= printFindings(name, linter.lintPart(part, int(partLine)));
    const int status = lines.finish();
    if (std::fflush(stdout) != 0 || std::ferror(stdout)) {
        complain(QStringLiteral("cannot write the output"));
        return kCannotWork;
    }
    return status == Success && found ? kLintFound : status;
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("vantro-translit"));
    QCoreApplication::setApplicationVersion(QStringLiteral(VANTRO_VERSION_TEXT));
    const std::optional<Request> request = parseRequest(app);
    if (!request)
        return kCannotWork;
    const int fd = openInput(request->input);
    if (fd < 0)
        return kCannotWork;
    LineReader reader(fd, [] { std::fflush(stdout); });
    TextLines lines(*request, reader);
    return request->lint ? reportLint(*request, lines) : convert(*request, lines);
}

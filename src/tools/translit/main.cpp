#include "itranslinter.h"
#include "programversion.h"
#include "transliterate.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QFile>
#include <QTextStream>

#include <cstdio>
#include <optional>

using namespace vantro;

namespace {

enum ExitStatus { Success = 0, LintFound = 1, Failure = 2 };

struct Request
{
    QString target = QStringLiteral("devanagari");
    bool lint = false;
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
    parser.addOptions({kTo, kLint, kExplicitVirama});
    parser.addPositionalArgument(QStringLiteral("file"),
                                 QStringLiteral("Text to read, UTF-8; - or nothing for stdin."),
                                 QStringLiteral("[FILE|-]"));
    parser.process(app);
    Request request;
    request.target = parser.value(kTo);
    request.lint = parser.isSet(kLint);
    if (parser.isSet(kExplicitVirama))
        request.options.finalConsonant = FinalConsonant::Explicit;
    const QStringList inputs = parser.positionalArguments();
    if (!inputs.isEmpty())
        request.input = inputs.first();
    if (!checkRequest(request, inputs))
        return std::nullopt;
    return request;
}

std::optional<QString> readInput(const QString &name)
{
    QFile file(name);
    const bool opened =
        name == u"-" ? file.open(stdin, QIODevice::ReadOnly) : file.open(QIODevice::ReadOnly);
    if (!opened) {
        complain(QStringLiteral("cannot read %1: %2").arg(name, file.errorString()));
        return std::nullopt;
    }
    return QString::fromUtf8(file.readAll());
}

QString convert(const Request &request, const QString &text)
{
    if (request.target == u"iast")
        return itransToIast(text, request.options);
    if (request.target == u"itrans")
        return devanagariToItrans(text, request.options);
    return itransToDevanagari(text, request.options);
}

int reportLint(const Request &request, const QString &text)
{
    const QString name = request.input == u"-" ? QStringLiteral("<stdin>") : request.input;
    const QVector<LintFinding> findings = ItransLinter().lint(text);
    for (const LintFinding &finding : findings)
        std::printf("%s:%d:%d: %s\n", qUtf8Printable(name), finding.line, finding.column,
                    qUtf8Printable(finding.message));
    return findings.isEmpty() ? Success : LintFound;
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("vantro-translit"));
    QCoreApplication::setApplicationVersion(QStringLiteral(VANTRO_VERSION_TEXT));
    const std::optional<Request> request = parseRequest(app);
    if (!request)
        return Failure;
    const std::optional<QString> text = readInput(request->input);
    if (!text)
        return Failure;
    if (request->lint)
        return reportLint(*request, *text);
    const QByteArray output = convert(*request, *text).toUtf8();
    if (std::fwrite(output.constData(), 1, size_t(output.size()), stdout) !=
            size_t(output.size()) ||
        std::fflush(stdout) != 0) {
        complain(QStringLiteral("cannot write the output"));
        return Failure;
    }
    return Success;
}

// SPDX-License-Identifier: GPL-3.0-or-later
// The converter, its lint, its command-line tool and ITRANS words, driven by the cases in data/.
#include "capture.h"
#include "datarows.h"
#include "dbtools.h"
#include "itranslinter.h"
#include "itransword.h"
#include "scheme.h"
#include "transliterate.h"

#include <QProcess>
#include <QTest>

using namespace vantro;
using namespace vantro::test;

namespace {

// \n, \t, \r, \xNN (one raw byte) and \uXXXX (a character, as UTF-8); any other escaped
// character stands for itself.
QByteArray unescaped(const QByteArray &cell)
{
    QByteArray bytes;
    for (qsizetype i = 0; i < cell.size(); ++i) {
        const char c = i + 1 < cell.size() && cell[i] == '\\' ? cell[++i] : 0;
        const int digits = c == 'x' ? 2 : c == 'u' ? 4 : 0;
        const ushort code = cell.mid(i + 1, digits).toUShort(nullptr, 16);
        if (digits)
            bytes += c == 'x' ? QByteArray(1, char(code)) : QString(QChar(code)).toUtf8();
        else
            bytes += c == 'n' ? '\n' : c == 't' ? '\t' : c == 'r' ? '\r' : cell[i];
        i += digits;
    }
    return bytes;
}

// One row for each case of a data file, one column each; the last cells may be left out and
// are then empty.
void addRows(const char *file, int least, std::initializer_list<const char *> columns)
{
    for (const char *column : columns)
        QTest::addColumn<QByteArray>(column);
    for (DataRow &row :
         DataRows::casesOf(VANTRO_TRANSLIT_DATA "/" + QString(file), least, int(columns.size()))) {
        row.cells.resize(qsizetype(columns.size()));
        QTestData &data = QTest::newRow(row.place.constData());
        for (const QByteArray &cell : row.cells)
            data << unescaped(cell);
    }
}

// The word checks: '@' in the text is the cursor; word answers the ITRANS word there, next and
// previous the text with the cursor where Ctrl+Right and Ctrl+Left take it.
QString wordChecked(const QByteArray &check, QString text)
{
    const int at = int(text.indexOf(u'@'));
    text.remove(at, 1);
    const WordSpan span = itransWordAt(text, at);
    if (check == "word")
        return text.mid(span.start, span.end - span.start);
    return text.insert(
        check == "next" ? nextItransWordStart(text, at) : previousItransWordStart(text, at), u'@');
}

QString checked(const QByteArray &check, const QString &text)
{
    if (check == "word" || check == "next" || check == "previous")
        return wordChecked(check, text);
    if (check == "first")
        return firstItransWord(text);
    if (check == "fenced")
        return insideFence(QString(text).remove(u'@'), int(text.indexOf(u'@'))) ? "yes" : "no";
    const TranslitOptions explicitVirama{FinalConsonant::Explicit};
    const TranslitOptions options = check.endsWith('!') ? explicitVirama : TranslitOptions{};
    if (check.startsWith("dev"))
        return itransToDevanagari(text, options);
    if (check == "iast")
        return itransToIast(text);
    if (check.startsWith("itrans"))
        return devanagariToItrans(text, options);
    if (check == "round")
        return devanagariToItrans(itransToDevanagari(
            devanagariToItrans(itransToDevanagari(text), explicitVirama), explicitVirama));
    QStringList findings;
    for (const LintFinding &finding : ItransLinter().lint(text))
        findings << QStringLiteral("%1:%2: %3")
                        .arg(QString::number(finding.line), QString::number(finding.column),
                             finding.message);
    return check == "lint" ? findings.join(u'\n') : QStringLiteral("unknown check ") + check;
}

} // namespace

class TestTranslit : public QObject
{
    Q_OBJECT

private slots:
    void conversions_data() { addRows("itrans.tsv", 2, {"check", "input", "expected"}); }
    void conversions();
    void words_data() { addRows("words.tsv", 3, {"check", "input", "expected"}); }
    void words() { conversions(); }
    void tool_data()
    {
        addRows("cli.tsv", 5, {"arguments", "input", "status", "output", "errors"});
    }
    void tool();
    void outputFlowsBeforeTheInputEnds();
    void tablePageShowsEveryLetter();
};

void TestTranslit::conversions()
{
    QFETCH(QByteArray, check);
    QFETCH(QByteArray, input);
    QFETCH(QByteArray, expected);
    QCOMPARE(checked(check, QString::fromUtf8(input)), QString::fromUtf8(expected));
}

void TestTranslit::tool()
{
    QFETCH(QByteArray, arguments);
    QFETCH(QByteArray, input);
    QFETCH(QByteArray, status);
    QFETCH(QByteArray, output);
    QFETCH(QByteArray, errors);
    const ProgramRun run =
        runProgram(QStringLiteral(VANTRO_TRANSLIT_TOOL),
                   QString::fromUtf8(arguments)
                       .replace(QLatin1String("@DATA@"), QLatin1String(VANTRO_TRANSLIT_DATA))
                       .split(u' ', Qt::SkipEmptyParts),
                   input);
    QCOMPARE(run.err, errors);
    QCOMPARE(run.out, output.replace("@VERSION@", VANTRO_VERSION));
    QCOMPARE(run.status, status.toInt());
}

// A line comes out while the input is still open, as a pipe into a pager needs; a line longer
// than the tool's reading piece comes out whole.
void TestTranslit::outputFlowsBeforeTheInputEnds()
{
    QProcess process;
    process.start(QStringLiteral(VANTRO_TRANSLIT_TOOL), {});
    process.write("rAma\n");
    QVERIFY(process.waitForReadyRead(30000));
    QCOMPARE(QString::fromUtf8(process.readAllStandardOutput()), u"राम\n"_qs);
    process.write(QByteArray("rAma ").repeated(40000));
    process.closeWriteChannel();
    QVERIFY(process.waitForFinished());
    QCOMPARE(QString::fromUtf8(process.readAllStandardOutput()), u"राम "_qs.repeated(40000));
}

// The help page is generated from the same table, so every spelling and letter must be on it.
void TestTranslit::tablePageShowsEveryLetter()
{
    const QString page = QString::fromUtf8(fileBytes(QStringLiteral(VANTRO_ITRANS_TABLE_PAGE)));
    for (const Letter *letter : Scheme::instance().letters()) {
        QVERIFY(page.contains(QString::fromUtf16(letter->devanagari)));
        for (const char *spelling : letter->itrans)
            if (spelling)
                QVERIFY2(page.contains(QStringLiteral("<tt>%1</tt>").arg(spelling)), spelling);
    }
}

QTEST_GUILESS_MAIN(TestTranslit)
#include "tst_translit.moc"

// SPDX-License-Identifier: GPL-3.0-or-later
// The PDF of a document read back by the tools a reader's computer has: its text, its fonts and
// its picture, the last against the same pages drawn by the toolkit's own PDF writer.

#include "documentoutput.h"

#include <QImage>
#include <QPdfWriter>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QtTest>

using vantro::Script;

namespace {

QString run(const char *program, const QStringList &args)
{
    QProcess process;
    process.start(QString::fromUtf8(program), args);
    if (!process.waitForFinished() || process.exitCode() != 0)
        return {};
    return QString::fromUtf8(process.readAllStandardOutput());
}

QString withoutBlanks(QString text)
{
    return text.remove(QRegularExpression(QStringLiteral("\\s")));
}

QString pageFile(const QString &itrans)
{
    QFile file(QStringLiteral(VANTRO_APP_TEST_DATA "/") + itrans);
    return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
}

// Fonts pdffonts lists as not both embedded and subset, or "none" when it lists none at all.
QStringList fontsNotEmbeddedSubset(const QString &pdf)
{
    const QStringList lines = run(VANTRO_PDFFONTS, {pdf}).split(u'\n', Qt::SkipEmptyParts);
    if (lines.size() < 3)
        return {QStringLiteral("none")};
    QStringList wrong;
    for (const QString &line : lines.mid(2)) {
        const QStringList columns = line.split(u' ', Qt::SkipEmptyParts);
        // ... emb sub uni object-number generation
        if (columns.size() < 6 || columns.at(columns.size() - 5) != QLatin1String("yes") ||
            columns.at(columns.size() - 4) != QLatin1String("yes"))
            wrong << line;
    }
    return wrong;
}

// Pixels of the first page that differ by more than half between the two PDFs at 150 dpi.
int pixelsApart(const QString &pdf, const QString &other, const QString &dir)
{
    QList<QImage> pages;
    for (const QString &file : {pdf, other}) {
        const QString stem = dir + u'/' + QFileInfo(file).baseName();
        run(VANTRO_PDFTOPPM,
            {QStringLiteral("-r"), QStringLiteral("150"), QStringLiteral("-gray"),
             QStringLiteral("-singlefile"), QStringLiteral("-f"), QStringLiteral("1"),
             QStringLiteral("-l"), QStringLiteral("1"), file, stem});
        pages << QImage(stem + QStringLiteral(".pgm")).convertToFormat(QImage::Format_Grayscale8);
    }
    if (pages[0].isNull() || pages[0].size() != pages[1].size())
        return -1;
    int apart = 0;
    for (int y = 0; y < pages[0].height(); ++y) {
        const uchar *a = pages[0].constScanLine(y);
        const uchar *b = pages[1].constScanLine(y);
        for (int x = 0; x < pages[0].width(); ++x)
            apart += std::abs(a[x] - b[x]) > 128;
    }
    return apart;
}

bool writeToolkitPdf(const QString &path, const QString &text, const QString &name,
                     const QPageLayout &layout)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    QPdfWriter writer(&file);
    if (layout.isValid())
        writer.setPageLayout(layout);
    else
        writer.setPageMargins(QMarginsF(20, 20, 20, 20), QPageLayout::Millimeter);
    QString error;
    return vantro::output::printText(writer, text, name, &error);
}

} // namespace

class TestPdfOutput : public QObject
{
    Q_OBJECT

private slots:
    void textLayer_data();
    void textLayer();
};

void TestPdfOutput::textLayer_data()
{
    QTest::addColumn<QString>("itrans");
    QTest::addColumn<int>("script");
    QTest::addColumn<int>("pages");
    QTest::addColumn<QStringList>("words");  // each found whole in the text read back
    QTest::addColumn<QPageLayout>("layout"); // as the print dialog chose; none: an export
    const QPageLayout letter(QPageSize(QPageSize::Letter), QPageLayout::Landscape,
                             QMarginsF(15, 15, 15, 15), QPageLayout::Millimeter);
    const QString page = pageFile(QStringLiteral("pdfpage.itx"));
    QVERIFY(page.count(u'\n') == 40);
    const QStringList devanagariWords = {"क्षत्रियः",
                                         "श्रीमान्",
                                         "ज्ञानं",
                                         "गच्छति",
                                         "धर्मक्षेत्रे",
                                         "सोऽहं",
                                         "ॐ",
                                         "कृष्णँ",
                                         "॥ ८॥",
                                         "०१२३४५६७८९",
                                         "I am Brahman, says the Veda"};
    QTest::newRow("Devanagari, one page")
        << page << int(Script::Devanagari) << 1 << devanagariWords << QPageLayout();
    QTest::newRow("IAST, two pages of US Letter across")
        << page << int(Script::Iast) << 2
        << QStringList{"kṣatriyaḥ", "śrīmān", "jñānaṃ", "dharmakṣetre"} << letter;
    QTest::newRow("ITRANS, one page") << page << int(Script::Itrans) << 1
                                      << QStringList{"xatriyaH shrImAn dR^iShTvA"} << QPageLayout();
    QString threePages = page + page + page;
    threePages.replace(QStringLiteral("xatriyaH shrImAn"), QStringLiteral("xatriyaH\t\tshrImAn  "));
    QTest::newRow("Devanagari, three pages, tabs and blanks")
        << threePages << int(Script::Devanagari) << 3 << QStringList{"गच्छति", "श्रीमान्"}
        << QPageLayout();
}

// The text read back, without blanks and line breaks (a reader's guess of where a line or a word
// ends may differ), is the converted text, with each page's footer after it.
void TestPdfOutput::textLayer()
{
    QFETCH(QString, itrans);
    QFETCH(int, script);
    QFETCH(int, pages);
    QFETCH(QStringList, words);
    QFETCH(QPageLayout, layout);
    QTemporaryDir dir;
    const QString pdf = dir.filePath(QStringLiteral("text layer.pdf"));
    const QString toolkitPdf = dir.filePath(QStringLiteral("toolkit.pdf"));
    const QString text = vantro::itransInScript(itrans, Script(script));
    QString error;
    QVERIFY2(vantro::output::writePdf(pdf, text, QStringLiteral("doc.txt"), &error, layout),
             qPrintable(error));

    const QStringList readBack =
        run(VANTRO_PDFTOTEXT, {pdf, QStringLiteral("-")}).split(u'\f', Qt::SkipEmptyParts);
    QCOMPARE(readBack.size(), pages);
    QString body;
    for (int page = 0; page < pages; ++page) {
        const QString footer = QStringLiteral("doc.txtPage%1of%2").arg(page + 1).arg(pages);
        const QString read = withoutBlanks(readBack[page]);
        QVERIFY2(read.endsWith(footer), qPrintable(read.right(40)));
        body += read.chopped(footer.size());
    }
    QCOMPARE(body, withoutBlanks(text));
    for (const QString &word : words)
        QVERIFY2(readBack.join(QString()).contains(word), qPrintable(word));
    QCOMPARE(fontsNotEmbeddedSubset(pdf), QStringList());

    QVERIFY(writeToolkitPdf(toolkitPdf, text, QStringLiteral("doc.txt"), layout));
    QCOMPARE(pixelsApart(pdf, toolkitPdf, dir.path()), 0);
}

QTEST_MAIN(TestPdfOutput)
#include "tst_pdfoutput.moc"

// SPDX-License-Identifier: GPL-3.0-or-later
// The ITRANS document in Devanagari and IAST: the preview window, printing and export.

#include "dbtools.h"
#include "transliterate.h"
#include "workspacefixture.h"

#include <QAction>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QProcess>
#include <QRadioButton>
#include <QTextBlock>
#include <QtTest>

namespace {

// The preview follows an edit after a pause of a fraction of a second: a row that waits longer
// has failed, and says so at once rather than after the default five seconds.
constexpr int kSettleMs = 1000;

// The document opened from doc.txt, then changed, so that its name and modified flag show.
MainForm &openChanged(WorkspaceFixture &fx, const QString &text)
{
    fx.dialogs.setNextFileName(fx.write(QStringLiteral("doc.txt"), "old"));
    MainForm &form = fx.open();
    form.fileOpenAction->trigger();
    form.itrans->selectAll();
    form.itrans->insertPlainText(text);
    return form;
}

// A PDF's text as pdftotext reads it back, or a text file's.
QString outputText(const QString &path)
{
    QProcess pdftotext;
    if (path.endsWith(QLatin1String(".pdf")))
        pdftotext.start(QStringLiteral(VANTRO_PDFTOTEXT), {path, QStringLiteral("-")});
    return pdftotext.waitForFinished() ? QString::fromUtf8(pdftotext.readAllStandardOutput())
                                       : QString::fromUtf8(vantro::test::fileBytes(path));
}

} // namespace

class TestPreview : public QObject
{
    Q_OBJECT

private slots:
    void previewFollowsEdits_data();
    void previewFollowsEdits();
    void lintAndRecord();
    void printAndExport_data();
    void printAndExport();
};

void TestPreview::previewFollowsEdits_data()
{
    QTest::addColumn<int>("at"); // -1: File > New first
    QTest::addColumn<int>("removed");
    QTest::addColumn<QString>("inserted");
    QTest::addColumn<bool>("iast");
    QTest::newRow("letter typed, IAST") << 7 << 0 << "m" << true;
    QTest::newRow("paragraph split") << 7 << 0 << "\n" << false;
    QTest::newRow("paragraphs joined") << 3 << 3 << "" << false;
    QTest::newRow("lines pasted") << 24 << 0 << "a\nb\nc" << false;
    QTest::newRow("far from the end") << 2 << 0 << "\nka\n" << false;
    QTest::newRow("new document") << -1 << 0 << "gaNesha" << false;
    QTest::newRow("a fence open far above what is shown")
        << 0 << 0 << "## open english\n" + QString("ka\n").repeated(400) + "rAma ## sItA\n"
        << false;
}

void TestPreview::previewFollowsEdits()
{
    QFETCH(int, at);
    QFETCH(int, removed);
    QFETCH(QString, inserted);
    QFETCH(bool, iast);
    WorkspaceFixture fx;
    MainForm &form = openChanged(fx, QStringLiteral("rAma\nsItA\nlakShmaNa\nkR^iShNa"));
    form.viewDevanagariPreviewAction->trigger();
    auto *text = form.findChild<QPlainTextEdit *>(QStringLiteral("previewText"));
    QTRY_COMPARE_WITH_TIMEOUT(text->toPlainText(), QStringLiteral("राम\nसीता\nलक्ष्मण\nकृष्ण"),
                              kSettleMs);
    form.findChild<QRadioButton *>(QStringLiteral("previewIast"))->setChecked(iast);

    if (at < 0)
        form.fileNew();
    selectRange(form.itrans, qMax(at, 0), qMax(at, 0) + removed);
    form.itrans->insertPlainText(inserted);
    typeAtEnd(form.itrans, QStringLiteral("a")); // a second edit before the preview catches up

    // What the export writes, from the paragraph the marked one stands for on.
    const QString now = form.itrans->toPlainText();
    const QStringList exported =
        (iast ? vantro::itransToIast(now) : vantro::itransToDevanagari(now)).split('\n');
    QStringList marked; // the numbers of the marked preview paragraphs
    const auto shownFrom = [&] {
        marked.clear();
        for (QTextBlock block = text->document()->begin(); block.isValid(); block = block.next())
            if (block.blockFormat().hasProperty(QTextFormat::BackgroundBrush))
                marked << QString::number(block.blockNumber());
        return form.itrans->textCursor().blockNumber() - marked.value(0).toInt();
    };
    QTRY_COMPARE_WITH_TIMEOUT(text->toPlainText().split('\n'),
                              exported.mid(shownFrom(), text->blockCount()), kSettleMs);
    QCOMPARE(marked.size(), 1);
    QCOMPARE(shownFrom() > 0, inserted.size() > 1000);
}

void TestPreview::lintAndRecord()
{
    WorkspaceFixture fx;
    MainForm &form = openChanged(fx, QStringLiteral("rAma\nsaMkalpa"));
    form.show();
    QVERIFY(QTest::qWaitForWindowActive(&form));
    QTest::keyClick(&form, Qt::Key_D, Qt::ControlModifier);
    auto *lint = form.findChild<QListWidget *>(QStringLiteral("previewLint"));
    QVERIFY(lint && lint->window()->isVisible());
    QTRY_COMPARE_WITH_TIMEOUT(lint->count(), 1, kSettleMs);
    QVERIFY(lint->item(0)->text().startsWith(QLatin1String("line 2, column 3: anusvara")));
    QTest::mouseClick(lint->viewport(), Qt::LeftButton, {},
                      lint->visualItemRect(lint->item(0)).center());
    QCOMPARE(form.itrans->textCursor().position(), 7);

    auto *record = form.findChild<QLabel *>(QStringLiteral("previewRecord"));
    form.tedITRANS->setFocus();
    form.tedITRANS->setPlainText(QStringLiteral("dharma"));
    QTRY_VERIFY_WITH_TIMEOUT(record->isVisible() && record->text().contains(QStringLiteral("धर्म")),
                             kSettleMs);
    form.ledEng->setFocus();
    QTRY_VERIFY_WITH_TIMEOUT(!record->isVisible(), kSettleMs);
}

void TestPreview::printAndExport_data()
{
    QTest::addColumn<int>("choice"); // 0-2: print as ITRANS, Devanagari, IAST; 3-5: export filter
    QTest::addColumn<QString>("file");
    QTest::addColumn<QStringList>("expected"); // nothing: a box reports a failure
    const QStringList footer = {"doc.txt", "Page 1 of 1"};
    QTest::newRow("print ITRANS") << 0 << "p.pdf" << footer + QStringList{"sItA"};
    QTest::newRow("print Devanagari") << 1 << "p.pdf" << footer + QStringList{"सीता"};
    QTest::newRow("print IAST") << 2 << "p.pdf" << footer + QStringList{"sītā"};
    QTest::newRow("print fails") << 1 << "gone/p.pdf" << QStringList();
    QTest::newRow("export Devanagari") << 3 << "e.txt" << QStringList{"राम\nसीता"};
    QTest::newRow("export IAST") << 4 << "e.txt" << QStringList{"rāma\nsītā"};
    QTest::newRow("export PDF") << 5 << "e.pdf" << footer + QStringList{"सीता"};
    QTest::newRow("export .pdf typed, text filter") << 4 << "e.pdf" << footer + QStringList{"सीता"};
    QTest::newRow("export no extension, PDF filter") << 5 << "e" << QStringList{"सीता"};
    QTest::newRow("export fails") << 5 << "gone/e.pdf" << QStringList();
}

void TestPreview::printAndExport()
{
    QFETCH(int, choice);
    QFETCH(QString, file);
    QFETCH(QStringList, expected);
    WorkspaceFixture fx;
    MainForm &form = openChanged(fx, QStringLiteral("rAma\nsItA"));
    fx.dialogs.setNextFileName(fx.path(file));
    if (choice < 3) {
        fx.dialogs.setNextAnswer(choice);
        form.filePrintAction->trigger();
    } else {
        fx.dialogs.setNextFilter(
            QStringList{"Devanagari text (*.txt)", "IAST text (*.txt)", "PDF (*.pdf)"}[choice - 3]);
        form.fileExportAction->trigger();
    }

    const ScriptedDialogs::Shown box = fx.dialogs.shown.constLast();
    QCOMPARE(box.kind == QLatin1String("information"), expected.isEmpty());
    if (expected.isEmpty())
        QVERIFY2(box.text.contains(fx.path(file) + QStringLiteral(": ")) && box.parent == &form,
                 qPrintable(box.text));
    const QString written = fx.path(QFileInfo(file).suffix().isEmpty() ? file + ".pdf" : file);
    const QString output = outputText(written);
    for (const QString &part : expected)
        QVERIFY2(output.contains(part), qPrintable(output));
    QCOMPARE(form.itrans->toPlainText(), QStringLiteral("rAma\nsItA"));
    QCOMPARE(form.itransFileName(), fx.path(QStringLiteral("doc.txt")));
    QVERIFY(isModified(form.itrans));
    QVERIFY(fx.dialogs.scriptIsUsedUp());
}

QTEST_MAIN(TestPreview)
#include "tst_preview.moc"

// SPDX-License-Identifier: GPL-3.0-or-later
#include "capture.h"
#include "dbtools.h"
#include "dictdb.h"
#include "workspacefixture.h"

#include <QApplication>
#include <QCheckBox>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScopeGuard>
#include <QScrollBar>
#include <QTest>
#include <QTimer>

using vantro::cDictDB;
using vantro::test::captureOutput;
using vantro::test::fileBytes;

namespace {

// True when another object can take the dictionary file, i.e. the window no longer holds it.
bool fileIsFree(const QString &path)
{
    cDictDB probe(path);
    int result = 1;
    captureOutput([&] { result = probe.openDB(); });
    probe.closeDB();
    return result == 0;
}

} // namespace

class TestStartup : public QObject
{
    Q_OBJECT

private slots:
    void leavingClosesTheDictionary_data();
    void leavingClosesTheDictionary();
    void dictionaryProblemsAreShown_data();
    void dictionaryProblemsAreShown();
};

// File > Exit closes the dictionary at once; closing the window leaves that to the destructor.
void TestStartup::leavingClosesTheDictionary_data()
{
    QTest::addColumn<bool>("byFileExit");
    QTest::newRow("File > Exit") << true;
    QTest::newRow("window closed") << false;
}

void TestStartup::leavingClosesTheDictionary()
{
    QFETCH(bool, byFileExit);
    WorkspaceFixture f;
    MainForm &form = f.open();
    form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    if (byFileExit)
        QTimer::singleShot(0, &form, &MainForm::fileExit);
    else
        QTimer::singleShot(0, &form, &QWidget::close);
    QCOMPARE(QApplication::exec(), 0);
    QCOMPARE(form.dictionary() == nullptr, byFileExit);
    QCOMPARE(fileIsFree(f.path("morvak.db")), byFileExit);
    f.form.reset(); // after File > Exit the destructor finds nothing left to close
    QVERIFY(fileIsFree(f.path("morvak.db")));
    QVERIFY(vantro::test::DbUtilities::verify(f.path("morvak.db")));
}

// The row's name is what is in the working directory before the window opens.
void TestStartup::dictionaryProblemsAreShown_data()
{
    QTest::addColumn<QString>("problem"); // empty: nothing is wrong
    QTest::addColumn<bool>("writable");
    QTest::newRow("records") << "" << true;
    QTest::newRow("absent") << "" << true;
    QTest::newRow("empty") << "" << true;
    QTest::newRow("directory") << "morvak.db is not a dictionary file (not a regular file)"
                               << false;
    QTest::newRow("held") << "morvak.db is open in another window or program, so it is open "
                             "read-only"
                          << false;
    QTest::newRow("protected") << "morvak.db may only be read, so it is open read-only" << false;
}

// A problem is told once in a box over the window and stays in the title; the diagnostic lines
// are kept. A window that may not write keeps Read Only ticked and says why.
void TestStartup::dictionaryProblemsAreShown()
{
    const QString setUp = QTest::currentDataTag();
    QFETCH(QString, problem);
    QFETCH(bool, writable);
    WorkspaceFixture f;
    cDictDB first(f.path("morvak.db"));
    const auto closeFirst = qScopeGuard([&] { first.closeDB(); });
    if (setUp == "directory")
        QVERIFY(QDir(f.dir.path()).mkdir("morvak.db"));
    if (setUp == "empty" || setUp == "protected")
        QVERIFY(QFile(f.path("morvak.db")).open(QIODevice::WriteOnly));
    if (setUp == "protected")
        QVERIFY(QFile::setPermissions(f.path("morvak.db"), QFile::ReadOwner));
    if (setUp == "held")
        QCOMPARE(first.openDB(), 0);
    QList<vantro::test::KeyData> pairs;
    for (int i = 0; setUp == "records" && i < 37; ++i)
        pairs.append({"word" + QByteArray::number(i), "artha"});
    QVERIFY(pairs.isEmpty() || vantro::test::DbUtilities::load(f.path("morvak.db"), pairs));
    QCOMPARE(QFileInfo::exists(f.path("morvak.db")), setUp != "absent");
    const auto out = captureOutput([&] {
        f.open();
        QCoreApplication::processEvents();
    });
    QCOMPARE(f.form->windowTitle(), problem.isEmpty() ? "VANTRO 1.10" : "VANTRO 1.10 - " + problem);
    QCOMPARE(f.dialogs.shown.size(), problem.isEmpty() ? 0 : 1);
    QVERIFY(problem.isEmpty() || (f.dialogs.shown.first().text == problem + "." &&
                                  f.dialogs.shown.takeFirst().parent == f.form.get()));
    QCOMPARE(out.err.contains("morvak.db"),
             !problem.isEmpty() && setUp != "protected" && setUp != "held");
    QCOMPARE(f.form->lblKeys->text(), QString::asprintf("Keys: %d", int(pairs.size())));
    QVERIFY(f.form->chkReadOnly->isChecked());
    QCOMPARE(QFileInfo(f.path("morvak.db")).isFile(), setUp != "directory");
    // The hint for an empty dictionary shows only where one is open, and is no content. It names
    // the key that loads the starter dictionary, and fits the field whole.
    const QString hint = f.form->tedITRANS->placeholderText();
    if (setUp != "protected")
        QCOMPARE(hint.contains("Ctrl+Shift+D"), setUp == "empty" || setUp == "absent" || setUp == "held");
    // The field less its frame, its scroll bar and the text's margins.
    const QPlainTextEdit *meaning = f.form->tedITRANS;
    const int inset = 2 * meaning->frameWidth() + 8;
    const QRect field(0, 0,
                      meaning->width() - meaning->verticalScrollBar()->sizeHint().width() - inset,
                      meaning->height() - inset);
    QVERIFY(QFontMetrics(f.form->tedITRANS->font())
                .boundingRect(field, Qt::TextWordWrap, hint)
                .height() <= field.height());
    QCOMPARE(f.form->fileLoadStarterAction->shortcut(), QKeySequence("Ctrl+Shift+D"));
    QVERIFY(!f.form->tedITRANS->document()->isModified());
    QVERIFY(!pairs.isEmpty() || f.form->tedITRANS->toPlainText().isEmpty());
    // A Save of a new record writes only where the dictionary may be written.
    const QByteArray before = fileBytes(f.path("morvak.db"));
    f.form->chkReadOnly->setChecked(false);
    QCOMPARE(f.form->chkReadOnly->isChecked(), !writable);
    QCOMPARE(f.dialogs.shown.value(0).text,
             writable ? QString()
                      : "Read Only stays ticked: this window cannot change the "
                        "dictionary.\n" +
                            problem + ".");
    f.form->ledEng->setText("water");
    f.dialogs.setNextAnswer(Dialogs::Yes);
    captureOutput([&] { f.form->btnSave->click(); });
    QCOMPARE(fileBytes(f.path("morvak.db")) != before, writable);
    f.form->btnNext->click();
    QVERIFY(f.form->isEnabled());
}

QTEST_MAIN(TestStartup)
#include "tst_startup.moc"

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

// Tries a Save of a new record through the window; answers whether anything was written.
bool saveWrites(WorkspaceFixture &f, const QString &dictionary)
{
    const QByteArray before = fileBytes(dictionary);
    f.form->chkReadOnly->setChecked(false);
    f.form->ledEng->setText("water");
    f.dialogs.setNextAnswer(Dialogs::Yes);
    captureOutput([&] { f.form->btnSave->click(); });
    return fileBytes(dictionary) != before;
}

} // namespace

class TestStartup : public QObject
{
    Q_OBJECT

private slots:
    void createsDictionaryInWorkingDirectory();
    void fileExitClosesOnceWithStatusZero();
    void closingTheWindowQuitsAndDestructorCloses();
    void dictionaryProblemsAreShown_data();
    void dictionaryProblemsAreShown();
    void applicationDirectoryIsOnlyRemembered();
};

void TestStartup::createsDictionaryInWorkingDirectory()
{
    WorkspaceFixture f;
    QVERIFY(!QFileInfo::exists(f.path("morvak.db")));
    MainForm &form = f.open();
    QVERIFY(QFileInfo(f.path("morvak.db")).isFile());
    QCOMPARE(form.lblKeys->text(), "Keys: 0");
    QCOMPARE(form.windowTitle(), "VANTRO 1.10");
    QVERIFY(form.ledEng->text().isEmpty());
    // The hint for an empty dictionary is no content: nothing to save, nothing modified.
    QVERIFY(form.tedITRANS->placeholderText().contains("vantro-dict import "));
    QVERIFY(form.tedITRANS->toPlainText().isEmpty() && !form.tedITRANS->document()->isModified());
    QVERIFY(!fileIsFree(f.path("morvak.db")));
}

void TestStartup::fileExitClosesOnceWithStatusZero()
{
    WorkspaceFixture f;
    MainForm &form = f.open();
    form.show();
    QTimer::singleShot(0, &form, &MainForm::fileExit);
    QCOMPARE(QApplication::exec(), 0);
    QVERIFY(form.dictionary() == nullptr);
    QVERIFY(fileIsFree(f.path("morvak.db")));
    f.form.reset(); // the destructor finds nothing left to close
    QVERIFY(vantro::test::DbUtilities::verify(f.path("morvak.db")));
}

void TestStartup::closingTheWindowQuitsAndDestructorCloses()
{
    WorkspaceFixture f;
    MainForm &form = f.open();
    form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    QTimer::singleShot(0, &form, &QWidget::close);
    QCOMPARE(QApplication::exec(), 0);
    QVERIFY(form.dictionary() != nullptr);
    QVERIFY(!fileIsFree(f.path("morvak.db")));
    f.form.reset();
    QVERIFY(fileIsFree(f.path("morvak.db")));
}

void TestStartup::dictionaryProblemsAreShown_data()
{
    QTest::addColumn<QString>("setUp");
    QTest::addColumn<QString>("problem"); // empty: nothing is wrong
    QTest::addColumn<bool>("writable");
    QTest::newRow("nothing wrong") << ""
                                   << "" << true;
    QTest::newRow("empty file") << "empty"
                                << "" << true;
    QTest::newRow("not a file") << "directory"
                                << "morvak.db is not a dictionary file (not a regular file)"
                                << false;
    QTest::newRow("open in another window")
        << "held"
        << "morvak.db is open in another window or program" << false;
    QTest::newRow("write-protected file")
        << "protected"
        << "morvak.db may only be read, so it is open read-only" << false;
}

// A problem is told once in a box and stays in the title; the diagnostic lines are kept.
void TestStartup::dictionaryProblemsAreShown()
{
    QFETCH(QString, setUp);
    QFETCH(QString, problem);
    QFETCH(bool, writable);
    WorkspaceFixture f;
    cDictDB first(f.path("morvak.db"));
    if (setUp == "directory")
        QVERIFY(QDir(f.dir.path()).mkdir("morvak.db"));
    if (setUp == "empty" || setUp == "protected")
        QVERIFY(QFile(f.path("morvak.db")).open(QIODevice::WriteOnly));
    if (setUp == "protected")
        QVERIFY(QFile::setPermissions(f.path("morvak.db"), QFile::ReadOwner));
    if (setUp == "held")
        QCOMPARE(first.openDB(), 0);
    QList<vantro::test::KeyData> pairs;
    for (int i = 0; setUp.isEmpty() && i < 37; ++i)
        pairs.append({"word" + QByteArray::number(i), "artha"});
    QVERIFY(pairs.isEmpty() || vantro::test::DbUtilities::load(f.path("morvak.db"), pairs));
    const auto out = captureOutput([&] { f.open(); });
    QCOMPARE(f.form->windowTitle(), problem.isEmpty() ? "VANTRO 1.10" : "VANTRO 1.10 - " + problem);
    QCOMPARE(f.dialogs.shown.size(), problem.isEmpty() ? 0 : 1);
    QVERIFY(problem.isEmpty() || f.dialogs.shown.first().text == problem + ".");
    QCOMPARE(out.err.contains("morvak.db"), !problem.isEmpty() && setUp != "protected");
    QCOMPARE(f.form->lblKeys->text(), QString::asprintf("Keys: %d", int(pairs.size())));
    QVERIFY(f.form->chkReadOnly->isChecked());
    // The hint for an empty dictionary shows only where one is open, and is no content.
    if (setUp != "protected")
        QCOMPARE(f.form->tedITRANS->placeholderText().isEmpty(), setUp != "empty");
    QCOMPARE(saveWrites(f, f.path("morvak.db")), writable);
    f.form->btnNext->click();
    QVERIFY(f.form->isEnabled());
}

void TestStartup::applicationDirectoryIsOnlyRemembered()
{
    WorkspaceFixture f;
    MainForm &form = f.open();
    const QByteArray before = fileBytes(f.path("morvak.db"));
    form.setAppDirPath("/somewhere/else/");
    QCOMPARE(form.applicationDirPath(), "/somewhere/else/");
    QVERIFY(!QFileInfo::exists("/somewhere/else/morvak.db"));
    QCOMPARE(fileBytes(f.path("morvak.db")), before);
}

QTEST_MAIN(TestStartup)
#include "tst_startup.moc"

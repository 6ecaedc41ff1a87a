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
    void opensExistingDictionaryAndCounts();
    void fileExitClosesOnceWithStatusZero();
    void closingTheWindowQuitsAndDestructorCloses();
    void dictionaryThatCannotBeOpened();
    void dictionaryOpenInAnotherInstance();
    void applicationDirectoryIsOnlyRemembered();
};

void TestStartup::createsDictionaryInWorkingDirectory()
{
    WorkspaceFixture f;
    QVERIFY(!QFileInfo::exists(f.path("morvak.db")));
    MainForm &form = f.open();
    QVERIFY(QFileInfo(f.path("morvak.db")).isFile());
    QCOMPARE(form.lblKeys->text(), "Keys: 0");
    QVERIFY(form.ledEng->text().isEmpty());
    // The hint for an empty dictionary is no content: nothing to save, nothing modified.
    QVERIFY(form.tedITRANS->placeholderText().contains("vantro-dict import "));
    QVERIFY(form.tedITRANS->toPlainText().isEmpty() && !form.tedITRANS->document()->isModified());
    QVERIFY(!fileIsFree(f.path("morvak.db")));
}

void TestStartup::opensExistingDictionaryAndCounts()
{
    WorkspaceFixture f;
    QList<vantro::test::KeyData> pairs;
    for (int i = 0; i < 37; ++i)
        pairs.append({"word" + QByteArray::number(i), "artha"});
    QVERIFY(vantro::test::DbUtilities::load(f.path("morvak.db"), pairs));
    QCOMPARE(f.open().lblKeys->text(), "Keys: 37");
    QVERIFY(f.form->tedITRANS->placeholderText().isEmpty());
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

void TestStartup::dictionaryThatCannotBeOpened()
{
    WorkspaceFixture f;
    QVERIFY(QDir(f.dir.path()).mkdir("morvak.db"));
    const auto out = captureOutput([&] { f.open(); });
    QVERIFY(out.err.contains("morvak.db"));
    QCOMPARE(f.form->lblKeys->text(), "Keys: 0");
    QVERIFY(!saveWrites(f, f.path("morvak.db")));
    f.form->btnNext->click();
    QVERIFY(f.form->isEnabled());
}

void TestStartup::dictionaryOpenInAnotherInstance()
{
    WorkspaceFixture f;
    cDictDB first(f.path("morvak.db"));
    QCOMPARE(first.openDB(), 0);
    first.setWord("mango");
    first.setITRANS("AmraH");
    QCOMPARE(first.addRecord(), 0);
    const auto out = captureOutput([&] { f.open(); });
    QVERIFY(out.err.contains("open in another process"));
    QCOMPARE(f.form->lblKeys->text(), "Keys: 0");
    QVERIFY(f.form->tedITRANS->placeholderText().isEmpty());
    QVERIFY(!saveWrites(f, f.path("morvak.db")));
    QCOMPARE(first.getStat(), 1);
    first.closeDB();
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

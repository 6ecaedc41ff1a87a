// The ITRANS document (New, Open, Save, Save As), the edit commands and the exit question.

#include "dbtools.h"
#include "workspacefixture.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QDir>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>
#include <QtTest>

#include <csignal>
#include <sys/mount.h>
#include <sys/resource.h>
#include <unistd.h>

using vantro::test::fileBytes;

namespace {

const QByteArray kOldContent = "old\ncontent\n";
const int kStayed = 7;
const QString kNoSuchFile = QStringLiteral("\nNo such file or directory");

// Names the document: "" leaves it unnamed, "gone/..." opens a file whose directory is then
// removed, so that saving to the name fails.
void nameDocument(WorkspaceFixture &fx, const QString &name)
{
    if (name.isEmpty())
        return;
    QDir(fx.dir.path()).mkpath(QFileInfo(fx.path(name)).path());
    fx.dialogs.setNextFileName(fx.write(name, kOldContent));
    fx.form->fileOpenAction->trigger();
    if (name.startsWith(QLatin1String("gone/")))
        QDir(fx.path(QStringLiteral("gone"))).removeRecursively();
    fx.dialogs.shown.clear();
}

QStringList shownOfKind(const ScriptedDialogs &dialogs, const QString &kind)
{
    QStringList texts;
    for (const ScriptedDialogs::Shown &box : dialogs.shown) {
        if (box.kind == kind)
            texts.append(box.text);
    }
    return texts;
}

// Each save-modified question shown, in the wording New (lead ending in a blank) or Open gives.
void verifyQuestions(const WorkspaceFixture &fx, const QString &name, const QString &lead)
{
    for (const ScriptedDialogs::Shown &box : fx.dialogs.shown) {
        if (box.kind != QLatin1String("question"))
            continue;
        QCOMPARE(box.title, "VANTRO- ITRANS file" + name + " modified");
        QCOMPARE(box.text, lead + name + "?");
        QCOMPARE(box.defaultButton, int(Dialogs::Yes));
        QCOMPARE(box.escapeButton, int(Dialogs::Cancel));
        QCOMPARE(box.parent, fx.form.get());
    }
}

struct BoxSeen
{
    QString title;
    QString defaultText;
    QString escapeText;
};

void pressWhenShown(const std::shared_ptr<BoxSeen> &seen, const QString &buttonText, int triesLeft)
{
    QTimer::singleShot(10, [=] {
        auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
        if (!box) {
            if (triesLeft > 0)
                pressWhenShown(seen, buttonText, triesLeft - 1);
            return;
        }
        seen->title = box->windowTitle();
        seen->defaultText = box->defaultButton() ? box->defaultButton()->text() : QString();
        seen->escapeText = box->escapeButton() ? box->escapeButton()->text() : QString();
        for (QAbstractButton *button : box->buttons()) {
            if (!buttonText.isEmpty() && button->text() == buttonText) {
                button->click();
                return;
            }
        }
        QTest::keyClick(box, Qt::Key_Escape);
    });
}

// Waits for the message box the program is about to open and presses the button with the given
// text, or Escape when the text is empty.
std::shared_ptr<BoxSeen> pressInNextMessageBox(const QString &buttonText)
{
    auto seen = std::make_shared<BoxSeen>();
    pressWhenShown(seen, buttonText, 500);
    return seen;
}

} // namespace

class TestWorkspace : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();

    void fileDialogs_data();
    void fileDialogs();
    void newDocument_data();
    void newDocument();
    void openDocument_data();
    void openDocument();
    void saveAsTargets_data();
    void saveAsTargets();
    void roundTrip_data();
    void roundTrip();
    void saveQuestions_data();
    void saveQuestions();
    void nonTextFile_data();
    void nonTextFile();
    void failedWriteKeepsOldFile_data();
    void failedWriteKeepsOldFile();

    void editCommandsActOnItrans();
    void cutAndPasteMarkModified_data();
    void cutAndPasteMarkModified();

    void exitQuestion_data();
    void exitQuestion();

    void realQuestionBox_data();
    void realQuestionBox();
};

void TestWorkspace::initTestCase()
{
    // Closing a window in these tests must not end the application.
    QApplication::setQuitOnLastWindowClosed(false);
}

void TestWorkspace::fileDialogs_data()
{
    QTest::addColumn<QString>("action");
    QTest::addColumn<QString>("kind");
    QTest::addColumn<QString>("filter");
    QTest::addColumn<QString>("objectName");
    QTest::addColumn<QString>("caption");

    QTest::newRow("open") << "fileOpenAction"
                          << "open"
                          << "VANTRO Helper (*.txt);;All files (*)"
                          << "file open"
                          << "ITRANS Files -- File Open";
    QTest::newRow("save as") << "fileSaveAsAction"
                             << "save"
                             << "VANTRO (*.txt);;All files (*)"
                             << "file save as"
                             << "ITRANS Files -- File Save As";
    QTest::newRow("browse") << "btnBrowse"
                            << "open"
                            << "All files (*)"
                            << "file open"
                            << "English Text -- File Open";
}

// A cancelled dialog ends the command: nothing else is shown and nothing changes.
void TestWorkspace::fileDialogs()
{
    QFETCH(QString, action);
    WorkspaceFixture fx;
    MainForm &form = fx.open();
    typeAtEnd(form.itrans, QStringLiteral("typed"));
    typeAtEnd(form.english, QStringLiteral("english"));

    if (auto *act = form.findChild<QAction *>(action))
        act->trigger();
    else
        form.btnBrowse->click();

    QCOMPARE(fx.dialogs.shown.size(), 1);
    const ScriptedDialogs::Shown &shown = fx.dialogs.shown.first();
    QTEST(shown.kind, "kind");
    QTEST(shown.filter, "filter");
    QTEST(shown.objectName, "objectName");
    QTEST(shown.title, "caption");
    QCOMPARE(shown.parent, &form);
    QCOMPARE(form.itrans->toPlainText(), QStringLiteral("typed"));
    QVERIFY(isModified(form.itrans));
    QCOMPARE(form.english->toPlainText(), QStringLiteral("english"));
}

void TestWorkspace::newDocument_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<bool>("typed");
    QTest::addColumn<int>("answer"); // -1: the question is closed with Escape
    QTest::addColumn<bool>("emptied");
    QTest::addColumn<bool>("saved");
    QTest::addColumn<bool>("saveFails");

    QTest::newRow("unmodified: no question") << "doc.txt" << false << -1 << true << false << false;
    QTest::newRow("No") << "doc.txt" << true << int(Dialogs::No) << true << false << false;
    QTest::newRow("Cancel keeps the text")
        << "doc.txt" << true << int(Dialogs::Cancel) << false << false << false;
    QTest::newRow("Escape keeps the text") << "doc.txt" << true << -1 << false << false << false;
    QTest::newRow("Yes saves first")
        << "doc.txt" << true << int(Dialogs::Yes) << true << true << false;
    QTest::newRow("Yes, no name, Save As cancelled: text kept")
        << "" << true << int(Dialogs::Yes) << false << false << false;
    QTest::newRow("Yes, unwritable name: text kept")
        << "gone/doc.txt" << true << int(Dialogs::Yes) << false << false << true;
}

void TestWorkspace::newDocument()
{
    QFETCH(QString, name);
    QFETCH(bool, typed);
    QFETCH(int, answer);
    QFETCH(bool, emptied);
    QFETCH(bool, saved);
    QFETCH(bool, saveFails);
    WorkspaceFixture fx;
    MainForm &form = fx.open();
    nameDocument(fx, name);
    const QString fileName = form.itransFileName();
    if (typed)
        typeAtEnd(form.itrans, QStringLiteral("typed"));
    const QString before = form.itrans->toPlainText();
    if (answer >= 0)
        fx.dialogs.setNextAnswer(answer);

    form.fileNewAction->trigger();

    QCOMPARE(shownOfKind(fx.dialogs, QStringLiteral("question")).size(), typed ? 1 : 0);
    verifyQuestions(fx, fileName, QStringLiteral("Save modified ITRANS file "));
    QCOMPARE(form.itrans->toPlainText(), emptied ? QString() : before);
    QCOMPARE(isModified(form.itrans), !emptied);
    QCOMPARE(form.itrans->document()->isUndoAvailable(), !emptied);
    QCOMPARE(form.itransFileName(), emptied ? QString() : fileName);
    // New forgets the name: Save asks for one instead of overwriting the file opened before.
    if (emptied)
        form.fileSaveAction->trigger();
    QCOMPARE(shownOfKind(fx.dialogs, QStringLiteral("save")).size(),
             int(name.isEmpty() && answer == Dialogs::Yes) + int(emptied));
    const QStringList reports = shownOfKind(fx.dialogs, QStringLiteral("information"));
    QCOMPARE(reports,
             saveFails ? QStringList{"Could not open " + fileName + kNoSuchFile} : QStringList());
    if (!name.isEmpty() && !saveFails)
        QCOMPARE(fileBytes(fileName), saved ? before.toUtf8() : kOldContent);
}

void TestWorkspace::openDocument_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<bool>("typed");
    QTest::addColumn<QString>("chosen"); // "": dialog cancelled; "missing.txt" does not exist
    QTest::addColumn<int>("answer");     // -1: no answer scripted (Escape, or not asked)
    QTest::addColumn<bool>("asked");
    QTest::addColumn<bool>("loaded");
    QTest::addColumn<bool>("saved");
    QTest::addColumn<QString>("report"); // "", "open" or "read"

    const int yes = Dialogs::Yes;
    QTest::newRow("cancelled while modified")
        << "doc.txt" << true << "" << -1 << false << false << false << "";
    QTest::newRow("unmodified") << "doc.txt" << false << "new.txt" << -1 << false << true << false
                                << "";
    QTest::newRow("No") << "doc.txt" << true << "new.txt" << int(Dialogs::No) << true << true
                        << false << "";
    QTest::newRow("Cancel keeps the text")
        << "doc.txt" << true << "new.txt" << int(Dialogs::Cancel) << true << false << false << "";
    QTest::newRow("Escape keeps the text")
        << "doc.txt" << true << "new.txt" << -1 << true << false << false << "";
    QTest::newRow("Yes saves first")
        << "doc.txt" << true << "new.txt" << yes << true << true << true << "";
    QTest::newRow("Yes, then unreadable file")
        << "doc.txt" << true << "missing.txt" << yes << true << false << true << "read";
    QTest::newRow("No, then unreadable file")
        << "doc.txt" << true << "missing.txt" << int(Dialogs::No) << true << false << false
        << "read";
    QTest::newRow("Yes, no name, Save As cancelled: stops")
        << "" << true << "new.txt" << yes << true << false << false << "";
    QTest::newRow("Yes, unwritable name: stops")
        << "gone/doc.txt" << true << "new.txt" << yes << true << false << false << "open";
}

// Unreadable files are files that do not exist: the tests run as root, which reads any file
// whatever its permissions.
void TestWorkspace::openDocument()
{
    QFETCH(QString, name);
    QFETCH(bool, typed);
    QFETCH(QString, chosen);
    QFETCH(int, answer);
    QFETCH(bool, asked);
    QFETCH(bool, loaded);
    QFETCH(bool, saved);
    QFETCH(QString, report);
    WorkspaceFixture fx;
    MainForm &form = fx.open();
    nameDocument(fx, name);
    const QString fileName = form.itransFileName();
    if (typed)
        typeAtEnd(form.itrans, QStringLiteral("typed"));
    const QString before = form.itrans->toPlainText();
    const QString chosenPath = chosen.isEmpty() ? QString() : fx.path(chosen);
    if (chosen == QLatin1String("new.txt"))
        fx.write(chosen, "chosen\ntext");
    fx.dialogs.setNextFileName(chosenPath);
    if (answer >= 0)
        fx.dialogs.setNextAnswer(answer);

    form.fileOpenAction->trigger();

    QCOMPARE(shownOfKind(fx.dialogs, QStringLiteral("question")).size(), asked ? 1 : 0);
    verifyQuestions(fx, fileName, QStringLiteral("Save modified ITRANS file"));
    QCOMPARE(form.itrans->toPlainText(), loaded ? QStringLiteral("chosen\ntext") : before);
    QCOMPARE(form.itransFileName(), loaded ? chosenPath : fileName);
    QCOMPARE(isModified(form.itrans), !loaded && !saved && typed);
    QCOMPARE(form.itrans->document()->isUndoAvailable(), !loaded && typed);
    QStringList reports;
    if (report == QLatin1String("open"))
        reports << "Could not open " + fileName + kNoSuchFile;
    else if (report == QLatin1String("read"))
        reports << "Could not read " + chosenPath + kNoSuchFile;
    QCOMPARE(shownOfKind(fx.dialogs, QStringLiteral("information")), reports);
    if (!name.isEmpty() && report != QLatin1String("open"))
        QCOMPARE(fileBytes(fileName), saved ? before.toUtf8() : kOldContent);
    QVERIFY(fx.dialogs.scriptIsUsedUp());
}

void TestWorkspace::saveAsTargets_data()
{
    QTest::addColumn<QString>("target");
    QTest::addColumn<QString>("reason"); // "": saved

    // Permission bits bind root only through the unprivileged user the save then runs as.
    QTest::newRow("under a missing directory") << "@/missing/out.txt"
                                               << "No such file or directory";
    QTest::newRow("a path that is a directory") << "@"
                                                << "Filename refers to a directory";
    QTest::newRow("a new file in /proc") << "/proc/vantro-out.txt"
                                         << "No such file or directory";
    QTest::newRow("a new file in a locked folder") << "@/locked/new.txt"
                                                   << "Permission denied";
    QTest::newRow("a writable file in a locked folder: written in place") << "@/locked/doc.txt"
                                                                          << "";
}

// A failed name stays, so a later Save tries it again.
void TestWorkspace::saveAsTargets()
{
    QFETCH(QString, target);
    QFETCH(QString, reason);
    WorkspaceFixture fx;
    MainForm &form = fx.open();
    target.replace(QLatin1Char('@'), fx.dir.path());
    const QString locked = fx.path(QStringLiteral("locked"));
    QDir().mkpath(locked);
    const auto readAndEnter = QFile::ReadOwner | QFile::ExeOwner | QFile::ReadGroup |
                              QFile::ExeGroup | QFile::ReadOther | QFile::ExeOther;
    QFile(fx.write(QStringLiteral("locked/doc.txt"), kOldContent))
        .setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::WriteGroup |
                        QFile::WriteOther);
    QFile(locked).setPermissions(readAndEnter);
    QFile(fx.dir.path()).setPermissions(readAndEnter | QFile::WriteOwner);
    typeAtEnd(form.itrans, QStringLiteral("typed"));
    fx.dialogs.setNextFileName(target);

    const bool root = ::geteuid() == 0;
    QVERIFY(!root || ::seteuid(65534) == 0);
    form.fileSaveAsAction->trigger();
    form.fileSaveAction->trigger();
    QVERIFY(!root || ::seteuid(0) == 0);

    QCOMPARE(form.itransFileName(), target);
    const QString box = "Could not open " + target + QLatin1Char('\n') + reason;
    QCOMPARE(shownOfKind(fx.dialogs, QStringLiteral("information")),
             reason.isEmpty() ? QStringList() : QStringList({box, box}));
    QCOMPARE(isModified(form.itrans), !reason.isEmpty());
    QCOMPARE(QFileInfo(target).isFile(), reason.isEmpty() || target.endsWith("doc.txt"));
    if (reason.isEmpty())
        QCOMPARE(fileBytes(target), QByteArray("typed"));
    QCOMPARE(QDir(locked).entryList(QDir::Files | QDir::Hidden), QStringList{"doc.txt"});
    QFile(locked).setPermissions(readAndEnter | QFile::WriteOwner);
}

void TestWorkspace::roundTrip_data()
{
    QTest::addColumn<QByteArray>("content");
    // What the pane's plain text shows (no-break spaces as blanks); null: the content as UTF-8.
    QTest::addColumn<QString>("shown");

    const QString none;
    QTest::newRow("lines without a final line end")
        << QByteArray("saMskR^itaM\nbhAShA\nkavi") << none;
    QTest::newRow("final line end") << QByteArray("ekam\ndve\n") << none;
    QTest::newRow("empty lines") << QByteArray("\n\nmadhye\n\n") << none;
    QTest::newRow("blanks and tabs") << QByteArray("  a\tb  \n\t") << none;
    QTest::newRow("markup") << QByteArray("<b>rAma</b> &amp; <i>sItA</i>\n<html><body>x") << none;
    QTest::newRow("UTF-8") << QByteArray("na\xc3\xafve \xe0\xa4\x85") << none;
    QTest::newRow("empty") << QByteArray() << none;
    QTest::newRow("CRLF") << QByteArray("ka\r\nkha\r\n") << "ka\nkha\n";
    QTest::newRow("CR") << QByteArray("ka\rkha") << "ka\nkha";
    QTest::newRow("Latin-1") << QByteArray("caf\xe9\xa0x\r\n") << QStringLiteral(u"caf\u00e9 x\n");
    QTest::newRow("no-break space and line separator") << QByteArray("a\xc2\xa0"
                                                                     "b\xe2\x80\xa8"
                                                                     "c")
                                                       << QStringLiteral(u"a b\nc");
    QTest::newRow("byte order mark") << QByteArray("\xef\xbb\xbfom") << QStringLiteral(u"\ufeffom");
}

// What Open shows is the file as it is, and saving it unchanged writes the same bytes back.
void TestWorkspace::roundTrip()
{
    QFETCH(QByteArray, content);
    QFETCH(QString, shown);
    WorkspaceFixture fx;
    MainForm &form = fx.open();
    const QString path = fx.write(QStringLiteral("doc.txt"), content);
    fx.dialogs.setNextFileName(path);

    form.fileOpenAction->trigger();
    QCOMPARE(form.itrans->toPlainText(), shown.isNull() ? QString::fromUtf8(content) : shown);
    QVERIFY(!isModified(form.itrans));
    QCOMPARE(form.focusWidget(), form.itrans);
    form.fileSaveAction->trigger();
    QCOMPARE(fileBytes(path), content);

    fx.dialogs.setNextFileName(fx.path(QStringLiteral("copy.txt")));
    form.fileSaveAsAction->trigger();
    QCOMPARE(fileBytes(fx.path(QStringLiteral("copy.txt"))), content);
    QCOMPARE(form.itransFileName(), fx.path(QStringLiteral("copy.txt")));
    QVERIFY(fx.dialogs.shown.size() == 2);
}

void TestWorkspace::saveQuestions_data()
{
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<int>("answer");       // -1: Escape, or not asked
    QTest::addColumn<QString>("question"); // "": none; "@" stands for the path
    QTest::addColumn<QByteArray>("bytes");

    const QByteArray latin1("caf\xe9\r\n");
    const QString encoding = QStringLiteral("The text holds characters that Latin-1, the encoding "
                                            "of @, cannot hold.\nSave it as UTF-8?");
    const QString mixed = QStringLiteral("@ has line ends of several kinds; saving writes all of "
                                         "them like the first one.\nSave it?");
    QTest::newRow("Latin-1 holds it: no question")
        << latin1 << QStringLiteral(u"\u00fc") << -1 << "" << QByteArray("caf\xe9\r\n\xfc");
    QTest::newRow("Yes: saved as UTF-8") << latin1 << QStringLiteral(u"\u0101") << int(Dialogs::Yes)
                                         << encoding << QByteArray("caf\xc3\xa9\r\n\xc4\x81");
    QTest::newRow("No: not saved")
        << latin1 << QStringLiteral(u"\u0101") << int(Dialogs::No) << encoding << latin1;
    QTest::newRow("mixed line ends, Yes: like the first")
        << QByteArray("a\r\nb\nc\r") << "d" << int(Dialogs::Yes) << mixed
        << QByteArray("a\r\nb\r\nc\r\nd");
    QTest::newRow("mixed line ends, Escape: not saved")
        << QByteArray("a\nb\r\nc") << "d" << -1 << mixed << QByteArray("a\nb\r\nc");
}

// What the file's format cannot hold as it was read is not changed without a question.
void TestWorkspace::saveQuestions()
{
    QFETCH(QByteArray, content);
    QFETCH(QString, typed);
    QFETCH(int, answer);
    QFETCH(QString, question);
    QFETCH(QByteArray, bytes);
    WorkspaceFixture fx;
    MainForm &form = fx.open();
    const QString path = fx.write(QStringLiteral("doc.txt"), content);
    fx.dialogs.setNextFileName(path);
    form.fileOpenAction->trigger();
    typeAtEnd(form.itrans, typed);
    if (answer >= 0)
        fx.dialogs.setNextAnswer(answer);

    form.fileSaveAction->trigger();
    form.fileSaveAction->trigger(); // asks again only while the text is still unsaved

    const bool saved = question.isEmpty() || answer == Dialogs::Yes;
    const QStringList asked = shownOfKind(fx.dialogs, QStringLiteral("question"));
    QCOMPARE(asked, QStringList(question.isEmpty() ? 0 : 2 - saved,
                                question.replace(QLatin1Char('@'), path)));
    QCOMPARE(fileBytes(path), bytes);
    QCOMPARE(isModified(form.itrans), !saved);
}

void TestWorkspace::nonTextFile_data()
{
    QTest::addColumn<bool>("browse");
    QTest::addColumn<int>("answer"); // -1: Escape

    QTest::newRow("Open, Escape") << false << -1;
    QTest::newRow("Open, Yes") << false << int(Dialogs::Yes);
    QTest::newRow("Browse, Escape") << true << -1;
    QTest::newRow("Browse, Yes") << true << int(Dialogs::Yes);
}

// A file with NUL bytes is no text: the question comes first, and No, its default, keeps the pane.
void TestWorkspace::nonTextFile()
{
    QFETCH(bool, browse);
    QFETCH(int, answer);
    WorkspaceFixture fx;
    MainForm &form = fx.open();
    QPlainTextEdit *pane = browse ? form.english : form.itrans;
    pane->setPlainText(QStringLiteral("kept"));
    const QByteArray bytes("ka\0\xff\nkha", 8);
    fx.dialogs.setNextFileName(fx.write(QStringLiteral("data.bin"), bytes));
    if (answer >= 0)
        fx.dialogs.setNextAnswer(answer);

    (browse ? form.btnBrowse->click() : form.fileOpenAction->trigger());

    QCOMPARE(fx.dialogs.shown.size(), 2);
    QCOMPARE(fx.dialogs.shown.last().text,
             fx.path("data.bin") + " holds NUL bytes: it is not a text file.\nOpen it anyway?");
    QCOMPARE(fx.dialogs.shown.last().defaultButton, int(Dialogs::No));
    QCOMPARE(pane->toPlainText(), answer == Dialogs::Yes ? QString::fromLatin1(bytes) : "kept");
}

void TestWorkspace::failedWriteKeepsOldFile_data()
{
    QTest::addColumn<bool>("tmpfs");
    QTest::addColumn<QString>("reason");

    QTest::newRow("full tmpfs") << true << "No space left on device";
    QTest::newRow("file size limit") << false << "File too large";
}

// A write that runs out of room fails after the old file was opened for replacement: the old
// file must survive, the box must say so and the pane must stay modified. The first row needs
// the right to mount; the second makes the kernel refuse the write through RLIMIT_FSIZE, which
// binds root too.
void TestWorkspace::failedWriteKeepsOldFile()
{
    QFETCH(bool, tmpfs);
    QFETCH(QString, reason);
    WorkspaceFixture fx;
    MainForm &form = fx.open();
    const QString folder = fx.path(QStringLiteral("small"));
    QDir().mkpath(folder);
    if (tmpfs) {
        if (::mount("tmpfs", folder.toLocal8Bit().constData(), "tmpfs", 0, "size=64k") != 0)
            QSKIP("mounting a tmpfs is not permitted here; the file size limit row covers it");
    }
    const auto unmount = qScopeGuard([&] {
        if (tmpfs)
            ::umount2(folder.toLocal8Bit().constData(), MNT_DETACH);
    });
    fx.dialogs.setNextFileName(fx.write(QStringLiteral("small/doc.txt"), kOldContent));
    form.fileOpenAction->trigger();
    const QString path = form.itransFileName();
    typeAtEnd(form.itrans, QString(256 * 1024, QLatin1Char('k')));

    rlimit saved{};
    getrlimit(RLIMIT_FSIZE, &saved);
    const auto previousHandler = std::signal(SIGXFSZ, SIG_IGN);
    if (!tmpfs) {
        rlimit small = saved;
        small.rlim_cur = 16 * 1024;
        setrlimit(RLIMIT_FSIZE, &small);
    }
    form.fileSaveAction->trigger();
    setrlimit(RLIMIT_FSIZE, &saved);
    std::signal(SIGXFSZ, previousHandler);

    QCOMPARE(shownOfKind(fx.dialogs, QStringLiteral("information")),
             QStringList{"Could not open " + path + QLatin1Char('\n') + reason});
    QCOMPARE(fileBytes(path), kOldContent);
    QVERIFY(isModified(form.itrans));
    QCOMPARE(QDir(folder).entryList(QDir::Files | QDir::Hidden), QStringList{"doc.txt"});
}

// Each command works on itrans while english has the focus and a selection of its own.
void TestWorkspace::editCommandsActOnItrans()
{
    WorkspaceFixture fx;
    MainForm &form = fx.open();
    form.show();
    QVERIFY(QTest::qWaitForWindowActive(&form));
    form.english->setPlainText(QStringLiteral("english words"));
    form.english->selectAll();
    form.english->setFocus();
    typeAtEnd(form.itrans, QStringLiteral("one two"));
    selectRange(form.itrans, 4, 7);

    form.editCopyAction->trigger();
    QCOMPARE(QApplication::clipboard()->text(), QStringLiteral("two"));
    form.editCutAction->trigger();
    QCOMPARE(form.itrans->toPlainText(), QStringLiteral("one "));
    QApplication::clipboard()->setText(QStringLiteral("three"));
    form.editPasteAction->trigger();
    QCOMPARE(form.itrans->toPlainText(), QStringLiteral("one three"));
    form.editUndoAction->trigger();
    QCOMPARE(form.itrans->toPlainText(), QStringLiteral("one "));
    form.editRedoAction->trigger();
    QCOMPARE(form.itrans->toPlainText(), QStringLiteral("one three"));
    QCOMPARE(form.english->textCursor().selectedText(), QStringLiteral("english words"));
    QVERIFY(form.english->hasFocus());
}

void TestWorkspace::cutAndPasteMarkModified_data()
{
    QTest::addColumn<QString>("action");
    QTest::addColumn<QString>("after");

    QTest::newRow("cut") << "editCutAction"
                         << "kha";
    QTest::newRow("paste") << "editPasteAction"
                           << "clipkha";
}

// A document just opened is unmodified; cutting or pasting makes New ask about it.
void TestWorkspace::cutAndPasteMarkModified()
{
    QFETCH(QString, action);
    QFETCH(QString, after);
    WorkspaceFixture fx;
    MainForm &form = fx.open();
    fx.dialogs.setNextFileName(fx.write(QStringLiteral("doc.txt"), "ka kha"));
    form.fileOpenAction->trigger();
    selectRange(form.itrans, 0, 3);
    QApplication::clipboard()->setText(QStringLiteral("clip"));
    QVERIFY(!isModified(form.itrans));

    form.findChild<QAction *>(action)->trigger();
    const bool changed = after != QLatin1String("ka kha");
    QCOMPARE(form.itrans->toPlainText(), after);
    QCOMPARE(isModified(form.itrans), changed);
    fx.dialogs.setNextAnswer(Dialogs::No);
    form.fileNewAction->trigger();

    QCOMPARE(shownOfKind(fx.dialogs, QStringLiteral("question")).size(), int(changed));
}

void TestWorkspace::exitQuestion_data()
{
    QTest::addColumn<bool>("byClosing");
    QTest::addColumn<bool>("typed");
    QTest::addColumn<QString>("name");
    QTest::addColumn<int>("answer"); // -1: Escape
    QTest::addColumn<bool>("leaves");
    QTest::addColumn<bool>("saved");

    for (const bool byClosing : {false, true}) {
        const char *way = byClosing ? "close: " : "exit: ";
        const auto row = [way](const char *what) -> QTestData & {
            return QTest::newRow(qPrintable(QLatin1String(way) + QLatin1String(what)));
        };
        row("unmodified leaves at once") << byClosing << false << "doc.txt" << -1 << true << false;
        row("Yes saves and leaves")
            << byClosing << true << "doc.txt" << int(Dialogs::Yes) << true << true;
        row("Yes, no name, Save As cancelled: stays")
            << byClosing << true << "" << int(Dialogs::Yes) << false << false;
        row("No leaves unsaved") << byClosing << true << "doc.txt" << int(Dialogs::No) << true
                                 << false;
        row("Cancel stays") << byClosing << true << "doc.txt" << int(Dialogs::Cancel) << false
                            << false;
        row("Escape stays") << byClosing << true << "doc.txt" << -1 << false << false;
    }
}

// File > Exit has left when it closed the dictionary; closing the window when close() says so.
void TestWorkspace::exitQuestion()
{
    QFETCH(bool, byClosing);
    QFETCH(bool, typed);
    QFETCH(QString, name);
    QFETCH(int, answer);
    QFETCH(bool, leaves);
    QFETCH(bool, saved);
    WorkspaceFixture fx;
    MainForm &form = fx.open();
    form.show();
    nameDocument(fx, name);
    if (typed)
        typeAtEnd(form.itrans, QStringLiteral("typed"));
    const QString text = form.itrans->toPlainText();
    if (answer >= 0)
        fx.dialogs.setNextAnswer(answer);

    bool left = false;
    if (byClosing) {
        left = form.close();
    } else {
        // Exit ends the running event loop with 0; when it stays, the test ends the loop itself.
        QTimer::singleShot(0, &form, [&form] {
            form.fileExitAction->trigger();
            if (form.dictionary())
                QApplication::exit(kStayed);
        });
        const int status = QApplication::exec();
        left = status == 0;
        QCOMPARE(form.dictionary() == nullptr, left);
    }

    QCOMPARE(left, leaves);
    QCOMPARE(form.isVisible(), !(leaves && byClosing));
    QCOMPARE(shownOfKind(fx.dialogs, QStringLiteral("question")).size(), typed ? 1 : 0);
    verifyQuestions(fx, name.isEmpty() ? name : fx.path(name), "Save modified ITRANS file ");
    QCOMPARE(isModified(form.itrans), typed && !saved);
    QCOMPARE(form.itrans->toPlainText(), text);
    if (!name.isEmpty())
        QCOMPARE(fileBytes(fx.path(name)), saved ? text.toUtf8() : kOldContent);
    QCOMPARE(shownOfKind(fx.dialogs, QStringLiteral("save")).size(),
             int(name.isEmpty() && answer == Dialogs::Yes));
}

void TestWorkspace::realQuestionBox_data()
{
    QTest::addColumn<bool>("closing");
    QTest::addColumn<QString>("button"); // "": Escape
    QTest::addColumn<bool>("emptied");

    QTest::newRow("New, No") << false << "No" << true;
    QTest::newRow("New, Escape keeps the text") << false << "" << false;
    QTest::newRow("close, Escape stays") << true << "" << false;
}

// The real question box: its default and escape buttons, and the answer read from the button.
void TestWorkspace::realQuestionBox()
{
    QFETCH(bool, closing);
    QFETCH(QString, button);
    QFETCH(bool, emptied);
    WorkspaceFixture fx;
    Dialogs::setCurrent(nullptr);
    MainForm &form = fx.open();
    form.show();
    typeAtEnd(form.itrans, QStringLiteral("typed"));
    const auto seen = pressInNextMessageBox(button);

    if (closing)
        QVERIFY(!form.close());
    else
        form.fileNewAction->trigger();

    QCOMPARE(seen->title, QStringLiteral("VANTRO- ITRANS file modified"));
    QCOMPARE(seen->defaultText, QStringLiteral("Yes"));
    QCOMPARE(seen->escapeText, QStringLiteral("Cancel"));
    QCOMPARE(form.itrans->toPlainText(), emptied ? QString() : QStringLiteral("typed"));
    QCOMPARE(isModified(form.itrans), !emptied);
    QVERIFY(form.isVisible());
    QVERIFY(form.dictionary() != nullptr);
}

QTEST_MAIN(TestWorkspace)
#include "tst_workspace.moc"

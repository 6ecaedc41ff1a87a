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

using vantro::test::fileBytes;

namespace {

const QByteArray kOldContent = "old\ncontent\n";
const int kStayed = 7;

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
    void promptWording_data();
    void promptWording();
    void newDocument_data();
    void newDocument();
    void openDocument_data();
    void openDocument();
    void saveBeforeAnyName();
    void saveAsUnwritable_data();
    void saveAsUnwritable();
    void newKeepsTheName();
    void roundTrip_data();
    void roundTrip();
    void failedWriteKeepsOldFile_data();
    void failedWriteKeepsOldFile();

    void editCommandsActOnItrans();
    void cutAndPasteMarkModified_data();
    void cutAndPasteMarkModified();
    void undoAfterReplacingHasNothing_data();
    void undoAfterReplacingHasNothing();

    void exitQuestion_data();
    void exitQuestion();

    void realQuestionBoxAnsweredNo();
    void realExitQuestionEscapeStays();
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
                          << "VANTRO Helper (*.txt)"
                          << "file open"
                          << "ITRANS Files -- File Open";
    QTest::newRow("save as") << "fileSaveAsAction"
                             << "save"
                             << "VANTRO (*.txt)"
                             << "file save as"
                             << "ITRANS Files -- File Save As";
    QTest::newRow("browse") << "btnBrowse"
                            << "open"
                            << "VANTRO (*.*)"
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
    QCOMPARE(form.itransFileName(), QString());
}

void TestWorkspace::promptWording_data()
{
    QTest::addColumn<QString>("action");
    QTest::addColumn<bool>("named");
    QTest::addColumn<QString>("title");
    QTest::addColumn<QString>("text");

    QTest::newRow("new, no name") << "fileNewAction" << false << "VANTRO- ITRANS file modified"
                                  << "Save modified ITRANS file ?";
    QTest::newRow("new, named") << "fileNewAction" << true << "VANTRO- ITRANS file@ modified"
                                << "Save modified ITRANS file @?";
    QTest::newRow("open, no name") << "fileOpenAction" << false << "VANTRO- ITRANS file modified"
                                   << "Save modified ITRANS file?";
    QTest::newRow("open, named") << "fileOpenAction" << true << "VANTRO- ITRANS file@ modified"
                                 << "Save modified ITRANS file@?";
}

// "@" in the expected texts stands for the current document's path.
void TestWorkspace::promptWording()
{
    QFETCH(QString, action);
    QFETCH(bool, named);
    QFETCH(QString, title);
    QFETCH(QString, text);
    WorkspaceFixture fx;
    MainForm &form = fx.open();
    nameDocument(fx, named ? QStringLiteral("doc.txt") : QString());
    typeAtEnd(form.itrans, QStringLiteral("x"));
    fx.dialogs.setNextFileName(fx.write(QStringLiteral("other.txt"), "other"));
    fx.dialogs.setNextAnswer(Dialogs::No);

    form.findChild<QAction *>(action)->trigger();

    const QList<ScriptedDialogs::Shown> questions = [&] {
        QList<ScriptedDialogs::Shown> found;
        for (const auto &box : fx.dialogs.shown) {
            if (box.kind == QLatin1String("question"))
                found.append(box);
        }
        return found;
    }();
    QCOMPARE(questions.size(), 1);
    const QString name = named ? fx.path(QStringLiteral("doc.txt")) : QString();
    QCOMPARE(questions.first().title, title.replace(QLatin1Char('@'), name));
    QCOMPARE(questions.first().text, text.replace(QLatin1Char('@'), name));
    QCOMPARE(questions.first().defaultButton, int(Dialogs::Yes));
    QCOMPARE(questions.first().escapeButton, int(Dialogs::No));
    QCOMPARE(questions.first().parent, &form);
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
    QTest::newRow("Cancel") << "doc.txt" << true << int(Dialogs::Cancel) << true << false << false;
    QTest::newRow("Escape") << "doc.txt" << true << -1 << true << false << false;
    QTest::newRow("Yes saves first")
        << "doc.txt" << true << int(Dialogs::Yes) << true << true << false;
    QTest::newRow("No, no name") << "" << true << int(Dialogs::No) << true << false << false;
    QTest::newRow("Yes, no name: text kept")
        << "" << true << int(Dialogs::Yes) << false << false << true;
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
    QCOMPARE(form.itrans->toPlainText(), emptied ? QString() : before);
    QCOMPARE(isModified(form.itrans), !emptied);
    QCOMPARE(form.itransFileName(), fileName);
    const QStringList reports = shownOfKind(fx.dialogs, QStringLiteral("information"));
    QCOMPARE(reports, saveFails ? QStringList{"Could not open " + fileName} : QStringList());
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
    QTest::newRow("Cancel") << "doc.txt" << true << "new.txt" << int(Dialogs::Cancel) << true
                            << true << false << "";
    QTest::newRow("Escape") << "doc.txt" << true << "new.txt" << -1 << true << true << false << "";
    QTest::newRow("Yes saves first")
        << "doc.txt" << true << "new.txt" << yes << true << true << true << "";
    QTest::newRow("Yes, then unreadable file")
        << "doc.txt" << true << "missing.txt" << yes << true << false << true << "read";
    QTest::newRow("No, then unreadable file")
        << "doc.txt" << true << "missing.txt" << int(Dialogs::No) << true << false << false
        << "read";
    QTest::newRow("Yes, no name: stops")
        << "" << true << "new.txt" << yes << true << false << false << "open";
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
    QCOMPARE(form.itrans->toPlainText(), loaded ? QStringLiteral("chosen\ntext") : before);
    QCOMPARE(form.itransFileName(), loaded ? chosenPath : fileName);
    QCOMPARE(isModified(form.itrans), !loaded && !saved && typed);
    QStringList reports;
    if (report == QLatin1String("open"))
        reports << "Could not open " + fileName;
    else if (report == QLatin1String("read"))
        reports << "Could not read " + chosenPath;
    QCOMPARE(shownOfKind(fx.dialogs, QStringLiteral("information")), reports);
    if (!name.isEmpty() && report != QLatin1String("open"))
        QCOMPARE(fileBytes(fileName), saved ? before.toUtf8() : kOldContent);
    QVERIFY(fx.dialogs.scriptIsUsedUp());
}

void TestWorkspace::saveBeforeAnyName()
{
    WorkspaceFixture fx;
    MainForm &form = fx.open();
    typeAtEnd(form.itrans, QStringLiteral("typed"));

    form.fileSaveAction->trigger();

    QCOMPARE(shownOfKind(fx.dialogs, QStringLiteral("information")),
             QStringList{"Could not open "});
    QCOMPARE(fx.dialogs.shown.first().title, QStringLiteral("VANTRO"));
    QVERIFY(isModified(form.itrans));
    // Nothing but the dictionary and its recovery files: no document was written anywhere.
    QCOMPARE(QDir(fx.dir.path()).entryList(QDir::Files | QDir::Hidden, QDir::Name),
             (QStringList{"morvak.db", "morvak.db-journal", "morvak.db.bak"}));
}

void TestWorkspace::saveAsUnwritable_data()
{
    QTest::addColumn<QString>("target");

    // The tests run as root, for whom permission bits do not make a directory unwritable; these
    // are places where no user can create a file.
    QTest::newRow("under a missing directory") << "@/missing/out.txt";
    QTest::newRow("a path that is a directory") << "@";
    QTest::newRow("a new file in /proc") << "/proc/vantro-out.txt";
}

// The new name stays after the failure, so a later Save tries it again.
void TestWorkspace::saveAsUnwritable()
{
    QFETCH(QString, target);
    WorkspaceFixture fx;
    MainForm &form = fx.open();
    target.replace(QLatin1Char('@'), fx.dir.path());
    typeAtEnd(form.itrans, QStringLiteral("typed"));
    fx.dialogs.setNextFileName(target);

    form.fileSaveAsAction->trigger();
    QCOMPARE(form.itransFileName(), target);
    QVERIFY(isModified(form.itrans));
    form.fileSaveAction->trigger();

    QCOMPARE(shownOfKind(fx.dialogs, QStringLiteral("information")),
             QStringList({"Could not open " + target, "Could not open " + target}));
    QVERIFY(isModified(form.itrans));
    QVERIFY(!QFileInfo(target).isFile());
}

// New keeps the name, so the next Save writes the new text over the file opened before.
void TestWorkspace::newKeepsTheName()
{
    WorkspaceFixture fx;
    MainForm &form = fx.open();
    nameDocument(fx, QStringLiteral("doc.txt"));
    typeAtEnd(form.itrans, QStringLiteral("first"));
    fx.dialogs.setNextAnswer(Dialogs::No);
    form.fileNewAction->trigger();
    typeAtEnd(form.itrans, QStringLiteral("second"));

    form.fileSaveAction->trigger();

    QCOMPARE(fileBytes(fx.path(QStringLiteral("doc.txt"))), QByteArray("second"));
    QVERIFY(!isModified(form.itrans));
}

void TestWorkspace::roundTrip_data()
{
    QTest::addColumn<QByteArray>("content");

    QTest::newRow("lines without a final line end") << QByteArray("saMskR^itaM\nbhAShA\nkavi");
    QTest::newRow("final line end") << QByteArray("ekam\ndve\n");
    QTest::newRow("empty lines") << QByteArray("\n\nmadhye\n\n");
    QTest::newRow("blanks and tabs") << QByteArray("  a\tb  \n\t");
    QTest::newRow("markup") << QByteArray("<b>rAma</b> &amp; <i>sItA</i>\n<html><body>x");
    QTest::newRow("locale's encoding") << QByteArray("na\xc3\xafve");
    QTest::newRow("empty") << QByteArray();
}

// What Open shows is the file as it is, and saving it unchanged writes the same bytes back.
void TestWorkspace::roundTrip()
{
    QFETCH(QByteArray, content);
    WorkspaceFixture fx;
    MainForm &form = fx.open();
    const QString path = fx.write(QStringLiteral("doc.txt"), content);
    fx.dialogs.setNextFileName(path);

    form.fileOpenAction->trigger();
    QCOMPARE(form.itrans->toPlainText(), QString::fromLocal8Bit(content));
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

void TestWorkspace::failedWriteKeepsOldFile_data()
{
    QTest::addColumn<bool>("tmpfs");

    QTest::newRow("full tmpfs") << true;
    QTest::newRow("file size limit") << false;
}

// A write that runs out of room fails after the old file was opened for replacement: the old
// file must survive, the box must say so and the pane must stay modified. The first row needs
// the right to mount; the second makes the kernel refuse the write through RLIMIT_FSIZE, which
// binds root too.
void TestWorkspace::failedWriteKeepsOldFile()
{
    QFETCH(bool, tmpfs);
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
    QVERIFY(!path.isEmpty());
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
             QStringList{"Could not open " + path});
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
    QVERIFY(form.english->hasFocus());
    typeAtEnd(form.itrans, QStringLiteral("one two"));
    QTextCursor cursor = form.itrans->textCursor();
    cursor.setPosition(4);
    cursor.setPosition(7, QTextCursor::KeepAnchor);
    form.itrans->setTextCursor(cursor);
    const auto englishUntouched = [&] {
        return form.english->toPlainText() == QLatin1String("english words") &&
               form.english->textCursor().selectedText() == QLatin1String("english words");
    };

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
    QVERIFY(englishUntouched());
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
    QTextCursor cursor = form.itrans->textCursor();
    cursor.setPosition(0);
    cursor.setPosition(3, QTextCursor::KeepAnchor);
    form.itrans->setTextCursor(cursor);
    QApplication::clipboard()->setText(QStringLiteral("clip"));
    QVERIFY(!isModified(form.itrans));

    form.findChild<QAction *>(action)->trigger();
    QCOMPARE(form.itrans->toPlainText(), after);
    QVERIFY(isModified(form.itrans));
    fx.dialogs.setNextAnswer(Dialogs::No);
    form.fileNewAction->trigger();

    QCOMPARE(shownOfKind(fx.dialogs, QStringLiteral("question")).size(), 1);
}

void TestWorkspace::undoAfterReplacingHasNothing_data()
{
    QTest::addColumn<QString>("action");

    QTest::newRow("New") << "fileNewAction";
    QTest::newRow("Open") << "fileOpenAction";
}

void TestWorkspace::undoAfterReplacingHasNothing()
{
    QFETCH(QString, action);
    WorkspaceFixture fx;
    MainForm &form = fx.open();
    typeAtEnd(form.itrans, QStringLiteral("typed"));
    fx.dialogs.setNextFileName(fx.write(QStringLiteral("doc.txt"), "opened"));
    fx.dialogs.setNextAnswer(Dialogs::No);
    form.findChild<QAction *>(action)->trigger();
    const QString replaced = form.itrans->toPlainText();
    QVERIFY(replaced != QLatin1String("typed"));

    form.editUndoAction->trigger();

    QCOMPARE(form.itrans->toPlainText(), replaced);
    QVERIFY(!form.itrans->document()->isUndoAvailable());
    QVERIFY(!isModified(form.itrans));
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
        row("Yes with a failing save stays")
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
    const QList<ScriptedDialogs::Shown> &shown = fx.dialogs.shown;
    QCOMPARE(shownOfKind(fx.dialogs, QStringLiteral("question")).size(), typed ? 1 : 0);
    if (typed) {
        QCOMPARE(shown.first().title, "VANTRO- ITRANS file" + form.itransFileName() + " modified");
        QCOMPARE(shown.first().text, "Save modified ITRANS file " + form.itransFileName() + "?");
        QCOMPARE(shown.first().defaultButton, int(Dialogs::Yes));
        QCOMPARE(shown.first().escapeButton, int(Dialogs::Cancel));
    }
    QCOMPARE(isModified(form.itrans), typed && !saved);
    QCOMPARE(form.itrans->toPlainText(), text);
    if (!name.isEmpty())
        QCOMPARE(fileBytes(fx.path(name)), saved ? text.toUtf8() : kOldContent);
    if (name.isEmpty() && answer == Dialogs::Yes)
        QCOMPARE(shownOfKind(fx.dialogs, QStringLiteral("information")),
                 QStringList{"Could not open "});
}

// The real question box: its default and escape buttons, and the answer read from the button.
void TestWorkspace::realQuestionBoxAnsweredNo()
{
    WorkspaceFixture fx;
    Dialogs::setCurrent(nullptr);
    MainForm &form = fx.open();
    form.show();
    typeAtEnd(form.itrans, QStringLiteral("typed"));
    const auto seen = pressInNextMessageBox(QStringLiteral("No"));

    form.fileNewAction->trigger();

    QCOMPARE(seen->title, QStringLiteral("VANTRO- ITRANS file modified"));
    QCOMPARE(seen->defaultText, QStringLiteral("Yes"));
    QCOMPARE(seen->escapeText, QStringLiteral("No"));
    QCOMPARE(form.itrans->toPlainText(), QString());
    QVERIFY(!isModified(form.itrans));
}

// Escape in the real exit question keeps the program and the text.
void TestWorkspace::realExitQuestionEscapeStays()
{
    WorkspaceFixture fx;
    Dialogs::setCurrent(nullptr);
    MainForm &form = fx.open();
    form.show();
    typeAtEnd(form.itrans, QStringLiteral("typed"));
    const auto seen = pressInNextMessageBox(QString());

    QVERIFY(!form.close());

    QCOMPARE(seen->escapeText, QStringLiteral("Cancel"));
    QVERIFY(form.isVisible());
    QVERIFY(isModified(form.itrans));
    QVERIFY(form.dictionary() != nullptr);
}

QTEST_MAIN(TestWorkspace)
#include "tst_workspace.moc"

// SPDX-License-Identifier: GPL-3.0-or-later
// The ITRANS document (New, Open, Save, Save As), the edit commands, the find dialog and the exit
// question.

#include "dbtools.h"
#include "dlgfind.h"
#include "workspacefixture.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QtTest>

#include <csignal>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

using vantro::test::fileBytes;

const QByteArray kOldContent = "old\ncontent\n";
const QString kNoSuchFile = QStringLiteral("\nNo such file or directory");

static QStringList shownOfKind(const ScriptedDialogs &dialogs, const QString &kind)
{
    QStringList texts;
    for (const ScriptedDialogs::Shown &box : dialogs.shown)
        if (box.kind == kind)
            texts.append(box.text);
    return texts;
}

class TestWorkspace : public QObject
{
    Q_OBJECT

private slots:
    void fileDialogs();
    void leaveDocument_data();
    void leaveDocument();
    void saveFailures_data();
    void saveFailures();
    void savedBytes_data();
    void savedBytes();
    void editCommandsThenRealQuestionBox();
    void search_data();
    void search();
    void itransWords_data();
    void itransWords();
};

// Open, Save As and Browse offer every file. Open reports why it could not read a file and
// keeps the text; a cancelled dialog changes nothing; Browse asks before it opens a file with
// NUL bytes, and No, the default, keeps the pane.
void TestWorkspace::fileDialogs()
{
    WorkspaceFixture fx;
    MainForm &form = fx.open();
    typeAtEnd(form.itrans, QStringLiteral("typed"));
    typeAtEnd(form.english, QStringLiteral("english"));
    const QString missing = fx.path(QStringLiteral("missing.txt"));
    fx.dialogs.setNextFileName(missing);
    fx.dialogs.setNextAnswer(Dialogs::No);
    form.fileOpenAction->trigger();
    form.fileSaveAsAction->trigger();
    fx.dialogs.setNextFileName(fx.write(QStringLiteral("data.bin"), QByteArray("ka\0\xff", 4)));
    form.btnBrowse->click();

    QCOMPARE(fx.dialogs.shown.size(), 6);
    QCOMPARE(fx.dialogs.shown[0].kind, QStringLiteral("question")); // before the file dialog
    QCOMPARE(fx.dialogs.shown[1].filter, QStringLiteral("VANTRO Helper (*.txt);;All files (*)"));
    QCOMPARE(fx.dialogs.shown[2].text, "Could not read " + missing + kNoSuchFile);
    QCOMPARE(fx.dialogs.shown[3].filter, QStringLiteral("VANTRO (*.txt);;All files (*)"));
    QCOMPARE(fx.dialogs.shown[4].filter, QStringLiteral("All files (*)"));
    QCOMPARE(fx.dialogs.shown[5].defaultButton, int(Dialogs::No));
    QCOMPARE(fx.dialogs.shown[5].parent, &form);
    QCOMPARE(form.itrans->toPlainText(), QStringLiteral("typed"));
    QVERIFY(isModified(form.itrans));
    QCOMPARE(form.itransFileName(), QString());
    QCOMPARE(form.english->toPlainText(), QStringLiteral("english"));
}

void TestWorkspace::leaveDocument_data()
{
    QTest::addColumn<QString>("command"); // an action's name, or "close" for the window's
    QTest::addColumn<QString>("name");    // "": unnamed; "gone/...": its folder is then removed
    QTest::addColumn<bool>("goesOn");
    QTest::addColumn<QString>("answer"); // "unmodified": nothing to ask

    const auto row = [](const char *command, const char *what) -> QTestData & {
        return QTest::newRow(qPrintable(QLatin1String(command) + ": " + what)) << command;
    };
    for (const char *action : {"fileNewAction", "fileOpenAction"}) {
        row(action, "unmodified") << "doc.txt" << true << "unmodified";
        row(action, "No") << "doc.txt" << true << "No";
        row(action, "Cancel keeps the text") << "doc.txt" << false << "Cancel";
        row(action, "Escape keeps the text") << "doc.txt" << false << "Escape";
        row(action, "Yes saves first") << "doc.txt" << true << "Yes";
        row(action, "Yes, no name, Save As cancelled") << "" << false << "Yes";
        row(action, "Yes, unwritable name") << "gone/doc.txt" << false << "Yes";
    }
    row("close", "No leaves") << "doc.txt" << true << "No";
    row("close", "Escape stays") << "doc.txt" << false << "Escape";
    row("fileExitAction", "Cancel stays") << "doc.txt" << false << "Cancel";
}

// The save-modified question of New, Open (before its file dialog), Exit and closing the window:
// Cancel and Escape keep the text, a failed save stops the command, and New forgets the name, so
// that Save then asks for one instead of overwriting the file opened before.
void TestWorkspace::leaveDocument()
{
    QFETCH(QString, command);
    QFETCH(QString, name);
    QFETCH(QString, answer);
    QFETCH(bool, goesOn);
    WorkspaceFixture fx;
    MainForm &form = fx.open();
    if (!name.isEmpty()) { // a folder "gone" is removed after opening, so that saving fails
        QDir().mkpath(QFileInfo(fx.path(name)).path());
        fx.dialogs.setNextFileName(fx.write(name, kOldContent));
        form.fileOpenAction->trigger();
        QDir(fx.path(QStringLiteral("gone"))).removeRecursively();
        fx.dialogs.shown.clear();
    }
    const QString fileName = form.itransFileName();
    const bool typed = answer != QLatin1String("unmodified");
    typeAtEnd(form.itrans, typed ? QStringLiteral("typed") : QString());
    const QString before = form.itrans->toPlainText();
    const int answerNumber = QStringList{"Yes", "No", "Cancel"}.indexOf(answer);
    if (answerNumber >= 0)
        fx.dialogs.setNextAnswer(answerNumber);
    const bool opens = command == QLatin1String("fileOpenAction");
    const QString chosen = fx.write(QStringLiteral("new.txt"), "chosen\ntext");
    if (opens && goesOn)
        fx.dialogs.setNextFileName(chosen);

    const bool closed = command == QLatin1String("close") && form.close();
    if (auto *action = form.findChild<QAction *>(command))
        action->trigger();
    const bool isNew = command == QLatin1String("fileNewAction");
    if (isNew && goesOn)
        form.fileSaveAction->trigger();

    const bool replaces = goesOn && (isNew || opens);
    const bool saved = answer == QLatin1String("Yes") && name == QLatin1String("doc.txt");
    const QString lead = opens ? "Save modified ITRANS file" : "Save modified ITRANS file ";
    QCOMPARE(shownOfKind(fx.dialogs, QStringLiteral("question")),
             typed ? QStringList{lead + fileName + '?'} : QStringList());
    // Open asks before its file dialog, so that keys typed ahead answer the question.
    if (opens)
        QCOMPARE(fx.dialogs.shown.value(0).kind, typed ? "question" : "open");
    QCOMPARE(form.itrans->toPlainText(), !replaces ? before : isNew ? QString() : "chosen\ntext");
    QCOMPARE(form.itransFileName(), !replaces ? fileName : isNew ? QString() : chosen);
    QCOMPARE(isModified(form.itrans), typed && !replaces && !saved);
    QCOMPARE(form.itrans->document()->isUndoAvailable(), typed && !replaces);
    QCOMPARE(closed || !form.dictionary(), goesOn && !replaces);
    QCOMPARE(shownOfKind(fx.dialogs, QStringLiteral("save")).size(),
             int(name.isEmpty() && answerNumber == Dialogs::Yes) + int(isNew && goesOn));
    const bool unwritable = name.startsWith(QLatin1String("gone/"));
    QCOMPARE(shownOfKind(fx.dialogs, QStringLiteral("information")),
             unwritable ? QStringList{"Could not open " + fileName + kNoSuchFile} : QStringList());
    if (name == QLatin1String("doc.txt"))
        QCOMPARE(fileBytes(fileName), saved ? before.toUtf8() : kOldContent);
}

void TestWorkspace::saveFailures_data()
{
    QTest::addColumn<QString>("target"); // "@" stands for the directory
    QTest::addColumn<QString>("reason"); // "": saved; "changed": another program changed it

    const auto row = [](const char *name, const char *target, const char *reason) {
        QTest::newRow(name) << QString(target) << QString(reason);
    };
    row("under a missing directory", "@/missing/out.txt", "No such file or directory");
    row("a path that is a directory", "@", "Filename refers to a directory");
    row("a new file in /proc", "/proc/vantro-out.txt", "Permission denied");
    row("a new file in a locked folder", "@/locked/new.txt", "Permission denied");
    row("a writable file in a locked folder: written in place", "@/locked/doc.txt", "");
    row("another user's file in a sticky folder: written in place", "@/shared/doc.txt", "");
    row("another user's file in an open folder: written in place", "@/theirs.txt", "");
    row("a file with another link: written in place", "@/small/doc.txt", "");
    row("a file that may not grow: old file kept", "@/small/doc.txt", "File too large");
    row("changed on disk since: No keeps it", "@/doc.txt", "changed");
}

// Save As, then Save to the same name: each failure says why, keeps the old file and leaves no
// file behind; a file that cannot be swapped keeps its inode, owner and other names. Permission
// bits bind root only through the unprivileged user the saves run as; a file size limit
// (RLIMIT_FSIZE) binds root too, and stands for a full disk.
void TestWorkspace::saveFailures()
{
    QFETCH(QString, target);
    QFETCH(QString, reason);
    WorkspaceFixture fx;
    MainForm &form = fx.open();
    target.replace(QLatin1Char('@'), fx.dir.path());
    const QStringList folders{fx.path("locked"), fx.path("small"), fx.path("shared")};
    for (const QString &folder : folders) {
        QDir().mkpath(folder);
        ::chmod(qPrintable(fx.write(QFileInfo(folder).fileName() + "/doc.txt", kOldContent)), 0666);
    }
    // The saver's own file, so that only its second name keeps it from being swapped.
    const QString link = fx.path(QStringLiteral("link.txt"));
    ::link(qPrintable(fx.path(QStringLiteral("small/doc.txt"))), qPrintable(link));
    QVERIFY(::geteuid() != 0 || ::chown(qPrintable(link), 65534, ::getegid()) == 0);
    ::chmod(qPrintable(folders[0]), 0555);
    ::chmod(qPrintable(folders[1]), 0777);
    ::chmod(qPrintable(folders[2]), 01777);
    ::chmod(qPrintable(fx.dir.path()), 0777);
    ::chmod(qPrintable(fx.write(QStringLiteral("theirs.txt"), kOldContent)), 0666);
    const QString text(256 * 1024, QLatin1Char('k'));
    typeAtEnd(form.itrans, text);
    fx.dialogs.setNextFileName(target);
    const bool existed = QFileInfo(target).isFile();
    const uint owner = QFileInfo(target).ownerId();
    const vantro::FileStamp stamp = vantro::stampFile(target);

    rlimit saved{};
    getrlimit(RLIMIT_FSIZE, &saved);
    const bool small = reason == QLatin1String("File too large");
    const rlimit limited{small ? rlim_t(16 * 1024) : saved.rlim_cur, saved.rlim_max};
    std::signal(SIGXFSZ, SIG_IGN); // a write past the limit fails instead of ending the test
    setrlimit(RLIMIT_FSIZE, &limited);
    const bool root = ::geteuid() == 0;
    QVERIFY(!root || ::seteuid(65534) == 0);
    form.fileSaveAsAction->trigger();
    const bool changed = reason == QLatin1String("changed");
    if (changed) { // another program replaces it
        QFile::remove(target);
        fx.write(QStringLiteral("doc.txt"), "other");
        typeAtEnd(form.itrans, QStringLiteral("more"));
    }
    form.fileSaveAction->trigger();
    QVERIFY(!root || ::seteuid(0) == 0);
    setrlimit(RLIMIT_FSIZE, &saved);

    const QString box = "Could not open " + target + QLatin1Char('\n') + reason;
    const QString asked = target + " was changed by another program since it was opened or "
                                   "saved here.\nOverwrite it?";
    QCOMPARE(shownOfKind(fx.dialogs, QStringLiteral("information")),
             reason.isEmpty() || changed ? QStringList() : QStringList({box, box}));
    QCOMPARE(shownOfKind(fx.dialogs, QStringLiteral("question")),
             changed ? QStringList{asked} : QStringList());
    QCOMPARE(isModified(form.itrans), !reason.isEmpty());
    QCOMPARE(QFileInfo(target).isFile(), reason.isEmpty() || existed || changed);
    if (existed) // a failure leaves even the file's time, so it does not look changed elsewhere
        QCOMPARE(fileBytes(target), reason.isEmpty() ? text.toUtf8() : kOldContent);
    QVERIFY(!existed || reason.isEmpty() || vantro::stampFile(target) == stamp);
    if (changed)
        QCOMPARE(fileBytes(target), QByteArray("other"));
    if (existed)
        QCOMPARE(QFileInfo(target).ownerId(), owner);
    QCOMPARE(fileBytes(link), fileBytes(fx.path(QStringLiteral("small/doc.txt"))));
    for (const QString &folder : folders)
        QCOMPARE(QDir(folder).entryList(QDir::Files | QDir::Hidden), QStringList{"doc.txt"});
    ::chmod(qPrintable(folders[0]), 0755);
}

void TestWorkspace::savedBytes_data()
{
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<QString>("shown"); // the pane's plain text; null: the content as UTF-8
    QTest::addColumn<QString>("typed");
    QTest::addColumn<int>("answer");       // -1: Escape, or not asked
    QTest::addColumn<QString>("question"); // "": none; "@" stands for the file
    QTest::addColumn<QByteArray>("bytes"); // null: the content

    const auto row = [](const char *name, const QByteArray &content, const QString &shown = {},
                        const QString &typed = {}, int answer = -1, const QString &question = {},
                        const QByteArray &bytes = {}) {
        QTest::newRow(name) << content << shown << typed << answer << question << bytes;
    };
    row("lines without a final line end", "saMskR^itaM\nbhAShA\nkavi");
    row("markup, UTF-8, blanks, tabs, empty lines, final line end",
        "\n\n<b>rAma</b> &amp; <html><body>x  na\xc3\xafve\t\xe0\xa4\x85 \n\n\t\n");
    row("empty", QByteArray());
    row("CRLF", "ka\r\nkha\r\n", QStringLiteral("ka\nkha\n"));
    row("CR", "ka\rkha", QStringLiteral("ka\nkha"));
    row("no-break space, line separator", "x\xc2\xa0y\xe2\x80\xa8z", QStringLiteral(u"x y\nz"));
    row("byte order mark", "\xef\xbb\xbfom", QStringLiteral(u"\ufeffom"));

    const QByteArray latin1("caf\xe9\xa0x\r\n"); // a no-break space shows as a space
    const QString cafe = QStringLiteral(u"caf\u00e9 x\n");
    const QString encoding = QStringLiteral("The text holds characters that Latin-1, the encoding "
                                            "of @, cannot hold.\nSave it as UTF-8?");
    const QString mixed = QStringLiteral("@ has line ends of several kinds; saving writes all of "
                                         "them like the first one.\nSave it?");
    const QByteArray nul("ka\0\xff\nkha", 8);
    row("Latin-1 holds it: no question", latin1, cafe, QStringLiteral(u"\u00fc"), -1, {},
        "caf\xe9\xa0x\r\n\xfc");
    row("Yes: saved as UTF-8", latin1, cafe, QStringLiteral(u"\u0101"), Dialogs::Yes, encoding,
        "caf\xc3\xa9\xc2\xa0x\r\n\xc4\x81");
    row("No: not saved", latin1, cafe, QStringLiteral(u"\u0101"), Dialogs::No, encoding);
    row("mixed line ends, Yes: like the first", "a\r\nb\nc\r", "a\nb\nc\n", "d", Dialogs::Yes,
        mixed, "a\r\nb\r\nc\r\nd");
    row("mixed line ends, Escape: not saved", "a\nb\r\nc", "a\nb\nc", "d", -1, mixed);
    row("NUL bytes, opened anyway", nul, QString::fromLatin1(nul), {}, Dialogs::Yes,
        "@ holds NUL bytes: it is not a text file.\nOpen it anyway?");
    row("paragraph and frame breaks, opened anyway: saved as line ends",
        "a\xe2\x80\xa9"
        "b\xef\xb7\x90"
        "c\xef\xb7\x91",
        "a\nb\nc\n", {}, Dialogs::Yes,
        "@ holds characters that the editor shows as line ends (U+2029, U+FDD0, U+FDD1): saving "
        "it would change them.\nOpen it anyway?",
        "a\nb\nc\n");
}

// What Open shows is the file as it is; Save and Save As write back every byte the user did not
// change, and ask before changing what the file's format cannot hold as it was read.
void TestWorkspace::savedBytes()
{
    QFETCH(QByteArray, content);
    QFETCH(QString, shown);
    QFETCH(QString, typed);
    QFETCH(int, answer);
    QFETCH(QString, question);
    QFETCH(QByteArray, bytes);
    WorkspaceFixture fx;
    MainForm &form = fx.open();
    const QString path = fx.write(QStringLiteral("doc.txt"), content);
    const QString copy = fx.path(QStringLiteral("copy.txt"));
    fx.dialogs.setNextFileName(path);
    fx.dialogs.setNextFileName(copy);
    if (answer >= 0)
        fx.dialogs.setNextAnswer(answer);

    form.fileOpenAction->trigger();
    QCOMPARE(form.itrans->toPlainText(), shown.isNull() ? QString::fromUtf8(content) : shown);
    QCOMPARE(form.focusWidget(), form.itrans);
    typeAtEnd(form.itrans, typed);
    form.fileSaveAction->trigger();
    form.fileSaveAsAction->trigger(); // asks again only while the text is still unsaved

    const bool saved = question.isEmpty() || answer == Dialogs::Yes;
    QStringList asked;
    if (!question.isEmpty())
        asked << QString(question).replace('@', path);
    if (!saved)
        asked << question.replace('@', copy);
    QCOMPARE(shownOfKind(fx.dialogs, QStringLiteral("question")), asked);
    bytes = bytes.isNull() ? content : bytes;
    QCOMPARE(fileBytes(path), bytes);
    QCOMPARE(fileBytes(copy), saved ? bytes : QByteArray());
    QCOMPARE(isModified(form.itrans), !saved);
}

// Each command works on itrans while english has the focus and a selection of its own; cut and
// paste make a document just opened modified, so that New asks about it in the real question
// box: its title, default and escape buttons, and the answer read from the button pressed: Escape
// keeps the text, No empties the pane.
void TestWorkspace::editCommandsThenRealQuestionBox()
{
    WorkspaceFixture fx;
    MainForm &form = fx.open();
    form.show();
    QVERIFY(QTest::qWaitForWindowActive(&form));
    fx.dialogs.setNextFileName(fx.write(QStringLiteral("doc.txt"), "one two"));
    form.fileOpenAction->trigger();
    form.english->setPlainText(QStringLiteral("english words"));
    form.english->selectAll();
    form.english->setFocus();
    selectRange(form.itrans, 4, 7);

    form.editCopyAction->trigger();
    QCOMPARE(QApplication::clipboard()->text(), QStringLiteral("two"));
    QVERIFY(!isModified(form.itrans));
    QStringList texts; // "*": the step modified the text
    for (QAction *command :
         {form.editCutAction, form.editPasteAction, form.editUndoAction, form.editRedoAction}) {
        form.itrans->document()->setModified(false);
        command->trigger();
        texts << form.itrans->toPlainText() + (isModified(form.itrans) ? "*" : "");
        QApplication::clipboard()->setText(QStringLiteral("three"));
    }
    QCOMPARE(texts, QStringList({"one *", "one three*", "one *", "one three*"}));
    QCOMPARE(form.english->textCursor().selectedText(), QStringLiteral("english words"));
    QVERIFY(form.english->hasFocus());

    Dialogs::setCurrent(nullptr);
    QString button; // "": Escape
    QStringList seen;
    QTimer poll;
    connect(&poll, &QTimer::timeout, &form, [&] {
        auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
        if (!box || !seen.isEmpty())
            return;
        seen << box->windowTitle() << box->defaultButton()->text() << box->escapeButton()->text();
        for (QAbstractButton *choice : box->buttons())
            if (choice->text() == button)
                return choice->click();
        QTest::keyClick(box, Qt::Key_Escape);
    });
    poll.start(10);
    const QStringList asked{"VANTRO- ITRANS file " + form.itransFileName() + " modified", "Yes",
                            "Cancel"};

    form.fileNewAction->trigger();
    QCOMPARE(seen, asked);
    QCOMPARE(form.itrans->toPlainText(), QStringLiteral("one three"));
    seen.clear();
    button = QStringLiteral("No");
    form.fileNewAction->trigger();
    QCOMPARE(seen, asked);
    QCOMPARE(form.itrans->toPlainText(), QString());
}

// The Find dialog: its history and the search in the ITRANS pane.
void TestWorkspace::search_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("cursorAt");
    QTest::addColumn<QStringList>("searches");
    QTest::addColumn<QPoint>("selected"); // the start and end of the selection
    QTest::addColumn<QString>("status");
    QTest::addColumn<QStringList>("history"); // empty: the one text searched
    QTest::addColumn<bool>("anyCase");        // Match case unticked

    const auto row = [](const char *name, const QString &text, int at, const QStringList &searches,
                        QPoint selected, const QString &status = {},
                        const QStringList &history = {}, bool anyCase = false) {
        QTest::newRow(name) << text << at << searches << selected << status << history << anyCase;
    };
    const QString kas = QStringLiteral("ka kha ga KA");
    const QString two = QStringLiteral("saMskR^itaM is\nSAMSKR^ITAM");
    const QString wrapped = QStringLiteral("Wrapped to the start");
    const QStringList sam{"samskr^itam"};
    row("repeat of the last entry", kas, 0, {"ka", "kha", "kha"}, {3, 6}, wrapped, {"ka", "kha"});
    row("differs only in case", kas, 0, {"ka", "KA"}, {10, 12});
    row("empty text leaves the history", kas, 0, {"ka", ""}, {0, 2}, {}, {"ka"});
    row("any case: next occurrence, then wraps", two, 0, sam + sam + sam, {0, 11}, wrapped, sam,
        true);
    row("any case, found after a wrap: the note goes", two, 26, sam + sam, {15, 26}, {}, sam, true);
    row("case is the letter: mA is not ma", "ma mA", 0, {"mA"}, {3, 5});
    row("absent text: cursor to the start", "ka\nkha\nga", 5, {"gha"}, {0, 0}, "Not found");
    row("the English pane is not searched", "ka kha", 4, {"needle"}, {0, 0}, "Not found");
}

// The field keeps the text just searched; Quit only hides the dialog, and Find shows the same
// one again with its history, ready for typing.
void TestWorkspace::search()
{
    QFETCH(QString, text);
    QFETCH(int, cursorAt);
    QFETCH(QStringList, searches);
    QFETCH(QPoint, selected);
    QFETCH(QString, status);
    QFETCH(QStringList, history);
    QFETCH(bool, anyCase);
    WorkspaceFixture fx;
    MainForm &form = fx.open();
    form.english->setPlainText(QStringLiteral("the needle samskr^itam"));
    form.itrans->setPlainText(text);
    selectRange(form.itrans, cursorAt, cursorAt);
    form.editFindAction->trigger();
    dlgFind *dialog = form.findDialog();
    QCOMPARE(dialog->focusWidget(), dialog->cmbFind);
    QVERIFY(dialog->chkMatchCase->isChecked());
    dialog->chkMatchCase->setChecked(!anyCase);

    for (const QString &searched : searches) {
        dialog->cmbFind->setEditText(searched);
        dialog->btnFind->click();
    }

    const QTextCursor cursor = form.itrans->textCursor();
    QCOMPARE(QPoint(cursor.selectionStart(), cursor.selectionEnd()), selected);
    QCOMPARE(dialog->lblStatus->text(), status);
    QVERIFY(fx.dialogs.shown.isEmpty());
    dialog->btnFind->setFocus(); // where a mouse click on Find leaves it
    dialog->btnQuit->click();
    form.editFindAction->trigger();
    QCOMPARE(form.findDialog(), dialog);
    QVERIFY(dialog->isVisible());
    QCOMPARE(dialog->focusWidget(), dialog->cmbFind);
    QStringList entries;
    for (int i = 0; i < dialog->cmbFind->count(); ++i)
        entries << dialog->cmbFind->itemText(i);
    QCOMPARE(entries, history.isEmpty() ? searches : history);
    QCOMPARE(dialog->cmbFind->currentText(), searches.last());
}

// A field's text marks the cursor with '@', a selection with two: set, and read back.
static void setMarked(QWidget *field, QString text)
{
    const int anchor = int(text.indexOf('@'));
    const int position = int(text.lastIndexOf('@') - text.count('@') + 1);
    text.remove('@');
    if (auto *line = qobject_cast<QLineEdit *>(field))
        return line->setText(text), line->setSelection(anchor, position - anchor);
    static_cast<QPlainTextEdit *>(field)->setPlainText(text);
    selectRange(static_cast<QPlainTextEdit *>(field), anchor, position);
}

static QString marked(QWidget *field)
{
    auto *line = qobject_cast<QLineEdit *>(field);
    const QTextCursor cursor =
        line ? QTextCursor() : static_cast<QPlainTextEdit *>(field)->textCursor();
    QString text = line ? line->text() : static_cast<QPlainTextEdit *>(field)->toPlainText();
    const int start =
        line ? (line->hasSelectedText() ? line->selectionStart() : line->cursorPosition())
             : cursor.selectionStart();
    const int end =
        line ? (line->hasSelectedText() ? line->selectionEnd() : start) : cursor.selectionEnd();
    text.insert(end, '@');
    return start == end ? text : text.insert(start, '@');
}

// A key or a double-click in a field of the record form or the ITRANS pane, with the focus in it,
// takes an ITRANS word whole. Ctrl+I puts the word chosen in the meaning or synonym field into
// the ITRANS pane ("itrans": its text before) as one undo step, and leaves the focus there.
void TestWorkspace::itransWords_data()
{
    QTest::addColumn<QString>("field");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("key");
    QTest::addColumn<QString>("itrans");
    QTest::addColumn<QString>("expected"); // the field's text, or the pane's after Ctrl+I
    const auto row = [](const char *name, const char *field, const char *text, const char *key,
                        const char *itrans, const char *expected) {
        QTest::newRow(name) << field << text << key << itrans << expected;
    };
    row("Ctrl+Right over a word", "itrans", "mR^i@gaH sa~NgaH", "Ctrl+Right", "",
        "mR^igaH @sa~NgaH");
    row("Ctrl+Left in the meaning", "meaning", "jalaM, so.a@ham", "Ctrl+Left", "",
        "jalaM, @so.aham");
    row("Ctrl+Shift+Right in the synonyms", "syn", "@mR^igaH, x", "Ctrl+Shift+Right", "",
        "@mR^igaH, @x");
    row("double-click", "itrans", "tatra sa~N@gaH", "double-click", "", "tatra @sa~NgaH@");
    row("Alt+K in the key field", "key", "go@see", "Alt+K", "", "@gosee@");
    row("Ctrl+I: the meaning's selection", "meaning", "@mR^igaH@, hariNaH", "Ctrl+I", "vane@",
        "vane mR^igaH@");
    row("Ctrl+I: the word at the synonyms' cursor", "syn", "sa~N@gaH, x", "Ctrl+I", "@tatra",
        "sa~NgaH@ tatra");
    row("Ctrl+J: nothing selected after, the cursor after the line", "itrans",
        "saH va@nam gacChati\nrAmaH", "Ctrl+J", "", "sa vanaM gacChati@\nrAmaH");
    row("Ctrl+J: a fence closing on the cursor's line", "itrans",
        "## The king said\nthat he is @here ## rAmaH atra", "Ctrl+J", "",
        "## The king said\nthat he is here ## rAmo.atra@");
    row("Ctrl+J: a selection starting inside a fence", "itrans",
        "## The @king said\nthat he is here ## rAmaH atra@", "Ctrl+J", "",
        "## The king said\nthat he is here ## rAmo.atra@");
    row("Ctrl+J: a selection with nothing to join", "itrans", "rAmaH@ gacChati.@", "Ctrl+J", "",
        "rAmaH gacChati.@");
    row("Ctrl+I: the meaning's first word, over a selection", "meaning", "so.aham,@ asmi", "Ctrl+I",
        "@old@ text", "so.aham@ text");
}

void TestWorkspace::itransWords()
{
    QFETCH(QString, field);
    QFETCH(QString, text);
    QFETCH(QString, key);
    QFETCH(QString, itrans);
    WorkspaceFixture fx;
    MainForm &form = fx.open();
    form.show();
    QVERIFY(QTest::qWaitForWindowActive(&form));
    QWidget *widget = QMap<QString, QWidget *>{
        {"itrans", form.itrans},
        {"meaning", form.tedITRANS},
        {"syn", form.ledSyn},
        {"key",
         form.ledEng}}.value(field);
    setMarked(widget, text);
    widget->setFocus();
    if (!itrans.isEmpty())
        setMarked(form.itrans, itrans);
    auto *pane = qobject_cast<QPlainTextEdit *>(widget);
    const QKeyCombination keys = QKeySequence(key)[0];
    if (key == "double-click")
        QTest::mouseDClick(pane->viewport(), Qt::LeftButton, {}, pane->cursorRect().center());
    else
        QTest::keyClick(widget, keys.key(), keys.keyboardModifiers());

    QTEST(marked(itrans.isEmpty() ? widget : form.itrans), "expected");
    if (!itrans.isEmpty()) {
        QCOMPARE(form.focusWidget(), form.itrans);
        form.editUndoAction->trigger();
        QCOMPARE(form.itrans->toPlainText(), itrans.remove('@'));
    }
}

QTEST_MAIN(TestWorkspace)
#include "tst_workspace.moc"

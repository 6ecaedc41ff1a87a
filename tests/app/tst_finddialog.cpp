// The Find dialog: its history and the search in the ITRANS pane.

#include "dlgfind.h"
#include "workspacefixture.h"

#include <QAction>
#include <QComboBox>
#include <QLabel>
#include <QPushButton>
#include <QtTest>

class TestFindDialog : public QObject
{
    Q_OBJECT

private slots:
    void search_data();
    void search();
};

void TestFindDialog::search_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("cursorAt");
    QTest::addColumn<QStringList>("searches");
    QTest::addColumn<QPoint>("selected"); // the start and end of the selection
    QTest::addColumn<QString>("status");
    QTest::addColumn<QStringList>("history"); // empty: the one text searched

    const auto row = [](const char *name, const QString &text, int at, const QStringList &searches,
                        QPoint selected, const QString &status = {},
                        const QStringList &history = {}) {
        QTest::newRow(name) << text << at << searches << selected << status << history;
    };
    const QString kas = QStringLiteral("ka kha ga KA");
    const QString two = QStringLiteral("saMskR^itaM is\nSAMSKR^ITAM");
    const QString wrapped = QStringLiteral("Wrapped to the start");
    const QStringList sam{"samskr^itam"};
    row("repeat of the last entry", kas, 0, {"ka", "kha", "kha"}, {3, 6}, wrapped, {"ka", "kha"});
    row("differs only in case", kas, 0, {"ka", "KA"}, {10, 12});
    row("empty text leaves the history", kas, 0, {"ka", ""}, {0, 2}, {}, {"ka"});
    row("next occurrence, then wraps to the top", two, 0, sam + sam + sam, {0, 11}, wrapped, sam);
    row("found after a wrap: the note goes", two, 26, sam + sam, {15, 26}, {}, sam);
    row("absent text: cursor to the start", "ka\nkha\nga", 5, {"gha"}, {0, 0}, "Not found");
    row("the English pane is not searched", "ka kha", 4, {"needle"}, {0, 0}, "Not found");
}

// The field keeps the text just searched; Quit only hides the dialog, and Find shows the same
// one again with its history, ready for typing.
void TestFindDialog::search()
{
    QFETCH(QString, text);
    QFETCH(int, cursorAt);
    QFETCH(QStringList, searches);
    QFETCH(QPoint, selected);
    QFETCH(QString, status);
    QFETCH(QStringList, history);
    WorkspaceFixture fx;
    MainForm &form = fx.open();
    form.english->setPlainText(QStringLiteral("the needle samskr^itam"));
    form.itrans->setPlainText(text);
    selectRange(form.itrans, cursorAt, cursorAt);
    form.editFindAction->trigger();
    dlgFind *dialog = form.findDialog();
    QCOMPARE(dialog->focusWidget(), dialog->cmbFind);

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

QTEST_MAIN(TestFindDialog)
#include "tst_finddialog.moc"

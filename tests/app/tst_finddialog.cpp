// The Find dialog: its make-up, its history and the search in the ITRANS pane.

#include "dlgfind.h"
#include "workspacefixture.h"

#include <QAction>
#include <QComboBox>
#include <QLabel>
#include <QMetaMethod>
#include <QPushButton>
#include <QtTest>

namespace {

QStringList entriesOf(const QComboBox *combo)
{
    QStringList items;
    for (int i = 0; i < combo->count(); ++i)
        items.append(combo->itemText(i));
    return items;
}

dlgFind *openFind(MainForm &form)
{
    form.editFindAction->trigger();
    return form.findDialog();
}

void find(dlgFind *dialog, const QString &text)
{
    dialog->cmbFind->setEditText(text);
    dialog->btnFind->click();
}

} // namespace

class TestFindDialog : public QObject
{
    Q_OBJECT

private slots:
    void makeUp();
    void reusedAfterQuit();
    void history_data();
    void history();
    void search_data();
    void search();
};

void TestFindDialog::makeUp()
{
    WorkspaceFixture fx;
    MainForm &form = fx.open();
    dlgFind *dialog = openFind(form);

    QVERIFY(dialog);
    QCOMPARE(dialog->parent(), &form);
    QVERIFY(dialog->isVisible());
    QVERIFY(!dialog->isModal());
    QCOMPARE(dialog->metaObject()->className(), "dlgFind");
    QCOMPARE(dialog->objectName(), QStringLiteral("dlgFind"));
    QCOMPARE(dialog->windowTitle(), QStringLiteral("Find"));
    QCOMPARE(dialog->size(), QSize(233, 122).expandedTo(dialog->minimumSizeHint()));
    QCOMPARE(dialog->focusWidget(), dialog->cmbFind);

    QCOMPARE(dialog->textLabel1->text(), QStringLiteral("Find"));
    QCOMPARE(dialog->btnFind->text(), QStringLiteral("&Find"));
    QCOMPARE(dialog->btnFind->shortcut(), QKeySequence(QStringLiteral("Alt+F")));
    QCOMPARE(dialog->btnQuit->text(), QStringLiteral("&Quit"));
    QCOMPARE(dialog->btnQuit->shortcut(), QKeySequence(QStringLiteral("Alt+Q")));
    QVERIFY(dialog->cmbFind->isEditable());
    QCOMPARE(dialog->cmbFind->insertPolicy(), QComboBox::NoInsert);
    QCOMPARE(dialog->cmbFind->count(), 0);

    const QMetaObject *meta = dialog->metaObject();
    QCOMPARE(meta->methodCount() - meta->methodOffset(), 2);
    QCOMPARE(meta->method(meta->methodOffset()).methodSignature(), QByteArray("languageChange()"));
    QCOMPARE(meta->method(meta->methodOffset()).access(), QMetaMethod::Protected);
    QCOMPARE(meta->method(meta->methodOffset() + 1).methodSignature(),
             QByteArray("btnFindClicked()"));
    QCOMPARE(meta->method(meta->methodOffset() + 1).access(), QMetaMethod::Private);
}

// Quit only hides the dialog: the next Find command shows the same one, history and text kept.
void TestFindDialog::reusedAfterQuit()
{
    WorkspaceFixture fx;
    MainForm &form = fx.open();
    form.show();
    form.itrans->setPlainText(QStringLiteral("ka kha ga"));
    dlgFind *dialog = openFind(form);
    find(dialog, QStringLiteral("kha"));
    dialog->cmbFind->setEditText(QStringLiteral("typed"));

    dialog->btnQuit->click();
    QVERIFY(!dialog->isVisible());
    QCOMPARE(openFind(form), dialog);

    QVERIFY(dialog->isVisible());
    QCOMPARE(entriesOf(dialog->cmbFind), QStringList{"kha"});
    QCOMPARE(dialog->cmbFind->currentText(), QStringLiteral("typed"));
}

void TestFindDialog::history_data()
{
    QTest::addColumn<QStringList>("searches");
    QTest::addColumn<QStringList>("entries");
    QTest::addColumn<QString>("shown");

    QTest::newRow("first text") << QStringList{"ka"} << QStringList{"ka"} << "ka";
    QTest::newRow("a new text stays in the field")
        << QStringList{"ka", "kha"} << QStringList{"ka", "kha"} << "kha";
    QTest::newRow("three texts") << QStringList{"ka", "kha", "ga"} << QStringList{"ka", "kha", "ga"}
                                 << "ga";
    QTest::newRow("repeat of the first entry")
        << QStringList{"ka", "kha", "ka"} << QStringList{"ka", "kha"} << "ka";
    QTest::newRow("repeat of the last entry")
        << QStringList{"ka", "kha", "kha"} << QStringList{"ka", "kha"} << "kha";
    QTest::newRow("differs only in case")
        << QStringList{"ka", "KA"} << QStringList{"ka", "KA"} << "KA";
    QTest::newRow("empty text, empty history") << QStringList{""} << QStringList() << "";
    QTest::newRow("empty text leaves the history")
        << QStringList{"ka", ""} << QStringList{"ka"} << "";
}

void TestFindDialog::history()
{
    QFETCH(QStringList, searches);
    QFETCH(QStringList, entries);
    QFETCH(QString, shown);
    WorkspaceFixture fx;
    MainForm &form = fx.open();
    form.itrans->setPlainText(QStringLiteral("ka kha ga KA"));
    dlgFind *dialog = openFind(form);

    for (const QString &text : searches)
        find(dialog, text);

    QCOMPARE(entriesOf(dialog->cmbFind), entries);
    QCOMPARE(dialog->cmbFind->currentText(), shown);
}

void TestFindDialog::search_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("cursorAt");
    QTest::addColumn<QStringList>("searches");
    QTest::addColumn<QPoint>("selected"); // the start and end of the selection
    QTest::addColumn<QString>("status");

    const QString two = QStringLiteral("saMskR^itaM is\nSAMSKR^ITAM");
    const QString wrapped = QStringLiteral("Wrapped to the start");
    QTest::newRow("other capitals")
        << two << 0 << QStringList{"samskr^itam"} << QPoint(0, 11) << "";
    QTest::newRow("next occurrence")
        << two << 0 << QStringList{"samskr^itam", "samskr^itam"} << QPoint(15, 26) << "";
    QTest::newRow("wraps to the top")
        << two << 0 << QStringList{"samskr^itam", "samskr^itam", "samskr^itam"} << QPoint(0, 11)
        << wrapped;
    QTest::newRow("found after a wrap: the note goes")
        << two << 26 << QStringList{"samskr^itam", "samskr^itam"} << QPoint(15, 26) << "";
    QTest::newRow("cursor after the last occurrence")
        << QStringLiteral("ab ab x") << 7 << QStringList{"AB"} << QPoint(0, 2) << wrapped;
    QTest::newRow("absent text: cursor to the start")
        << QStringLiteral("ka\nkha\nga") << 5 << QStringList{"gha"} << QPoint(0, 0) << "Not found";
    QTest::newRow("in a later paragraph")
        << QStringLiteral("ka\nkha\nga") << 0 << QStringList{"GA"} << QPoint(7, 9) << "";
    QTest::newRow("the English pane is not searched")
        << QStringLiteral("ka kha") << 4 << QStringList{"needle"} << QPoint(0, 0) << "Not found";
}

void TestFindDialog::search()
{
    QFETCH(QString, text);
    QFETCH(int, cursorAt);
    QFETCH(QStringList, searches);
    QFETCH(QPoint, selected);
    QFETCH(QString, status);
    WorkspaceFixture fx;
    MainForm &form = fx.open();
    form.english->setPlainText(QStringLiteral("the needle samskr^itam"));
    form.itrans->setPlainText(text);
    selectRange(form.itrans, cursorAt, cursorAt);
    dlgFind *dialog = openFind(form);

    for (const QString &searched : searches)
        find(dialog, searched);

    const QTextCursor cursor = form.itrans->textCursor();
    QCOMPARE(QPoint(cursor.selectionStart(), cursor.selectionEnd()), selected);
    QCOMPARE(form.itrans->toPlainText(), text);
    QCOMPARE(dialog->lblStatus->text(), status);
    QVERIFY(!form.english->textCursor().hasSelection());
    QVERIFY(fx.dialogs.shown.isEmpty());
}

QTEST_MAIN(TestFindDialog)
#include "tst_finddialog.moc"

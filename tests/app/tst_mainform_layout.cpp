// SPDX-License-Identifier: GPL-3.0-or-later
// The main window as a user meets it: its first size, and every key a user presses reaching its
// command, field or menu.

#include "workspacefixture.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QMenu>
#include <QPushButton>
#include <QtTest>

namespace {

// The action, button or label showing exactly text (a menu's title is its action's), or nullptr.
QObject *shownWithText(const MainForm &form, const QString &text)
{
    for (QObject *object : form.findChildren<QObject *>())
        if (object->property("text").toString() == text)
            return object;
    return nullptr;
}

} // namespace

class TestMainFormLayout : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanupTestCase();

    void keysReachTheirTargets_data();
    void keysReachTheirTargets();

private:
    std::unique_ptr<WorkspaceFixture> m_fx;
    MainForm *m_form = nullptr;
    QString m_reached; // the action or button a key set off
};

// One window for every case: keys are pressed in it as a user would, one after another. Its
// actions and buttons note what a key set off instead of running, so no dialog or dictionary
// work stands between the key and the check.
void TestMainFormLayout::initTestCase()
{
    m_fx = std::make_unique<WorkspaceFixture>();
    m_form = &m_fx->open();
    for (QAction *action : m_form->findChildren<QAction *>()) {
        action->disconnect(m_form);
        connect(action, &QAction::triggered, this, [=] { m_reached = action->objectName(); });
    }
    for (QPushButton *button : m_form->findChildren<QPushButton *>()) {
        button->disconnect(m_form);
        connect(button, &QPushButton::clicked, this, [=] { m_reached = button->objectName(); });
    }
    QCOMPARE(m_form->size(), QSize(1000, 618).expandedTo(m_form->minimumSizeHint()));
    m_form->show();
    QVERIFY(QTest::qWaitForWindowActive(m_form));
}

void TestMainFormLayout::cleanupTestCase()
{
    m_form = nullptr;
    m_fx.reset();
}

void TestMainFormLayout::keysReachTheirTargets_data()
{
    // text: what the window shows, mnemonic included; key: what the user presses; reached: the
    // command run, the field focused, or the entries of the menu opened.
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("key");
    QTest::addColumn<QString>("reached");
    const auto row = [](const char *text, const char *key, const char *reached) {
        QTest::newRow(text) << QString::fromLatin1(text) << QString::fromLatin1(key)
                            << QString::fromLatin1(reached);
    };
    row("&New", "Ctrl+N", "fileNewAction");
    row("&Open...", "Ctrl+O", "fileOpenAction");
    row("&Save", "Ctrl+S", "fileSaveAction");
    row("&Print...", "Ctrl+P", "filePrintAction");
    row("&Undo", "Ctrl+Z", "editUndoAction");
    row("&Redo", "Ctrl+Y", "editRedoAction");
    row("Cu&t", "Ctrl+X", "editCutAction");
    row("&Copy", "Ctrl+C", "editCopyAction");
    row("&Paste", "Ctrl+V", "editPasteAction");
    row("&Find...", "Ctrl+F", "editFindAction");
    row("&Insert Meaning", "Ctrl+I", "editInsertMeaningAction");
    row("Fi&Rst", "Alt+R", "btnFirst");
    row("&Last", "Alt+L", "btnLast");
    row("&Next", "Alt+N", "btnNext");
    row("&Prev", "Alt+P", "btnPrev");
    row("Sa&Ve", "Alt+V", "btnSave");
    row("&Search", "Alt+S", "btnSearch");
    row("Look&Up", "Alt+U", "btnLookUp");
    row("&Delete", "Alt+D", "btnDelete");
    row("&Browse", "Alt+B", "btnBrowse");
    row("&QV", "Alt+Q", "btnQV");
    row("&Clear", "Alt+C", "btnClear");
    row("Read &Only", "Alt+O", "chkReadOnly");
    row("&Key", "Alt+K", "ledEng");
    row("S&Amskrit", "Alt+A", "tedITRANS");
    row("S&Ynonym", "Alt+Y", "ledSyn");
    row("En&Glish", "Alt+G", "english");
    row("&ITRANS", "Alt+I", "itrans");
    row("&Join with Sandhi", "Ctrl+J", "editJoinSandhiAction");
    row("&Word Forms", "Ctrl+K", "viewWordFormsAction");
    row("Word Forms Wi&ndow", "Ctrl+Shift+K", "viewWordFormsWindowAction");
    row("Look Up &Next English Word", "Ctrl+L", "editLookUpNextAction");
    row("Look Up Pre&vious English Word", "Ctrl+Shift+L", "editLookUpPreviousAction");
    row("E&xit", "Ctrl+Q", "fileExitAction");
    row("Load &Starter Dictionary", "Ctrl+Shift+D", "fileLoadStarterAction");
    row("Ne&xt Unknown Word", "F7", "editNextUnknownAction");
    row("Previous Unkno&wn Word", "Shift+F7", "editPreviousUnknownAction");
    row("&File", "Alt+F",
        "&New|&Open...|&Save|Save &As...|&Export...|Import &Dictionary...|Load &Starter "
        "Dictionary|Export Dic&tionary...|&Print...|E&xit");
    row("&Edit", "Alt+E",
        "&Undo|&Redo|Cu&t|&Copy|&Paste|&Find...|Look Up &Next English Word|Look Up Pre&vious "
        "English Word|S&kip Common English Words|&Insert Meaning|&Join with Sandhi|Ne&xt Unknown "
        "Word|Previous Unkno&wn Word");
    row("Vie&w", "Alt+W",
        "&Devanagari Preview|&Word Forms|Word Forms Wi&ndow|Close Word Forms &after Insert|Check "
        "&Sanskrit");
    row("&Help", "Alt+H", "&Contents...|&Index...|&About");
}

void TestMainFormLayout::keysReachTheirTargets()
{
    QFETCH(QString, text);
    QFETCH(QString, key);
    QFETCH(QString, reached);
    QVERIFY2(shownWithText(*m_form, text), qPrintable(text));
    m_reached.clear();
    m_form->chkReadOnly->setChecked(true);
    QWidget *start = m_form->btnFirst;
    start->setFocus();
    const QKeySequence sequence(key);
    QTest::keyClick(start, sequence[0].key(), sequence[0].keyboardModifiers());
    // A button's shortcut clicks it after a short visible press.
    QTRY_VERIFY(!m_reached.isEmpty() || !m_form->chkReadOnly->isChecked() ||
                QApplication::activePopupWidget() || QApplication::focusWidget() != start);
    QString got = m_reached;
    if (auto *menu = qobject_cast<QMenu *>(QApplication::activePopupWidget())) {
        QStringList entries;
        for (const QAction *action : menu->actions())
            if (!action->isSeparator())
                entries << action->text();
        got = entries.join(QLatin1Char('|'));
        menu->close();
    } else if (!m_form->chkReadOnly->isChecked()) {
        got = m_form->chkReadOnly->objectName();
    } else if (got.isEmpty() && QApplication::focusWidget()) {
        got = QApplication::focusWidget()->objectName();
    }
    QCOMPARE(got, reached);
}

QTEST_MAIN(TestMainFormLayout)
#include "tst_mainform_layout.moc"

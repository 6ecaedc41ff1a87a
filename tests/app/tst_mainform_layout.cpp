// The main window as a user meets it: every key a user presses reaches its command, field or
// menu; the first size; panels that stay put on resize; texts re-applied on a language change.

#include "workspacefixture.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QtTest>

namespace {

// Records the command a key reached instead of running it, so no dialog or dictionary work
// stands between the key and the check.
class KeyRecorder : public MainForm
{
public:
    QString reached;

    void note(const char *slot) { reached = QLatin1String(slot); }
    void fileNew() override { note(__func__); }
    void fileOpen() override { note(__func__); }
    void fileSave() override { note(__func__); }
    void filePrint() override { note(__func__); }
    void editUndo() override { note(__func__); }
    void editRedo() override { note(__func__); }
    void editCut() override { note(__func__); }
    void editCopy() override { note(__func__); }
    void editPaste() override { note(__func__); }
    void editFind() override { note(__func__); }
    void btnFirstClicked() override { note(__func__); }
    void btnLastClicked() override { note(__func__); }
    void btnNextClicked() override { note(__func__); }
    void btnPrevClicked() override { note(__func__); }
    void btnSaveClicked() override { note(__func__); }
    void btnSearchClicked() override { note(__func__); }
    void btnLookUpClicked() override { note(__func__); }
    void btnDeleteClicked() override { note(__func__); }
    void btnBrowseClicked() override { note(__func__); }
    void btnQVClicked() override { note(__func__); }
    void btnClearClicked() override { note(__func__); }
};

// The action, button, label or menu title showing exactly text, or nullptr.
QObject *shownWithText(const MainForm &form, const QString &text)
{
    for (QObject *object : form.findChildren<QObject *>()) {
        const QVariant shown = object->property("text");
        if ((qobject_cast<QAction *>(object) || qobject_cast<QAbstractButton *>(object) ||
             qobject_cast<QLabel *>(object)) &&
            shown.toString() == text)
            return object;
    }
    return nullptr;
}

QList<QRect> contentGeometries(const MainForm &form)
{
    QList<QRect> geometries;
    for (const QWidget *widget : form.centralWidget()->findChildren<QWidget *>())
        geometries << widget->geometry();
    return geometries;
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
    void fixedPlaces();
    void languageChangeReappliesTexts();

private:
    std::unique_ptr<WorkspaceFixture> m_fx;
    KeyRecorder *m_form = nullptr;
};

// One window for every case: keys are pressed in it as a user would, one after another.
void TestMainFormLayout::initTestCase()
{
    m_fx = std::make_unique<WorkspaceFixture>();
    m_fx->form = std::make_unique<KeyRecorder>();
    m_form = static_cast<KeyRecorder *>(m_fx->form.get());
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
    // text: what the window shows, mnemonic included; key: what the user presses (none: the
    // entry has no shortcut); reached: the command run, the field focused, or the first entry of
    // the menu opened.
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("key");
    QTest::addColumn<QString>("reached");
    const auto row = [](const char *text, const char *key, const char *reached) {
        QTest::newRow(text) << QString::fromLatin1(text) << QString::fromLatin1(key)
                            << QString::fromLatin1(reached);
    };
    row("&New", "Ctrl+N", "fileNew");
    row("&Open...", "Ctrl+O", "fileOpen");
    row("&Save", "Ctrl+S", "fileSave");
    row("Save &As...", "", "");
    row("&Print...", "Ctrl+P", "filePrint");
    row("&Export...", "", "");
    row("E&xit", "", "");
    row("&Undo", "Ctrl+Z", "editUndo");
    row("&Redo", "Ctrl+Y", "editRedo");
    row("Cu&t", "Ctrl+X", "editCut");
    row("&Copy", "Ctrl+C", "editCopy");
    row("&Paste", "Ctrl+V", "editPaste");
    row("&Find...", "Ctrl+F", "editFind");
    row("&Contents...", "", "");
    row("&Index...", "", "");
    row("&About", "", "");
    row("Fi&Rst", "Alt+R", "btnFirstClicked");
    row("&Last", "Alt+L", "btnLastClicked");
    row("&Next", "Alt+N", "btnNextClicked");
    row("&Prev", "Alt+P", "btnPrevClicked");
    row("Sa&Ve", "Alt+V", "btnSaveClicked");
    row("&Search", "Alt+S", "btnSearchClicked");
    row("Look&Up", "Alt+U", "btnLookUpClicked");
    row("&Delete", "Alt+D", "btnDeleteClicked");
    row("&Browse", "Alt+B", "btnBrowseClicked");
    row("&QV", "Alt+Q", "btnQVClicked");
    row("&Clear", "Alt+C", "btnClearClicked");
    row("Read &Only", "Alt+O", "chkReadOnly");
    row("&Key", "Alt+K", "ledEng");
    row("S&Amskrit", "Alt+A", "tedITRANS");
    row("S&Ynonym", "Alt+Y", "ledSyn");
    row("En&Glish", "Alt+G", "english");
    row("&ITRANS", "Alt+I", "itrans");
    row("&File", "Alt+F", "&New");
    row("&Edit", "Alt+E", "&Undo");
    row("Vie&w", "Alt+W", "&Devanagari Preview");
    row("&Help", "Alt+H", "&Contents...");
}

void TestMainFormLayout::keysReachTheirTargets()
{
    QFETCH(QString, text);
    QFETCH(QString, key);
    QFETCH(QString, reached);
    QObject *shown = shownWithText(*m_form, text);
    QVERIFY2(shown, qPrintable(text));
    if (key.isEmpty()) {
        const auto *action = qobject_cast<QAction *>(shown);
        QVERIFY(action && action->shortcut().isEmpty());
        return;
    }
    m_form->reached.clear();
    m_form->chkReadOnly->setChecked(true);
    QWidget *start = m_form->btnFirst;
    start->setFocus();
    const QKeySequence sequence(key);
    QTest::keyClick(start, sequence[0].key(), sequence[0].keyboardModifiers());
    // A button's shortcut clicks it after a short visible press.
    QTRY_VERIFY(!m_form->reached.isEmpty() || !m_form->chkReadOnly->isChecked() ||
                QApplication::activePopupWidget() || QApplication::focusWidget() != start);
    QString got = m_form->reached;
    if (auto *menu = qobject_cast<QMenu *>(QApplication::activePopupWidget())) {
        got = menu->actions().value(0)->text();
        menu->close();
    } else if (!m_form->chkReadOnly->isChecked()) {
        got = m_form->chkReadOnly->objectName();
    } else if (got.isEmpty() && QApplication::focusWidget()) {
        got = QApplication::focusWidget()->objectName();
    }
    QCOMPARE(got, reached);
}

void TestMainFormLayout::fixedPlaces()
{
    // No layout: enlarging leaves space to the right and below, shrinking cuts the panels off.
    const QList<QRect> placed = contentGeometries(*m_form);
    m_form->resize(1400, 900);
    QCOMPARE(contentGeometries(*m_form), placed);
    m_form->resize(500, 300);
    QCOMPARE(contentGeometries(*m_form), placed);
}

void TestMainFormLayout::languageChangeReappliesTexts()
{
    m_form->lblKeys->setText(QStringLiteral("Keys: 5"));
    m_form->btnSave->setText(QString());
    m_form->fileNewAction->setShortcut(QKeySequence());
    QVERIFY(QMetaObject::invokeMethod(m_form, "languageChange"));
    QCOMPARE(m_form->lblKeys->text(), QStringLiteral("Keys:"));
    QCOMPARE(m_form->btnSave->text(), QStringLiteral("Sa&Ve"));
    QCOMPARE(m_form->fileNewAction->shortcut(), QKeySequence(QStringLiteral("Ctrl+N")));
    QCOMPARE(m_form->windowTitle(), QStringLiteral("VANTRO 1.10"));
}

QTEST_MAIN(TestMainFormLayout)
#include "tst_mainform_layout.moc"

// The main window as it stands after construction: widgets, texts, shortcuts, menus, tool bar,
// tab order, buddies, connections and the meta-object's slots.

#include "mimesource.h"
#include "workspacefixture.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QStatusBar>
#include <QTextEdit>
#include <QToolBar>
#include <QtTest>

namespace {

// Records which slot ran instead of running it, so every connection can be traced without
// the dialogs and the dictionary work behind the slots.
class SlotRecorder : public MainForm
{
public:
    QStringList called;

    void fileNew() override { called << QStringLiteral("fileNew"); }
    void fileOpen() override { called << QStringLiteral("fileOpen"); }
    void fileSave() override { called << QStringLiteral("fileSave"); }
    void fileSaveAs() override { called << QStringLiteral("fileSaveAs"); }
    void filePrint() override { called << QStringLiteral("filePrint"); }
    void fileExit() override { called << QStringLiteral("fileExit"); }
    void editUndo() override { called << QStringLiteral("editUndo"); }
    void editRedo() override { called << QStringLiteral("editRedo"); }
    void editCut() override { called << QStringLiteral("editCut"); }
    void editPaste() override { called << QStringLiteral("editPaste"); }
    void editFind() override { called << QStringLiteral("editFind"); }
    void helpIndex() override { called << QStringLiteral("helpIndex"); }
    void helpContents() override { called << QStringLiteral("helpContents"); }
    void helpAbout() override { called << QStringLiteral("helpAbout"); }
    void languageChange() override { called << QStringLiteral("languageChange"); }
    void editCopy() override { called << QStringLiteral("editCopy"); }
    void btnDeleteClicked() override { called << QStringLiteral("btnDeleteClicked"); }
    void btnFirstClicked() override { called << QStringLiteral("btnFirstClicked"); }
    void btnLastClicked() override { called << QStringLiteral("btnLastClicked"); }
    void btnNextClicked() override { called << QStringLiteral("btnNextClicked"); }
    void btnPrevClicked() override { called << QStringLiteral("btnPrevClicked"); }
    void btnSaveClicked() override { called << QStringLiteral("btnSaveClicked"); }
    void btnSearchClicked() override { called << QStringLiteral("btnSearchClicked"); }
    void btnLookUpClicked() override { called << QStringLiteral("btnLookUpClicked"); }
    void btnBrowseClicked() override { called << QStringLiteral("btnBrowseClicked"); }
    void btnQVClicked() override { called << QStringLiteral("btnQVClicked"); }
    void btnClearClicked() override { called << QStringLiteral("btnClearClicked"); }
};

// The slot table, in meta-object order, with the access of each slot.
const QList<QPair<const char *, QMetaMethod::Access>> kSlots = {
    {"fileNew", QMetaMethod::Public},           {"fileOpen", QMetaMethod::Public},
    {"fileSave", QMetaMethod::Public},          {"fileSaveAs", QMetaMethod::Public},
    {"filePrint", QMetaMethod::Public},         {"fileExit", QMetaMethod::Public},
    {"editUndo", QMetaMethod::Public},          {"editRedo", QMetaMethod::Public},
    {"editCut", QMetaMethod::Public},           {"editPaste", QMetaMethod::Public},
    {"editFind", QMetaMethod::Public},          {"helpIndex", QMetaMethod::Public},
    {"helpContents", QMetaMethod::Public},      {"helpAbout", QMetaMethod::Public},
    {"languageChange", QMetaMethod::Protected}, {"editCopy", QMetaMethod::Private},
    {"btnDeleteClicked", QMetaMethod::Private}, {"btnFirstClicked", QMetaMethod::Private},
    {"btnLastClicked", QMetaMethod::Private},   {"btnNextClicked", QMetaMethod::Private},
    {"btnPrevClicked", QMetaMethod::Private},   {"btnSaveClicked", QMetaMethod::Private},
    {"btnSearchClicked", QMetaMethod::Private}, {"btnLookUpClicked", QMetaMethod::Private},
    {"btnBrowseClicked", QMetaMethod::Private}, {"btnQVClicked", QMetaMethod::Private},
    {"btnClearClicked", QMetaMethod::Private},
};

QStringList entryTexts(const QList<QAction *> &actions)
{
    QStringList texts;
    for (const QAction *action : actions)
        texts << (action->isSeparator() ? QStringLiteral("|") : action->text());
    return texts;
}

bool isBold12(const QWidget *widget)
{
    return widget->font().pointSize() == 12 && widget->font().weight() == QFont::Bold;
}

} // namespace

class TestMainFormLayout : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void windowShell();
    void widgetTree_data();
    void widgetTree();
    void frames();
    void coloursAndFonts();
    void furtherProperties();
    void widgetsKeepTheirPlacesWhenResized();
    void labelsAndBuddies_data();
    void labelsAndBuddies();
    void buttons_data();
    void buttons();
    void actions_data();
    void actions();
    void menus();
    void toolBar();
    void tabOrder();
    void slotOrderInMetaObject();
    void everyConnectionReachesItsSlot();
    void noOtherSignalIsConnected();
    void languageChangeReappliesTexts();

private:
    std::unique_ptr<WorkspaceFixture> m_fx;
    MainForm *m_form = nullptr;
};

void TestMainFormLayout::init()
{
    m_fx = std::make_unique<WorkspaceFixture>();
    m_form = &m_fx->open();
}

void TestMainFormLayout::cleanup()
{
    m_form = nullptr;
    m_fx.reset();
}

void TestMainFormLayout::windowShell()
{
    QCOMPARE(m_form->objectName(), QStringLiteral("MainForm"));
    QCOMPARE(m_form->windowTitle(), QStringLiteral("VANTRO 1.10"));
    QCOMPARE(m_form->size(), QSize(1000, 618).expandedTo(m_form->minimumSizeHint()));
    QCOMPARE(m_form->size(), QSize(1000, 618));
    QCOMPARE(m_form->centralWidget()->objectName(), QStringLiteral("qt_central_widget"));
    QCOMPARE(m_form->centralWidget()->metaObject()->className(), "QWidget");
    QVERIFY(m_form->statusBar()->currentMessage().isEmpty());
    QCOMPARE(m_form->lblKeys->text(), QStringLiteral("Keys: 0"));
    // No layout managers anywhere in the content.
    QVERIFY(!m_form->centralWidget()->layout());
    for (const QWidget *widget : m_form->centralWidget()->findChildren<QWidget *>())
        QVERIFY2(!widget->layout() || widget->inherits("QAbstractScrollArea") ||
                     widget->parentWidget()->inherits("QAbstractScrollArea"),
                 qPrintable(widget->objectName()));
}

void TestMainFormLayout::widgetTree_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QByteArray>("className");
    QTest::addColumn<QString>("parent");
    QTest::addColumn<QRect>("geometry");
    const auto row = [](const char *name, const char *cls, const char *parent, QRect geometry) {
        QTest::newRow(name) << QString::fromLatin1(name) << QByteArray(cls)
                            << QString::fromLatin1(parent) << geometry;
    };
    const char *central = "qt_central_widget";
    row("pixmapLabel2", "QLabel", central, {660, 460, 317, 71});
    row("frame4", "QFrame", central, {660, 10, 320, 440});
    row("ledSyn", "QLineEdit", "frame4", {80, 268, 221, 21});
    row("btnQV", "QPushButton", "frame4", {10, 288, 61, 30});
    row("textLabel3", "QLabel", "frame4", {10, 128, 61, 21});
    row("btnClear", "QPushButton", "frame4", {10, 148, 60, 30});
    row("textLabel1_4", "QLabel", "frame4", {10, 270, 70, 21});
    row("textLabel2", "QLabel", "frame4", {10, 10, 40, 21});
    row("tedITRANS", "QTextEdit", "frame4", {80, 40, 221, 220});
    row("ledEng", "QLineEdit", "frame4", {80, 10, 221, 24});
    row("frame5", "QFrame", "frame4", {80, 300, 221, 110});
    row("btnNext", "QPushButton", "frame5", {80, 10, 61, 30});
    row("btnSearch", "QPushButton", "frame5", {150, 10, 61, 30});
    row("btnLast", "QPushButton", "frame5", {10, 40, 61, 30});
    row("btnPrev", "QPushButton", "frame5", {80, 40, 61, 30});
    row("btnFirst", "QPushButton", "frame5", {10, 10, 61, 30});
    row("btnSave", "QPushButton", "frame5", {150, 40, 61, 30});
    row("btnDelete", "QPushButton", "frame5", {150, 80, 61, 21});
    row("chkReadOnly", "QCheckBox", "frame5", {10, 80, 90, 21});
    row("lblKeys", "QLabel", "frame4", {10, 418, 170, 20});
    row("frame3", "QFrame", central, {10, 10, 640, 520});
    row("textLabel1", "QLabel", "frame3", {10, 18, 50, 21});
    row("textLabel1_2", "QLabel", "frame3", {10, 248, 50, 21});
    row("english", "QTextEdit", "frame3", {70, 10, 560, 210});
    row("btnLookUp", "QPushButton", "frame3", {6, 48, 57, 30});
    row("btnBrowse", "QPushButton", "frame3", {6, 90, 57, 30});
    row("itrans", "QTextEdit", "frame3", {70, 240, 560, 260});
}

void TestMainFormLayout::widgetTree()
{
    QFETCH(QString, name);
    QFETCH(QByteArray, className);
    QFETCH(QString, parent);
    QFETCH(QRect, geometry);
    const QList<QWidget *> found = m_form->findChildren<QWidget *>(name);
    QCOMPARE(found.size(), 1);
    QWidget *widget = found.first();
    QCOMPARE(QByteArray(widget->metaObject()->className()), className);
    QCOMPARE(widget->parentWidget()->objectName(), parent);
    QCOMPARE(widget->geometry(), geometry);
    QVERIFY(!widget->isHidden());
}

void TestMainFormLayout::frames()
{
    for (const QFrame *frame : {m_form->frame3, m_form->frame4, m_form->frame5}) {
        QCOMPARE(frame->frameShape(), QFrame::StyledPanel);
        QCOMPARE(frame->frameShadow(), QFrame::Sunken);
    }
    QCOMPARE(m_form->frame4->toolTip(), QStringLiteral("Dictionary"));
    QVERIFY(m_form->frame3->toolTip().isEmpty());
    QCOMPARE(m_form->english->lineWidth(), 1);
}

void TestMainFormLayout::coloursAndFonts()
{
    const QFont plain = QApplication::font(m_form->ledSyn);
    QCOMPARE(m_form->tedITRANS->palette().color(QPalette::Base), QColor(0, 255, 255));
    QCOMPARE(m_form->ledEng->palette().color(QPalette::Base), QColor(255, 255, 0));
    QCOMPARE(m_form->english->palette().color(QPalette::Base), QColor(255, 255, 0));
    QCOMPARE(m_form->itrans->palette().color(QPalette::Base), QColor(85, 255, 255));
    QCOMPARE(m_form->pixmapLabel2->palette().color(QPalette::WindowText), QColor(0, 0, 0));
    QCOMPARE(m_form->pixmapLabel2->palette().color(QPalette::Window), QColor(238, 238, 230));
    for (const QWidget *widget :
         {static_cast<QWidget *>(m_form->tedITRANS), static_cast<QWidget *>(m_form->ledEng),
          static_cast<QWidget *>(m_form->english), static_cast<QWidget *>(m_form->itrans)}) {
        QVERIFY2(isBold12(widget), qPrintable(widget->objectName()));
        QCOMPARE(widget->font().family(), plain.family());
    }
    for (const QWidget *widget :
         {static_cast<QWidget *>(m_form->ledSyn), static_cast<QWidget *>(m_form->btnSave),
          static_cast<QWidget *>(m_form->lblKeys)})
        QVERIFY2(!isBold12(widget), qPrintable(widget->objectName()));
}

void TestMainFormLayout::furtherProperties()
{
    QVERIFY(m_form->chkReadOnly->isChecked());
    QVERIFY(!m_form->english->isReadOnly());
    for (const QTextEdit *pane : {m_form->english, m_form->itrans, m_form->tedITRANS})
        QVERIFY(!pane->isReadOnly());
    QVERIFY(!m_form->ledEng->isReadOnly());
    QCOMPARE(m_form->ledEng->maxLength(), QLineEdit().maxLength());
    QVERIFY(m_form->pixmapLabel2->hasScaledContents());
    QCOMPARE(m_form->pixmapLabel2->pixmap().size(), QSize(317, 52));
    QCOMPARE(m_form->pixmapLabel2->pixmap().toImage(),
             pixmapFromMimeSource(QStringLiteral("tex6918.jpg")).toImage());
}

void TestMainFormLayout::widgetsKeepTheirPlacesWhenResized()
{
    m_form->resize(1400, 900);
    QCOMPARE(m_form->frame4->geometry(), QRect(660, 10, 320, 440));
    QCOMPARE(m_form->itrans->geometry(), QRect(70, 240, 560, 260));
    m_form->resize(500, 300);
    QCOMPARE(m_form->pixmapLabel2->geometry(), QRect(660, 460, 317, 71));
    QCOMPARE(m_form->btnDelete->geometry(), QRect(150, 80, 61, 21));
}

void TestMainFormLayout::labelsAndBuddies_data()
{
    QTest::addColumn<QString>("label");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("buddy");
    QTest::newRow("key") << "textLabel2"
                         << "&Key"
                         << "ledEng";
    QTest::newRow("samskrit") << "textLabel3"
                              << "S&Amskrit"
                              << "tedITRANS";
    QTest::newRow("synonym") << "textLabel1_4"
                             << "S&Ynonym"
                             << "ledSyn";
    QTest::newRow("english") << "textLabel1"
                             << "En&Glish"
                             << "english";
    QTest::newRow("itrans") << "textLabel1_2"
                            << "&ITRANS"
                            << "itrans";
}

void TestMainFormLayout::labelsAndBuddies()
{
    QFETCH(QString, label);
    QFETCH(QString, text);
    QFETCH(QString, buddy);
    auto *widget = m_form->findChild<QLabel *>(label);
    QVERIFY(widget);
    QCOMPARE(widget->text(), text);
    QVERIFY(widget->buddy());
    QCOMPARE(widget->buddy()->objectName(), buddy);
    QVERIFY(!m_form->lblKeys->buddy());
    QVERIFY(!m_form->pixmapLabel2->buddy());
}

void TestMainFormLayout::buttons_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("shortcut");
    QTest::newRow("btnFirst") << "btnFirst"
                              << "Fi&Rst"
                              << "Alt+R";
    QTest::newRow("btnLast") << "btnLast"
                             << "&Last"
                             << "Alt+L";
    QTest::newRow("btnNext") << "btnNext"
                             << "&Next"
                             << "Alt+N";
    QTest::newRow("btnPrev") << "btnPrev"
                             << "&Prev"
                             << "Alt+P";
    QTest::newRow("btnSave") << "btnSave"
                             << "Sa&Ve"
                             << "Alt+V";
    QTest::newRow("btnSearch") << "btnSearch"
                               << "&Search"
                               << "Alt+S";
    QTest::newRow("btnLookUp") << "btnLookUp"
                               << "Look&Up"
                               << "Alt+U";
    QTest::newRow("btnDelete") << "btnDelete"
                               << "&Delete"
                               << "Alt+D";
    QTest::newRow("btnBrowse") << "btnBrowse"
                               << "&Browse"
                               << "Alt+B";
    QTest::newRow("btnQV") << "btnQV"
                           << "&QV"
                           << "Alt+Q";
    QTest::newRow("btnClear") << "btnClear"
                              << "&Clear"
                              << "Alt+C";
    QTest::newRow("chkReadOnly") << "chkReadOnly"
                                 << "Read &Only"
                                 << "Alt+O";
}

void TestMainFormLayout::buttons()
{
    QFETCH(QString, name);
    QFETCH(QString, text);
    QFETCH(QString, shortcut);
    auto *button = m_form->findChild<QAbstractButton *>(name);
    QVERIFY(button);
    QCOMPARE(button->text(), text);
    QCOMPARE(button->shortcut(), QKeySequence(shortcut));
}

void TestMainFormLayout::actions_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("icon");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("menuText");
    QTest::addColumn<QString>("shortcut");
    const auto row = [](const char *name, const char *icon, const char *text, const char *menu,
                        const char *key) {
        QTest::newRow(name) << QString::fromLatin1(name) << QString::fromLatin1(icon)
                            << QString::fromLatin1(text) << QString::fromLatin1(menu)
                            << QString::fromLatin1(key);
    };
    row("fileNewAction", "filenew", "New", "&New", "Ctrl+N");
    row("fileOpenAction", "fileopen", "Open", "&Open...", "Ctrl+O");
    row("fileSaveAction", "filesave", "Save", "&Save", "Ctrl+S");
    row("fileSaveAsAction", "", "Save As", "Save &As...", "");
    row("filePrintAction", "print", "Print", "&Print...", "Ctrl+P");
    row("fileExitAction", "", "Exit", "E&xit", "");
    row("editUndoAction", "undo", "Undo", "&Undo", "Ctrl+Z");
    row("editRedoAction", "redo", "Redo", "&Redo", "Ctrl+Y");
    row("editCutAction", "editcut", "Cut", "Cu&t", "Ctrl+X");
    row("editCopyAction", "editcopy", "Copy", "&Copy", "Ctrl+C");
    row("editPasteAction", "editpaste", "Paste", "&Paste", "Ctrl+V");
    row("editFindAction", "searchfind", "Find", "&Find...", "Ctrl+F");
    row("helpContentsAction", "", "Contents", "&Contents...", "");
    row("helpIndexAction", "", "Index", "&Index...", "");
    row("helpAboutAction", "", "About", "&About", "");
}

void TestMainFormLayout::actions()
{
    QFETCH(QString, name);
    QFETCH(QString, icon);
    QFETCH(QString, text);
    QFETCH(QString, menuText);
    QFETCH(QString, shortcut);
    auto *action = m_form->findChild<QAction *>(name);
    QVERIFY(action);
    QCOMPARE(action->parent(), m_form);
    QCOMPARE(action->iconText(), text);
    QCOMPARE(action->text(), menuText);
    QCOMPARE(action->shortcut(), QKeySequence(shortcut));
    QCOMPARE(action->icon().isNull(), icon.isEmpty());
    if (!icon.isEmpty())
        QCOMPARE(action->icon().pixmap(22, 22).toImage().convertToFormat(QImage::Format_ARGB32),
                 pixmapFromMimeSource(icon).toImage().convertToFormat(QImage::Format_ARGB32));
    QVERIFY(action->toolTip() == action->iconText() || action->toolTip().isEmpty());
    QVERIFY(action->statusTip().isEmpty());
    QVERIFY(action->whatsThis().isEmpty());
    QVERIFY(!action->isCheckable());
    QVERIFY(action->isEnabled());
}

void TestMainFormLayout::menus()
{
    QCOMPARE(m_form->menuBar(), m_form->MenuBar);
    QCOMPARE(m_form->MenuBar->objectName(), QStringLiteral("MenuBar"));
    const QList<QAction *> items = m_form->MenuBar->actions();
    QCOMPARE(items.size(), 4);
    QCOMPARE(items.at(0)->menu(), m_form->fileMenu);
    QCOMPARE(items.at(1)->menu(), m_form->Edit);
    QCOMPARE(items.at(3)->menu(), m_form->helpMenu);
    QCOMPARE(entryTexts(items), QStringList({"&File", "&Edit", "Vie&w", "&Help"}));
    for (const QMenu *menu : {m_form->fileMenu, m_form->Edit, m_form->helpMenu}) {
        QVERIFY(menu->objectName().isEmpty());
        QCOMPARE(menu->parent(), m_form);
    }
    QCOMPARE(entryTexts(m_form->fileMenu->actions()),
             QStringList({"&New", "&Open...", "&Save", "Save &As...", "&Export...", "|",
                          "&Print...", "|", "E&xit"}));
    QCOMPARE(entryTexts(m_form->Edit->actions()),
             QStringList({"&Undo", "&Redo", "|", "Cu&t", "&Copy", "&Paste", "|", "&Find..."}));
    QCOMPARE(entryTexts(m_form->helpMenu->actions()),
             QStringList({"&Contents...", "&Index...", "|", "&About"}));
    QCOMPARE(m_form->fileMenu->actions().first(), m_form->fileNewAction);
    QCOMPARE(m_form->helpMenu->actions().last(), m_form->helpAboutAction);
}

void TestMainFormLayout::toolBar()
{
    const QList<QToolBar *> bars = m_form->findChildren<QToolBar *>();
    QCOMPARE(bars.size(), 1);
    QToolBar *bar = bars.first();
    QCOMPARE(bar, m_form->toolBar);
    QVERIFY(bar->objectName().isEmpty());
    QCOMPARE(bar->windowTitle(), QStringLiteral("Tools"));
    QCOMPARE(m_form->toolBarArea(bar), Qt::TopToolBarArea);
    QVERIFY(!m_form->toolBarBreak(bar));
    const QList<QAction *> entries = bar->actions();
    const QList<QAction *> expected = {m_form->fileNewAction,
                                       m_form->fileOpenAction,
                                       m_form->fileSaveAction,
                                       m_form->fileSaveAsAction,
                                       nullptr,
                                       m_form->filePrintAction,
                                       nullptr,
                                       m_form->fileExitAction};
    QCOMPARE(entries.size(), expected.size());
    for (qsizetype i = 0; i < entries.size(); ++i) {
        if (expected.at(i))
            QCOMPARE(entries.at(i), expected.at(i));
        else
            QVERIFY(entries.at(i)->isSeparator());
    }
}

void TestMainFormLayout::tabOrder()
{
    const QList<QWidget *> chain = {
        m_form->english,  m_form->itrans,    m_form->ledEng,    m_form->tedITRANS,
        m_form->ledSyn,   m_form->btnFirst,  m_form->btnLast,   m_form->btnNext,
        m_form->btnPrev,  m_form->btnSearch, m_form->btnSave,   m_form->btnDelete,
        m_form->btnClear, m_form->btnQV,     m_form->btnLookUp, m_form->btnBrowse};
    // Walk the focus chain from the first widget and keep the chain's widgets in the order met.
    QList<QWidget *> met = {chain.first()};
    for (QWidget *widget = chain.first()->nextInFocusChain(); widget != chain.first();
         widget = widget->nextInFocusChain()) {
        if (chain.contains(widget) && !met.contains(widget))
            met << widget;
    }
    QCOMPARE(met, chain);
}

void TestMainFormLayout::slotOrderInMetaObject()
{
    const QMetaObject &meta = MainForm::staticMetaObject;
    QCOMPARE(meta.className(), "MainForm");
    QCOMPARE(meta.superClass(), &QMainWindow::staticMetaObject);
    QCOMPARE(meta.methodCount() - meta.methodOffset(), int(kSlots.size()));
    for (int i = 0; i < kSlots.size(); ++i) {
        const QMetaMethod method = meta.method(meta.methodOffset() + i);
        QCOMPARE(method.methodSignature(), QByteArray(kSlots.at(i).first) + "()");
        QCOMPARE(method.methodType(), QMetaMethod::Slot);
        QCOMPARE(method.access(), kSlots.at(i).second);
    }
    QCOMPARE(meta.indexOfMethod("setAppDirPath(QString)"), -1);
    QCOMPARE(meta.indexOfMethod("findString(QString)"), -1);

    // Invoking slot i through the meta-object runs the i-th slot of the table.
    SlotRecorder recorder;
    for (int i = 0; i < kSlots.size(); ++i)
        QVERIFY(meta.method(meta.methodOffset() + i).invoke(&recorder));
    QStringList expected;
    for (const auto &slot : kSlots)
        expected << QLatin1String(slot.first);
    QCOMPARE(recorder.called, expected);
}

void TestMainFormLayout::everyConnectionReachesItsSlot()
{
    SlotRecorder recorder;
    const QList<QAction *> actions = {
        recorder.fileNewAction,    recorder.fileOpenAction,     recorder.fileSaveAction,
        recorder.fileSaveAsAction, recorder.filePrintAction,    recorder.fileExitAction,
        recorder.editUndoAction,   recorder.editRedoAction,     recorder.editCutAction,
        recorder.editCopyAction,   recorder.editPasteAction,    recorder.editFindAction,
        recorder.helpIndexAction,  recorder.helpContentsAction, recorder.helpAboutAction};
    for (QAction *action : actions)
        action->trigger();
    const QList<QPushButton *> buttons = {
        recorder.btnFirst,  recorder.btnLast,   recorder.btnNext,   recorder.btnPrev,
        recorder.btnSave,   recorder.btnSearch, recorder.btnLookUp, recorder.btnDelete,
        recorder.btnBrowse, recorder.btnQV,     recorder.btnClear};
    for (QPushButton *button : buttons)
        QTest::mouseClick(button, Qt::LeftButton);

    QCOMPARE(
        recorder.called,
        QStringList({"fileNew",          "fileOpen",         "fileSave",         "fileSaveAs",
                     "filePrint",        "fileExit",         "editUndo",         "editRedo",
                     "editCut",          "editCopy",         "editPaste",        "editFind",
                     "helpIndex",        "helpContents",     "helpAbout",        "btnFirstClicked",
                     "btnLastClicked",   "btnNextClicked",   "btnPrevClicked",   "btnSaveClicked",
                     "btnSearchClicked", "btnLookUpClicked", "btnDeleteClicked", "btnBrowseClicked",
                     "btnQVClicked",     "btnClearClicked"}));
}

void TestMainFormLayout::noOtherSignalIsConnected()
{
    SlotRecorder recorder;
    recorder.chkReadOnly->click();
    recorder.ledEng->setText(QStringLiteral("walk"));
    recorder.ledSyn->setText(QStringLiteral("stroll"));
    recorder.tedITRANS->setPlainText(QStringLiteral("chal.h"));
    recorder.english->setPlainText(QStringLiteral("walking"));
    recorder.itrans->setPlainText(QStringLiteral("chalati"));
    recorder.english->selectAll();
    QVERIFY(recorder.called.isEmpty());
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

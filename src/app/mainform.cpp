// SPDX-License-Identifier: GPL-3.0-or-later
#include "mainform.h"

#include <cstdio>

#include "datafiles.h"
#include "dialogs.h"
#include "dictdb.h"
#include "imagecollection.h"
#include "mimesource.h"
#include "previewwindow.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QStatusBar>
#include <QTimer>
#include <QToolBar>
#include <QWindow>

using vantro::cDictDB;

namespace {

template <typename Widget>
Widget *place(QWidget *parent, const char *name, int x, int y, int width, int height)
{
    auto *widget = new Widget(parent);
    widget->setObjectName(QLatin1String(name));
    widget->setGeometry(x, y, width, height);
    return widget;
}

QFrame *sunkenPanel(QWidget *parent, const char *name, int x, int y, int width, int height)
{
    QFrame *frame = place<QFrame>(parent, name, x, y, width, height);
    frame->setFrameShape(QFrame::StyledPanel);
    frame->setFrameShadow(QFrame::Sunken);
    return frame;
}

void setBackground(QWidget *widget, QPalette::ColorRole role, const QColor &colour)
{
    QPalette palette = widget->palette();
    palette.setColor(role, colour);
    widget->setPalette(palette);
}

void makeBold12(QWidget *widget)
{
    QFont font = widget->font();
    font.setPointSize(12);
    font.setWeight(QFont::Bold);
    widget->setFont(font);
}

// A text pane that holds plain text only: what is typed or loaded is what is saved. The plain
// editor lays out only what is on screen, so a text of many megabytes opens at once. Its scroll
// bar stays in place: a bar that appears narrows the text and makes the editor set up a layout
// for every line of the text, which costs seconds and hundreds of bytes a line.
QPlainTextEdit *textPane(QWidget *parent, const char *name, int x, int y, int width, int height,
                         const QColor &colour)
{
    auto *pane = place<QPlainTextEdit>(parent, name, x, y, width, height);
    pane->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    setBackground(pane, QPalette::Base, colour);
    makeBold12(pane);
    return pane;
}

} // namespace

MainForm::MainForm(QWidget *parent, const char *name, Qt::WindowFlags fl) : QMainWindow(parent, fl)
{
    // The pictures registered themselves before main; this call changes nothing then, but it
    // keeps the picture table linked into every program that takes the window from the library.
    qInitImages_trelvane();
    statusBar();
    setObjectName(name ? QLatin1String(name) : QLatin1String("MainForm"));
    auto *central = new QWidget(this);
    central->setObjectName(QStringLiteral("qt_central_widget"));
    setCentralWidget(central);

    createRecordForm(central);
    createWorkspace(central);
    createActions();
    createToolBarAndMenus();
    createInsertMeaningAction();
    createLookUpActions();
    createDictionaryActions();
    languageChange();
    createGrammarActions();
    resize(QSize(1000, 618).expandedTo(minimumSizeHint()));
    connectSignals();
    createLoaders();
    setTabOrderAndBuddies();
    installWordKeys();
    init();
}

MainForm::~MainForm()
{
    // The widgets below go while the window's own members are already gone; focus moving among
    // them must not reach this window's handlers.
    disconnect(qApp, &QApplication::focusChanged, this, nullptr);
    delete m_preview;
    destroy();
}

void MainForm::createRecordForm(QWidget *central)
{
    pixmapLabel2 = place<QLabel>(central, "pixmapLabel2", 660, 460, 317, 71);
    QPalette strip = pixmapLabel2->palette();
    strip.setColor(QPalette::WindowText, QColor(0, 0, 0));
    strip.setColor(QPalette::Window, QColor(238, 238, 230));
    pixmapLabel2->setPalette(strip);
    pixmapLabel2->setAutoFillBackground(true);
    pixmapLabel2->setPixmap(pixmapFromMimeSource(QStringLiteral("tex6918.jpg")));
    pixmapLabel2->setScaledContents(true);

    frame4 = sunkenPanel(central, "frame4", 660, 10, 320, 440);
    ledSyn = place<QLineEdit>(frame4, "ledSyn", 80, 268, 221, 21);
    btnQV = place<QPushButton>(frame4, "btnQV", 10, 288, 61, 30);
    textLabel3 = place<QLabel>(frame4, "textLabel3", 10, 128, 61, 21);
    btnClear = place<QPushButton>(frame4, "btnClear", 10, 148, 60, 30);
    textLabel1_4 = place<QLabel>(frame4, "textLabel1_4", 10, 270, 70, 21);
    textLabel2 = place<QLabel>(frame4, "textLabel2", 10, 10, 40, 21);
    tedITRANS = textPane(frame4, "tedITRANS", 80, 40, 221, 220, QColor(0, 255, 255));
    // A tab in a meaning would be stored as one: Tab moves on, as in every other field.
    tedITRANS->setTabChangesFocus(true);
    ledEng = place<QLineEdit>(frame4, "ledEng", 80, 10, 221, 24);
    setBackground(ledEng, QPalette::Base, QColor(255, 255, 0));
    makeBold12(ledEng);
    frame5 = sunkenPanel(frame4, "frame5", 80, 300, 221, 110);
    createRecordButtons();
    lblKeys = place<QLabel>(frame4, "lblKeys", 10, 418, 170, 20);
}

void MainForm::createRecordButtons()
{
    btnNext = place<QPushButton>(frame5, "btnNext", 80, 10, 61, 30);
    btnSearch = place<QPushButton>(frame5, "btnSearch", 150, 10, 61, 30);
    btnLast = place<QPushButton>(frame5, "btnLast", 10, 40, 61, 30);
    btnPrev = place<QPushButton>(frame5, "btnPrev", 80, 40, 61, 30);
    btnFirst = place<QPushButton>(frame5, "btnFirst", 10, 10, 61, 30);
    btnSave = place<QPushButton>(frame5, "btnSave", 150, 40, 61, 30);
    btnDelete = place<QPushButton>(frame5, "btnDelete", 150, 80, 61, 21);
    chkReadOnly = place<QCheckBox>(frame5, "chkReadOnly", 10, 80, 90, 21);
    chkReadOnly->setChecked(true);
}

void MainForm::createWorkspace(QWidget *central)
{
    frame3 = sunkenPanel(central, "frame3", 10, 10, 640, 520);
    textLabel1 = place<QLabel>(frame3, "textLabel1", 10, 18, 50, 21);
    textLabel1_2 = place<QLabel>(frame3, "textLabel1_2", 10, 248, 50, 21);
    english = textPane(frame3, "english", 70, 10, 560, 210, QColor(255, 255, 0));
    english->setLineWidth(1);
    english->setReadOnly(false);
    btnLookUp = place<QPushButton>(frame3, "btnLookUp", 6, 48, 57, 30);
    btnBrowse = place<QPushButton>(frame3, "btnBrowse", 6, 90, 57, 30);
    itrans = textPane(frame3, "itrans", 70, 240, 560, 260, QColor(85, 255, 255));
}

void MainForm::createActions()
{
    const auto action = [this](const char *name, const char *icon) {
        auto *created = new QAction(this);
        created->setObjectName(QLatin1String(name));
        if (icon)
            created->setIcon(QIcon(pixmapFromMimeSource(QLatin1String(icon))));
        return created;
    };
    fileNewAction = action("fileNewAction", "filenew");
    fileOpenAction = action("fileOpenAction", "fileopen");
    fileSaveAction = action("fileSaveAction", "filesave");
    fileSaveAsAction = action("fileSaveAsAction", nullptr);
    filePrintAction = action("filePrintAction", "print");
    fileExitAction = action("fileExitAction", nullptr);
    editUndoAction = action("editUndoAction", "undo");
    editRedoAction = action("editRedoAction", "redo");
    editCutAction = action("editCutAction", "editcut");
    editCopyAction = action("editCopyAction", "editcopy");
    editPasteAction = action("editPasteAction", "editpaste");
    editFindAction = action("editFindAction", "searchfind");
    helpContentsAction = action("helpContentsAction", nullptr);
    helpIndexAction = action("helpIndexAction", nullptr);
    helpAboutAction = action("helpAboutAction", nullptr);
    fileExportAction = action("fileExportAction", nullptr);
    viewDevanagariPreviewAction = action("viewDevanagariPreviewAction", nullptr);
    viewDevanagariPreviewAction->setCheckable(true);
}

void MainForm::createToolBarAndMenus()
{
    toolBar = new QToolBar(QString(), this);
    addToolBar(Qt::TopToolBarArea, toolBar);
    toolBar->addActions({fileNewAction, fileOpenAction, fileSaveAction, fileSaveAsAction});
    toolBar->addSeparator();
    toolBar->addAction(filePrintAction);
    toolBar->addSeparator();
    toolBar->addAction(fileExitAction);

    MenuBar = new QMenuBar(this);
    MenuBar->setObjectName(QStringLiteral("MenuBar"));
    setMenuBar(MenuBar);
    fileMenu = new QMenu(this);
    fileMenu->addActions(
        {fileNewAction, fileOpenAction, fileSaveAction, fileSaveAsAction, fileExportAction});
    fileMenu->addSeparator();
    fileMenu->addAction(filePrintAction);
    fileMenu->addSeparator();
    fileMenu->addAction(fileExitAction);
    Edit = new QMenu(this);
    Edit->addActions({editUndoAction, editRedoAction});
    Edit->addSeparator();
    Edit->addActions({editCutAction, editCopyAction, editPasteAction});
    Edit->addSeparator();
    Edit->addAction(editFindAction);
    viewMenu = new QMenu(this);
    viewMenu->addAction(viewDevanagariPreviewAction);
    helpMenu = new QMenu(this);
    helpMenu->addActions({helpContentsAction, helpIndexAction});
    helpMenu->addSeparator();
    helpMenu->addAction(helpAboutAction);
    MenuBar->addMenu(fileMenu);
    MenuBar->addMenu(Edit);
    MenuBar->addMenu(viewMenu);
    MenuBar->addMenu(helpMenu);
}

void MainForm::languageChange()
{
    showTitle();
    frame4->setToolTip(tr("Dictionary"));
    textLabel2->setText(tr("&Key"));
    textLabel3->setText(tr("S&Amskrit"));
    textLabel1_4->setText(tr("S&Ynonym"));
    textLabel1->setText(tr("En&Glish"));
    textLabel1_2->setText(tr("&ITRANS"));
    lblKeys->setText(tr("Keys:"));

    const auto button = [](QAbstractButton *widget, const QString &text, const QString &key) {
        widget->setText(text);
        widget->setShortcut(QKeySequence(key));
    };
    button(btnFirst, tr("Fi&Rst"), tr("Alt+R"));
    button(btnLast, tr("&Last"), tr("Alt+L"));
    button(btnNext, tr("&Next"), tr("Alt+N"));
    button(btnPrev, tr("&Prev"), tr("Alt+P"));
    button(btnSave, tr("Sa&Ve"), tr("Alt+V"));
    button(btnSearch, tr("&Search"), tr("Alt+S"));
    button(btnLookUp, tr("Look&Up"), tr("Alt+U"));
    button(btnDelete, tr("&Delete"), tr("Alt+D"));
    button(btnBrowse, tr("&Browse"), tr("Alt+B"));
    button(btnQV, tr("&QV"), tr("Alt+Q"));
    button(btnClear, tr("&Clear"), tr("Alt+C"));
    button(chkReadOnly, tr("Read &Only"), tr("Alt+O"));

    const auto action = [](QAction *target, const QString &text, const QString &menuText,
                           const QString &key) {
        target->setIconText(text);
        target->setText(menuText);
        target->setShortcut(QKeySequence(key));
    };
    action(fileNewAction, tr("New"), tr("&New"), tr("Ctrl+N"));
    action(fileOpenAction, tr("Open"), tr("&Open..."), tr("Ctrl+O"));
    action(fileSaveAction, tr("Save"), tr("&Save"), tr("Ctrl+S"));
    action(fileSaveAsAction, tr("Save As"), tr("Save &As..."), QString());
    action(filePrintAction, tr("Print"), tr("&Print..."), tr("Ctrl+P"));
    action(fileExitAction, tr("Exit"), tr("E&xit"), tr("Ctrl+Q"));
    action(editUndoAction, tr("Undo"), tr("&Undo"), tr("Ctrl+Z"));
    action(editRedoAction, tr("Redo"), tr("&Redo"), tr("Ctrl+Y"));
    action(editCutAction, tr("Cut"), tr("Cu&t"), tr("Ctrl+X"));
    action(editCopyAction, tr("Copy"), tr("&Copy"), tr("Ctrl+C"));
    action(editPasteAction, tr("Paste"), tr("&Paste"), tr("Ctrl+V"));
    action(editFindAction, tr("Find"), tr("&Find..."), tr("Ctrl+F"));
    action(helpContentsAction, tr("Contents"), tr("&Contents..."), QString());
    action(helpIndexAction, tr("Index"), tr("&Index..."), QString());
    action(helpAboutAction, tr("About"), tr("&About"), QString());
    action(fileExportAction, tr("Export"), tr("&Export..."), QString());
    action(viewDevanagariPreviewAction, tr("Devanagari Preview"), tr("&Devanagari Preview"),
           tr("Ctrl+D"));

    toolBar->setWindowTitle(tr("Tools"));
    fileMenu->setTitle(tr("&File"));
    Edit->setTitle(tr("&Edit"));
    // Alt+V belongs to the Save button already.
    viewMenu->setTitle(tr("Vie&w"));
    helpMenu->setTitle(tr("&Help"));
}

void MainForm::connectSignals()
{
    connect(fileNewAction, &QAction::triggered, this, &MainForm::fileNew);
    connect(fileOpenAction, &QAction::triggered, this, &MainForm::fileOpen);
    connect(fileSaveAction, &QAction::triggered, this, &MainForm::fileSave);
    connect(fileSaveAsAction, &QAction::triggered, this, &MainForm::fileSaveAs);
    connect(filePrintAction, &QAction::triggered, this, &MainForm::filePrint);
    connect(fileExitAction, &QAction::triggered, this, &MainForm::fileExit);
    connect(editUndoAction, &QAction::triggered, this, &MainForm::editUndo);
    connect(editRedoAction, &QAction::triggered, this, &MainForm::editRedo);
    connect(editCutAction, &QAction::triggered, this, &MainForm::editCut);
    connect(editCopyAction, &QAction::triggered, this, &MainForm::editCopy);
    connect(editPasteAction, &QAction::triggered, this, &MainForm::editPaste);
    connect(editFindAction, &QAction::triggered, this, &MainForm::editFind);
    connect(helpIndexAction, &QAction::triggered, this, &MainForm::helpIndex);
    connect(helpContentsAction, &QAction::triggered, this, &MainForm::helpContents);
    connect(helpAboutAction, &QAction::triggered, this, &MainForm::helpAbout);
    connect(fileExportAction, &QAction::triggered, this, &MainForm::fileExport);
    connect(viewDevanagariPreviewAction, &QAction::toggled, this, &MainForm::viewDevanagariPreview);
    connect(btnFirst, &QPushButton::clicked, this, &MainForm::btnFirstClicked);
    connect(btnLast, &QPushButton::clicked, this, &MainForm::btnLastClicked);
    connect(btnNext, &QPushButton::clicked, this, &MainForm::btnNextClicked);
    connect(btnPrev, &QPushButton::clicked, this, &MainForm::btnPrevClicked);
    connect(btnSave, &QPushButton::clicked, this, &MainForm::btnSaveClicked);
    connect(btnSearch, &QPushButton::clicked, this, &MainForm::btnSearchClicked);
    connect(btnLookUp, &QPushButton::clicked, this, &MainForm::btnLookUpClicked);
    connect(btnDelete, &QPushButton::clicked, this, &MainForm::btnDeleteClicked);
    connect(btnBrowse, &QPushButton::clicked, this, &MainForm::btnBrowseClicked);
    connect(btnQV, &QPushButton::clicked, this, &MainForm::btnQVClicked);
    connect(btnClear, &QPushButton::clicked, this, &MainForm::btnClearClicked);
    connect(ledEng, &QLineEdit::returnPressed, this, &MainForm::btnSearchClicked);
    connect(chkReadOnly, &QCheckBox::toggled, this, &MainForm::readOnlyToggled);
}

void MainForm::setTabOrderAndBuddies()
{
    const QList<QWidget *> chain = {english,  itrans,  ledEng,    tedITRANS, ledSyn,  btnFirst,
                                    btnLast,  btnNext, btnPrev,   btnSearch, btnSave, btnDelete,
                                    btnClear, btnQV,   btnLookUp, btnBrowse};
    for (qsizetype i = 1; i < chain.size(); ++i)
        setTabOrder(chain.at(i - 1), chain.at(i));

    textLabel2->setBuddy(ledEng);
    textLabel3->setBuddy(tedITRANS);
    textLabel1_4->setBuddy(ledSyn);
    textLabel1->setBuddy(english);
    textLabel1_2->setBuddy(itrans);
}

void MainForm::init()
{
    currPara = 0;
    currIndex = 0;
    HW = nullptr;
    pdlgf = nullptr;
    DICTDB = new cDictDB;
    DICTDB->setAccess(cDictDB::Access::WriteIfAllowed);
    DICTDB->openDB();
    showKeyCount();
    dictionaryProblem = DICTDB->problem();
    showTitle();
    readDictionaryForChecking();
    QTimer::singleShot(0, this, &MainForm::reportDictionaryProblems);
}

// What went wrong with the dictionary at start-up is said once in a box, since a window started
// from the desktop has no terminal for the diagnostic lines; what lasts stays in the title. The
// box waits until the window is on the screen where the window manager put it, so that it
// stands over its own window and not over whatever program was in front.
void MainForm::reportDictionaryProblems()
{
    if (isVisible() && windowHandle() && !windowHandle()->isExposed()) {
        QTimer::singleShot(50, this, &MainForm::reportDictionaryProblems);
        return;
    }
    QStringList told = DICTDB ? DICTDB->notices() : QStringList();
    if (!dictionaryProblem.isEmpty())
        told.prepend(dictionaryProblem);
    for (const QString &text : told)
        Dialogs::current().information(this, tr("VANTRO - Dictionary"),
                                       text.endsWith(u'.') ? text : text + u'.');
}

// The plain title is how a user, and whatever drives the window, knows that all is well.
void MainForm::showTitle()
{
    const QString title = tr("VANTRO 1.10");
    setWindowTitle(dictionaryProblem.isEmpty() ? title : title + " - " + dictionaryProblem);
}

void MainForm::destroy()
{
    if (!DICTDB)
        return;
    // Too late for a box: the window is going; the line says the next start checks the file.
    if (DICTDB->closeDB() != 0)
        std::fprintf(stderr, "vantro: the dictionary was not closed cleanly; it is checked when "
                             "it is next opened\n");
    delete DICTDB;
}

void MainForm::setAppDirPath(QString path)
{
    appDirPath = path;
}

// Leaving asks about edited meaning or synonyms first (Escape stays), then about the ITRANS text.
void MainForm::fileExit()
{
    if (!settleRecordChanges(Dialogs::Cancel) || !mayLeave())
        return;
    if (DICTDB) {
        closeDictionary();
        delete DICTDB;
        DICTDB = nullptr;
    }
    QApplication::exit(0);
}

void MainForm::closeEvent(QCloseEvent *event)
{
    if (settleRecordChanges(Dialogs::Cancel) && mayLeave())
        event->accept();
    else
        event->ignore();
}

void MainForm::showKeyCount()
{
    const int keys = DICTDB ? DICTDB->getStat() : 0;
    lblKeys->setText(QString::asprintf("Keys: %d", keys));
    const bool empty = keys == 0 && DICTDB && DICTDB->isOpen();
    tedITRANS->setPlaceholderText(empty ? vantro::emptyDictionaryHint() : QString());
}

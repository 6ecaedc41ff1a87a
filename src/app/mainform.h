// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "textfile.h"

#include <QMainWindow>
#include <QPlainTextEdit>
#include <QString>

#include <memory>

struct ImportChoices;
class QAction;
class QCheckBox;
class QFrame;
class QLabel;
class QLineEdit;
class QMenu;
class QMenuBar;
class QPushButton;
class QShortcut;
class QToolBar;
class PaneLoader;
class SanskritChecker;
class PreviewWindow;
class WordFormsWindow;
class dlgFind;
class dlgHW;

namespace vantro {
class cDictDB;
enum class OnConflict;
} // namespace vantro

// The program's one window: the translation workspace on the left, the dictionary record form
// on the right. Every widget sits at a fixed position; the slots live in files grouped by what
// they work on (records, workspace, help).
class MainForm : public QMainWindow
{
    Q_OBJECT

public:
    explicit MainForm(QWidget *parent = nullptr, const char *name = nullptr,
                      Qt::WindowFlags fl = Qt::Window);
    ~MainForm() override;

    QLabel *pixmapLabel2;
    QFrame *frame4;
    QLineEdit *ledSyn;
    QPushButton *btnQV;
    QLabel *textLabel3;
    QPushButton *btnClear;
    QLabel *textLabel1_4;
    QLabel *textLabel2;
    QPlainTextEdit *tedITRANS;
    QLineEdit *ledEng;
    QFrame *frame5;
    QPushButton *btnNext;
    QPushButton *btnSearch;
    QPushButton *btnLast;
    QPushButton *btnPrev;
    QPushButton *btnFirst;
    QPushButton *btnSave;
    QPushButton *btnDelete;
    QCheckBox *chkReadOnly;
    QLabel *lblKeys;
    QFrame *frame3;
    QLabel *textLabel1;
    QLabel *textLabel1_2;
    QPlainTextEdit *english;
    QPushButton *btnLookUp;
    QPushButton *btnBrowse;
    QPlainTextEdit *itrans;
    QMenuBar *MenuBar;
    QMenu *fileMenu;
    QMenu *Edit;
    QMenu *helpMenu;
    QToolBar *toolBar;
    QAction *fileNewAction;
    QAction *fileOpenAction;
    QAction *fileSaveAction;
    QAction *fileSaveAsAction;
    QAction *filePrintAction;
    QAction *fileExitAction;
    QAction *editUndoAction;
    QAction *editRedoAction;
    QAction *editCutAction;
    QAction *editCopyAction;
    QAction *editPasteAction;
    QAction *editFindAction;
    QAction *helpContentsAction;
    QAction *helpIndexAction;
    QAction *helpAboutAction;
    // Word forms and sandhi on the ITRANS pane.
    QAction *viewWordFormsAction;
    // Brings the Word Forms window back as it was; whether it closes after a form went in.
    QAction *viewWordFormsWindowAction = nullptr;
    QAction *viewCloseWordFormsAction = nullptr;
    QAction *editJoinSandhiAction;
    // Check Sanskrit: unknown words underlined, F7 and Shift+F7 to them.
    QAction *viewCheckSanskritAction;
    QAction *editNextUnknownAction;
    QAction *editPreviousUnknownAction;
    // Beyond the original window: the converted views of the ITRANS document.
    QMenu *viewMenu;
    QAction *fileExportAction;
    QAction *viewDevanagariPreviewAction;
    // Edit > Insert Meaning: the word chosen in the record form goes into the ITRANS pane.
    QAction *editInsertMeaningAction;
    // Edit > Look Up Next / Previous English Word, and whether they pass over common words.
    QAction *editLookUpNextAction = nullptr;
    QAction *editLookUpPreviousAction = nullptr;
    QAction *editSkipCommonWordsAction = nullptr;
    // Other dictionaries in and out: StarDict, dictd and the exchange format.
    QAction *fileImportDictionaryAction = nullptr;
    QAction *fileExportDictionaryAction = nullptr;
    // The starter dictionary into an empty one, in one key.
    QAction *fileLoadStarterAction = nullptr;

    virtual void setAppDirPath(QString path);
    enum FindOutcome { Found, Wrapped, NotFound };
    virtual FindOutcome findString(QString text, bool matchCase = true);

    // The dictionary object, or nullptr after File > Exit.
    vantro::cDictDB *dictionary() const { return DICTDB; }
    QString itransFileName() const { return ITRANSFile; }
    QString applicationDirPath() const { return appDirPath; }
    dlgHW *helpWindow() const { return HW; }
    dlgFind *findDialog() const { return pdlgf; }
    // Whether a pane is still taking in the text of a file.
    bool isLoading() const;

public slots:
    virtual void fileNew();
    virtual void fileOpen();
    virtual void fileSave();
    virtual void fileSaveAs();
    virtual void filePrint();
    virtual void fileExit();
    virtual void editUndo();
    virtual void editRedo();
    virtual void editCut();
    virtual void editPaste();
    virtual void editFind();
    virtual void helpIndex();
    virtual void helpContents();
    virtual void helpAbout();

protected slots:
    virtual void languageChange();

private slots:
    virtual void editCopy();
    virtual void btnDeleteClicked();
    virtual void btnFirstClicked();
    virtual void btnLastClicked();
    virtual void btnNextClicked();
    virtual void btnPrevClicked();
    virtual void btnSaveClicked();
    virtual void btnSearchClicked();
    virtual void btnLookUpClicked();
    virtual void btnBrowseClicked();
    virtual void btnQVClicked();
    virtual void btnClearClicked();

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    void createRecordForm(QWidget *central);
    void createRecordButtons();
    void createWorkspace(QWidget *central);
    void createActions();
    void createToolBarAndMenus();
    void connectSignals();
    void setTabOrderAndBuddies();
    void init();
    void destroy();

    // Record form helpers.
    int askSaveChanges(int escapeButton);
    bool settleRecordChanges(int escapeButton, bool underLoadedKey = false);
    bool saveRecordForm(const QString &word);
    QByteArray storedKeyFor(const QString &word) const;
    QString saveQuestion(const QString &word, const QByteArray &key);
    bool reportSaveFailure(const QString &word, const QString &reason);
    void reportDeleteFailure(const QString &word, const QString &reason);
    bool settleEditsBeforeDelete(const QString &key);
    void readOnlyToggled(bool readOnly);
    bool recordIsModified() const;
    void showRecord();
    void forgetChosenWord();
    void moveCursor(int cOpt);
    void searchFor(const QString &text);
    // How a search that finds nothing says so: a box, or, for the word-by-word look-up that must
    // not stop the typing, the status bar.
    enum NotFoundReport { NotFoundBox, NotFoundInStatusBar };
    void showNotFound(const QString &word, NotFoundReport report = NotFoundBox);
    void lookUpEnglishWord(const QString &word, NotFoundReport report);
    void offerRepair();
    bool closeDictionary();
    void showKeyCount();
    void createInsertMeaningAction();
    void installWordKeys();
    void editInsertMeaning();
    QString meaningToInsert() const;
    void reportDictionaryProblems();
    void showTitle();

    // ITRANS document helpers.
    bool settleITRANSChanges(bool forNew);
    bool saveITRANS();
    bool saveITRANSAs();
    bool writeITRANS();
    bool settleSaveFormat(const QString &text, vantro::TextFormat &format);
    bool mayLeave();
    std::unique_ptr<vantro::TextReader> openText(const QString &path, vantro::TextFormat &format,
                                                 bool printFailure);
    void createLoaders();
    PaneLoader *createLoader(QPlainTextEdit *pane);
    bool finishLoading(QPlainTextEdit *pane);
    void reportReadFailure(const QString &path, const QString &error, bool printFailure);

    // Other dictionaries in and out (mainform_dictionary.cpp).
    void createDictionaryActions();
    void fileImportDictionary();
    void fileLoadStarter();
    void importDictionaryFile(const QString &path, const ImportChoices &choices);
    void fileExportDictionary();
    bool dictionaryMayChange();

    // Converted views of the ITRANS document (preview window, export).
    void fileExport();
    void viewDevanagariPreview(bool on);
    void createPreview();
    void placePreview();
    void showRecordInPreview();

    // The English pane looked up word by word (mainform_lookup.cpp).
    void createLookUpActions();
    void lookUpEnglishStep(bool forward);

    // Word forms and sandhi (mainform_grammar.cpp).
    void createGrammarActions();
    void viewWordForms();
    WordFormsWindow *wordFormsWindow();
    void placeWordForms();
    void editJoinWithSandhi();
    void createSanskritChecker();
    void readDictionaryForChecking();
    void itransContextMenu(const QPoint &position);
    void replaceWord(QTextCursor word, const QString &replacement);
    bool lookUpReading(const QString &word, const QTextCursor &replaced);

    dlgFind *pdlgf = nullptr;
    int currIndex = 0;
    int currPara = 0;
    QString appDirPath;
    dlgHW *HW = nullptr;
    QString ITRANSFile;
    vantro::TextFormat itransFormat; // how ITRANSFile stores its text
    vantro::FileStamp itransStamp;   // ITRANSFile as it was last read or written here
    vantro::cDictDB *DICTDB = nullptr;
    PreviewWindow *m_preview = nullptr;
    // The key of the form's record: the stored key it was loaded from or last saved under, or
    // the key of a search that found nothing; empty when there is none. The key field is the
    // search box too, so its text cannot tell.
    QByteArray recordKey;
    // The word of a search that found nothing, from which Next and Prev go on.
    QString missedWord;
    // The meaning or synonym field that had the focus last, where Insert Meaning takes its word.
    QWidget *lastRecordField = nullptr;
    // What is wrong with the dictionary for this whole session, shown in the title; empty when
    // nothing is.
    QString dictionaryProblem;
    PaneLoader *itransLoader = nullptr;
    PaneLoader *englishLoader = nullptr;
    WordFormsWindow *m_wordForms = nullptr;
    QShortcut *hideWordFormsShortcut = nullptr;
    SanskritChecker *m_checker = nullptr;
};

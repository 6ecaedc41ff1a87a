#pragma once

#include <QList>
#include <QString>
#include <QStringList>

class QWidget;

// Every question box, information box, about box and file dialog of the program goes through
// the current Dialogs object, so that tests can answer them without a human.
class Dialogs
{
public:
    enum Answer { Yes = 0, No = 1, Cancel = 2 };

    virtual ~Dialogs();

    // A modal question with the buttons "Yes", "No", "Cancel" in that order; answers the number
    // of the button chosen (Escape and closing the box choose escapeButton).
    virtual int question(QWidget *parent, const QString &title, const QString &text,
                         int defaultButton, int escapeButton) = 0;
    // A modal information box with the single button "OK".
    virtual void information(QWidget *parent, const QString &title, const QString &text) = 0;
    virtual void about(QWidget *parent, const QString &title, const QString &text) = 0;
    // The toolkit's file dialogs; an empty result means the user cancelled.
    virtual QString openFileName(QWidget *parent, const QString &filter, const QString &objectName,
                                 const QString &caption) = 0;
    virtual QString saveFileName(QWidget *parent, const QString &filter, const QString &objectName,
                                 const QString &caption) = 0;

    static Dialogs &current();
    // Replaces the dialogs in use (not owned); nullptr restores the real ones.
    static void setCurrent(Dialogs *dialogs);
};

class RealDialogs : public Dialogs
{
public:
    int question(QWidget *parent, const QString &title, const QString &text, int defaultButton,
                 int escapeButton) override;
    void information(QWidget *parent, const QString &title, const QString &text) override;
    void about(QWidget *parent, const QString &title, const QString &text) override;
    QString openFileName(QWidget *parent, const QString &filter, const QString &objectName,
                         const QString &caption) override;
    QString saveFileName(QWidget *parent, const QString &filter, const QString &objectName,
                         const QString &caption) override;
};

// Answers from a script and remembers every box it was asked to show. A box that finds the
// script empty is answered as Escape would answer it (a file dialog as Cancel) and counted in
// unscripted, so a test can tell that a box it did not expect came up.
class ScriptedDialogs : public Dialogs
{
public:
    struct Shown
    {
        QString kind; // "question", "information", "about", "open", "save"
        QString title;
        QString text;
        int defaultButton = -1;
        int escapeButton = -1;
        QString filter;
        QString objectName;
        QWidget *parent = nullptr;
    };

    void setNextAnswer(int answer) { m_answers.append(answer); }
    void setNextFileName(const QString &name) { m_fileNames.append(name); }

    QList<Shown> shown;
    int unscripted = 0;

    int question(QWidget *parent, const QString &title, const QString &text, int defaultButton,
                 int escapeButton) override;
    void information(QWidget *parent, const QString &title, const QString &text) override;
    void about(QWidget *parent, const QString &title, const QString &text) override;
    QString openFileName(QWidget *parent, const QString &filter, const QString &objectName,
                         const QString &caption) override;
    QString saveFileName(QWidget *parent, const QString &filter, const QString &objectName,
                         const QString &caption) override;

    bool scriptIsUsedUp() const { return m_answers.isEmpty() && m_fileNames.isEmpty(); }

private:
    QString nextFileName();

    QList<int> m_answers;
    QStringList m_fileNames;
};

// Installs a ScriptedDialogs for the lifetime of the guard.
class ScopedDialogs
{
public:
    explicit ScopedDialogs(Dialogs &dialogs) { Dialogs::setCurrent(&dialogs); }
    ~ScopedDialogs() { Dialogs::setCurrent(nullptr); }
    ScopedDialogs(const ScopedDialogs &) = delete;
    ScopedDialogs &operator=(const ScopedDialogs &) = delete;
};

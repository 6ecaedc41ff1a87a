#include "dialogs.h"

#include <QFileDialog>
#include <QMessageBox>
#include <QPushButton>

namespace {

Dialogs *g_current = nullptr;

} // namespace

Dialogs::~Dialogs() = default;

Dialogs &Dialogs::current()
{
    static RealDialogs real;
    return g_current ? *g_current : real;
}

void Dialogs::setCurrent(Dialogs *dialogs)
{
    g_current = dialogs;
}

int RealDialogs::question(QWidget *parent, const QString &title, const QString &text,
                          int defaultButton, int escapeButton)
{
    QMessageBox box(QMessageBox::Question, title, text, QMessageBox::NoButton, parent);
    const QList<QPushButton *> buttons = {
        box.addButton(QMessageBox::tr("Yes"), QMessageBox::YesRole),
        box.addButton(QMessageBox::tr("No"), QMessageBox::NoRole),
        box.addButton(QMessageBox::tr("Cancel"), QMessageBox::RejectRole),
    };
    box.setDefaultButton(buttons.value(defaultButton, buttons.first()));
    box.setEscapeButton(buttons.value(escapeButton, buttons.first()));
    box.exec();
    const int chosen = int(buttons.indexOf(static_cast<QPushButton *>(box.clickedButton())));
    return chosen >= 0 ? chosen : escapeButton;
}

void RealDialogs::information(QWidget *parent, const QString &title, const QString &text)
{
    QMessageBox box(QMessageBox::Information, title, text, QMessageBox::NoButton, parent);
    box.setDefaultButton(box.addButton(QMessageBox::tr("OK"), QMessageBox::AcceptRole));
    box.exec();
}

void RealDialogs::about(QWidget *parent, const QString &title, const QString &text)
{
    QMessageBox::about(parent, title, text);
}

namespace {

QString runFileDialog(QWidget *parent, const QString &filter, const QString &objectName,
                      const QString &caption, QFileDialog::AcceptMode mode)
{
    QFileDialog dialog(parent, caption, QString(), filter);
    dialog.setObjectName(objectName);
    dialog.setAcceptMode(mode);
    dialog.setFileMode(mode == QFileDialog::AcceptOpen ? QFileDialog::ExistingFile
                                                       : QFileDialog::AnyFile);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return {};
    return dialog.selectedFiles().constFirst();
}

} // namespace

QString RealDialogs::openFileName(QWidget *parent, const QString &filter,
                                  const QString &objectName, const QString &caption)
{
    return runFileDialog(parent, filter, objectName, caption, QFileDialog::AcceptOpen);
}

QString RealDialogs::saveFileName(QWidget *parent, const QString &filter,
                                  const QString &objectName, const QString &caption)
{
    return runFileDialog(parent, filter, objectName, caption, QFileDialog::AcceptSave);
}

int ScriptedDialogs::question(QWidget *parent, const QString &title, const QString &text,
                              int defaultButton, int escapeButton)
{
    shown.append({QStringLiteral("question"), title, text, defaultButton, escapeButton, {}, {},
                  parent});
    if (m_answers.isEmpty()) {
        ++unscripted;
        return escapeButton;
    }
    return m_answers.takeFirst();
}

void ScriptedDialogs::information(QWidget *parent, const QString &title, const QString &text)
{
    shown.append({QStringLiteral("information"), title, text, 0, -1, {}, {}, parent});
}

void ScriptedDialogs::about(QWidget *parent, const QString &title, const QString &text)
{
    shown.append({QStringLiteral("about"), title, text, 0, -1, {}, {}, parent});
}

QString ScriptedDialogs::nextFileName()
{
    if (m_fileNames.isEmpty()) {
        ++unscripted;
        return {};
    }
    return m_fileNames.takeFirst();
}

QString ScriptedDialogs::openFileName(QWidget *parent, const QString &filter,
                                      const QString &objectName, const QString &caption)
{
    shown.append({QStringLiteral("open"), caption, {}, -1, -1, filter, objectName, parent});
    return nextFileName();
}

QString ScriptedDialogs::saveFileName(QWidget *parent, const QString &filter,
                                      const QString &objectName, const QString &caption)
{
    shown.append({QStringLiteral("save"), caption, {}, -1, -1, filter, objectName, parent});
    return nextFileName();
}

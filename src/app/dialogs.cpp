// SPDX-License-Identifier: GPL-3.0-or-later
#include "dialogs.h"

#include "importoptionsdialog.h"

#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QGridLayout>
#include <QInputDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QPrintDialog>
#include <QPrinter>
#include <QPushButton>
#include <QRegularExpression>
#include <QTimer>

namespace {

Dialogs *g_current = nullptr;
QString g_startFolder;

// A box as wide as its title needs, so that a short text ("cow not found") does not cut the
// title off; the allowance stands for the window frame's buttons.
void fitTitle(QMessageBox &box)
{
    constexpr int kFrameButtons = 120;
    auto *grid = qobject_cast<QGridLayout *>(box.layout());
    if (!grid)
        return;
    const int width = box.fontMetrics().horizontalAdvance(box.windowTitle()) + kFrameButtons;
    grid->addItem(new QSpacerItem(width, 0, QSizePolicy::Minimum, QSizePolicy::Fixed),
                  grid->rowCount(), 0, 1, grid->columnCount());
}

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

void Dialogs::setStartFolder(const QString &folder)
{
    g_startFolder = folder;
}

QString Dialogs::startFolder()
{
    return g_startFolder;
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
    fitTitle(box);
    box.exec();
    const int chosen = int(buttons.indexOf(static_cast<QPushButton *>(box.clickedButton())));
    return chosen >= 0 ? chosen : escapeButton;
}

void RealDialogs::information(QWidget *parent, const QString &title, const QString &text)
{
    QMessageBox box(QMessageBox::Information, title, text, QMessageBox::NoButton, parent);
    box.setDefaultButton(box.addButton(QMessageBox::tr("OK"), QMessageBox::AcceptRole));
    fitTitle(box);
    box.exec();
}

void RealDialogs::about(QWidget *parent, const QString &title, const QString &text)
{
    QMessageBox::about(parent, title, text);
}

namespace {

// The extension of the filter's first pattern, "pdf" for "PDF (*.pdf)".
QString filterSuffix(const QString &filter)
{
    static const QRegularExpression pattern(QStringLiteral("\\*\\.(\\w+)"));
    return pattern.match(filter).captured(1);
}

QString runFileDialog(QWidget *parent, const QString &filter, const QString &objectName,
                      const QString &caption, QFileDialog::AcceptMode mode)
{
    QFileDialog dialog(parent, caption, Dialogs::startFolder(), filter);
    dialog.setObjectName(objectName);
    dialog.setAcceptMode(mode);
    // A name typed without an extension gets the one of the chosen filter, if it names one.
    if (mode == QFileDialog::AcceptSave) {
        dialog.setDefaultSuffix(filterSuffix(filter));
        QObject::connect(
            &dialog, &QFileDialog::filterSelected, &dialog,
            [&dialog](const QString &chosen) { dialog.setDefaultSuffix(filterSuffix(chosen)); });
    }
    dialog.setFileMode(mode == QFileDialog::AcceptOpen ? QFileDialog::ExistingFile
                                                       : QFileDialog::AnyFile);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return {};
    return dialog.selectedFiles().constFirst();
}

} // namespace

QString RealDialogs::openFileName(QWidget *parent, const QString &filter, const QString &objectName,
                                  const QString &caption)
{
    return runFileDialog(parent, filter, objectName, caption, QFileDialog::AcceptOpen);
}

QString RealDialogs::saveFileName(QWidget *parent, const QString &filter, const QString &objectName,
                                  const QString &caption)
{
    return runFileDialog(parent, filter, objectName, caption, QFileDialog::AcceptSave);
}

QString RealDialogs::saveFileNameWithFilter(QWidget *parent, const QStringList &filters,
                                            QString &selectedFilter, const QString &objectName,
                                            const QString &caption)
{
    QFileDialog dialog(parent, caption, Dialogs::startFolder());
    dialog.setObjectName(objectName);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setNameFilters(filters);
    // A name typed without an extension gets the one of the chosen filter.
    dialog.setDefaultSuffix(filterSuffix(filters.value(0)));
    QObject::connect(
        &dialog, &QFileDialog::filterSelected, &dialog,
        [&dialog](const QString &filter) { dialog.setDefaultSuffix(filterSuffix(filter)); });
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return {};
    selectedFilter = dialog.selectedNameFilter();
    return dialog.selectedFiles().constFirst();
}

int RealDialogs::choice(QWidget *parent, const QString &title, const QString &label,
                        const QStringList &items, int current)
{
    bool ok = false;
    const QString item = QInputDialog::getItem(parent, title, label, items, current, false, &ok);
    return ok ? int(items.indexOf(item)) : -1;
}

bool RealDialogs::importOptions(QWidget *parent, const QString &fileName, ImportChoices &choices)
{
    ImportOptionsDialog dialog(fileName, choices, parent);
    if (dialog.exec() != QDialog::Accepted)
        return false;
    choices = dialog.choices();
    return true;
}

bool RealDialogs::print(QWidget *parent, QPrinter &printer)
{
    QPrintDialog dialog(&printer, parent);
    // Documents are printed whole.
    dialog.setOption(QAbstractPrintDialog::PrintPageRange, false);
    // Print to File offers the document's own folder, as the file dialogs do, rather than the
    // folder the program was started in. The dialog fills its file name in when it is shown.
    QTimer::singleShot(0, &dialog, [&dialog, &printer] {
        auto *name = dialog.findChild<QLineEdit *>(QStringLiteral("filename"));
        if (name && printer.outputFileName().isEmpty() && !Dialogs::startFolder().isEmpty())
            name->setText(
                QDir(Dialogs::startFolder()).filePath(QFileInfo(name->text()).fileName()));
    });
    return dialog.exec() == QDialog::Accepted;
}

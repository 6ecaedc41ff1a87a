// SPDX-License-Identifier: GPL-3.0-or-later
// File > Import Dictionary and Export Dictionary: other dictionaries into this one, and this
// one out as StarDict.

#include "mainform.h"

#include "datafiles.h"
#include "dialogs.h"
#include "dictdb.h"
#include "dictionaryimport.h"
#include "importlog.h"
#include "importsource.h"
#include "stardictwriter.h"

#include <QAction>
#include <QCheckBox>
#include <QFileInfo>
#include <QMenu>
#include <QProgressDialog>

namespace {

// A progress dialog that shows only for work that takes a while; its Cancel is read by the
// callback the library calls between blocks of records.
class Progress
{
public:
    Progress(QWidget *parent, const QString &title, const QString &text)
        : m_dialog(text, QObject::tr("Cancel"), 0, 100, parent)
    {
        m_dialog.setWindowTitle(title);
        m_dialog.setWindowModality(Qt::WindowModal);
        m_dialog.setMinimumDuration(400);
        m_dialog.setAutoClose(false);
        m_dialog.setAutoReset(false);
    }
    bool advance(qint64 done, qint64 total)
    {
        m_dialog.setValue(total > 0 ? int(qMin<qint64>(100, done * 100 / total)) : 0);
        return !m_dialog.wasCanceled();
    }
    // The work is over: the dialog goes before the box that tells how it went.
    void finish() { m_dialog.close(); }

private:
    QProgressDialog m_dialog;
};

} // namespace

void MainForm::createDictionaryActions()
{
    fileImportDictionaryAction = new QAction(tr("Import &Dictionary..."), this);
    fileImportDictionaryAction->setObjectName(QStringLiteral("fileImportDictionaryAction"));
    fileExportDictionaryAction = new QAction(tr("Export Dic&tionary..."), this);
    fileExportDictionaryAction->setObjectName(QStringLiteral("fileExportDictionaryAction"));
    // Between the document's commands and Print, a group of their own.
    fileMenu->insertActions(filePrintAction,
                            {fileImportDictionaryAction, fileExportDictionaryAction});
    fileMenu->insertSeparator(filePrintAction);
    connect(fileImportDictionaryAction, &QAction::triggered, this, &MainForm::fileImportDictionary);
    connect(fileExportDictionaryAction, &QAction::triggered, this, &MainForm::fileExportDictionary);
    fileLoadStarterAction = new QAction(tr("Load &Starter Dictionary"), this);
    fileLoadStarterAction->setObjectName(QStringLiteral("fileLoadStarterAction"));
    fileLoadStarterAction->setShortcut(QKeySequence(tr("Ctrl+Shift+D")));
    fileMenu->insertAction(fileExportDictionaryAction, fileLoadStarterAction);
    connect(fileLoadStarterAction, &QAction::triggered, this, &MainForm::fileLoadStarter);
}

// The words that come with the program, into a dictionary that has none yet: one key on the first
// start. Read Only guards the records a user has; an empty dictionary has none to guard.
void MainForm::fileLoadStarter()
{
    if (!DICTDB || !DICTDB->isOpen() || DICTDB->isReadOnly()) {
        Dialogs::current().information(this, tr("VANTRO"),
                                       tr("The dictionary cannot be written: nothing was "
                                          "imported."));
        return;
    }
    if (const int keys = DICTDB->getStat(); keys > 0) {
        Dialogs::current().information(
            this, tr("Load Starter Dictionary"),
            tr("The dictionary already holds %1 records: File > Import Dictionary adds the "
               "starter dictionary to them, asking what to do with words you have.")
                .arg(keys));
        return;
    }
    const QString path = vantro::dataFile(appDirPath, QStringLiteral("starter.tsv"));
    if (!QFileInfo::exists(path)) {
        Dialogs::current().information(this, tr("Load Starter Dictionary"),
                                       tr("The starter dictionary is not installed: %1 is "
                                          "missing.")
                                           .arg(path));
        return;
    }
    importDictionaryFile(path, {vantro::OnConflict::Keep, vantro::ArticleLayout::Detect, {}});
}

// An import writes the whole file: the same guard as Save, and edits in the form settled first.
bool MainForm::dictionaryMayChange()
{
    if (!DICTDB || !DICTDB->isOpen() || DICTDB->isReadOnly()) {
        Dialogs::current().information(this, tr("VANTRO"),
                                       tr("The dictionary cannot be written: nothing was "
                                          "imported."));
        return false;
    }
    if (chkReadOnly->isChecked()) {
        Dialogs::current().information(this, tr("VANTRO"),
                                       tr("Read Only is ticked: nothing was imported."));
        return false;
    }
    return settleRecordChanges(Dialogs::Cancel);
}

void MainForm::fileImportDictionary()
{
    if (!dictionaryMayChange())
        return;
    const QString path = Dialogs::current().openFileName(
        this, tr("Dictionaries (*.ifo *.index *.tsv *.txt);;All files (*)"),
        QStringLiteral("import dictionary"), tr("Import Dictionary"));
    if (path.isEmpty())
        return;
    const vantro::DictionaryNaming naming = vantro::namingOfDictionary(path);
    ImportChoices choices{vantro::OnConflict::Keep, naming.layout, naming.language};
    if (!Dialogs::current().importOptions(this, path, choices))
        return;
    importDictionaryFile(path, choices);
}

void MainForm::importDictionaryFile(const QString &path, const ImportChoices &choices)
{
    vantro::ImportSource source =
        vantro::openImportSource(path, vantro::ImportFormat::Detect, vantro::RomanScheme::None,
                                 choices.layout, choices.language);
    if (!source.problems.isEmpty()) {
        Dialogs::current().information(this, tr("Import Dictionary"),
                                       source.problems.mid(0, 10).join(u'\n'));
        return;
    }
    Progress progress(this, tr("Import Dictionary"), tr("Importing %1...").arg(path));
    const vantro::ImportOutcome outcome = vantro::importIntoDictionary(
        *DICTDB, *source.records, choices.policy,
        [&progress](qint64 done, qint64 total) { return progress.advance(done, total); },
        source.shortName);
    progress.finish();
    showKeyCount();
    switch (outcome.status) {
    case vantro::ImportOutcome::Status::Cancelled:
        Dialogs::current().information(this, tr("Import Dictionary"),
                                       tr("The import was cancelled: the dictionary is as it "
                                          "was."));
        return;
    case vantro::ImportOutcome::Status::Failed:
        Dialogs::current().information(this, tr("Import Dictionary"),
                                       outcome.why + tr("; the dictionary is as it was."));
        return;
    case vantro::ImportOutcome::Status::Imported:
        readDictionaryForChecking();
        break;
    }
    source.notes.append(outcome.summary.line());
    // The log of imports says later which import brought which records.
    if (QString why; !vantro::appendImportLog(DICTDB->fileName(), QFileInfo(path).fileName(),
                                              source.shortName, outcome.summary, &why))
        source.notes.append(tr("The import is in place, but the log of imports could not be "
                               "written (%1).")
                                .arg(why));
    if (const QString why = DICTDB->replacementNotFlushed(); !why.isEmpty())
        source.notes.append(tr("The import is in place, but its folder could not be flushed to "
                               "disk (%1): a crash now may undo it.")
                                .arg(why));
    Dialogs::current().information(this, tr("Import Dictionary"), source.notes.join(u'\n'));
}

void MainForm::fileExportDictionary()
{
    if (!DICTDB || !DICTDB->isOpen())
        return;
    QString path = Dialogs::current().saveFileName(
        this, tr("StarDict (*.ifo)"), QStringLiteral("export dictionary"), tr("Export Dictionary"));
    if (path.isEmpty())
        return;
    if (!path.endsWith(QLatin1String(".ifo")))
        path += QLatin1String(".ifo");
    Progress progress(this, tr("Export Dictionary"), tr("Exporting to %1...").arg(path));
    const vantro::StarDictExport written =
        vantro::exportStarDict(*DICTDB, path, [&progress](qint64 done, qint64 total) {
            return progress.advance(done, total);
        });
    progress.finish();
    const QString text =
        written.cancelled ? tr("The export was cancelled: nothing was written.")
        : !written.why.isEmpty()
            ? written.why
            : tr("Exported %1 records to %2.").arg(written.written).arg(path) +
                  (written.skipped > 0 ? u'\n' + tr("Left out %1 record(s) an entry cannot give "
                                                    "back: %2")
                                                     .arg(written.skipped)
                                                     .arg(written.refusals.join(u"; "))
                                       : QString());
    Dialogs::current().information(this, tr("Export Dictionary"), text);
}

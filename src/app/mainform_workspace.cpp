// The translation workspace: the ITRANS document, the English pane, find and the edit commands.

#include "mainform.h"

void MainForm::fileNew() {}
void MainForm::fileOpen() {}
void MainForm::fileSave() {}
void MainForm::fileSaveAs() {}
void MainForm::filePrint() {}
void MainForm::editUndo() {}
void MainForm::editRedo() {}
void MainForm::editCut() {}
void MainForm::editCopy() {}
void MainForm::editPaste() {}
void MainForm::editFind() {}
void MainForm::findString(QString) {}
void MainForm::btnLookUpClicked() {}
void MainForm::btnBrowseClicked() {}

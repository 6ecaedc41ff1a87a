// The Help menu: the help window and the About box.

#include "mainform.h"

void MainForm::helpIndex() {}
void MainForm::helpContents() {}
void MainForm::helpAbout() {}

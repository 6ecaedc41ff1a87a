// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QDialog>
#include <QString>

class QPushButton;
class QTextBrowser;

// The modeless help window: a close button above a viewer of the HTML pages in the help
// directory beside the program (or in share/vantro/html of its installation).
class dlgHW : public QDialog
{
    Q_OBJECT

public:
    explicit dlgHW(QWidget *parent = nullptr, const char *name = nullptr, bool modal = false,
                   Qt::WindowFlags fl = {});
    ~dlgHW() override;

    QPushButton *btnClose;
    QTextBrowser *textBrowser;

    // Points the viewer at appDirPath + "html/" (or, where that has no start page, at the
    // installation's share/vantro/html/) and opens the start page.
    virtual void init1();

public slots:
    virtual void setAppDirPath(QString path);

protected slots:
    virtual void languageChange();

private:
    QString appDirPath;
};

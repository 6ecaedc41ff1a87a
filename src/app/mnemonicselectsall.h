// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QObject>

class QLabel;

// A label's mnemonic (Alt+K for the Key field) selects the whole text of its line edit even when
// the line edit has the focus already, so that the next word typed replaces the last one
// instead of being added to it.
class MnemonicSelectsAll : public QObject
{
public:
    explicit MnemonicSelectsAll(QObject *parent) : QObject(parent) {}
    void install(QLabel *label);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
};

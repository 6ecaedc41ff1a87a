// SPDX-License-Identifier: GPL-3.0-or-later
#include "mnemonicselectsall.h"

#include <QEvent>
#include <QLabel>
#include <QLineEdit>

void MnemonicSelectsAll::install(QLabel *label)
{
    label->installEventFilter(this);
}

bool MnemonicSelectsAll::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() != QEvent::Shortcut)
        return false;
    auto *label = qobject_cast<QLabel *>(watched);
    auto *field = label ? qobject_cast<QLineEdit *>(label->buddy()) : nullptr;
    if (!field)
        return false;
    field->setFocus(Qt::ShortcutFocusReason);
    field->selectAll();
    return true;
}

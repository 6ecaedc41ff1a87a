// SPDX-License-Identifier: GPL-3.0-or-later
#include "scripteddialogs.h"

#include <QPrinter>

int ScriptedDialogs::question(QWidget *parent, const QString &title, const QString &text,
                              int defaultButton, int escapeButton)
{
    shown.append(
        {QStringLiteral("question"), title, text, defaultButton, escapeButton, {}, {}, parent});
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

QString ScriptedDialogs::saveFileNameWithFilter(QWidget *parent, const QStringList &filters,
                                                QString &selectedFilter, const QString &objectName,
                                                const QString &caption)
{
    const QString joined = filters.join(QStringLiteral(";;"));
    shown.append({QStringLiteral("save"), caption, {}, -1, -1, joined, objectName, parent});
    selectedFilter = m_filters.isEmpty() ? filters.value(0) : m_filters.takeFirst();
    return nextFileName();
}

int ScriptedDialogs::choice(QWidget *parent, const QString &title, const QString &label,
                            const QStringList &items, int current)
{
    const QString joined = items.join(QStringLiteral(";;"));
    shown.append({QStringLiteral("choice"), title, label, current, -1, joined, {}, parent});
    if (m_answers.isEmpty()) {
        ++unscripted;
        return -1;
    }
    return m_answers.takeFirst();
}

bool ScriptedDialogs::print(QWidget *parent, QPrinter &printer)
{
    shown.append({QStringLiteral("print"), {}, {}, -1, -1, {}, {}, parent});
    const QString file = nextFileName();
    if (file.isEmpty())
        return false;
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(file);
    return true;
}

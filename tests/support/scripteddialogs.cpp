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

// What the box started with is shown as "layout language" (the layout's name as the import
// command takes it), so a test sees what the file's name told.
bool ScriptedDialogs::importOptions(QWidget *parent, const QString &fileName,
                                    ImportChoices &choices)
{
    const QString started =
        vantro::articleLayoutName(choices.layout) + QStringLiteral(" ") + choices.language;
    shown.append(
        {QStringLiteral("import"), fileName, started, int(choices.policy), -1, {}, {}, parent});
    if (m_answers.isEmpty()) {
        ++unscripted;
        return false;
    }
    const int policy = m_answers.takeFirst();
    if (policy < 0)
        return false;
    choices.policy = vantro::OnConflict(policy);
    if (!m_importReadings.isEmpty()) {
        choices.layout = m_importReadings.first().layout;
        choices.language = m_importReadings.takeFirst().language;
    }
    return true;
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

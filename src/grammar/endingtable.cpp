// SPDX-License-Identifier: GPL-3.0-or-later
#include "endingtable.h"

#include "nounsandhi.h"

#include <QString>

namespace vantro {

EndingTable::EndingTable(const char *rows)
{
    const QStringList cells =
        QString::fromLatin1(rows).remove(u'|').split(u' ', Qt::SkipEmptyParts);
    Q_ASSERT_X(cells.size() == int(m_endings.size()), "EndingTable", rows);
    for (int cell = 0; cell < cells.size() && cell < int(m_endings.size()); ++cell) {
        if (cells[cell] == u"-")
            continue;
        for (const QString &ending : cells[cell].split(u','))
            m_endings[std::size_t(cell)].append(SoundString(ending.toLatin1().constData()));
    }
}

FormTable EndingTable::applyTo(const SoundString &stem) const
{
    FormTable forms;
    for (std::size_t cell = 0; cell < m_endings.size(); ++cell)
        for (const SoundString &ending : m_endings[cell])
            forms.at(int(cell)).append(attachEnding(stem, ending));
    return forms;
}

FormTable applyForGender(Gender gender, const EndingTable &masculine, const EndingTable &feminine,
                         const EndingTable &neuter, const SoundString &stem)
{
    const EndingTable &table = gender == Gender::Masculine  ? masculine
                               : gender == Gender::Feminine ? feminine
                                                            : neuter;
    return table.applyTo(stem);
}

} // namespace vantro

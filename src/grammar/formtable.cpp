// SPDX-License-Identifier: GPL-3.0-or-later
#include "formtable.h"

#include "nounsandhi.h"

namespace vantro {

void FormTable::set(GrammaticalCase c, GrammaticalNumber n, const SoundString &form)
{
    Forms &forms = at(c, n);
    forms.clear();
    forms.append(form);
}

void FormTable::add(GrammaticalCase c, GrammaticalNumber n, const SoundString &form)
{
    at(c, n).append(form);
}

void FormTable::vocativeDualAndPluralFromNominative()
{
    for (const GrammaticalNumber n : {GrammaticalNumber::Dual, GrammaticalNumber::Plural})
        at(GrammaticalCase::Vocative, n) = at(GrammaticalCase::Nominative, n);
}

void FormTable::clearVocative()
{
    for (const GrammaticalNumber n :
         {GrammaticalNumber::Singular, GrammaticalNumber::Dual, GrammaticalNumber::Plural})
        clear(GrammaticalCase::Vocative, n);
}

NounParadigm FormTable::render() const
{
    NounParadigm paradigm;
    for (std::size_t cell = 0; cell < m_cells.size(); ++cell) {
        QStringList &texts = paradigm.cells[cell];
        for (const SoundString &form : m_cells[cell]) {
            const QString text = inPause(form).toItrans();
            if (!texts.contains(text))
                texts.append(text);
        }
    }
    return paradigm;
}

} // namespace vantro

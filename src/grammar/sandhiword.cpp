// SPDX-License-Identifier: GPL-3.0-or-later
#include "sandhiword.h"

namespace vantro {

SandhiWord::SandhiWord(QStringView line, const ItransToken *begin, const ItransToken *end)
{
    const SandhiSounds &sounds = SandhiSounds::instance();
    if (end - begin > 1 && sounds.of((end - 1)->letter()).is(SandhiSound::Kind::Virama)) {
        --end;
        virama = line.mid(end->position, end->length);
    }
    for (const ItransToken *token = begin; token != end; ++token) {
        const QStringView text = line.mid(token->position, token->length);
        pieces.append({token->letter(), text});
        if (token->letter())
            m_name += sounds.spelling(token->letter());
        else
            m_name += text;
    }
}

SandhiSound SandhiWord::fromEnd(int n) const
{
    return n < size() ? SandhiSounds::instance().of(pieces[size() - 1 - n].letter) : SandhiSound{};
}

SandhiSound SandhiWord::fromStart(int n) const
{
    return n < size() ? SandhiSounds::instance().of(pieces[n].letter) : SandhiSound{};
}

bool SandhiWord::startsWithOneOf(std::initializer_list<QStringView> starts) const
{
    for (const QStringView start : starts)
        if (m_name.startsWith(start))
            return true;
    return false;
}

} // namespace vantro

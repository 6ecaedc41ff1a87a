#include "linetransliterator.h"

#include "transliterate.h"

namespace vantro {

namespace {

const QStringView kFence = u"##";

// Whether the text leaves a fence open. No ITRANS spelling holds a "#", so the fences are
// exactly the "##" pairs found from the left, as the tokenizer finds them.
bool leavesFenceOpen(QStringView text)
{
    bool open = false;
    for (qsizetype at = text.indexOf(kFence); at >= 0; at = text.indexOf(kFence, at + 2))
        open = !open;
    return open;
}

} // namespace

LineTransliterator::LineTransliterator(TranslitTarget target, TranslitOptions options)
    : m_target(target), m_options(options)
{
}

QString LineTransliterator::convert(QStringView line)
{
    if (m_target == TranslitTarget::Itrans)
        return devanagariToItrans(line, m_options);
    QString out;
    if (m_inFence) {
        const qsizetype close = line.indexOf(kFence);
        if (close < 0)
            return line.toString();
        out = line.left(close).toString();
        line = line.mid(close + kFence.size());
        m_inFence = false;
    }
    m_inFence = leavesFenceOpen(line);
    return out + fromItrans(line);
}

QString LineTransliterator::fromItrans(QStringView itrans) const
{
    return m_target == TranslitTarget::Iast ? itransToIast(itrans, m_options)
                                            : itransToDevanagari(itrans, m_options);
}

} // namespace vantro

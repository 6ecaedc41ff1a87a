// SPDX-License-Identifier: GPL-3.0-or-later
#include "englishwords.h"

#include "englishlemma.h"

#include <QFile>

namespace vantro {

const EnglishWords &EnglishWords::instance()
{
    return EnglishLemmas::instance().words();
}

// An index line is "lemma pos synset_cnt ...": the third field counts the word's senses as that
// part of speech. The licence at the top of each file is indented.
EnglishWords::EnglishWords(const QString &wordNetFolder)
{
    const char *const files[] = {"index.noun", "index.verb", "index.adj", "index.adv"};
    for (std::size_t part = 0; part < std::size(files); ++part) {
        QFile file(wordNetFolder + u'/' + QLatin1String(files[part]));
        if (!file.open(QIODevice::ReadOnly))
            continue;
        const QByteArray text = file.readAll();
        m_words.reserve(m_words.size() + text.count('\n'));
        for (qsizetype at = 0; at < text.size();) {
            qsizetype end = text.indexOf('\n', at);
            if (end < 0)
                end = text.size();
            const qsizetype blank = text.indexOf(' ', at);
            const qsizetype count = blank < 0 ? -1 : text.indexOf(' ', blank + 1);
            if (text.at(at) != ' ' && blank > at && count > blank && count < end) {
                const qsizetype countEnd = text.indexOf(' ', count + 1);
                const int senses =
                    QByteArray(text.constData() + count + 1,
                               (countEnd < 0 || countEnd > end ? end : countEnd) - count - 1)
                        .toInt();
                Senses &entry = m_words[QString::fromLatin1(text.constData() + at, blank - at)];
                entry[part] = quint8(qBound(1, senses, 255));
            }
            at = end + 1;
        }
    }
}

quint8 EnglishWords::partsOf(const QString &word) const
{
    QString key = word;
    key.replace(u' ', u'_');
    const auto found = m_words.constFind(key);
    quint8 parts = 0;
    for (std::size_t i = 0; found != m_words.cend() && i < found->size(); ++i)
        parts |= (*found)[i] ? quint8(1u << i) : quint8(0);
    return parts;
}

int EnglishWords::sensesOf(const QString &word, quint8 parts) const
{
    QString key = word;
    key.replace(u' ', u'_');
    const auto found = m_words.constFind(key);
    int senses = 0;
    for (std::size_t i = 0; found != m_words.cend() && i < found->size(); ++i)
        senses += (parts & (1u << i)) ? (*found)[i] : 0;
    return senses;
}

} // namespace vantro

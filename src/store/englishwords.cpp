// SPDX-License-Identifier: GPL-3.0-or-later
#include "englishwords.h"

#include "englishlemma.h"

#include <QFile>

namespace vantro {

const EnglishWords &EnglishWords::instance()
{
    static const EnglishWords words{QString::fromLatin1(EnglishLemmas::kWordNetFolder)};
    return words;
}

// An index line starts with the lemma and its part of speech; the licence at the top of each
// file is indented.
EnglishWords::EnglishWords(const QString &wordNetFolder)
{
    const std::pair<const char *, PartOfSpeech> files[] = {{"index.noun", Noun},
                                                           {"index.verb", Verb},
                                                           {"index.adj", Adjective},
                                                           {"index.adv", Adverb}};
    for (const auto &[name, part] : files) {
        QFile file(wordNetFolder + u'/' + QLatin1String(name));
        if (!file.open(QIODevice::ReadOnly))
            continue;
        const QByteArray text = file.readAll();
        m_words.reserve(m_words.size() + text.count('\n'));
        for (qsizetype at = 0; at < text.size();) {
            qsizetype end = text.indexOf('\n', at);
            if (end < 0)
                end = text.size();
            const qsizetype blank = text.indexOf(' ', at);
            if (text.at(at) != ' ' && blank > at && blank < end)
                m_words[QString::fromLatin1(text.constData() + at, blank - at)] |= part;
            at = end + 1;
        }
    }
}

quint8 EnglishWords::partsOf(const QString &word) const
{
    QString key = word;
    key.replace(u' ', u'_');
    return m_words.value(key, 0);
}

} // namespace vantro

// SPDX-License-Identifier: GPL-3.0-or-later
#include "englishlemma.h"

#include <QFile>

#include <array>

namespace vantro {

extern const char kIrregularForms[];

namespace {

constexpr int kDeepestRelation = 3;

bool isVowel(QChar c)
{
    return QStringView(u"aeiouy").contains(c);
}

bool hasVowel(const QString &word)
{
    for (const QChar c : word) {
        if (isVowel(c))
            return true;
    }
    return false;
}

// A short stem ending consonant, vowel, consonant (hop, writ) lost a silent e: had it ended so
// in the lemma itself, the consonant would have been doubled (hopping, hopped).
bool lostSilentE(const QString &stem)
{
    const qsizetype n = stem.size();
    return n >= 3 && n <= 4 && !isVowel(stem[n - 1]) && isVowel(stem[n - 2]) &&
           !isVowel(stem[n - 3]) && !QStringView(u"wxy").contains(stem[n - 1]);
}

class Candidates
{
public:
    explicit Candidates(const QString &word) : m_word(word) {}
    // A candidate is a word of three letters or more with a vowel: shorter ones are mostly
    // other words (us, ha) that the rules would wrongly reach.
    void add(const QString &lemma)
    {
        if (lemma.size() >= 3 && hasVowel(lemma) && lemma != m_word && !m_out.contains(lemma))
            m_out.append(lemma);
    }
    // The stem left by -ed, -ing, -er or -est.
    void addStem(const QString &stem)
    {
        const qsizetype n = stem.size();
        const bool doubled = n >= 2 && stem[n - 1] == stem[n - 2] && !isVowel(stem[n - 1]);
        const bool endsDoubled = doubled && QStringView(u"lsfz").contains(stem[n - 1]);
        const bool consonantEnd = n > 0 && !isVowel(stem[n - 1]);
        if (doubled && !endsDoubled)
            add(stem.chopped(1));
        if (lostSilentE(stem))
            add(stem + u'e');
        add(stem);
        if (consonantEnd)
            add(stem + u'e');
        if (endsDoubled)
            add(stem.chopped(1));
    }
    QStringList take() { return m_out; }

private:
    const QString &m_word;
    QStringList m_out;
};

QStringList regularLemmas(const QString &word)
{
    Candidates out(word);
    const auto endsWith = [&word](const char *suffix) {
        return word.endsWith(QLatin1String(suffix));
    };
    for (const char *suffix : {"ies", "ied", "ier"}) {
        if (endsWith(suffix))
            out.add(word.chopped(3) + u'y');
    }
    if (endsWith("iest"))
        out.add(word.chopped(4) + u'y');
    if (endsWith("men"))
        out.add(word.chopped(3) + QStringLiteral("man"));
    if (endsWith("s") && !endsWith("ss") && !endsWith("us") && !endsWith("is"))
        out.add(word.chopped(1));
    const QString beforeEs = word.chopped(qMin<qsizetype>(2, word.size()));
    if (endsWith("es") && (beforeEs.endsWith(u's') || beforeEs.endsWith(u'x') ||
                           beforeEs.endsWith(u'z') || beforeEs.endsWith(QLatin1String("ch")) ||
                           beforeEs.endsWith(QLatin1String("sh")) || beforeEs.endsWith(u'o')))
        out.add(beforeEs);
    for (const char *suffix : {"ed", "ing", "er", "est"}) {
        if (endsWith(suffix))
            out.addStem(word.chopped(qsizetype(qstrlen(suffix))));
    }
    return out.take();
}

} // namespace

const EnglishLemmas &EnglishLemmas::instance()
{
    static const EnglishLemmas lemmas{QString::fromLatin1(kWordNetFolder)};
    return lemmas;
}

EnglishLemmas::EnglishLemmas(const QString &wordNetFolder)
{
    for (const char *list : {"noun.exc", "verb.exc", "adj.exc", "adv.exc"}) {
        QFile file(wordNetFolder + u'/' + QLatin1String(list));
        if (file.open(QIODevice::ReadOnly)) {
            readExceptions(file.readAll());
            m_wordNet = true;
        }
    }
    readExceptions(QByteArray(kIrregularForms));
}

// Lines of "form lemma [lemma...]"; WordNet writes the blanks of a phrase as "_".
void EnglishLemmas::readExceptions(const QByteArray &text)
{
    for (const QByteArray &line : text.split('\n')) {
        QStringList words = QString::fromUtf8(line.simplified()).split(u' ');
        if (words.size() < 2)
            continue;
        words.replaceInStrings(QStringLiteral("_"), QStringLiteral(" "));
        QStringList &lemmas = m_irregular[words.first()];
        for (qsizetype i = 1; i < words.size(); ++i) {
            if (words.at(i) != words.first() && !lemmas.contains(words.at(i)))
                lemmas.append(words.at(i));
        }
    }
}

QStringList EnglishLemmas::lemmasOf(const QString &word) const
{
    QStringList lemmas = m_irregular.value(word);
    for (const QString &regular : regularLemmas(word)) {
        if (!lemmas.contains(regular))
            lemmas.append(regular);
    }
    return lemmas;
}

bool EnglishLemmas::relates(const QString &word, const QString &base) const
{
    QStringList level{word};
    for (int depth = 0; depth < kDeepestRelation && !level.isEmpty(); ++depth) {
        QStringList next;
        for (const QString &form : level)
            next += lemmasOf(form);
        if (next.contains(base))
            return true;
        level = next;
    }
    return false;
}

} // namespace vantro

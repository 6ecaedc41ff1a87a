// SPDX-License-Identifier: GPL-3.0-or-later
#include "englishlemma.h"

#include <QFile>

#include <algorithm>
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

// What a suffix makes of its lemma, which tells what part of speech the lemma must be.
enum class Suffix { Plural, Verbal, Comparative, Men };

struct Candidate
{
    QString lemma;
    Suffix suffix;
};

class Candidates
{
public:
    explicit Candidates(const QString &word) : m_word(word) {}
    // A candidate is a word of three letters or more with a vowel: shorter ones are mostly
    // other words (us, ha) that the rules would wrongly reach.
    void add(const QString &lemma, Suffix suffix)
    {
        const bool known = std::any_of(m_out.cbegin(), m_out.cend(),
                                       [&](const Candidate &c) { return c.lemma == lemma; });
        if (lemma.size() >= 3 && hasVowel(lemma) && lemma != m_word && !known)
            m_out.append({lemma, suffix});
    }
    // The stem left by -ed, -ing, -er or -est.
    void addStem(const QString &stem, Suffix suffix)
    {
        const qsizetype n = stem.size();
        const bool doubled = n >= 2 && stem[n - 1] == stem[n - 2] && !isVowel(stem[n - 1]);
        const bool endsDoubled = doubled && QStringView(u"lsfz").contains(stem[n - 1]);
        const bool consonantEnd = n > 0 && !isVowel(stem[n - 1]);
        if (doubled && !endsDoubled)
            add(stem.chopped(1), suffix);
        if (lostSilentE(stem))
            add(stem + u'e', suffix);
        add(stem, suffix);
        if (consonantEnd)
            add(stem + u'e', suffix);
        if (endsDoubled)
            add(stem.chopped(1), suffix);
    }
    QList<Candidate> take() { return m_out; }

private:
    const QString &m_word;
    QList<Candidate> m_out;
};

QList<Candidate> suffixLemmas(const QString &word)
{
    Candidates out(word);
    const auto endsWith = [&word](const char *suffix) {
        return word.endsWith(QLatin1String(suffix));
    };
    if (endsWith("ies"))
        out.add(word.chopped(3) + u'y', Suffix::Plural);
    if (endsWith("ied"))
        out.add(word.chopped(3) + u'y', Suffix::Verbal);
    if (endsWith("ier"))
        out.add(word.chopped(3) + u'y', Suffix::Comparative);
    if (endsWith("iest"))
        out.add(word.chopped(4) + u'y', Suffix::Comparative);
    if (endsWith("men"))
        out.add(word.chopped(3) + QStringLiteral("man"), Suffix::Men);
    if (endsWith("s") && !endsWith("ss") && !endsWith("us") && !endsWith("is"))
        out.add(word.chopped(1), Suffix::Plural);
    const QString beforeEs = word.chopped(qMin<qsizetype>(2, word.size()));
    if (endsWith("es") && (beforeEs.endsWith(u's') || beforeEs.endsWith(u'x') ||
                           beforeEs.endsWith(u'z') || beforeEs.endsWith(QLatin1String("ch")) ||
                           beforeEs.endsWith(QLatin1String("sh")) || beforeEs.endsWith(u'o')))
        out.add(beforeEs, Suffix::Plural);
    const std::pair<const char *, Suffix> stems[] = {{"ed", Suffix::Verbal},
                                                     {"ing", Suffix::Verbal},
                                                     {"er", Suffix::Comparative},
                                                     {"est", Suffix::Comparative}};
    for (const auto &[suffix, kind] : stems) {
        if (endsWith(suffix))
            out.addStem(word.chopped(qsizetype(qstrlen(suffix))), kind);
    }
    return out.take();
}

// With WordNet: the lemma is a word of the part of speech the suffix makes forms of, and a word
// that is a word in its own right is a form of it only when the lemma is more of a word than it
// (running: run, but evening is no form of even); -er and -est make forms of adjectives only,
// never a noun or verb of its own (hammer is no form of ham, nor liver of live).
bool allowedByWordNet(const EnglishWords &words, const QString &word, const Candidate &candidate)
{
    using W = EnglishWords;
    const quint8 parts = candidate.suffix == Suffix::Plural        ? W::Noun | W::Verb
                         : candidate.suffix == Suffix::Verbal      ? W::Verb
                         : candidate.suffix == Suffix::Comparative ? W::Adjective | W::Adverb
                                                                   : W::Noun;
    const int lemmaSenses = words.sensesOf(candidate.lemma, parts);
    if (lemmaSenses == 0)
        return false;
    if (candidate.suffix == Suffix::Comparative)
        return (words.partsOf(word) & (W::Noun | W::Verb)) == 0;
    const int own = words.sensesOf(word);
    return own == 0 || lemmaSenses > own;
}

} // namespace

const EnglishLemmas &EnglishLemmas::instance()
{
    static const EnglishLemmas lemmas{QString::fromLatin1(kWordNetFolder)};
    return lemmas;
}

EnglishLemmas::EnglishLemmas(const QString &wordNetFolder) : m_words(wordNetFolder)
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

QStringList EnglishLemmas::regularLemmas(const QString &word) const
{
    QStringList lemmas;
    for (const Candidate &candidate : suffixLemmas(word)) {
        if (m_words.isEmpty() || allowedByWordNet(m_words, word, candidate))
            lemmas.append(candidate.lemma);
    }
    return lemmas;
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

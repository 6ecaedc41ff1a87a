// SPDX-License-Identifier: GPL-3.0-or-later
#include "aptearticle.h"

#include "englishlemma.h"
#include "englishwords.h"

#include <QRegularExpression>
#include <QSet>

#include <algorithm>

namespace vantro {
namespace {

constexpr QChar kSanskritFollows = u'\u24B6'; // circled A
constexpr QChar kNewSense = u'\u24B7';        // circled B
constexpr QChar kPartOfSpeech = u'\u24B8';    // circled C
constexpr QChar kEquivalents = u'\u24B9';     // circled D
constexpr QChar kNewPartOfSpeech = u'\u24BA'; // circled E
constexpr QChar kDerivedWord = u'\u24C3';     // circled N

// The small words and the abbreviations of the English of the dictionary.
bool isEnglishAlways(const QString &word)
{
    static const QSet<QString> words{
        QStringLiteral("or"),      QStringLiteral("and"),     QStringLiteral("by"),
        QStringLiteral("with"),    QStringLiteral("in"),      QStringLiteral("of"),
        QStringLiteral("the"),     QStringLiteral("to"),      QStringLiteral("a"),
        QStringLiteral("an"),      QStringLiteral("as"),      QStringLiteral("for"),
        QStringLiteral("from"),    QStringLiteral("at"),      QStringLiteral("on"),
        QStringLiteral("is"),      QStringLiteral("be"),      QStringLiteral("not"),
        QStringLiteral("see"),     QStringLiteral("ex."),     QStringLiteral("comp."),
        QStringLiteral("dat."),    QStringLiteral("acc."),    QStringLiteral("loc."),
        QStringLiteral("abl."),    QStringLiteral("gen."),    QStringLiteral("inst."),
        QStringLiteral("inf."),    QStringLiteral("part."),   QStringLiteral("fut."),
        QStringLiteral("pr."),     QStringLiteral("v."),      QStringLiteral("t."),
        QStringLiteral("i."),      QStringLiteral("s."),      QStringLiteral("a."),
        QStringLiteral("adv."),    QStringLiteral("q."),      QStringLiteral("&c."),
        QStringLiteral("nom."),    QStringLiteral("voc."),    QStringLiteral("sing."),
        QStringLiteral("prep."),   QStringLiteral("conj."),   QStringLiteral("pron."),
        QStringLiteral("it"),      QStringLiteral("his"),     QStringLiteral("one"),
        QStringLiteral("under"),   QStringLiteral("also"),    QStringLiteral("all"),
        QStringLiteral("instr."),  QStringLiteral("abl"),     QStringLiteral("gerund."),
        QStringLiteral("oneself"), QStringLiteral("himself"), QStringLiteral("herself"),
        QStringLiteral("itself"),  QStringLiteral("myself"),  QStringLiteral("yourself"),
        QStringLiteral("sim."),
    };
    // SLP1 writes letters with capitals: "IS" is a root, where "Is" or "is" is English.
    for (qsizetype i = 1; i < word.size(); ++i) {
        if (word.at(i).isUpper())
            return false;
    }
    return words.contains(word.toLower());
}

// Grammar that follows a root or a noun: classes, voices, genders.
bool isGrammarAfter(const QString &word)
{
    static const QSet<QString> grammar{
        QStringLiteral("c."), QStringLiteral("pass."), QStringLiteral("desid."),
        QStringLiteral("m."), QStringLiteral("f."),    QStringLiteral("n."),
    };
    if (grammar.contains(word))
        return true;
    QStringView number(word);
    if (number.endsWith(u'.') || number.endsWith(u','))
        number.chop(1);
    bool ok = false;
    const int n = number.toInt(&ok);
    return ok && n >= 1 && n <= 10 && !number.startsWith(u'0') && !number.startsWith(u'+');
}

bool isRomanWord(const QString &word)
{
    return !word.isEmpty() && std::all_of(word.cbegin(), word.cend(), [](QChar c) {
        return (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z') || c == u'~' || c == u'\'' ||
               c == u'-' || c == u'\u00B0';
    });
}

QString stripped(QString word)
{
    while (!word.isEmpty() && QStringView(u".,;:!?").contains(word.back()))
        word.chop(1);
    return word;
}

bool lookUpEnglishWord(const EnglishWords &english, const QString &lower)
{
    if (english.contains(lower))
        return true;
    for (const QString &lemma : EnglishLemmas::instance().lemmasOf(lower)) {
        if (english.contains(lemma))
            return true;
    }
    return false;
}

// The head of a derived word: "[Abandon]ment" is Abandonment, "Parti(y)coloured" Particoloured.
QString derivedHeadword(QString head)
{
    static const QRegularExpression variant(QStringLiteral("\\([^)]*\\)"));
    // "⒈ [Set] down" beside "⒉ Set-down": the numbers part words spelt alike.
    static const QRegularExpression number(QStringLiteral("[\\x{2488}-\\x{249B}]"));
    head.remove(number);
    head.remove(u'[');
    head.remove(u']');
    head.remove(variant);
    return head.simplified().toLower();
}

class ApteReader
{
public:
    ApteReader(const QString &headword, const ApteScript &script) : m_script(script)
    {
        m_articles.append(Article{headword, {}, {}});
    }
    void readLine(QString line);
    QList<Article> take() { return m_articles; }

private:
    void startSense()
    {
        Article &article = m_articles.last();
        if (article.senses.isEmpty() || !article.senses.last().isEmpty())
            article.senses.append(ArticleSense{});
    }
    void readSanskrit(QString text);

    const ApteScript &m_script;
    QList<Article> m_articles;
    bool m_senseNext = false;
};

void ApteReader::readSanskrit(QString text)
{
    static const QRegularExpression senseNumber(QStringLiteral("^\\s*\\d+\\s+"));
    if (const QString start = text.left(8).trimmed(); !start.isEmpty() && start.front().isDigit())
        text.remove(senseNumber);
    text = text.trimmed();
    if (m_articles.last().senses.isEmpty())
        startSense();
    ArticleSense &sense = m_articles.last().senses.last();
    if (text.startsWith(u'(')) {
        // A bracket the sense starts with is its gloss when it is English.
        const qsizetype end = text.indexOf(u')');
        const QString inner = text.mid(1, end - 1);
        bool english = true;
        const QStringList words = inner.split(u' ', Qt::SkipEmptyParts);
        for (qsizetype i = 0; i < words.size(); ++i)
            english = english && !m_script.isSanskrit(words, i);
        if (english && end > 0) {
            sense.gloss = plainEnglish(inner);
            text = text.mid(end + 1).trimmed();
        }
    }
    readSenseText(text, m_script, sense);
}

void ApteReader::readLine(QString line)
{
    line = line.trimmed();
    if (line.isEmpty())
        return;
    if (line == kNewSense) {
        m_senseNext = true;
        return;
    }
    if (line.startsWith(kDerivedWord)) {
        static const QRegularExpression marker(QStringLiteral("[\u24B6\u24B8]"));
        const qsizetype end = line.indexOf(marker);
        const QString head =
            derivedHeadword(line.mid(1, end < 0 ? -1 : end - 1)
                                .chopped(end > 1 && line.at(end - 1) == u',' ? 1 : 0));
        m_articles.append(Article{head, {}, m_articles.first().headword});
        line = end < 0 ? QString() : line.mid(end);
    }
    if (m_senseNext || line.startsWith(kNewPartOfSpeech)) {
        startSense();
        m_senseNext = false;
    }
    // The Sanskrit follows D (after the part of speech) or A (with none given).
    const qsizetype d = line.indexOf(kEquivalents);
    const qsizetype a = line.indexOf(kSanskritFollows);
    const qsizetype from = d >= 0 ? d : a;
    if (from >= 0)
        readSanskrit(line.mid(from + 1));
    else if (!line.contains(kPartOfSpeech) && !line.startsWith(kNewPartOfSpeech))
        readSanskrit(line);
}

} // namespace

ApteScript::ApteScript(RomanScheme scheme, const EnglishWords &english)
    : m_scheme(scheme == RomanScheme::None ? RomanScheme::Slp1 : scheme), m_english(english)
{
}

bool ApteScript::isSanskrit(const QStringList &words, qsizetype at) const
{
    // The answer depends on the word and on whether grammar follows it; each pair is judged once.
    const bool grammarNext = at + 1 < words.size() && isGrammarAfter(words.at(at + 1));
    QHash<QString, bool> &judged = m_judged[grammarNext ? 1 : 0];
    const auto known = judged.constFind(words.at(at));
    if (known != judged.cend())
        return *known;
    const bool sanskrit = judge(words, at);
    judged.insert(words.at(at), sanskrit);
    return sanskrit;
}

bool ApteScript::judge(const QStringList &words, qsizetype at) const
{
    const QString word = stripped(words.at(at));
    if (word.isEmpty() || !isRomanWord(word) || isEnglishAlways(words.at(at)) ||
        isEnglishAlways(word) || isGrammarAfter(words.at(at)) ||
        words.at(at).toLower() == u"desid." || words.at(at).toLower() == u"pass.")
        return false;
    for (qsizetype i = 1; i < word.size(); ++i) {
        if (word.at(i).isUpper())
            return true;
    }
    if (at + 1 < words.size() && isGrammarAfter(words.at(at + 1)))
        return true;
    // Two letters are rarely an English word outside the small words above ("sa", "na").
    if (word.size() <= 2)
        return true;
    const QString lower = word.toLower();
    if (word.contains(u'-')) {
        for (const QString &part : lower.split(u'-', Qt::SkipEmptyParts)) {
            if (!isEnglishWord(part))
                return true;
        }
        return false;
    }
    return !isEnglishWord(lower);
}

// His English among the Sanskrit comes in phrases, brackets and quotations: a word that stands
// alone between two commas is a Sanskrit one, though it be spelt as an English word is ("cur",
// to steal); only his small words and abbreviations stand so, and capitals (which SLP1 uses
// for letters) are judged as anywhere else.
bool ApteScript::isSanskritAlone(const QString &word) const
{
    const QString bare = stripped(word);
    if (bare.isEmpty() || !bare.front().isLower() || !isRomanWord(bare) || isEnglishAlways(word) ||
        isEnglishAlways(bare) || isGrammarAfter(word))
        return isSanskrit(QStringList{word}, 0);
    return true;
}

// The same words come again and again: each is looked up in WordNet once.
bool ApteScript::isEnglishWord(const QString &lower) const
{
    const auto known = m_englishWords.constFind(lower);
    if (known != m_englishWords.cend())
        return *known;
    const bool english = lookUpEnglishWord(m_english, lower);
    m_englishWords.insert(lower, english);
    return english;
}

// The same words recur all through the dictionary: each is converted once.
QString ApteScript::toItrans(QStringView sanskrit) const
{
    const QString word = sanskrit.toString();
    const auto known = m_itrans.constFind(word);
    if (known != m_itrans.cend())
        return *known;
    const QString itrans = romanizedToItrans(sanskrit, m_scheme);
    m_itrans.insert(word, itrans);
    return itrans;
}

QList<Article> readApteArticle(const QString &headword, const QString &html,
                               const ApteScript &script)
{
    ApteReader reader(headword, script);
    for (const QString &line : articleLines(html))
        reader.readLine(line);
    return reader.take();
}

} // namespace vantro

// SPDX-License-Identifier: GPL-3.0-or-later
#include "borooaharticle.h"

#include "articletext.h"

#include <QRegularExpression>

#include <algorithm>

namespace vantro {
namespace {

constexpr QChar kSenseMark = u'\x1E';
constexpr QChar kAlternativeMark = u'\x1F';

bool isDevanagariLetter(QChar c)
{
    return c.unicode() >= 0x0900 && c.unicode() <= 0x0963;
}

bool hasDevanagari(QStringView text)
{
    for (const QChar c : text) {
        if (isDevanagariLetter(c))
            return true;
    }
    return false;
}

// The article without the echo of its headword: everything up to the first colon outside
// brackets ("ABATE (v. t.):").
QString withoutEcho(const QString &text)
{
    int depth = 0;
    for (qsizetype at = 0; at < text.size(); ++at) {
        const QChar c = text.at(at);
        if (c == u'(')
            ++depth;
        else if (c == u')')
            --depth;
        else if (c == u':' && depth == 0)
            return text.mid(at + 1);
        else if (isDevanagariLetter(c))
            return text.mid(at);
    }
    return text;
}

// Marks the senses (I, II, ... before English) and the alternatives ((1), (2) ...).
QString marked(QString text)
{
    static const QRegularExpression sense(
        QStringLiteral("(^|[\\s:;.\u0964])(?:I|II|III|IV|V|VI|VII|VIII|IX|X)\\.?\\s+(?=[A-Z=])"));
    static const QRegularExpression alternative(QStringLiteral("\\((?:\\d{1,2})\\)\\s"));
    text.replace(sense, QStringLiteral("\\1") + kSenseMark);
    text.replace(alternative, QString(kAlternativeMark));
    return text;
}

bool isClassGroup(const QString &part)
{
    static const QRegularExpression group(
        QStringLiteral("^\\(.*(?:\\bc\\.|Pass\\.|pass\\.|nomi\\.).*\\)\\.?$"));
    return group.match(part).hasMatch();
}

// The root and class printed after the alternatives of a verb ("tyajati, pari-, saM-, (tyaj,
// c. 1.)") belong to its first word.
QStringList partsOf(const QString &alternative)
{
    static const QRegularExpression trailingGroup(QStringLiteral("\\s*(\\([^()]*\\))\\.?$"));
    QStringList parts = splitOutside(alternative, u",;:\u0964");
    // The first word is the first part in Devanagari: English may lead into it ("To bring to
    // life: जीवयति, सं-, उत्- (c. of जीव्)").
    qsizetype first = 0;
    while (first < parts.size() && !hasDevanagari(parts.at(first)))
        ++first;
    for (qsizetype i = first + 1; i < parts.size(); ++i) {
        if (parts.at(first).startsWith(u'('))
            break;
        if (isClassGroup(parts.at(i))) {
            QString group = parts.takeAt(i);
            while (group.endsWith(u'.'))
                group.chop(1);
            parts[first] += u' ' + group;
            break;
        }
        // "pra- (nash, c. 4.)": the group closes the list of prefixes.
        const QRegularExpressionMatch match = trailingGroup.match(parts.at(i));
        if (match.hasMatch() && isClassGroup(match.captured(1)) &&
            parts.at(i).left(match.capturedStart()).trimmed().endsWith(u'-')) {
            parts[i].truncate(match.capturedStart());
            parts[first] += u' ' + match.captured(1);
            break;
        }
    }
    return parts;
}

bool isLabel(const QString &part)
{
    static const QRegularExpression label(
        QStringLiteral("^(?:Lit\\.|Fig\\.|q\\.\\s*v\\.?|i\\.\\s*e\\.|N\\.\\s*B\\.)$"));
    return label.match(part.trimmed()).hasMatch();
}

// English that leads into Sanskrit within one part is a phrase and its rendering.
QString quotedPhrase(const QString &part)
{
    qsizetype first = 0;
    while (first < part.size() && !isDevanagariLetter(part.at(first)) && part.at(first) != u'(')
        ++first;
    if (first == 0 || first == part.size() || part.at(first) == u'(')
        return part;
    qsizetype start = first;
    while (start > 0 && (part.at(start - 1).isSpace() || part.at(start - 1) == u'*'))
        --start;
    const QString english = part.left(start).trimmed();
    // "-नम्" after "प्रकाशः": an ending, not a phrase.
    const bool words =
        std::any_of(english.cbegin(), english.cend(), [](QChar c) { return c.isLetter(); });
    // "“व्यक्ति...”": Sanskrit he quotes is Sanskrit all the same.
    if (!words && english.startsWith(u'\u201C'))
        return part.mid(first).remove(u'\u201D');
    if (!words || isLabel(english) || english.startsWith(u'\u2018'))
        return part;
    return u'\u2018' + english + u'\u2019' + u' ' + part.mid(first);
}

void readPhrases(const QString &text, ArticleSense &sense)
{
    const DevanagariScript script;
    QString english;
    QStringList sanskrit;
    const auto flush = [&] {
        if (!english.isEmpty() || !sanskrit.isEmpty())
            sense.examples.append({plainEnglish(english), sanskrit.join(QStringLiteral(", "))});
        english.clear();
        sanskrit.clear();
    };
    QString cleaned = text;
    cleaned.remove(kAlternativeMark);
    for (const QString &part : splitOutside(cleaned, u":;\u0964")) {
        if (hasDevanagari(part)) {
            ArticleSense rendering;
            readSensePart(part, script, rendering);
            for (const ArticleEquivalent &equivalent : rendering.equivalents)
                sanskrit.append(equivalent.word);
        } else {
            if (!sanskrit.isEmpty())
                flush();
            english += (english.isEmpty() ? QString() : QStringLiteral(" ")) + part;
        }
    }
    flush();
}

bool isSeparator(QChar c)
{
    return c == u',' || c == u';' || c == u':' || c == u'\u0964' || c == kAlternativeMark;
}

// "(?). Musical n.: प्रस्तरः", "v. Regular. N. school:": a full stop after a word, a bracket
// or Sanskrit, and a capital after it, end a sentence; "Malati's f. Lavangika" does not.
bool endsSentence(const QString &text, qsizetype at)
{
    if (text.at(at) != u'.' || at < 2 || at + 2 >= text.size() || text.at(at + 1) != u' ' ||
        !text.at(at + 2).isUpper() || text.at(at + 2).unicode() >= 0x80)
        return false;
    const QChar before = text.at(at - 1);
    return before == u')' || hasDevanagari(QStringView(&before, 1)) ||
           (before.isLetter() && text.at(at - 2).isLetter());
}

// Where the segment that starts at text[from] ends: at the next separator outside brackets, or
// at the end of a sentence.
qsizetype segmentEnd(const QString &text, qsizetype from)
{
    int depth = 0;
    for (qsizetype at = from; at < text.size(); ++at) {
        const QChar c = text.at(at);
        if (c == u'(')
            ++depth;
        else if (c == u')')
            depth = qMax(0, depth - 1);
        else if (depth == 0 && isSeparator(c))
            return at;
        else if (depth == 0 && endsSentence(text, at))
            return at;
    }
    return text.size();
}

// English that can be a phrase: words, not a label, a cross-reference ("v. To befoul") or a
// bracket said of the word before.
bool isPhraseEnglish(const QString &segment)
{
    const QString text = segment.trimmed();
    return !text.isEmpty() && !hasDevanagari(text) && text.front() != u'(' &&
           !text.startsWith(QLatin1String("v.")) && !isLabel(text) &&
           std::any_of(text.cbegin(), text.cend(), [](QChar c) { return c.isLetter(); });
}

// "f. hospital", "F. -piece", "N.-most", "in f. ways": the headword shortened to its first
// letter.
bool quotesHeadword(QStringView segment, QChar initial)
{
    if (initial.isNull())
        return false;
    const QChar lower = initial.toLower();
    for (qsizetype at = segment.indexOf(u'.'); at > 0; at = segment.indexOf(u'.', at + 1)) {
        const bool startsWord =
            at == 1 || segment.at(at - 2).isSpace() || segment.at(at - 2) == u'*';
        const bool endsWord =
            at + 1 == segment.size() || segment.at(at + 1).isSpace() || segment.at(at + 1) == u'-';
        if (startsWord && endsWord && segment.at(at - 1).toLower() == lower)
            return true;
    }
    return false;
}

// "f. hospital: *अनाथबालाश्रमः": English a colon joins to the Sanskrit after it is a phrase
// and its rendering, quoted as one, once the sense has Sanskrit of its own or when it quotes the
// headword; before that it is what the sense means ("Endowment: वृत्तिः").
QString phrasesQuoted(const QString &text, QChar initial)
{
    struct Segment
    {
        QString text;
        QChar end; // the separator after it, or none at the end
        bool phrase = false;
    };
    QList<Segment> segments;
    for (qsizetype start = 0; start <= text.size();) {
        const qsizetype end = segmentEnd(text, start);
        segments.append({text.mid(start, end - start), end < text.size() ? text.at(end) : QChar()});
        start = end + 1;
    }
    bool sanskritBefore = false;
    for (qsizetype i = 0; i < segments.size(); ++i) {
        Segment &segment = segments[i];
        // After a full stop only the headword shortened tells a phrase from a sense's English.
        const bool afterSentence = i > 0 && segments.at(i - 1).end == u'.';
        segment.phrase =
            segment.end == u':' && i + 1 < segments.size() && isPhraseEnglish(segment.text) &&
            ((sanskritBefore && !afterSentence) || quotesHeadword(segment.text, initial)) &&
            hasDevanagari(segments.at(i + 1).text);
        sanskritBefore = sanskritBefore || hasDevanagari(segment.text);
    }
    QString out;
    for (qsizetype i = 0; i < segments.size(); ++i) {
        const Segment &segment = segments.at(i);
        if (segment.phrase) {
            out += QStringLiteral(" \u2018") + segment.text.trimmed() + QStringLiteral("\u2019 ");
            continue;
        }
        out += segment.text;
        // A phrase after a full stop starts a part of its own.
        if (!segment.end.isNull())
            out += segment.end == u'.' && i + 1 < segments.size() && segments.at(i + 1).phrase
                       ? QChar(u';')
                       : segment.end;
    }
    return out;
}

ArticleSense readSense(const QString &text, QChar initial)
{
    const DevanagariScript script;
    ArticleSense sense;
    QString body = text;
    QString phrases;
    static const QRegularExpression phraseMark(QStringLiteral("\\bPh\\s*[.:]\\s*:?"));
    if (const QRegularExpressionMatch match = phraseMark.match(body); match.hasMatch()) {
        phrases = body.mid(match.capturedEnd());
        body = body.left(match.capturedStart());
    }
    body = phrasesQuoted(withVariantsSpelledOut(body), initial);
    for (const QString &alternative : body.split(kAlternativeMark)) {
        for (const QString &part : partsOf(alternative)) {
            if (isLabel(part) || part == u"etc." || part == u"(?)" || part == u"?")
                continue;
            readSensePart(quotedPhrase(part), script, sense);
        }
    }
    if (!phrases.trimmed().isEmpty())
        readPhrases(phrases, sense);
    return sense;
}

} // namespace

QList<Article> readBorooahArticle(const QString &headword, const QString &html)
{
    const QString text = marked(withoutEcho(joinedLines(articleLines(html))));
    Article article{headword, {}, {}};
    const QChar initial = headword.isEmpty() ? QChar() : headword.front();
    for (const QString &part : text.split(kSenseMark)) {
        ArticleSense sense = readSense(part, initial);
        if (!sense.isEmpty())
            article.senses.append(sense);
    }
    return {article};
}

} // namespace vantro

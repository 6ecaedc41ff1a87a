// SPDX-License-Identifier: GPL-3.0-or-later
#include "meaningtext.h"

#include "transliterate.h"

#include <QHash>
#include <QRegularExpression>

namespace vantro {
namespace {

bool isDevanagari(QChar c)
{
    const char16_t u = c.unicode();
    return (u >= 0x0900 && u <= 0x097F) || (u >= 0xA8E0 && u <= 0xA8FF) ||
           (u >= 0x1CD0 && u <= 0x1CFF);
}

QString decodeEntity(QStringView name)
{
    static const QHash<QString, QString> named{
        {QStringLiteral("amp"), QStringLiteral("&")},
        {QStringLiteral("lt"), QStringLiteral("<")},
        {QStringLiteral("gt"), QStringLiteral(">")},
        {QStringLiteral("quot"), QStringLiteral("\"")},
        {QStringLiteral("apos"), QStringLiteral("'")},
        {QStringLiteral("nbsp"), QStringLiteral(" ")},
        {QStringLiteral("mdash"), QStringLiteral("-")},
        {QStringLiteral("ndash"), QStringLiteral("-")},
    };
    if (name.startsWith(u'#')) {
        bool number = false;
        const uint code = name.startsWith(u"#x", Qt::CaseInsensitive)
                              ? name.mid(2).toUInt(&number, 16)
                              : name.mid(1).toUInt(&number, 10);
        return number && code > 0 && code <= 0x10FFFF
                   ? QString::fromUcs4(reinterpret_cast<const char32_t *>(&code), 1)
                   : QString();
    }
    return named.value(name.toString().toLower());
}

QString decodeEntities(const QString &text)
{
    static const QRegularExpression entity(QStringLiteral("&(#?[0-9A-Za-z]{1,10});"));
    QString out;
    qsizetype at = 0;
    for (auto it = entity.globalMatch(text); it.hasNext();) {
        const QRegularExpressionMatch match = it.next();
        const QString decoded = decodeEntity(match.capturedView(1));
        out += QStringView(text).mid(at, match.capturedStart() - at);
        out += decoded.isNull() ? match.captured() : decoded;
        at = match.capturedEnd();
    }
    out += QStringView(text).mid(at);
    return out;
}

// Characters outside Latin-1 that dictionaries commonly hold, in their plain forms.
QString latin1Form(QChar c)
{
    switch (c.unicode()) {
    case 0x2018:
    case 0x2019:
    case 0x201B:
    case 0x02BC:
    case 0x2032:
        return QStringLiteral("'");
    case 0x201C:
    case 0x201D:
    case 0x2033:
        return QStringLiteral("\"");
    case 0x2010:
    case 0x2011:
    case 0x2012:
    case 0x2013:
    case 0x2014:
    case 0x2212:
        return QStringLiteral("-");
    case 0x2026:
        return QStringLiteral("...");
    case 0x2022:
        return QStringLiteral("*");
    default:
        break;
    }
    // A letter in a circle or a square marks something; it is no letter of the text.
    if (c.decompositionTag() == QChar::Circle || c.decompositionTag() == QChar::Square)
        return QStringLiteral("?");
    // A letter with marks (an IAST vowel, say) keeps its letter when that is Latin-1.
    const QString decomposed = QString(c).normalized(QString::NormalizationForm_KD);
    QString kept;
    for (const QChar part : decomposed) {
        if (part.unicode() <= 0xFF)
            kept += part;
        else if (part.category() != QChar::Mark_NonSpacing)
            return QStringLiteral("?");
    }
    return kept.isEmpty() ? QStringLiteral("?") : kept;
}

QString toLatin1Text(const QString &text, bool *lossy, qsizetype *unplain = nullptr)
{
    QString out;
    out.reserve(text.size());
    for (const QChar c : text) {
        if (c.unicode() <= 0xFF) {
            out += c;
            continue;
        }
        if (c.isLowSurrogate())
            continue;
        const QString form = latin1Form(c);
        if (form.contains(u'?')) {
            if (lossy)
                *lossy = true;
            if (unplain)
                ++*unplain;
        }
        out += form;
    }
    return out;
}

bool isLatinLetter(QChar c)
{
    return !isDevanagari(c) && (c.isLetterOrNumber() || c.isMark());
}

// English text: fenced from its first word to the end of its last, so that the preview shows
// it as English; the blanks around it stay outside.
QString fencedEnglish(QStringView text)
{
    qsizetype start = 0;
    while (start < text.size() && text.at(start).isSpace())
        ++start;
    qsizetype end = text.size();
    // The "; " that joined it to the next line stays outside too.
    while (end > start && (text.at(end - 1).isSpace() || text.at(end - 1) == u';'))
        --end;
    QString fenced = text.left(start).toString() + QStringLiteral("##");
    fenced += text.mid(start, end - start);
    fenced += QStringLiteral("##");
    fenced += text.mid(end);
    return fenced;
}

// Apostrophes and tildes belong to a romanized word: avagraha and candrabindu in some schemes.
bool inRomanWord(QChar c)
{
    return isLatinLetter(c) || c == u'\'' || c == u'~' || c == u'\u2019';
}

QString romanized(QStringView text, RomanScheme scheme)
{
    QString out;
    for (qsizetype at = 0; at < text.size();) {
        qsizetype end = at + 1;
        const bool word = inRomanWord(text.at(at));
        while (end < text.size() && inRomanWord(text.at(end)) == word)
            ++end;
        out += word ? romanizedToItrans(text.mid(at, end - at), scheme)
                    : text.mid(at, end - at).toString();
        at = end;
    }
    return out;
}

// The end of the run that starts at a Devanagari letter or Latin letter: the next letter of the
// other script, less the punctuation joined to it ("...; \"Only" leaves the quote to Only).
qsizetype runEnd(const QString &text, qsizetype first, bool devanagari)
{
    qsizetype end = first + 1;
    while (end < text.size() &&
           (devanagari ? !isLatinLetter(text.at(end)) : !isDevanagari(text.at(end))))
        ++end;
    while (end < text.size() && end - 1 > first && !text.at(end - 1).isSpace() &&
           !isDevanagari(text.at(end - 1)) && !isLatinLetter(text.at(end - 1)))
        --end;
    return end;
}

// Devanagari runs (with the blanks and punctuation between their words) go through the
// converter's reader; the Latin text between them is English, or romanized Sanskrit in the
// scheme named.
QString convertRuns(const QString &text, RomanScheme scheme)
{
    QString out;
    for (qsizetype at = 0; at < text.size();) {
        qsizetype first = at;
        while (first < text.size() && !isDevanagari(text.at(first)) &&
               !isLatinLetter(text.at(first)))
            ++first;
        if (first == text.size()) {
            out += QStringView(text).mid(at);
            break;
        }
        const bool devanagari = isDevanagari(text.at(first));
        const qsizetype end = runEnd(text, first, devanagari);
        const QStringView run = QStringView(text).mid(at, end - at);
        if (devanagari)
            out += devanagariToItrans(run);
        else if (scheme == RomanScheme::None)
            out += fencedEnglish(run);
        else
            out += romanized(run, scheme);
        at = end;
    }
    return out;
}

QString lettersOf(QStringView text)
{
    QString letters;
    for (const QChar c : text) {
        if (c.isLetterOrNumber())
            letters += c.toLower();
    }
    return letters;
}

// dictd and the converters from it open a definition with the headword, its pronunciation
// between slashes and its parts of speech in angle brackets ("water /wˈɔːtə/ <N>"). Only a
// first line that holds nothing more is an echo: "water <n> जलम्" or "cat /kæt/ n." gives a
// meaning, and a definition that is the headword alone is what the dictionary says.
// The word of the first line that is not blank when the line is an echo, and where the
// definition after it starts.
QString echoedWord(const QString &plain, qsizetype *rest = nullptr)
{
    static const QRegularExpression echo(
        QStringLiteral("^\\s*(.*?)\\s*(/[^/\\n]*/)?\\s*((<[^<>\\n]*>\\s*)*)$"));
    qsizetype start = 0;
    while (start < plain.size() && plain.at(start).isSpace())
        ++start;
    const qsizetype lineEnd = plain.indexOf(u'\n', start);
    if (lineEnd < 0 || plain.mid(lineEnd + 1).trimmed().isEmpty())
        return {};
    const QRegularExpressionMatch match =
        echo.match(QStringView(plain).mid(start, lineEnd - start));
    if (rest)
        *rest = lineEnd + 1;
    return match.hasMatch() ? match.captured(1) : QString();
}

} // namespace

QString withoutHeadwordLine(const QString &plain, const QString &headword)
{
    const QString wanted = lettersOf(headword);
    qsizetype rest = 0;
    if (wanted.isEmpty() || lettersOf(echoedWord(plain, &rest)) != wanted)
        return plain;
    return plain.mid(rest);
}

QString writtenHeadword(const QString &plain, const QString &indexed)
{
    const QString written = echoedWord(plain);
    const QString letters = lettersOf(indexed);
    return !letters.isEmpty() && lettersOf(written) == letters ? written : indexed;
}

bool holdsHtmlBreaks(QStringView text)
{
    static const QRegularExpression lineBreak(QStringLiteral("<\\s*br\\s*/?\\s*>"),
                                              QRegularExpression::CaseInsensitiveOption);
    return lineBreak.match(text).hasMatch();
}

bool isDatabaseEntry(const QString &headword)
{
    return headword.startsWith(QLatin1String("00database")) ||
           headword.startsWith(QLatin1String("00-database"));
}

QString plainDefinition(QStringView definition, DefinitionMarkup markup)
{
    if (markup == DefinitionMarkup::Plain || markup == DefinitionMarkup::Meaning)
        return definition.toString();
    static const QRegularExpression hidden(
        QStringLiteral("<(script|style|k)\\b[^>]*>.*?</\\1\\s*>"),
        QRegularExpression::CaseInsensitiveOption | QRegularExpression::DotMatchesEverythingOption);
    static const QRegularExpression lineEnding(
        QStringLiteral("<\\s*br\\s*/?\\s*>|</"
                       "\\s*(p|div|li|tr|h[1-6]|blockquote|def)\\s*>|<\\s*li\\b[^>]*>"),
        QRegularExpression::CaseInsensitiveOption);
    static const QRegularExpression tag(QStringLiteral("<[^>]*>"));
    static const QRegularExpression crossReference(
        QStringLiteral("<a\\s[^>]*href\\s*=\\s*\"bword://[^\"]*\"[^>]*>([^<]*)</a\\s*>"),
        QRegularExpression::CaseInsensitiveOption);
    static const QRegularExpression rule(QStringLiteral("<\\s*hr\\s*/?\\s*>"),
                                         QRegularExpression::CaseInsensitiveOption);
    QString text = definition.toString();
    // In markup a line end is only a blank; the tags say where lines end.
    text.replace(u'\n', u' ');
    text.remove(hidden);
    text.replace(rule, QString(kDefinitionBreak));
    // A cross-reference is written as dictd writes one, so that a converted dictionary gives
    // the meanings the dictd one does.
    text.replace(crossReference, QStringLiteral("{\\1}"));
    text.replace(lineEnding, QStringLiteral("\n"));
    text.remove(tag);
    return decodeEntities(text);
}

QString meaningFromDefinition(QStringView plain, RomanScheme scheme, bool *lossy,
                              qsizetype *unplain)
{
    static const QRegularExpression blanks(QStringLiteral("[ \\t\\x{00A0}]+"));
    QStringList lines;
    for (QStringView line : plain.split(u'\n')) {
        QString cleaned = line.toString().replace(blanks, QStringLiteral(" ")).trimmed();
        if (!cleaned.isEmpty())
            lines.append(cleaned);
    }
    QString text = lines.join(QStringLiteral("; "));
    text.replace(u'|', u'/');
    text.replace(u'\0', u' ');
    text = convertRuns(text, scheme);
    text.replace(QStringLiteral("||"), QStringLiteral(".."));
    text.replace(u'|', u'.');
    return toLatin1Text(text, lossy, unplain);
}

QString latin1Meaning(const QString &meaning, qsizetype *unplain)
{
    return toLatin1Text(meaning, nullptr, unplain);
}

QString languageOfDictionary(const QString &bookName, const QString &fileName)
{
    // ISO 639-2 codes the dictionaries use, as the two-letter codes of ISO 639-1.
    static const QHash<QString, QString> twoLetters{
        {QStringLiteral("san"), QStringLiteral("sa")},
        {QStringLiteral("hin"), QStringLiteral("hi")},
        {QStringLiteral("eng"), QStringLiteral("en")},
        {QStringLiteral("deu"), QStringLiteral("de")},
        {QStringLiteral("ger"), QStringLiteral("de")},
        {QStringLiteral("fra"), QStringLiteral("fr")},
        {QStringLiteral("fre"), QStringLiteral("fr")},
        {QStringLiteral("spa"), QStringLiteral("es")},
        {QStringLiteral("ita"), QStringLiteral("it")},
        {QStringLiteral("por"), QStringLiteral("pt")},
        {QStringLiteral("rus"), QStringLiteral("ru")},
        {QStringLiteral("ben"), QStringLiteral("bn")},
        {QStringLiteral("mar"), QStringLiteral("mr")},
        {QStringLiteral("guj"), QStringLiteral("gu")},
        {QStringLiteral("tam"), QStringLiteral("ta")},
        {QStringLiteral("tel"), QStringLiteral("te")},
        {QStringLiteral("kan"), QStringLiteral("kn")},
        {QStringLiteral("mal"), QStringLiteral("ml")},
        {QStringLiteral("pan"), QStringLiteral("pa")},
        {QStringLiteral("urd"), QStringLiteral("ur")},
        {QStringLiteral("nep"), QStringLiteral("ne")},
        {QStringLiteral("ori"), QStringLiteral("or")},
    };
    static const QRegularExpression pair(
        QStringLiteral("(?:^|[^a-z])(en|eng)[-_]([a-z]{2,3})(?:$|[^a-z])"));
    for (const QString &name : {bookName, fileName}) {
        const QRegularExpressionMatch match = pair.match(name.toLower());
        if (!match.hasMatch())
            continue;
        const QString code = match.captured(2);
        if (code.size() == 2)
            return code;
        if (twoLetters.contains(code))
            return twoLetters.value(code);
    }
    return {};
}

QString foreignMeaning(const QString &meaning, const QString &language)
{
    QString text = meaning;
    text.remove(QStringLiteral("##"));
    text = text.simplified();
    if (text.isEmpty())
        return {};
    return QStringLiteral("##[%1] %2##").arg(language, text);
}

} // namespace vantro

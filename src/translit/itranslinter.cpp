// SPDX-License-Identifier: GPL-3.0-or-later
#include "itranslinter.h"

#include <algorithm>

namespace vantro {

namespace {

bool isUnknown(const ItransToken &token, QStringView text)
{
    if (token.kind != ItransToken::Kind::Other)
        return false;
    const QChar c = text[token.position];
    return c.isLetterOrNumber() || c.isMark() || c.isHighSurrogate() || c == u'^' || c == u'~' ||
           c == u'#';
}

// The nasal of each stop's class, which Sanskrit writes in place of an anusvara before it.
QString classNasal(const Letter &stop)
{
    static const QHash<QString, QString> nasals = [] {
        const std::pair<const char *, std::array<const char *, 5>> classes[] = {
            {"~N", {"k", "kh", "g", "gh", "kSh"}}, {"~n", {"ch", "Ch", "j", "jh", "j~n"}},
            {"N", {"T", "Th", "D", "Dh"}},         {"n", {"t", "th", "d", "dh"}},
            {"m", {"p", "ph", "b", "bh"}},
        };
        QHash<QString, QString> map;
        for (const auto &[nasal, stops] : classes)
            for (const char *s : stops)
                if (s)
                    map.insert(QString::fromLatin1(s), QString::fromLatin1(nasal));
        return map;
    }();
    return nasals.value(QString::fromLatin1(stop.preferred()));
}

bool isNasalConsonant(const Letter *letter)
{
    static const QSet<const Letter *> nasals = [] {
        QSet<const Letter *> found;
        for (const Letter *l : Scheme::instance().letters())
            for (const char *nasal : {"~N", "~n", "N", "n", "m"})
                if (l->letterClass == LetterClass::Consonant && qstrcmp(l->preferred(), nasal) == 0)
                    found.insert(l);
        return found;
    }();
    return nasals.contains(letter);
}

bool isBlank(QChar c)
{
    return c == u' ' || c == u'\t' || c == u'\n' || c == u'\r';
}

// Whether a letter follows the one before it, as the signs and the virama do.
bool followsALetter(const Letter *letter)
{
    return letter && (letter->letterClass == LetterClass::Sign ||
                      letter->letterClass == LetterClass::Accent ||
                      letter->letterClass == LetterClass::Virama);
}

bool isAnusvara(const Letter *letter)
{
    return letter && letter->letterClass == LetterClass::Sign &&
           QStringView(letter->devanagari) == u"ं";
}

} // namespace

QVector<LintFinding> ItransLinter::lint(QStringView text)
{
    m_firstSpelling.clear();
    m_reportedSpellings.clear();
    return lintPart(text, 1);
}

QVector<LintFinding> ItransLinter::lintPart(QStringView text, int firstLine)
{
    m_text = text;
    m_firstLine = firstLine;
    m_tokens = tokenizeItrans(text);
    m_findings.clear();
    m_lineStarts = {0};
    for (int i = 0; i < text.size(); ++i)
        if (text[i] == u'\n')
            m_lineStarts.append(i + 1);
    for (int i = 0; i < m_tokens.size(); ++i) {
        checkUnknown(i);
        checkSpelling(m_tokens[i]);
        checkAnusvara(i);
        checkVowelRun(i);
        checkClassNasal(i);
        checkSign(i);
        checkInvisible(i);
    }
    std::stable_sort(m_findings.begin(), m_findings.end(),
                     [](const auto &a, const auto &b) { return a.first < b.first; });
    QVector<LintFinding> findings;
    for (const auto &finding : m_findings)
        findings.append(finding.second);
    return findings;
}

// A run of unknown characters is one finding, reported at its first character.
void ItransLinter::checkUnknown(int index)
{
    if (!isUnknown(m_tokens[index], m_text))
        return;
    if (index > 0 && isUnknown(m_tokens[index - 1], m_text))
        return;
    QString run;
    for (int i = index; i < m_tokens.size() && isUnknown(m_tokens[i], m_text); ++i)
        run += source(m_tokens[i]);
    report(m_tokens[index].position, QStringLiteral("not ITRANS: \"%1\"").arg(run));
}

void ItransLinter::checkSpelling(const ItransToken &token)
{
    if (!token.isLetter())
        return;
    const auto first = m_firstSpelling.constFind(token.letter());
    if (first == m_firstSpelling.constEnd()) {
        m_firstSpelling.insert(token.letter(), {token.spelling.alternate, source(token),
                                                positionText(token.position)});
        return;
    }
    if (first->alternate == token.spelling.alternate)
        return;
    const QString spelling = source(token);
    if (m_reportedSpellings.contains(spelling))
        return;
    m_reportedSpellings.insert(spelling);
    report(token.position, QStringLiteral("mixed spellings: \"%1\" here, \"%2\" at %3 (both %4)")
                               .arg(spelling, first->source, first->position,
                                    QString::fromUtf16(token.letter()->devanagari)));
}

void ItransLinter::checkAnusvara(int index)
{
    if (!isAnusvara(m_tokens[index].letter()) || index + 1 >= m_tokens.size())
        return;
    const ItransToken &next = m_tokens[index + 1];
    const QString nasal = next.isLetter() ? classNasal(*next.letter()) : QString();
    if (nasal.isEmpty())
        return;
    report(m_tokens[index].position,
           QStringLiteral("anusvara \"%1\" before the stop \"%2\": the class nasal is \"%3\"")
               .arg(source(m_tokens[index]), source(next), nasal));
}

void ItransLinter::checkVowelRun(int index)
{
    if (index == 0 || !m_tokens[index].isLetter() || !m_tokens[index - 1].isLetter())
        return;
    if (!m_tokens[index].letter()->isVowel() || !m_tokens[index - 1].letter()->isVowel())
        return;
    report(m_tokens[index].position,
           QStringLiteral("vowels \"%1\" and \"%2\" run together: write \"_\" where they part")
               .arg(source(m_tokens[index - 1]), source(m_tokens[index])));
}

void ItransLinter::checkClassNasal(int index)
{
    if (!isNasalConsonant(m_tokens[index].letter()) || index + 1 >= m_tokens.size())
        return;
    const ItransToken &next = m_tokens[index + 1];
    const QString nasal = next.isLetter() ? classNasal(*next.letter()) : QString();
    const QLatin1String typed(m_tokens[index].letter()->preferred());
    if (nasal.isEmpty() || nasal == typed)
        return;
    // A word's final n stays n before k, g, p, b... of the next word when the two are written
    // as one (tAngachChati); only before palatals and retroflexes does sandhi change it.
    if (typed == QLatin1String("n") && nasal != QLatin1String("~n") && nasal != QLatin1String("N"))
        return;
    report(m_tokens[index].position,
           QStringLiteral("nasal \"%1\" before the stop \"%2\": the class nasal is \"%3\"")
               .arg(source(m_tokens[index]), source(next), nasal));
}

// A sign or virama typed after a blank or at the start of a line has no letter to sit on; a
// virama after anything but a consonant is written by neither script.
void ItransLinter::checkSign(int index)
{
    const ItransToken &token = m_tokens[index];
    if (!followsALetter(token.letter()))
        return;
    int before = index - 1;
    while (before >= 0 && m_tokens[before].kind == ItransToken::Kind::Separator)
        --before;
    const QString sign = source(token);
    if (before < 0 || m_text[token.position - 1] == u'\n')
        return report(token.position, QStringLiteral("loose \"%1\" at the start of a line: a "
                                                     "sign belongs to the letter before it")
                                          .arg(sign));
    const ItransToken &previous = m_tokens[before];
    if (previous.kind == ItransToken::Kind::Other && isBlank(m_text[previous.position]))
        return report(token.position, QStringLiteral("loose \"%1\" after a blank: a sign "
                                                     "belongs to the letter before it")
                                          .arg(sign));
    if (token.letter()->letterClass != LetterClass::Virama ||
        (previous.isLetter() && previous.letter()->isConsonant()))
        return;
    const QString after = previous.isLetter() && previous.letter()->isVowel()
                              ? QStringLiteral("a vowel")
                              : QStringLiteral("\"%1\"").arg(source(previous));
    report(token.position,
           QStringLiteral("\"%1\" after %2: a virama follows only a consonant").arg(sign, after));
}

void ItransLinter::checkInvisible(int index)
{
    const ItransToken &token = m_tokens[index];
    if (token.kind != ItransToken::Kind::Other)
        return;
    const QChar c = m_text[token.position];
    if (c != u'\u200C' && c != u'\u200D')
        return;
    report(token.position,
           QStringLiteral("invisible U+%1 (zero width %2): not ITRANS")
               .arg(QString::number(c.unicode(), 16).toUpper(),
                    c == u'\u200D' ? QStringLiteral("joiner") : QStringLiteral("non-joiner")));
}

void ItransLinter::report(int position, const QString &message)
{
    m_findings.append(
        {position, LintFinding{m_firstLine + lineIndex(position), column(position), message}});
}

QString ItransLinter::source(const ItransToken &token) const
{
    return m_text.mid(token.position, token.length).toString();
}

QString ItransLinter::positionText(int position) const
{
    return QStringLiteral("%1:%2").arg(m_firstLine + lineIndex(position)).arg(column(position));
}

int ItransLinter::lineIndex(int position) const
{
    const auto next = std::upper_bound(m_lineStarts.begin(), m_lineStarts.end(), position);
    return int(next - m_lineStarts.begin()) - 1;
}

int ItransLinter::column(int position) const
{
    int characters = 1;
    for (int i = m_lineStarts[lineIndex(position)]; i < position; ++i)
        if (!m_text[i].isLowSurrogate())
            ++characters;
    return characters;
}

} // namespace vantro

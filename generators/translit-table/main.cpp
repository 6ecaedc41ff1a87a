// SPDX-License-Identifier: GPL-3.0-or-later
// Writes the ITRANS help page from the converter's own table, so that the page and the
// converter cannot disagree. Usage: vantro-translit-table OUTPUT.html
#include "scheme.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStringList>
#include <QTextStream>

#include <cstdio>

using namespace vantro;

namespace {

struct Section
{
    const char *title;
    QList<LetterClass> classes;
};

const Section kSections[] = {
    {"Vowels", {LetterClass::Vowel}},
    {"Consonants", {LetterClass::Consonant}},
    {"Conjuncts written as one unit", {LetterClass::Conjunct}},
    {"Consonants with nukta", {LetterClass::Nukta}},
    {"Signs", {LetterClass::Sign, LetterClass::Virama}},
    {"Vedic accents", {LetterClass::Accent}},
    {"Symbols", {LetterClass::Symbol, LetterClass::Om}},
    {"Digits", {LetterClass::Digit}},
};

QString spellings(const Letter &letter)
{
    QStringList all;
    for (const char *spelling : letter.itrans)
        if (spelling)
            all << QStringLiteral("<tt>%1</tt>").arg(QString::fromLatin1(spelling).toHtmlEscaped());
    return all.join(QStringLiteral(" or "));
}

// Dependent signs are shown on a dotted circle, as Unicode charts show them.
QString devanagari(const Letter &letter)
{
    const QString independent = QString::fromUtf16(letter.devanagari);
    const bool dependent = letter.letterClass == LetterClass::Sign ||
                           letter.letterClass == LetterClass::Virama ||
                           letter.letterClass == LetterClass::Accent;
    QString text = dependent ? QStringLiteral(u"◌") + independent : independent;
    if (letter.isVowel() && *letter.sign)
        text += QStringLiteral(u"  ◌") + QString::fromUtf16(letter.sign);
    return text;
}

QString row(const Letter &letter)
{
    // An accent is a combining mark in IAST too.
    const QString iast =
        (letter.letterClass == LetterClass::Accent ? QStringLiteral(u"◌") : QString()) +
        QString::fromUtf16(letter.iast);
    return QStringLiteral("<tr><td>%1</td><td><big>%2</big></td><td>%3</td></tr>\n")
        .arg(spellings(letter), devanagari(letter),
             iast.isEmpty() ? QStringLiteral("(none)") : iast.toHtmlEscaped());
}

QString section(const Section &section)
{
    QString html = QStringLiteral("<h2>%1</h2>\n<table border=\"1\" cellpadding=\"4\">\n"
                                  "<tr><th>ITRANS</th><th>Devanagari</th><th>IAST</th></tr>\n")
                       .arg(QString::fromLatin1(section.title));
    for (const Letter *letter : Scheme::instance().letters())
        if (section.classes.contains(letter->letterClass))
            html += row(*letter);
    return html + QStringLiteral("</table>\n");
}

// IAST gives every letter its own spelling, so that the IAST can be read back without doubt.
QString iastNotes()
{
    return QStringLiteral(
        "<h2>IAST</h2>\n<p>Every letter has a spelling of its own in the IAST column, so that "
        "IAST output can be read back without guessing:</p>\n<ul>\n"
        "<li>\u0921\u093C and \u0922\u093C are <tt>r\u0324</tt> and <tt>r\u0324h</tt> "
        "(r with a diaeresis below), and \u0933 is <tt>l\u0324</tt>, because "
        "<tt>\u1E5B</tt> and <tt>\u1E37</tt> already stand for the vowels \u090B and "
        "\u090C.</li>\n"
        "<li>Where a consonant is followed by one that would join it into another letter, "
        "a colon goes between them, as ISO 15919 writes it: <tt>k_ha</tt> (\u0915\u094D"
        "\u0939) is <tt>k:ha</tt>, since <tt>kha</tt> is \u0916. The same holds for g, c, "
        "j, \u1E6D, \u1E0D, t, d, p, b and r\u0324 before h.</li>\n"
        "<li>After a, the vowels i and u of a hiatus carry a diaeresis: <tt>a_i</tt> is "
        "<tt>a\u00EF</tt>, not the diphthong <tt>ai</tt>.</li>\n"
        "<li>The candra e (\u090D, \u0945) is <tt>\u00EA</tt> and the candrabindu with "
        "virama (\uA8F3) is <tt>\u1E41</tt>, as neither has an IAST letter; the "
        "anusvara stays <tt>\u1E43</tt>.</li>\n"
        "<li>The accents are combining marks on the vowel: udatta an acute "
        "(<tt>a\u0301</tt>), anudatta a line below (<tt>a\u0331</tt>), double svarita a "
        "double vertical line above (<tt>a\u030E</tt>).</li>\n"
        "<li>The virama and the zero width non-joiner write nothing in IAST.</li>\n</ul>\n");
}

QString page()
{
    QString html = QStringLiteral(
        "<!DOCTYPE html>\n<html>\n<head>\n<meta charset=\"utf-8\">\n"
        "<title>The ITRANS table</title>\n</head>\n<body>\n"
        "<p><a href=\"nuvelto.html\">Contents</a></p>\n<h1>The ITRANS table</h1>\n"
        "<p>Every spelling that <tt>vantro-translit</tt> reads, with the Devanagari and IAST "
        "it writes. Where a letter has several spellings they give the same letter; the first "
        "is the one written when Devanagari is turned back into ITRANS. Spellings are "
        "case-sensitive and the longest one wins: <tt>kh</tt> is one letter, <tt>k_h</tt> two."
        "</p>\n<ul>\n"
        "<li>A vowel after a consonant is written as its sign; <tt>a</tt> leaves the "
        "consonant bare.</li>\n"
        "<li>Consonants without a vowel between them join into a cluster.</li>\n"
        "<li>A consonant at the end of a word takes a virama (<tt>vAk</tt> gives "
        "\u0935\u093E\u0915\u094D). With <tt>--explicit-virama</tt> it keeps its inherent a "
        "and only <tt>.h</tt> writes the virama.</li>\n"
        "<li><tt>_</tt> keeps two letters apart and writes nothing: <tt>a_i</tt>.</li>\n"
        "<li>Text between <tt>##</tt> and <tt>##</tt> is copied unchanged; so is anything "
        "that is not in this table.</li>\n"
        "<li><tt>OM</tt> is read as \u0950 except right after a consonant, where "
        "<tt>kOM</tt> is \u0915\u094B\u0902.</li>\n"
        "<li><tt>.h</tt> before a consonant writes the virama and a zero width non-joiner, so "
        "that no conjunct forms: <tt>k.hSha</tt> is \u0915\u094D\u200C\u0937, "
        "<tt>kSha</tt> is \u0915\u094D\u0937.</li>\n"
        "<li>Accents follow the vowel they mark: <tt>agni.s</tt>, agn\u00ED with the accent "
        "on its last syllable, is \u0905\u0917\u094D\u0928\u093F\u0951.</li>\n</ul>\n"
        "<p>What the converter does not read, and why, is on the page "
        "<a href=\"itrans.html#unsupported\">Writing Sanskrit in ITRANS</a>.</p>\n");
    for (const Section &s : kSections)
        html += section(s);
    return html + iastNotes() +
           QStringLiteral("<p><a href=\"nuvelto.html\">Back to the contents</a></p>\n"
                          "</body>\n</html>\n");
}

} // namespace

int main(int argc, char *argv[])
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: vantro-translit-table OUTPUT.html\n");
        return 2;
    }
    const QString path = QString::fromLocal8Bit(argv[1]);
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) || file.write(page().toUtf8()) < 0 ||
        !file.flush()) {
        std::fprintf(stderr, "vantro-translit-table: cannot write %s\n", argv[1]);
        return 1;
    }
    return 0;
}

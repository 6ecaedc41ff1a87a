// SPDX-License-Identifier: GPL-3.0-or-later
#include "articletext.h"

#include "meaningtext.h"
#include "transliterate.h"

#include <QRegularExpression>
#include <QSet>

#include <algorithm>

namespace vantro {
namespace {

bool isDevanagariLetter(QChar c)
{
    return c.unicode() >= 0x0900 && c.unicode() <= 0x097F && c.unicode() != 0x0964 &&
           c.unicode() != 0x0965;
}

bool hasDevanagari(QStringView text)
{
    for (const QChar c : text) {
        if (isDevanagariLetter(c))
            return true;
    }
    return false;
}

// A piece of a sense part: a word, a bracketed group or a quoted phrase.
struct Piece
{
    enum class Kind { Word, Group, Quote };
    Kind kind;
    QString text;
};

QChar closerOf(QChar opener)
{
    switch (opener.unicode()) {
    case u'(':
        return u')';
    case u'[':
        return u']';
    case u'\u2018':
        return u'\u2019';
    case u'\u201C':
        return u'\u201D';
    default:
        return u'"';
    }
}

bool isOpener(QChar c)
{
    switch (c.unicode()) {
    case u'(':
    case u'[':
    case u'\u2018':
    case u'\u201C':
    case u'"':
        return true;
    default:
        return false;
    }
}

// The end of the bracket or quote that opens at text[at]: the index of its closer, or the end.
qsizetype closingAt(QStringView text, qsizetype at)
{
    const QChar opener = text.at(at);
    const QChar closer = closerOf(opener);
    if (opener == closer) {
        const qsizetype end = text.indexOf(closer, at + 1);
        return end < 0 ? text.size() : end;
    }
    int depth = 0;
    for (qsizetype i = at; i < text.size(); ++i) {
        if (text.at(i) == opener)
            ++depth;
        else if (text.at(i) == closer && --depth == 0)
            return i;
    }
    return text.size();
}

QList<Piece> piecesOf(QStringView text)
{
    QList<Piece> pieces;
    for (qsizetype at = 0; at < text.size();) {
        const QChar c = text.at(at);
        if (c.isSpace()) {
            ++at;
            continue;
        }
        if (isOpener(c)) {
            const qsizetype end = closingAt(text, at);
            const bool quote = c != u'(' && c != u'[';
            pieces.append({quote ? Piece::Kind::Quote : Piece::Kind::Group,
                           text.mid(at + 1, end - at - 1).toString().trimmed()});
            at = end + 1;
            continue;
        }
        qsizetype end = at;
        while (end < text.size() && !text.at(end).isSpace() && !isOpener(text.at(end)))
            ++end;
        QString word = text.mid(at, end - at).toString();
        while (!word.isEmpty() && QStringView(u",;:\u0964\u0965*").contains(word.back()))
            word.chop(1);
        while (!word.isEmpty() && word.front() == u'*')
            word.remove(0, 1);
        if (!word.isEmpty())
            pieces.append({Piece::Kind::Word, word});
        at = end;
    }
    return pieces;
}

QStringList wordsOf(const QList<Piece> &pieces)
{
    QStringList words;
    for (const Piece &piece : pieces)
        words.append(piece.kind == Piece::Kind::Word ? piece.text : QString());
    return words;
}

// The grammar words the dictionaries use after a Sanskrit word, in the form the tag gives them.
QString voiceOf(const QString &word, bool bareCIsCausative)
{
    const QString w = word.toLower();
    if (w == u"caus." || (bareCIsCausative && w == u"c."))
        return QStringLiteral("caus.");
    if (w == u"pass.")
        return QStringLiteral("pass.");
    if (w == u"des." || w == u"desid.")
        return QStringLiteral("desid.");
    if (w == u"nom." || w == u"nomi." || w == u"d.")
        return QStringLiteral("nom.");
    if (w == u"freq.")
        return QStringLiteral("freq.");
    return {};
}

bool isGenderWord(const QString &word)
{
    static const QSet<QString> genders{
        QStringLiteral("m."),   QStringLiteral("f."),     QStringLiteral("n."),
        QStringLiteral("mfn."), QStringLiteral("m.f.n."), QStringLiteral("pl."),
        QStringLiteral("du."),  QStringLiteral("ind."),   QStringLiteral("indecl."),
        QStringLiteral("mf."),  QStringLiteral("m.pl."),  QStringLiteral("adv."),
    };
    return genders.contains(word.toLower());
}

// A conjugational class as the dictionaries print it ("1", "10.", and "l" or "i" where the
// digitisation read a 1 as a letter, which happens only after "c.").
int classNumber(QString word, bool afterC)
{
    while (word.endsWith(u'.') || word.endsWith(u','))
        word.chop(1);
    if (afterC && (word == u"l" || word == u"i" || word == u"I"))
        return 1;
    bool ok = false;
    const int n = word.toInt(&ok);
    return ok && n >= 1 && n <= 10 ? n : 0;
}

QString padaLetter(const QString &word)
{
    QString w = word;
    if (w.endsWith(u'.') || w.endsWith(u','))
        w.chop(1);
    return w == u"P" || w == u"A" || w == u"U" ? w : QString();
}

// The pada a verb form shows: -ti parasmaipada, -te atmanepada.
QString padaOfForm(const QString &itrans)
{
    if (itrans.endsWith(QLatin1String("ti")) || itrans.endsWith(QLatin1String("Ti")))
        return QStringLiteral("P");
    if (itrans.endsWith(QLatin1String("te")) || itrans.endsWith(QLatin1String("Te")))
        return QStringLiteral("A");
    return {};
}

QString withoutFinalStop(QString word)
{
    while (word.endsWith(u'.') || word.endsWith(u','))
        word.chop(1);
    return word;
}

// The grammar that follows an equivalent, gathered before it is written as the tag.
struct TagParts
{
    QStringList endings;
    QStringList parts;
    QString stem;

    QString text() const
    {
        QStringList out = endings;
        if (!parts.isEmpty())
            out.append(u'(' + parts.join(u' ') + u')');
        if (!stem.isEmpty())
            out.append(u'(' + stem + u')');
        return out.join(u' ');
    }
    bool isEmpty() const { return endings.isEmpty() && parts.isEmpty() && stem.isEmpty(); }
};

class SensePartReader
{
public:
    SensePartReader(const ArticleScript &script, ArticleSense &sense)
        : m_script(script), m_sense(sense)
    {
    }
    void read(const QString &part);

private:
    enum class Mode { Before, Word, Tag, Note };

    bool isSanskritWord(const QStringList &words, qsizetype at) const
    {
        return !words.at(at).isEmpty() && m_script.isSanskrit(words, at);
    }
    QString itrans(const QString &word) const { return m_script.toItrans(withoutFinalStop(word)); }
    qsizetype readLeadingClasses(const QList<Piece> &pieces);
    bool readGrammarWord(const QList<Piece> &pieces, qsizetype &at);
    void readGroup(const QString &inner);
    bool readGrammarGroup(const QList<Piece> &inner);
    QString classesFrom(const QList<Piece> &inner, qsizetype &at) const;
    void addEnglish(const QString &english);
    void readExample(const QString &english, const QList<Piece> &rest, const QStringList &words);
    void startEquivalent(const QString &word);
    void finish();

    const ArticleScript &m_script;
    ArticleSense &m_sense;
    Mode m_mode = Mode::Before;
    // The English of the part before its Sanskrit, added to the gloss when the part ends.
    QString m_gloss;
    ArticleEquivalent m_current;
    TagParts m_tag;
};

void SensePartReader::startEquivalent(const QString &word)
{
    finish();
    m_current.word = word;
    m_mode = Mode::Word;
}

void SensePartReader::finish()
{
    if (!m_current.word.isEmpty()) {
        m_current.tag = m_tag.text();
        if (m_tag.parts.isEmpty() && m_tag.endings.isEmpty() && m_current.tag.isEmpty())
            m_current.tag.clear();
        m_sense.equivalents.append(m_current);
    }
    m_current = {};
    m_tag = {};
    m_mode = Mode::Before;
}

void SensePartReader::addEnglish(const QString &english)
{
    const QString text = plainEnglish(english).trimmed();
    if (text.isEmpty())
        return;
    if (m_mode == Mode::Before) {
        m_gloss += (m_gloss.isEmpty() ? QString() : QStringLiteral(" ")) + text;
        return;
    }
    m_current.note += (m_current.note.isEmpty() ? QString() : QStringLiteral(" ")) + text;
    m_mode = Mode::Note;
}

// "10 A" after "garh 1,": the classes belong to the equivalent before.
// "10 A" after "garh 1,", "4 P or apasf 1 P" after "apakram 1 U,": the classes a part starts
// with belong to the equivalent before it; how many pieces they took.
qsizetype SensePartReader::readLeadingClasses(const QList<Piece> &pieces)
{
    if (m_sense.equivalents.isEmpty() || pieces.isEmpty() ||
        pieces.first().kind != Piece::Kind::Word || !classNumber(pieces.first().text, false))
        return 0;
    QStringList words;
    qsizetype taken = 0;
    for (; taken < pieces.size(); ++taken) {
        const Piece &piece = pieces.at(taken);
        if (piece.kind != Piece::Kind::Word ||
            (!classNumber(piece.text, false) && padaLetter(piece.text).isEmpty()))
            break;
        words.append(withoutFinalStop(piece.text));
    }
    ArticleEquivalent &last = m_sense.equivalents.last();
    const QString classes = words.join(u' ');
    if (last.tag.endsWith(u')'))
        last.tag.insert(last.tag.size() - 1, QStringLiteral(", ") + classes);
    else
        last.tag +=
            (last.tag.isEmpty() ? QStringLiteral("(") : QStringLiteral(" (")) + classes + u')';
    // "or" joins the next equivalent to the one the classes belong to.
    if (taken < pieces.size() && pieces.at(taken).kind == Piece::Kind::Word &&
        pieces.at(taken).text == u"or")
        ++taken;
    return taken;
}

// A class, or classes, written after a root: "1 P", "1, 10 A", "10"; at is left on the last.
QString SensePartReader::classesFrom(const QList<Piece> &pieces, qsizetype &at) const
{
    QStringList words;
    while (at < pieces.size() && pieces.at(at).kind == Piece::Kind::Word) {
        const QString &word = pieces.at(at).text;
        if (classNumber(word, false))
            words.append(word.endsWith(u',') ? withoutFinalStop(word) + u','
                                             : withoutFinalStop(word));
        else if (!padaLetter(word).isEmpty() && !words.isEmpty())
            words.append(padaLetter(word));
        else
            break;
        ++at;
    }
    --at;
    return words.join(u' ');
}

bool SensePartReader::readGrammarWord(const QList<Piece> &pieces, qsizetype &at)
{
    const QString &word = pieces.at(at).text;
    const bool next = at + 1 < pieces.size() && pieces.at(at + 1).kind == Piece::Kind::Word;
    // "in caus." and the like.
    if (word == u"in" && next && !voiceOf(pieces.at(at + 1).text, false).isEmpty()) {
        m_tag.parts.append(voiceOf(pieces.at(++at).text, false));
        return true;
    }
    // "ard 1 P or c.": the causative besides the root itself.
    if (word == u"or" && next &&
        !voiceOf(pieces.at(at + 1).text, m_script.bareCMeansCausative()).isEmpty()) {
        m_tag.parts.append(QStringLiteral("or ") +
                           voiceOf(pieces.at(++at).text, m_script.bareCMeansCausative()));
        return true;
    }
    if (const QString voice = voiceOf(word, m_script.bareCMeansCausative()); !voice.isEmpty()) {
        m_tag.parts.append(voice);
        return true;
    }
    if (isGenderWord(word)) {
        QString gender = word.toLower();
        while (at + 1 < pieces.size() && pieces.at(at + 1).kind == Piece::Kind::Word &&
               isGenderWord(pieces.at(at + 1).text))
            gender += u' ' + pieces.at(++at).text.toLower();
        m_tag.parts.append(gender);
        return true;
    }
    if (classNumber(word, false)) {
        m_tag.parts.append(classesFrom(pieces, at));
        return true;
    }
    if (word == u"&c." || word == u"&c" || word == u"etc.")
        return true;
    return false;
}

// A group after an equivalent: its class ("c. 1. tyajati" gives 1 P), voice, gender, feminine
// and neuter endings, or the stem ("(n)"); forms it quotes are left out; English is a note.
bool SensePartReader::readGrammarGroup(const QList<Piece> &inner)
{
    const QStringList words = wordsOf(inner);
    QStringList parts;
    QStringList sanskrit;
    QStringList classes;
    QString root;
    bool grammar = false;
    bool english = false;
    for (qsizetype i = 0; i < inner.size(); ++i) {
        const QString &word = words.at(i);
        if (word.isEmpty())
            continue;
        const QString lower = word.toLower();
        if ((lower == u"c." || lower == u"c") && i + 1 < inner.size() &&
            classNumber(words.at(i + 1), true)) {
            QString cls = QString::number(classNumber(words.at(++i), true));
            // The first form after the class tells the pada; "-te" after it both.
            if (i + 1 < inner.size() && isSanskritWord(words, i + 1)) {
                const QString form = itrans(words.at(i + 1));
                QString pada = padaOfForm(form);
                if (pada == u"P" && i + 2 < inner.size() && isSanskritWord(words, i + 2) &&
                    itrans(words.at(i + 2)) == u"-te")
                    pada = QStringLiteral("U");
                if (!pada.isEmpty())
                    cls += u' ' + pada;
            } else if (!m_current.word.isEmpty() && !root.isEmpty()) {
                if (const QString pada = padaOfForm(m_current.word); !pada.isEmpty())
                    cls += u' ' + pada;
            }
            classes.append(cls);
            grammar = true;
            continue;
        }
        if ((lower == u"c." || lower == u"pass.") && i + 1 < inner.size() &&
            words.at(i + 1) == u"of" && i + 2 < inner.size()) {
            parts.append((lower == u"c." ? QStringLiteral("caus.") : QStringLiteral("pass.")) +
                         QStringLiteral(" of ") + itrans(words.at(i + 2)));
            i += 2;
            grammar = true;
            continue;
        }
        if (const QString voice = voiceOf(word, m_script.bareCMeansCausative()); !voice.isEmpty()) {
            parts.append(voice);
            grammar = true;
        } else if (isGenderWord(word)) {
            parts.append(lower);
            grammar = true;
        } else if (classNumber(word, false) || (!padaLetter(word).isEmpty() && grammar)) {
            parts.append(withoutFinalStop(word));
            grammar = true;
        } else if (lower == u"rt." || lower == u"&c." || lower == u"&c" || lower == u"etc.") {
            continue;
        } else if (isSanskritWord(words, i)) {
            sanskrit.append(itrans(word));
            if (root.isEmpty() && classes.isEmpty() && parts.isEmpty())
                root = sanskrit.last();
        } else {
            english = true;
            // "(mud, c. 1: see Mah. xvi. 3. 10.)": what follows the grammar is a reference.
            if (!classes.isEmpty())
                break;
        }
    }
    // "(in f. ways)", "(with gen.)": English beside a grammar word, and nothing Sanskrit, is a
    // note on the word.
    if (english && classes.isEmpty() && (!grammar || sanskrit.isEmpty()))
        return false;
    if (!classes.isEmpty()) {
        if (!root.isEmpty() && sanskrit.size() == 1 && words.indexOf(QStringLiteral("c.")) > 0) {
            QString pada = padaOfForm(m_current.word);
            QString cls = classes.join(QStringLiteral(", "));
            if (!pada.isEmpty() && !cls.contains(u' '))
                cls += u' ' + pada;
            m_tag.parts.append(root + u' ' + cls);
        } else {
            m_tag.parts.append(classes.join(QStringLiteral(", ")));
        }
        m_tag.parts += parts;
        return true;
    }
    if (grammar) {
        // "(f. nI)", "(kI f.)": a feminine form beside the gender.
        QStringList written;
        for (qsizetype i = 0; i < inner.size(); ++i) {
            if (words.at(i).isEmpty())
                continue;
            if (isSanskritWord(words, i))
                written.append(itrans(words.at(i)));
            else if (isGenderWord(words.at(i)) || classNumber(words.at(i), false) ||
                     !padaLetter(words.at(i)).isEmpty())
                written.append(words.at(i));
        }
        // Forms quoted beside a voice ("nom. kanayati") are left to the grammar.
        bool voice = false;
        for (const QString &part : parts)
            voice = voice || !voiceOf(part, false).isEmpty();
        m_tag.parts.append(sanskrit.isEmpty() || voice ? parts.join(u' ') : written.join(u' '));
        return true;
    }
    if (sanskrit.isEmpty())
        return false;
    // Endings printed bare after an adjective: "tyaktaH (ktA, ktaM)", or after its stem:
    // "asandigdha (gdhA, gdhaM)".
    const bool endings =
        sanskrit.size() == 2 && (m_current.word.endsWith(u'H') || m_current.word.endsWith(u'a')) &&
        m_tag.endings.isEmpty() && sanskrit.at(0).size() < m_current.word.size() &&
        sanskrit.at(1).size() < m_current.word.size() && !padaOfForm(sanskrit.at(0)).size();
    if (endings) {
        for (const QString &ending : sanskrit)
            m_tag.endings.append(ending.startsWith(u'-') ? ending : u'-' + ending);
        return true;
    }
    // The final consonant of a consonant stem: "(n)", "(t)", "(s)", "(div)".
    if (sanskrit.size() == 1 && sanskrit.first().size() <= 3 && !sanskrit.first().contains(u'-')) {
        m_tag.stem = sanskrit.first();
        return true;
    }
    // Forms the dictionary quotes ("(tyajati, tyaktuM)") are left to the grammar.
    return true;
}

void SensePartReader::readGroup(const QString &group)
{
    // "(f. nA = hard)": what follows "=" says in English what the word means.
    const qsizetype equals = group.indexOf(u'=');
    const QString inner = equals > 0 ? group.left(equals) : group;
    if (equals > 0 && (m_mode == Mode::Word || m_mode == Mode::Tag)) {
        readGroup(inner);
        addEnglish(group.mid(equals));
        return;
    }
    const QList<Piece> pieces = piecesOf(inner);
    const QStringList words = wordsOf(pieces);
    bool anySanskrit = false;
    for (qsizetype i = 0; i < pieces.size(); ++i)
        anySanskrit = anySanskrit || isSanskritWord(words, i);
    if (m_mode == Mode::Word || m_mode == Mode::Tag) {
        if (readGrammarGroup(pieces)) {
            m_mode = Mode::Tag;
            return;
        }
    }
    if (!anySanskrit) {
        if (inner.trimmed() != u"?")
            addEnglish(inner);
        return;
    }
    if (m_mode == Mode::Before || m_mode == Mode::Word) {
        // Sanskrit in brackets before the word: part of it ("(pApAt &c.) muc").
        QStringList written;
        for (qsizetype i = 0; i < pieces.size(); ++i) {
            if (!words.at(i).isEmpty() && isSanskritWord(words, i))
                written.append(itrans(words.at(i)));
        }
        m_current.word += (m_current.word.isEmpty() ? QString() : QStringLiteral(" ")) + u'(' +
                          written.join(u' ') + u')';
        m_mode = Mode::Word;
    }
}

void SensePartReader::readExample(const QString &english, const QList<Piece> &rest,
                                  const QStringList &words)
{
    QStringList sanskrit;
    for (qsizetype i = 0; i < rest.size(); ++i) {
        const Piece &piece = rest.at(i);
        if (piece.kind == Piece::Kind::Word && isSanskritWord(words, i))
            sanskrit.append(itrans(piece.text));
        else if (piece.kind == Piece::Kind::Word && !sanskrit.isEmpty() &&
                 voiceOf(piece.text, false).isEmpty() && !isGenderWord(piece.text))
            sanskrit.append(QStringLiteral("##") + fenceSafe(plainEnglish(piece.text)) +
                            QStringLiteral("##"));
    }
    while (!sanskrit.isEmpty() && sanskrit.last().startsWith(QLatin1String("##")))
        sanskrit.removeLast();
    m_sense.examples.append({plainEnglish(english), sanskrit.join(u' ')});
}

void SensePartReader::read(const QString &part)
{
    QList<Piece> pieces = piecesOf(part);
    pieces.remove(0, readLeadingClasses(pieces));
    if (pieces.isEmpty())
        return;
    const QStringList words = wordsOf(pieces);
    const bool alone = pieces.size() == 1 && pieces.first().kind == Piece::Kind::Word;
    for (qsizetype at = 0; at < pieces.size(); ++at) {
        const Piece &piece = pieces.at(at);
        if (piece.kind == Piece::Kind::Quote) {
            finish();
            readExample(piece.text, pieces.mid(at + 1), words.mid(at + 1));
            return;
        }
        if (piece.kind == Piece::Kind::Group) {
            readGroup(piece.text);
            continue;
        }
        if (std::none_of(piece.text.cbegin(), piece.text.cend(),
                         [](QChar c) { return c.isLetterOrNumber() || c.isMark(); }))
            continue;
        if ((m_mode == Mode::Word || m_mode == Mode::Tag) && readGrammarWord(pieces, at)) {
            m_mode = Mode::Tag;
            continue;
        }
        if (alone ? m_script.isSanskritAlone(piece.text) : isSanskritWord(words, at)) {
            const QString word = itrans(piece.text);
            const bool ending = word.startsWith(u'-') && m_mode != Mode::Before;
            if (ending && (m_mode == Mode::Word || m_mode == Mode::Tag) && m_tag.parts.isEmpty()) {
                m_tag.endings.append(word);
                m_mode = Mode::Tag;
            } else if (m_mode == Mode::Before || m_mode == Mode::Word) {
                m_current.word +=
                    (m_current.word.isEmpty() ? QString() : QStringLiteral(" ")) + word;
                m_mode = Mode::Word;
            } else {
                startEquivalent(word);
            }
            continue;
        }
        const bool sanskritNext = at + 1 < pieces.size() && isSanskritWord(words, at + 1);
        if (m_mode == Mode::Word && sanskritNext) {
            // "vihArasya or maThasya": English inside a Sanskrit phrase stays in it, fenced.
            m_current.word += QStringLiteral(" ##") + fenceSafe(piece.text) + QStringLiteral("##");
            continue;
        }
        if ((m_mode == Mode::Tag || m_mode == Mode::Note) && sanskritNext && piece.text == u"or") {
            finish();
            continue;
        }
        addEnglish(piece.text);
    }
    finish();
    if (!m_gloss.isEmpty())
        m_sense.gloss += (m_sense.gloss.isEmpty() ? QString() : QStringLiteral("; ")) + m_gloss;
}

} // namespace

bool DevanagariScript::isSanskrit(const QStringList &words, qsizetype at) const
{
    return hasDevanagari(words.at(at));
}

QString DevanagariScript::toItrans(QStringView sanskrit) const
{
    // A danda inside a word stands for the words left out ("न॥न च", neither... nor).
    QString text = sanskrit.toString();
    text.replace(u'\u0964', u' ');
    text.replace(u'\u0965', u' ');
    return devanagariToItrans(text.simplified());
}

// The definitions come as the readers give them: markup already made plain text, its links
// left as lines of their own ("PDF", "Correction") or in brackets ("[Page338-a+ 51]").
QStringList articleLines(const QString &definition)
{
    static const QRegularExpression link(QStringLiteral("\\[?\\s*<a\\b[^>]*>.*?</a\\s*>\\s*\\]?"),
                                         QRegularExpression::CaseInsensitiveOption |
                                             QRegularExpression::DotMatchesEverythingOption);
    static const QRegularExpression markup(QStringLiteral("<\\s*(?:br|/?a\\b|/p)"),
                                           QRegularExpression::CaseInsensitiveOption);
    static const QRegularExpression page(QStringLiteral("\\[\\s*Page[^\\]]*\\]"));
    // The digitisation's own notes: "yaN^1" marks one, "[1] Correction submitted ..." is it.
    static const QRegularExpression noteMark(QStringLiteral("\\^\\d+"));
    static const QRegularExpression note(QStringLiteral("^\\s*\\[\\d+\\]\\s"));
    QString text = definition;
    if (text.contains(u'<') && text.contains(markup)) {
        text.remove(link);
        text = plainDefinition(text, DefinitionMarkup::Html);
    }
    if (text.contains(u'['))
        text.remove(page);
    if (text.contains(u'^'))
        text.remove(noteMark);
    QStringList lines;
    for (const QString &line : text.split(u'\n')) {
        const QString trimmed = line.trimmed();
        if (!trimmed.isEmpty() && trimmed != u"PDF" && trimmed != u"Correction" &&
            !(trimmed.startsWith(u'[') && trimmed.contains(note)))
            lines.append(line);
    }
    return lines;
}

QString joinedLines(const QStringList &lines)
{
    QString text;
    for (const QString &raw : lines) {
        QString line = raw.trimmed();
        // A word broken at the line end goes on in the same script ("ati-" then "or" is a
        // prefix and an English word, not one word).
        const QChar next = line.startsWith(u'-') && line.size() > 1 ? line.at(1)
                           : line.isEmpty()                         ? QChar()
                                                                    : line.at(0);
        const QChar before = text.size() >= 2 ? text.at(text.size() - 2) : QChar();
        const bool broken = text.endsWith(u'-') && (before.isLetter() || before.isMark()) &&
                            (next.isLetter() || next.isMark()) &&
                            isDevanagariLetter(before) == isDevanagariLetter(next);
        if (broken) {
            text.chop(1);
            if (line.startsWith(u'-'))
                line.remove(0, 1);
            text += line;
        } else {
            text += (text.isEmpty() ? QString() : QStringLiteral(" ")) + line;
        }
    }
    return text;
}

QStringList splitOutside(QStringView text, QStringView separators)
{
    QStringList parts;
    qsizetype start = 0;
    for (qsizetype at = 0; at < text.size(); ++at) {
        if (isOpener(text.at(at))) {
            at = closingAt(text, at);
            continue;
        }
        if (separators.contains(text.at(at))) {
            parts.append(text.mid(start, at - start).toString().trimmed());
            start = at + 1;
        }
    }
    parts.append(text.mid(start).toString().trimmed());
    parts.removeAll(QString());
    return parts;
}

QString plainEnglish(QString english)
{
    static const QRegularExpression abbreviated(QStringLiteral("(\\w)\\((\\w+)\\)"));
    // Most English holds no bracket: the expression is kept for what does.
    if (english.contains(u'('))
        english.replace(abbreviated, QStringLiteral("\\1\\2"));
    while (english.endsWith(u',') || english.endsWith(u';') || english.endsWith(u':'))
        english.chop(1);
    return english.trimmed();
}

void readSensePart(const QString &part, const ArticleScript &script, ArticleSense &sense)
{
    SensePartReader(script, sense).read(part);
}

// "co(cO)raH", "balI(rI)vardaH", "पा(ला)लकः": a spelling printed inside a word in place of the
// letters just before it is a second word ("coraH, cOraH"). The English headword
// shortened to its first letter ("a(bide)s", "o(wn)s") is never taken for one: in Latin
// letters at least two come before the bracket.
QString withVariantsSpelledOut(const QString &text)
{
    static const QRegularExpression infix(QStringLiteral(
        "(?<![A-Za-z\\x{0900}-\\x{097F}])([A-Za-z\\x{0900}-\\x{097F}]+)\\(([A-Za-z\\x{0900}-"
        "\\x{097F}]+)\\)([A-Za-z\\x{0900}-\\x{097F}]+)"));
    // Most text has brackets, few of them inside a word: those are looked for first.
    bool inside = false;
    for (qsizetype at = text.indexOf(u'('); at > 0 && !inside; at = text.indexOf(u'(', at + 1))
        inside = text.at(at - 1).isLetter() || text.at(at - 1).isMark();
    if (!inside)
        return text;
    QString out;
    qsizetype from = 0;
    for (auto it = infix.globalMatch(text); it.hasNext();) {
        const QRegularExpressionMatch match = it.next();
        const QString before = match.captured(1);
        const QString variant = match.captured(2);
        // "aga(gaM)BIra": the variant starts where its first letter stands last before it;
        // otherwise ("balI(rI)vardaH") it takes the place of as many letters.
        qsizetype at = before.lastIndexOf(variant.front());
        if (at < 0 || before.size() - at > variant.size() + 1)
            at = before.size() - variant.size();
        const bool devanagari = hasDevanagari(variant) && hasDevanagari(before);
        if (at < 0 || before.mid(at) == variant || (!devanagari && before.size() < 2))
            continue;
        out += text.mid(from, match.capturedStart() - from) + before + match.captured(3) +
               QStringLiteral(", ") + before.left(at) + variant + match.captured(3);
        from = match.capturedEnd();
    }
    return from == 0 ? text : out + text.mid(from);
}

// "vi-, rac 10": the prefixes a root takes are printed before it in some dictionaries; the
// root leads, so that the sense starts with a word.
QStringList prefixesAfterRoot(QStringList parts)
{
    const auto isPrefix = [](const QString &part) {
        const QStringView bare = part.endsWith(u'\u00B0') ? QStringView(part).chopped(1) : part;
        return bare.size() >= 2 && bare.size() <= 9 && bare.endsWith(u'-') && !bare.contains(u' ');
    };
    qsizetype prefixes = 0;
    while (prefixes < parts.size() && isPrefix(parts.at(prefixes)))
        ++prefixes;
    if (prefixes > 0 && prefixes < parts.size())
        parts.move(prefixes, 0);
    return parts;
}

void readSenseText(const QString &given, const ArticleScript &script, ArticleSense &sense)
{
    const QString text = withVariantsSpelledOut(given);
    QList<qsizetype> quotes;
    for (qsizetype at = 0; at < text.size(); ++at) {
        if (text.at(at) == u'\u2018')
            quotes.append(at);
        if (isOpener(text.at(at)))
            at = closingAt(text, at);
    }
    const QString before = quotes.isEmpty() ? text : text.left(quotes.first());
    for (QString part : prefixesAfterRoot(splitOutside(before, u",;"))) {
        // "as," that leads into the phrases says nothing.
        if (part != u"as" && part != u"as.")
            readSensePart(part, script, sense);
    }
    for (qsizetype i = 0; i < quotes.size(); ++i) {
        const qsizetype end = closingAt(text, quotes.at(i));
        const qsizetype next = i + 1 < quotes.size() ? quotes.at(i + 1) : text.size();
        ArticleSense rendering;
        for (const QString &part :
             splitOutside(QStringView(text).mid(end + 1, next - end - 1), u",;"))
            readSensePart(part, script, rendering);
        QStringList sanskrit;
        for (const ArticleEquivalent &equivalent : rendering.equivalents)
            sanskrit.append(equivalent.tag.isEmpty() ? equivalent.word
                                                     : equivalent.word + u' ' + equivalent.tag);
        sense.examples.append({plainEnglish(text.mid(quotes.at(i) + 1, end - quotes.at(i) - 1)),
                               sanskrit.join(QStringLiteral(", "))});
    }
}

} // namespace vantro

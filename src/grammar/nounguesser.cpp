// SPDX-License-Identifier: GPL-3.0-or-later
// From a citation form to the stems it may come from. The rules below only propose; a stem is
// kept when its own paradigm gives the citation form back as its nominative (or, for a word
// written as a bare stem, when it can be declined at all), so a guess never names a stem the
// declension cannot inflect.
#include "declension.h"
#include "nounstems.h"
#include "soundstring.h"
#include "stemgroups.h"

#include <QHash>

#include <algorithm>
#include <array>

namespace vantro {

namespace {

using G = Gender;

struct Candidate
{
    SoundString stem;
    Gender gender;
    bool asStem;   // the citation is the stem itself (sundara), not a nominative
    bool fallback; // only when nothing before it was found (a consonant stem given as such)
};

// The nominatives of the words data/nounstems.tsv has the guesser read by name, worked out
// once from their paradigms.
const QHash<QString, QList<NounCandidate>> &namedNominatives()
{
    static const QHash<QString, QList<NounCandidate>> index = [] {
        QHash<QString, QList<NounCandidate>> byForm;
        for (const NamedNounStem &row : namedNounStems()) {
            if (!row.guessedByName)
                continue;
            for (const Gender gender : row.genders) {
                const Inflection<NounParadigm> declined = declineNoun(row.stem, gender);
                if (!declined.ok() || (gender != G::Masculine && row.sameInEveryGender))
                    continue;
                for (const auto number : {GrammaticalNumber::Singular, GrammaticalNumber::Dual,
                                          GrammaticalNumber::Plural}) {
                    const QStringList &forms =
                        declined.paradigm.at(GrammaticalCase::Nominative, number);
                    for (const QString &form : forms)
                        byForm[form].append({row.stem, gender});
                    if (!forms.isEmpty())
                        break;
                }
            }
        }
        return byForm;
    }();
    return index;
}

// Nouns in -as, -is, -us common enough that "manaH" should be read as manas first.
bool isCommonSNeuter(const SoundString &stem)
{
    return inStemGroup(StemGroup::CommonSNeuter, stem);
}

class CandidateList
{
public:
    explicit CandidateList(const SoundString &citation) : m_citation(citation) {}

    void add(const SoundString &stem, Gender gender, bool asStem = false, bool fallback = false)
    {
        m_candidates.append({stem, gender, asStem, fallback});
    }
    // The citation without its last `drop` sounds, with `tail` after it.
    void replaceEnd(int drop, const char *tail, Gender gender)
    {
        add(m_citation.chopped(drop) + SoundString(tail), gender);
    }
    const QList<Candidate> &all() const { return m_candidates; }

private:
    SoundString m_citation;
    QList<Candidate> m_candidates;
};

void proposeForVisarga(const SoundString &c, CandidateList &list)
{
    const SoundString bare = c.chopped(1);
    if (c.endsWith("AH")) {
        list.replaceEnd(2, "as", G::Masculine); // chandramAH, sumanAH
        list.replaceEnd(2, "as", G::Feminine);  // apsarAH
        if (c.syllableCount() == 1)
            list.add(bare + Sound::r, G::Feminine); // dvAH
        list.add(bare, G::Masculine);               // vishvapAH
    } else if (c.endsWith("aH")) {
        const SoundString sStem = bare + Sound::s;
        if (isCommonSNeuter(sStem))
            list.add(sStem, G::Neuter);
        list.add(bare, G::Masculine);
        list.add(sStem, G::Neuter);
    } else if (c.endsWith("iH") || c.endsWith("uH")) {
        const SoundString sStem = bare + Sound::s;
        if (isCommonSNeuter(sStem))
            list.add(sStem, G::Neuter);
        const bool feminineFirst = (c.endsWith("tiH") && !c.endsWith("patiH")) ||
                                   c.endsWith("ddhiH") || c.endsWith("ShTiH");
        list.add(bare, feminineFirst ? G::Feminine : G::Masculine);
        list.add(bare, feminineFirst ? G::Masculine : G::Feminine);
    } else if (c.endsWith("IH") || c.endsWith("UH")) {
        // lakShmIH, dhIH, vadhUH, bhUH; gIH, pUH, dhUH from gir, pur, dhur
        const SoundString rStem = bare.chopped(1) + SoundString(c.endsWith("IH") ? "ir" : "ur");
        const bool rFirst = inStemGroup(StemGroup::RStemCitedFirst, c);
        if (rFirst)
            list.add(rStem, G::Feminine);
        list.add(bare, G::Feminine);
        if (!rFirst && c.syllableCount() == 1)
            list.add(rStem, G::Feminine);
        if (c.endsWith("IH"))
            list.add(bare.chopped(1) + SoundString("is"), G::Feminine); // AshIH
    } else if (c.endsWith("auH")) {
        list.add(bare.chopped(1) + Sound::o, G::Masculine); // gauH
        list.add(bare.chopped(1) + Sound::o, G::Feminine);
        list.add(bare, G::Feminine); // nauH
        list.add(bare, G::Masculine);
    }
}

// rAjA, pitA, mAtA, dAtA or latA, sundaratA: the rules say which to put first.
void proposeForLongA(const SoundString &c, CandidateList &list)
{
    const bool kinshipMasculine = inStemGroup(StemGroup::KinshipMasculineCited, c);
    const bool kinshipFeminine = inStemGroup(StemGroup::KinshipFeminineCited, c);
    const bool abstractInTA =
        c.endsWith("atA") || c.endsWith("itA") || c.endsWith("ItA") || c.endsWith("utA");
    const bool agent = (c.endsWith("tA") && !abstractInTA) || c.endsWith("ShTA");
    const bool anStem = c.endsWith("imA") || c.endsWith("tmA") || c.endsWith("hmA") ||
                        c.endsWith("shmA") || c.endsWith("jvA") || c.endsWith("dhvA") ||
                        inStemGroup(StemGroup::AnAfterConsonant, c.chopped(1) + SoundString("an"));
    if (kinshipFeminine) {
        list.replaceEnd(1, "R^i", G::Feminine);
    } else if (kinshipMasculine || agent) {
        list.replaceEnd(1, "R^i", G::Masculine);
    } else if (anStem) {
        list.replaceEnd(1, "an", G::Masculine);
    }
    list.add(c, G::Feminine);
    if (!(kinshipFeminine || kinshipMasculine || agent || anStem)) {
        list.replaceEnd(1, "an", G::Masculine);
        list.replaceEnd(1, "R^i", G::Masculine);
    }
}

void proposeForLongI(const SoundString &c, CandidateList &list)
{
    const bool possessor = c.endsWith("svI") || c.endsWith("AvI") || c.endsWith("AmI") ||
                           c.endsWith("ogI") || c.endsWith("ntrI") || c.endsWith("stI") ||
                           c.endsWith("kShI");
    if (possessor)
        list.replaceEnd(1, "in", G::Masculine);
    list.add(c, G::Feminine);
    list.replaceEnd(1, "in", G::Masculine);
}

// A nominative in -n: the possessives and participles (bhagavAn, gachChan), the perfect
// participles and comparatives (vidvAn, garIyAn); or a stem in -an, -in given as it is.
void proposeForN(const SoundString &c, CandidateList &list)
{
    const bool longA = c.last(2) == Sound::A;
    const bool perfectParticiple =
        c.endsWith("vAn") && c.last(4) != Sound::a && c.last(4) != Sound::A;
    if (longA && (perfectParticiple || c.endsWith("yAn")))
        list.replaceEnd(2, "as", G::Masculine);
    if (longA)
        list.add(c.chopped(2) + SoundString("at"), G::Masculine);
    const bool anStem = c.last(3) == Sound::m || c.last(3) == Sound::v ||
                        inStemGroup(StemGroup::AnAfterConsonant, c);
    if (!anStem)
        list.replaceEnd(1, "t", G::Masculine); // gachChan
    list.add(c, G::Masculine, true);
    list.add(c, G::Neuter, true);
    list.replaceEnd(1, "t", G::Masculine);
}

// The stems a final k, T, t or p stands for in a nominative.
QStringList stemFinalsFor(const SoundString &c)
{
    switch (c.last()) {
    case Sound::k:
        if (c.endsWith("rak") || c.endsWith("Shak"))
            return {"j"}; // srak, bhiShak
        if (c.endsWith("dik") || c.endsWith("dR^ik"))
            return {"sh"};
        return c.endsWith("ik") ? QStringList{"j", "ch"} : QStringList{"ch"};
    case Sound::T:
        if (c.endsWith("liT"))
            return {"h"};
        if (c.endsWith("rAT"))
            return {"j"};
        return c.isOneOf({"viT"}) ? QStringList{"sh"} : QStringList{"Sh"};
    case Sound::t:
        if (c.endsWith("R^it"))
            return {"d"}; // suhR^it
        return c.endsWith("mit") ? QStringList{"dh"} : QStringList{"t"};
    case Sound::p:
        return {"bh", "p"};
    default:
        return {};
    }
}

// A nominative ending in a consonant, or a consonant stem given as it is (manas, marut).
void proposeForConsonant(const SoundString &c, CandidateList &list)
{
    const bool sibilantFinal = c.last() == Sound::s;
    const std::array<Gender, 3> genders =
        sibilantFinal ? std::array<Gender, 3>{G::Neuter, G::Masculine, G::Feminine}
                      : std::array<Gender, 3>{G::Masculine, G::Feminine, G::Neuter};
    // vAch, dish, sraj, kakubh are feminine; dviSh, liT, samrAT masculine or feminine; the
    // men's words in -j (vaNij, R^itvij, bhiShaj) come before the feminine reading.
    const bool feminine = c.last() == Sound::k || c.last() == Sound::p;
    // Adjectives and participles in -at are cited as stems (mahat, balavat, gachChat); the
    // masculine, whose nominative is another word (mahAn), comes before the neuter.
    if (c.endsWith("at"))
        list.add(c, G::Masculine, true);
    for (const QString &final : stemFinalsFor(c)) {
        const SoundString stem = c.chopped(1) + SoundString::fromItrans(final).value;
        if (feminine && final == u"j" && !c.endsWith("rak"))
            list.add(stem, G::Masculine);
        if (feminine)
            list.add(stem, G::Feminine);
        else
            for (const Gender gender : genders)
                if (gender != G::Neuter || c.last() == Sound::t)
                    list.add(stem, gender);
    }
    for (const Gender gender : genders)
        list.add(c, gender, true, true);
}

QList<Candidate> propose(const SoundString &c)
{
    CandidateList list(c);
    const Sound last = c.last();
    if (last == Sound::H) {
        proposeForVisarga(c, list);
    } else if (c.endsWith("am")) {
        list.replaceEnd(1, "", G::Neuter); // jalam
    } else if (last == Sound::A) {
        proposeForLongA(c, list);
    } else if (last == Sound::I) {
        proposeForLongI(c, list);
    } else if (last == Sound::n) {
        proposeForN(c, list);
    } else if (last == Sound::a) {
        // A neuter in -man is cited in the nominative, which has no anusvara to tell it by
        // (nAma, karma); adjectives in -ma have a before it (parama, uttama).
        if (c.endsWith("ma") && c.last(3) != Sound::a)
            list.add(c + Sound::n, G::Neuter);
        list.add(c, G::Masculine, true); // adjectives are cited as stems: sundara
        list.add(c, G::Neuter, true);
    } else if (last == Sound::i || last == Sound::u || last == Sound::Ri) {
        list.add(c, G::Neuter); // vAri, madhu
        for (const Gender gender : {G::Masculine, G::Neuter, G::Feminine})
            list.add(c, gender, true);
    } else if (isVowel(last)) {
        for (const Gender gender : {G::Masculine, G::Feminine, G::Neuter})
            list.add(c, gender, true);
    } else {
        proposeForConsonant(c, list);
    }
    return list.all();
}

// Whether the stem, declined in that gender, gives the citation form as its nominative (the
// first number that has one: dvau, pa~ncha).
bool givesBack(const Inflection<NounParadigm> &declined, const QString &citation)
{
    for (const auto number :
         {GrammaticalNumber::Singular, GrammaticalNumber::Dual, GrammaticalNumber::Plural}) {
        const QStringList &forms = declined.paradigm.at(GrammaticalCase::Nominative, number);
        if (!forms.isEmpty())
            return forms.contains(citation);
    }
    return false;
}

} // namespace

QList<NounCandidate> guessNounStems(const QString &citationForm)
{
    const Outcome<SoundString> read = SoundString::fromItrans(citationForm.trimmed());
    if (!read.ok() || read.value.syllableCount() == 0)
        return {};
    SoundString citation = read.value;
    if (citation.last() == Sound::M) // the dictionary writes the neuters with anusvara
        citation.set(citation.size() - 1, Sound::m);
    const QString written = citation.toItrans();
    QList<NounCandidate> found = namedNominatives().value(written);
    // A form the grammar gives by name (saH, aham, trayaH) is not read by the rules as well,
    // but a bare stem may still be an adjective (nava "new" beside navan "nine").
    const bool named = !found.isEmpty();
    for (const Candidate &candidate : propose(citation)) {
        if ((named && !candidate.asStem) || (candidate.fallback && !found.isEmpty()))
            continue;
        const QString stem = candidate.stem.toItrans();
        const bool known = std::any_of(found.begin(), found.end(), [&](const NounCandidate &c) {
            return c.stem == stem && c.gender == candidate.gender;
        });
        if (known)
            continue;
        const Inflection<NounParadigm> declined = declineNoun(stem, candidate.gender);
        if (declined.ok() && (candidate.asStem || givesBack(declined, written)))
            found.append({stem, candidate.gender});
    }
    return found;
}

} // namespace vantro

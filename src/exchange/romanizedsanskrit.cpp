// SPDX-License-Identifier: GPL-3.0-or-later
#include "romanizedsanskrit.h"

#include <initializer_list>
#include <utility>

namespace vantro {
namespace {

using Rule = std::pair<const char16_t *, const char *>;

// Only the spellings that differ from ITRANS; longer spellings come before their beginnings,
// since the first rule that matches is taken.
const std::initializer_list<Rule> kIast = {
    {u"ṭh", "Th"}, {u"ḍh", "Dh"}, {u"ch", "Ch"}, {u"ā", "A"},   {u"ī", "I"},  {u"ū", "U"},
    {u"ṛ", "R^i"}, {u"ṝ", "R^I"}, {u"ḷ", "L^i"}, {u"ḹ", "L^I"}, {u"m̐", ".N"}, {u"ṃ", "M"},
    {u"ṁ", "M"},   {u"ḥ", "H"},   {u"ṅ", "~N"},  {u"ñ", "~n"},  {u"ṭ", "T"},  {u"ḍ", "D"},
    {u"ṇ", "N"},   {u"ś", "sh"},  {u"ṣ", "Sh"},  {u"c", "ch"},  {u"’", ".a"}, {u"'", ".a"},
};

const std::initializer_list<Rule> kHarvardKyoto = {
    {u"lRR", "L^I"}, {u"lR", "L^i"}, {u"RR", "R^I"}, {u"R", "R^i"}, {u"G", "~N"}, {u"J", "~n"},
    {u"ch", "Ch"},   {u"c", "ch"},   {u"z", "sh"},   {u"S", "Sh"},  {u"'", ".a"},
};

const std::initializer_list<Rule> kSlp1 = {
    {u"f", "R^i"}, {u"F", "R^I"}, {u"x", "L^i"}, {u"X", "L^I"}, {u"E", "ai"}, {u"O", "au"},
    {u"K", "kh"},  {u"G", "gh"},  {u"N", "~N"},  {u"c", "ch"},  {u"C", "Ch"}, {u"J", "jh"},
    {u"Y", "~n"},  {u"w", "T"},   {u"W", "Th"},  {u"q", "D"},   {u"Q", "Dh"}, {u"R", "N"},
    {u"T", "th"},  {u"D", "dh"},  {u"P", "ph"},  {u"B", "bh"},  {u"S", "sh"}, {u"z", "Sh"},
    {u"~", ".N"},  {u"'", ".a"},
};

QString applyRules(QStringView text, std::initializer_list<Rule> rules)
{
    QString out;
    out.reserve(text.size() * 2);
    for (qsizetype at = 0; at < text.size();) {
        const Rule *taken = nullptr;
        for (const Rule &rule : rules) {
            // The first letter decides most rules without measuring the spelling.
            if (text.at(at) == QChar(rule.first[0]) &&
                text.mid(at).startsWith(QStringView(rule.first))) {
                taken = &rule;
                break;
            }
        }
        if (!taken) {
            out += text.at(at++);
            continue;
        }
        out += QLatin1String(taken->second);
        at += QStringView(taken->first).size();
    }
    return out;
}

} // namespace

bool romanSchemeFromName(const QString &name, RomanScheme &scheme)
{
    const std::pair<const char *, RomanScheme> names[] = {{"iast", RomanScheme::Iast},
                                                          {"hk", RomanScheme::HarvardKyoto},
                                                          {"slp1", RomanScheme::Slp1},
                                                          {"itrans", RomanScheme::Itrans}};
    for (const auto &[text, value] : names) {
        if (name == QLatin1String(text)) {
            scheme = value;
            return true;
        }
    }
    return false;
}

QString romanizedToItrans(QStringView text, RomanScheme scheme)
{
    switch (scheme) {
    case RomanScheme::Iast:
        return applyRules(text.toString().normalized(QString::NormalizationForm_C).toLower(),
                          kIast);
    case RomanScheme::HarvardKyoto:
        return applyRules(text, kHarvardKyoto);
    case RomanScheme::Slp1:
        return applyRules(text, kSlp1);
    case RomanScheme::None:
    case RomanScheme::Itrans:
        break;
    }
    return text.toString();
}

} // namespace vantro

// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "paradigm.h"

#include <QList>
#include <QString>

#include <optional>
#include <vector>

namespace vantro {

enum class Pada { Parasmaipada, Atmanepada };
// The periphrastic future (gantA), the conditional (agamiShyat), the benedictive (bhUyAt)
// the perfect (jagAma, IkShAMchakre) and the aorist (agamat, abhUt) follow the tenses of the
// present system and the simple future.
enum class Tense {
    Present,
    Imperfect,
    Imperative,
    Optative,
    Future,
    Periphrastic,
    Conditional,
    Benedictive,
    Perfect,
    Aorist
};
// Every tense, in the order the verb tables are shown in.
const std::vector<Tense> &allTenses();
// The grammar's name of a tense ("periphrastic"), as the command line takes it and the analyser
// writes it; and the name a reader is shown ("periphrastic future").
QString tenseName(Tense tense);
QString tenseLabel(Tense tense);
std::optional<Tense> tenseFromName(const QString &name);

struct VerbRequest
{
    // ITRANS, as the grammars cite it: "bhU", "kR^i", "gam"; prefixes go before it, each
    // with a hyphen: "A-gam", "prati-A-gam", "sam-kR^i".
    QString root;
    int verbClass = 1;
    Pada pada = Pada::Parasmaipada;
    Tense tense = Tense::Present;
    bool passive = false;
    // The derived verb of the root instead of the root itself: the causative (kArayati) or the
    // desiderative (jigamiShati, the present system only).
    enum class Derived { None, Causative, Desiderative } derived = Derived::None;
};

Inflection<VerbParadigm> conjugate(const VerbRequest &request);

// A root, class and pada that a third person singular present may come from, best first
// ("bhavati" -> bhU 1 P, "karoti" -> kR^i 8 P, "AgachChati" -> A-gam 1 P); a word that is
// no third singular is looked for among all the active forms of the roots ("gachChAmi").
struct VerbCandidate
{
    QString root;
    int verbClass = 1;
    Pada pada = Pada::Parasmaipada;
};
QList<VerbCandidate> guessVerbRoots(const QString &citationForm);

// The classes and padas the table of roots gives a root ("bhU" -> 1 P; "kR^i" -> 8 P, 8 A),
// for a window to offer; empty when the root is not in the table.
QList<VerbCandidate> verbRootClasses(const QString &root);

} // namespace vantro

// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "paradigm.h"

#include <QList>

namespace vantro {

// A form made from a root (a krt): the participles and gerundives are stems the declension
// takes, the gerund and the infinitive words of their own.
struct RootDerivative
{
    QString name;      // "past passive participle", "gerund", ...
    QStringList forms; // ITRANS, the usual first
    bool isStem = false;
};

struct RootDerivatives
{
    QList<RootDerivative> derivatives; // only the ones known for the root, in the order above
    QString error;

    bool ok() const { return error.isEmpty(); }
};

// Every form the root makes that the rules and the table of exceptions know, for a root of
// the table in ITRANS with its prefixes ("A-gam": Agata, Agatya, Agantum); the reason when
// the root or class is not known.
RootDerivatives rootDerivatives(const QString &root, int verbClass);

// The names in the order rootDerivatives gives them, for a window or a table to offer.
const QStringList &rootDerivativeNames();

// A participle or gerundive stem declined in one gender: a stem in -a takes -A in the
// feminine (gatA, karaNIyA), the others as the declension derives it (gachChantI, gatavatI).
Inflection<NounParadigm> declineDerivative(const QString &stem, Gender gender);

} // namespace vantro

// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "verbroots.h"

#include <QStringList>

namespace vantro::verbs {

// The middle benedictive (edhiShIShTa, lapsIShTa, kR^iShIShTa, neShIShTa, dAsIShTa), which the
// passive outside the present system uses too. Stems are in sounds, ending in the s of -sIShTa
// ("edhiSh", "laps", "kR^iSh"); empty where the root's stem is not known.
SoundStrings middleBenedictiveStems(const VerbRoot &root);

// The nine cells on the root's stems and any further ones (the passive's kAriSh). The second
// plural is -Idhvam, or -IDhvam after a vowel other than a; it is left empty where the grammars
// allow both (after an i that follows y, r, l, v or h) or where the root ends in h.
SoundParadigm middleBenedictive(const VerbRoot &root, const SoundStrings &furtherStems = {});

} // namespace vantro::verbs

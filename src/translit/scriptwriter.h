// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "itranstoken.h"
#include "script.h"
#include "translitoptions.h"

#include <QString>

namespace vantro {

// Writes ITRANS tokens out in Devanagari or IAST (any script but those is written as
// Devanagari). Both scripts share the syllable logic: a
// consonant waits for its vowel; a following consonant joins it through a virama, a vowel
// becomes its sign, and anything else ends the word under the final-consonant policy.
class ScriptWriter
{
public:
    ScriptWriter(Script script, TranslitOptions options);
    QString write(QStringView text);

private:
    void writeToken(const ItransToken &token, QStringView text);
    void writeConsonant(const Letter &letter, bool afterExplicitVirama);
    void writeVowel(const Letter &letter, bool afterVowelA);
    void writeVirama();
    void endWord();
    QStringView letterText(const Letter &letter) const;
    QStringView independentVowel(const Letter &letter, bool afterVowelA) const;
    static bool iastRunsTogether(const Letter &first, const Letter &second);

    Script m_script;
    TranslitOptions m_options;
    QString m_out;
    bool m_consonantWaiting = false;
    bool m_afterExplicitVirama = false;
    bool m_afterVowelA = false; // the last token was the vowel a, of a consonant or on its own
    // The consonant written last, while only viramas and separators follow it.
    const Letter *m_lastConsonant = nullptr;
};

} // namespace vantro

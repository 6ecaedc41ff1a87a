// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "translitoptions.h"

#include <QString>
#include <QStringView>

namespace vantro {

struct Letter;

// Reads Devanagari back into ITRANS, in the preferred spellings, so that converting the result
// again gives the same Devanagari. Where two spellings would run together into a different
// letter it writes "_" between them ("ka_i" for कइ); text that ITRANS would read as letters
// (Latin words, ASCII digits) is kept inside "##...##", one fence for a run of them.
class DevanagariReader
{
public:
    explicit DevanagariReader(TranslitOptions options = {});
    QString toItrans(QStringView devanagari);

private:
    int readSyllable(const Letter &consonant, int position, int length);
    QLatin1String afterVirama(int position) const;
    bool consonantAt(int position) const;
    void append(QStringView itrans);
    void append(QLatin1String itrans);
    void flushPassThrough(int end);
    void passThrough(QStringView line);
    bool readsBackAsItself(QStringView piece) const;
    bool needsSeparator(QStringView next) const;

    TranslitOptions m_options;
    QString m_text;
    QString m_out;
    int m_passThroughStart = -1;
};

} // namespace vantro

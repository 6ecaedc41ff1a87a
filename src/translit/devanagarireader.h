#pragma once

#include "translitoptions.h"

#include <QString>
#include <QStringView>

namespace vantro {

struct Letter;

// Reads Devanagari back into ITRANS, in the preferred spellings, so that converting the result
// again gives the same Devanagari. Where two spellings would run together into a different
// letter it writes "_" between them ("ka_i" for कइ); text that is not in the table, or that
// ITRANS would read as letters (Latin words, ASCII digits), is kept inside "##...##".
class DevanagariReader
{
public:
    explicit DevanagariReader(TranslitOptions options = {});
    QString toItrans(QStringView devanagari);

private:
    int readSyllable(const Letter &consonant, int position, int length);
    QLatin1String afterVirama(int position) const;
    void append(QStringView itrans);
    void append(QLatin1String itrans);
    void flushPassThrough(int end);
    void passThrough(QStringView piece);
    bool needsSeparator(QStringView next) const;

    TranslitOptions m_options;
    QString m_text;
    QString m_out;
    int m_passThroughStart = -1;
};

} // namespace vantro

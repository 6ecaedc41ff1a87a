// SPDX-License-Identifier: GPL-3.0-or-later
#include "transliterate.h"

#include "devanagarireader.h"
#include "scriptwriter.h"

namespace vantro {

QString itransToDevanagari(QStringView itrans, TranslitOptions options)
{
    return ScriptWriter(ScriptWriter::Script::Devanagari, options).write(itrans);
}

QString itransToIast(QStringView itrans, TranslitOptions options)
{
    return ScriptWriter(ScriptWriter::Script::Iast, options).write(itrans);
}

QString devanagariToItrans(QStringView devanagari, TranslitOptions options)
{
    return DevanagariReader(options).toItrans(devanagari);
}

} // namespace vantro

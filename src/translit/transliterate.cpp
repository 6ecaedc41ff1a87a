// SPDX-License-Identifier: GPL-3.0-or-later
#include "transliterate.h"

#include "devanagarireader.h"
#include "scriptwriter.h"

namespace vantro {

QString itransToDevanagari(QStringView itrans, TranslitOptions options)
{
    return ScriptWriter(Script::Devanagari, options).write(itrans);
}

QString itransToIast(QStringView itrans, TranslitOptions options)
{
    return ScriptWriter(Script::Iast, options).write(itrans);
}

QString devanagariToItrans(QStringView devanagari, TranslitOptions options)
{
    return DevanagariReader(options).toItrans(devanagari);
}

QString itransInScript(QStringView itrans, Script script, TranslitOptions options)
{
    switch (script) {
    case Script::Devanagari:
        return itransToDevanagari(itrans, options);
    case Script::Iast:
        return itransToIast(itrans, options);
    case Script::Itrans:
        break;
    }
    return itrans.toString();
}

} // namespace vantro

// SPDX-License-Identifier: GPL-3.0-or-later
#include "tabglossaryreader.h"

#include "failure.h"
#include "importbatch.h"
#include "regularfile.h"

namespace vantro {
namespace {

QString unescaped(QByteArrayView field)
{
    QByteArray out;
    out.reserve(field.size());
    for (qsizetype at = 0; at < field.size(); ++at) {
        const char c = field.at(at);
        if (c != '\\' || at + 1 == field.size()) {
            out.append(c);
            continue;
        }
        const char next = field.at(++at);
        out.append(next == 'n' ? '\n' : next == 't' ? '\t' : next);
    }
    return QString::fromUtf8(out);
}

} // namespace

bool looksLikeTabGlossary(const QString &path)
{
    QFile file;
    if (!openRegularFile(file, path, nullptr))
        return false;
    const QByteArray first = file.readLine(4096);
    return first.startsWith("##") && first.contains('\t');
}

bool readTabGlossary(const QString &path, EntrySink &sink, QString *error)
{
    QFile file;
    if (!openRegularFile(file, path, error))
        return false;
    BlockLines lines(file);
    while (lines.next()) {
        const QByteArrayView line = lines.line();
        if (line.startsWith("##"))
            continue;
        const qsizetype tab = line.indexOf('\t');
        if (tab < 0)
            return failWith(error, QStringLiteral("%1, line %2: no tab between the headword and "
                                                  "its definition")
                                       .arg(path)
                                       .arg(lines.number()));
        sink.add({unescaped(line.first(tab)),
                  unescaped(line.sliced(tab + 1)),
                  DefinitionMarkup::Html,
                  {}});
    }
    QString why;
    return lines.readToTheEnd(&why) ||
           failWith(error, QStringLiteral("reading %1 failed: %2").arg(path, why));
}

} // namespace vantro

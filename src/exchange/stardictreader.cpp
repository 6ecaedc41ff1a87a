// SPDX-License-Identifier: GPL-3.0-or-later
#include "stardictreader.h"

#include "dictzip.h"

#include <QFile>
#include <QHash>
#include <QtEndian>

#include <tuple>

namespace vantro {
namespace {

struct Info
{
    QHash<QString, QString> values;
    qint64 number(const char *name) const
    {
        bool ok = false;
        const qint64 n = values.value(QLatin1String(name)).toLongLong(&ok);
        return ok ? n : -1;
    }
};

QString readInfo(const QString &path, Info &info)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return QStringLiteral("cannot read %1: %2").arg(path, file.errorString());
    const QList<QByteArray> lines = file.readAll().split('\n');
    if (lines.isEmpty() || !lines.first().trimmed().startsWith("StarDict's dict ifo file"))
        return QStringLiteral("%1 is not a StarDict .ifo file (its first line is not "
                              "\"StarDict's dict ifo file\")")
            .arg(path);
    for (const QByteArray &line : lines) {
        const qsizetype equals = line.indexOf('=');
        if (equals > 0)
            info.values.insert(QString::fromUtf8(line.first(equals)).trimmed(),
                               QString::fromUtf8(line.sliced(equals + 1)).trimmed());
    }
    if (info.number("wordcount") < 0)
        return QStringLiteral("%1 gives no wordcount").arg(path);
    const QString bits = info.values.value(QStringLiteral("idxoffsetbits"), QStringLiteral("32"));
    if (bits != QLatin1String("32") && bits != QLatin1String("64"))
        return QStringLiteral("%1: idxoffsetbits=%2 is neither 32 nor 64").arg(path, bits);
    return {};
}

// The first of the files that exists, read whole (a .gz or .dz one decompressed).
QString readCompanion(const QString &base, const QStringList &suffixes, QByteArray &bytes,
                      bool required)
{
    for (const QString &suffix : suffixes) {
        QFile file(base + suffix);
        if (!file.exists())
            continue;
        if (!file.open(QIODevice::ReadOnly))
            return QStringLiteral("cannot read %1: %2").arg(file.fileName(), file.errorString());
        bytes = file.readAll();
        if (!suffix.endsWith(QLatin1String("z")))
            return {};
        QString why;
        bytes = gunzipAll(bytes, &why);
        return why.isEmpty() ? QString() : QStringLiteral("%1: %2").arg(file.fileName(), why);
    }
    return required
               ? QStringLiteral("there is no %1%2").arg(base, suffixes.join(QLatin1String(" or ")))
               : QString();
}

struct IndexEntry
{
    QString word;
    quint64 offset;
    quint32 size;
};

QString readIndex(const QByteArray &idx, int offsetBytes, qint64 wordCount, const QString &name,
                  QList<IndexEntry> &index)
{
    qsizetype at = 0;
    while (at < idx.size()) {
        const qsizetype end = idx.indexOf('\0', at);
        if (end < 0 || end + 1 + offsetBytes + 4 > idx.size())
            return QStringLiteral("%1 is damaged: entry %2 is cut short at byte %3")
                .arg(name)
                .arg(index.size() + 1)
                .arg(at);
        const uchar *numbers = reinterpret_cast<const uchar *>(idx.constData() + end + 1);
        const quint64 offset =
            offsetBytes == 8 ? qFromBigEndian<quint64>(numbers) : qFromBigEndian<quint32>(numbers);
        index.append({QString::fromUtf8(idx.sliced(at, end - at)), offset,
                      qFromBigEndian<quint32>(numbers + offsetBytes)});
        at = end + 1 + offsetBytes + 4;
    }
    if (index.size() != wordCount)
        return QStringLiteral("%1 is damaged: it holds %2 entries, the .ifo says %3")
            .arg(name)
            .arg(index.size())
            .arg(wordCount);
    return {};
}

DefinitionMarkup markupOf(char type)
{
    switch (type) {
    case 'h':
    case 'g':
    case 'k':
        return DefinitionMarkup::Html;
    case 'x':
        return DefinitionMarkup::Xdxf;
    default:
        return DefinitionMarkup::Plain;
    }
}

bool isText(char type)
{
    return QByteArrayView("mlghxtykwn").contains(type);
}

// Appends the text fields of one entry's data to entry. With a type sequence the types are not
// stored and the last field runs to the end; without one each field starts with its type.
// Lower-case types are NUL-terminated text, upper-case ones carry a 32-bit size.
bool readFields(QByteArrayView data, const QByteArray &sequence, SourceEntry &entry)
{
    qsizetype at = 0;
    for (int field = 0; sequence.isEmpty() ? at < data.size() : field < sequence.size(); ++field) {
        const bool last = !sequence.isEmpty() && field + 1 == sequence.size();
        const char type = sequence.isEmpty() ? data.at(at++) : sequence.at(field);
        qsizetype length = 0;
        if (last) {
            length = data.size() - at;
        } else if (QChar::isLower(uchar(type))) {
            const qsizetype end = data.indexOf('\0', at);
            length = (end < 0 ? data.size() : end) - at;
        } else {
            if (at + 4 > data.size())
                return false;
            length = qFromBigEndian<quint32>(data.constData() + at);
            at += 4;
        }
        if (at + length > data.size())
            return false;
        if (isText(type)) {
            // Fields of one entry may differ in markup: each is made plain text on its own.
            const QString text =
                plainDefinition(QString::fromUtf8(data.sliced(at, length)), markupOf(type));
            entry.definition +=
                (entry.definition.isEmpty() ? QString() : QStringLiteral("\n")) + text;
        }
        at += length + (QChar::isLower(uchar(type)) && !last ? 1 : 0);
    }
    return true;
}

QString readSynonyms(const QByteArray &syn, const QList<IndexEntry> &index, QList<SourceEntry> &out)
{
    for (qsizetype at = 0; at < syn.size();) {
        const qsizetype end = syn.indexOf('\0', at);
        if (end < 0 || end + 5 > syn.size())
            return QStringLiteral("the .syn file is damaged at byte %1").arg(at);
        const quint32 target = qFromBigEndian<quint32>(syn.constData() + end + 1);
        if (target >= quint32(index.size()))
            return QStringLiteral("the .syn file is damaged: a synonym leads to entry %1 of %2")
                .arg(target + 1)
                .arg(index.size());
        SourceEntry entry = out.at(target);
        entry.headword = QString::fromUtf8(syn.sliced(at, end - at));
        entry.leadsTo = out.at(target).headword;
        out.append(entry);
        at = end + 5;
    }
    return {};
}

// The files of the dictionary, read whole; an empty string, or why they cannot be.
struct StarDictFiles
{
    Info info;
    QByteArray idx;
    QByteArray dict;
    QByteArray syn;

    QString read(const QString &ifoPath, const QString &base)
    {
        QString why = readInfo(ifoPath, info);
        for (const auto &[suffixes, bytes, required] :
             {std::tuple<QStringList, QByteArray *, bool>{{".idx", ".idx.gz"}, &idx, true},
              {{".dict", ".dict.dz"}, &dict, true},
              {{".syn"}, &syn, false}}) {
            if (why.isEmpty())
                why = readCompanion(base, suffixes, *bytes, required);
        }
        return why;
    }
};

// Every entry's text fields, in index order; false (with why) when one lies outside the data.
bool readEntries(const StarDictFiles &files, const QList<IndexEntry> &index, const QString &base,
                 SourceEntries &result)
{
    const QByteArray sequence =
        files.info.values.value(QStringLiteral("sametypesequence")).toLatin1();
    for (const IndexEntry &item : index) {
        SourceEntry entry{item.word, {}, DefinitionMarkup::Plain, {}};
        if (item.offset + item.size > quint64(files.dict.size()) ||
            !readFields(QByteArrayView(files.dict).sliced(qsizetype(item.offset), item.size),
                        sequence, entry)) {
            result.why = QStringLiteral("the entry \"%1\" lies outside %2.dict or is damaged")
                             .arg(item.word, base);
            return false;
        }
        result.entries.append(entry);
    }
    return true;
}

} // namespace

SourceEntries readStarDict(const QString &ifoPath)
{
    SourceEntries result;
    const QString base = ifoPath.chopped(ifoPath.endsWith(QLatin1String(".ifo")) ? 4 : 0);
    StarDictFiles files;
    result.why = files.read(ifoPath, base);
    QList<IndexEntry> index;
    const bool wide = files.info.values.value(QStringLiteral("idxoffsetbits")) == u"64";
    if (result.why.isEmpty())
        result.why = readIndex(files.idx, wide ? 8 : 4, files.info.number("wordcount"),
                               base + QStringLiteral(".idx"), index);
    result.bookName = files.info.values.value(QStringLiteral("bookname"));
    if (result.why.isEmpty() && readEntries(files, index, base, result))
        result.why = readSynonyms(files.syn, index, result.entries);
    if (!result.why.isEmpty())
        result.entries.clear();
    return result;
}

} // namespace vantro

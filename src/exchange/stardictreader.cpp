// SPDX-License-Identifier: GPL-3.0-or-later
#include "stardictreader.h"

#include "dictionarydata.h"
#include "dictzip.h"
#include "failure.h"
#include "regularfile.h"
#include "stardictformat.h"

#include <QFile>
#include <QHash>
#include <QtEndian>

#include <functional>

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

bool readInfo(const QString &path, Info &info, QString *error)
{
    QFile file;
    if (!openRegularFile(file, path, error))
        return false;
    const QList<QByteArray> lines = file.readAll().split('\n');
    if (lines.isEmpty() || !lines.first().trimmed().startsWith("StarDict's dict ifo file"))
        return failWith(error,
                        QStringLiteral("%1 is not a StarDict .ifo file (its first line is not "
                                       "\"StarDict's dict ifo file\")")
                            .arg(path));
    for (const QByteArray &line : lines) {
        const qsizetype equals = line.indexOf('=');
        if (equals > 0)
            info.values.insert(QString::fromUtf8(line.first(equals)).trimmed(),
                               QString::fromUtf8(line.sliced(equals + 1)).trimmed());
    }
    if (info.number("wordcount") < 0)
        return failWith(error, QStringLiteral("%1 gives no wordcount").arg(path));
    const QString bits = info.values.value(QStringLiteral("idxoffsetbits"), QStringLiteral("32"));
    if (bits != QLatin1String("32") && bits != QLatin1String("64"))
        return failWith(
            error, QStringLiteral("%1: idxoffsetbits=%2 is neither 32 nor 64").arg(path, bits));
    return true;
}

// The first of the files that exists, read whole (a .gz one decompressed, to no more than most
// bytes).
bool readCompanion(const QString &base, const QStringList &suffixes, qint64 most, QByteArray &bytes,
                   bool required, QString *error)
{
    for (const QString &suffix : suffixes) {
        QFile file;
        if (!QFile::exists(base + suffix))
            continue;
        if (!openRegularFile(file, base + suffix, error))
            return false;
        bytes = file.readAll();
        if (!suffix.endsWith(QLatin1String("z")))
            return true;
        QString why;
        const QByteArray compressed = bytes;
        return gunzipAll(compressed, most, bytes, &why) ||
               failWith(error, QStringLiteral("%1: %2").arg(file.fileName(), why));
    }
    return !required ||
           failWith(
               error,
               QStringLiteral("there is no %1%2").arg(base, suffixes.join(QLatin1String(" or "))));
}

// An entry of the index; its headword stays in the index's bytes, so that a large index costs
// little more than its file.
struct IndexEntry
{
    qsizetype wordAt;
    qsizetype wordLength;
    quint64 offset;
    quint32 size;
};

bool readIndex(const QByteArray &idx, int offsetBytes, qint64 wordCount, const QString &name,
               QList<IndexEntry> &index, QString *error)
{
    qsizetype at = 0;
    while (at < idx.size()) {
        const qsizetype end = idx.indexOf('\0', at);
        if (end < 0 || idx.size() - end - 1 < offsetBytes + 4)
            return failWith(error, QStringLiteral("%1 is damaged: entry %2 is cut short at byte %3")
                                       .arg(name)
                                       .arg(index.size() + 1)
                                       .arg(at));
        const uchar *numbers = reinterpret_cast<const uchar *>(idx.constData() + end + 1);
        const quint64 offset =
            offsetBytes == 8 ? qFromBigEndian<quint64>(numbers) : qFromBigEndian<quint32>(numbers);
        index.append({at, end - at, offset, qFromBigEndian<quint32>(numbers + offsetBytes)});
        at = end + 1 + offsetBytes + 4;
    }
    if (index.size() != wordCount)
        return failWith(error,
                        QStringLiteral("%1 is damaged: it holds %2 entries, the .ifo says %3")
                            .arg(name)
                            .arg(index.size())
                            .arg(wordCount));
    return true;
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
            if (data.size() - at < 4)
                return false;
            length = qFromBigEndian<quint32>(data.constData() + at);
            at += 4;
        }
        if (length > data.size() - at)
            return false;
        if (isText(type)) {
            // Fields of one entry may differ in markup: each is made plain text on its own.
            const QString raw = QString::fromUtf8(data.sliced(at, length));
            const DefinitionMarkup markup =
                type == 'm' && holdsHtmlBreaks(raw) ? DefinitionMarkup::Html : markupOf(type);
            const QString text = plainDefinition(raw, markup);
            entry.definition +=
                (entry.definition.isEmpty() ? QString() : QStringLiteral("\n")) + text;
        }
        at += length;
        // A text field's NUL, which the last field of the data may lack.
        if (QChar::isLower(uchar(type)) && !last && at < data.size())
            ++at;
    }
    return true;
}

// A synonym leads to the entry the index holds under that number: its definition is read again.
using EntryReader = std::function<bool(qsizetype number, SourceEntry &entry, QString *error)>;

bool readSynonyms(const QByteArray &syn, const QList<IndexEntry> &index,
                  const EntryReader &readEntry, EntrySink &sink, QString *error)
{
    for (qsizetype at = 0; at < syn.size();) {
        const qsizetype end = syn.indexOf('\0', at);
        if (end < 0 || syn.size() - end - 1 < 4)
            return failWith(error, QStringLiteral("the .syn file is damaged at byte %1").arg(at));
        const quint32 target = qFromBigEndian<quint32>(syn.constData() + end + 1);
        if (target >= quint32(index.size()))
            return failWith(
                error, QStringLiteral("the .syn file is damaged: a synonym leads to entry %1 of %2")
                           .arg(quint64(target) + 1)
                           .arg(index.size()));
        SourceEntry entry;
        if (!readEntry(qsizetype(target), entry, error))
            return false;
        entry.leadsTo = entry.headword;
        entry.headword = QString::fromUtf8(syn.sliced(at, end - at));
        sink.add(entry);
        at = end + 5;
    }
    return true;
}

// The index and synonyms, read whole (they are small beside the definitions); the .ifo first.
struct StarDictFiles
{
    Info info;
    QByteArray idx;
    QByteArray syn;

    bool read(const QString &ifoPath, const QString &base, QString *error)
    {
        if (!readInfo(ifoPath, info, error))
            return false;
        const qint64 idxSize = info.number("idxfilesize");
        // Without a declared size, a compressed index may still not inflate without end.
        const qint64 most = idxSize > 0 ? idxSize : qint64(1) << 31;
        return readCompanion(base, {QStringLiteral(".idx"), QStringLiteral(".idx.gz")}, most, idx,
                             true, error) &&
               readCompanion(base, {QStringLiteral(".syn")}, 0, syn, false, error);
    }
};

quint64 declaredEnd(const QList<IndexEntry> &index)
{
    quint64 end = 0;
    for (const IndexEntry &item : index)
        end = qMax(end,
                   item.offset > ~quint64(0) - item.size ? ~quint64(0) : item.offset + item.size);
    return end;
}

} // namespace

bool readStarDict(const QString &ifoPath, EntrySink &sink, QString *error)
{
    const QString base = ifoPath.chopped(ifoPath.endsWith(QLatin1String(".ifo")) ? 4 : 0);
    StarDictFiles files;
    if (!files.read(ifoPath, base, error))
        return false;
    QList<IndexEntry> index;
    const bool wide = files.info.values.value(QStringLiteral("idxoffsetbits")) == u"64";
    if (!readIndex(files.idx, wide ? 8 : 4, files.info.number("wordcount"),
                   base + QStringLiteral(".idx"), index, error))
        return false;
    DictionaryData data;
    if (!data.open(base, declaredEnd(index), error))
        return false;
    sink.setStoredRecords(files.info.values.value(kRecordsIfoKey) == u"1");
    sink.setBookName(files.info.values.value(QStringLiteral("bookname")));
    const QByteArray sequence =
        files.info.values.value(QStringLiteral("sametypesequence")).toLatin1();
    QByteArray bytes;
    const EntryReader readEntry = [&](qsizetype number, SourceEntry &entry, QString *entryError) {
        const IndexEntry &item = index.at(number);
        const QString word = QString::fromUtf8(files.idx.sliced(item.wordAt, item.wordLength));
        entry = SourceEntry{word, {}, DefinitionMarkup::Plain, {}};
        QString why;
        if (!data.read(item.offset, item.size, bytes, &why))
            return failWith(entryError,
                            QStringLiteral("the entry \"%1\" of %2.dict: %3").arg(word, base, why));
        if (!readFields(bytes, sequence, entry))
            return failWith(
                entryError,
                QStringLiteral("the entry \"%1\" of %2.dict is damaged").arg(word, base));
        return true;
    };
    for (qsizetype number = 0; number < index.size(); ++number) {
        SourceEntry entry;
        if (!readEntry(number, entry, error))
            return false;
        sink.add(entry);
    }
    return readSynonyms(files.syn, index, readEntry, sink, error);
}

} // namespace vantro

// SPDX-License-Identifier: GPL-3.0-or-later
#include "stardictwriter.h"

#include "dictdb.h"
#include "dictzip.h"
#include "importsource.h"
#include "outputfile.h"
#include "record.h"
#include "transliterate.h"

#include <QFileInfo>
#include <QSaveFile>
#include <QStringList>
#include <QtEndian>

#include <algorithm>
#include <vector>

namespace vantro {
namespace {

constexpr qsizetype kLongestHeadword = 255;
constexpr qint64 kProgressEvery = 4096;

struct Entry
{
    QByteArray word; // UTF-8
    QByteArray text;
};

// StarDict's own order, which its readers search in: ASCII letters without regard to case,
// then the bytes.
bool starDictBefore(const Entry &a, const Entry &b)
{
    const int folded =
        qstrnicmp(a.word.constData(), a.word.size(), b.word.constData(), b.word.size());
    return folded != 0 ? folded < 0 : a.word < b.word;
}

QByteArray entryText(QByteArrayView data)
{
    QString meaning;
    QString synonyms;
    decodeData(data.constData(), data.size(), meaning, synonyms);
    QString text = meaning + u'\n' + itransToDevanagari(meaning);
    if (!synonyms.isEmpty())
        text += QStringLiteral("\nsynonyms: ") + synonyms;
    return text.toUtf8();
}

QString writeFile(const QString &path, const QByteArray &bytes)
{
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.commit())
        return QStringLiteral("writing %1 failed: %2").arg(path, file.errorString());
    return {};
}

QByteArray ifoText(const QString &name, qint64 words, qint64 indexSize)
{
    return QStringLiteral("StarDict's dict ifo file\nversion=2.4.2\nwordcount=%1\n"
                          "idxfilesize=%2\nbookname=%3\nsametypesequence=m\n")
        .arg(words)
        .arg(indexSize)
        .arg(name)
        .toUtf8();
}

} // namespace

StarDictExport exportStarDict(cDictDB &db, const QString &ifoPath,
                              const std::function<bool(qint64, qint64)> &progress)
{
    StarDictExport result;
    // The three names are checked before the walk: none is replaced unless all can be.
    const QString base = dictionaryBaseName(ifoPath);
    QStringList targets;
    for (const char *suffix : {".idx", ".dict.dz", ".ifo"}) {
        const OutputFile target = OutputFile::resolve(base + QLatin1String(suffix));
        if (!(result.why = target.why).isEmpty())
            return result;
        targets.append(target.path);
    }
    qint64 done = 0;
    std::vector<Entry> entries;
    QByteArrayView key;
    QByteArrayView data;
    int ret = db.startWalk();
    const qint64 total = db.getStat();
    while (ret == 0 && (ret = db.nextStored(key, data)) == 0) {
        if (++done % kProgressEvery == 0 && progress && !progress(done, total)) {
            result.cancelled = true;
            return result;
        }
        Entry entry{QString::fromLatin1(key).toUtf8(), entryText(data)};
        if (entry.word.size() > kLongestHeadword || entry.word.contains('\0'))
            ++result.skipped;
        else
            entries.push_back(std::move(entry));
    }
    if (!cDictDB::isEndOfRecords(ret)) {
        result.why =
            QStringLiteral("reading the dictionary failed (%1)").arg(cDictDB::errorText(ret));
        return result;
    }
    std::sort(entries.begin(), entries.end(), starDictBefore);
    QByteArray index;
    QByteArray text;
    for (const Entry &entry : entries) {
        uchar numbers[8];
        qToBigEndian<quint32>(quint32(text.size()), numbers);
        qToBigEndian<quint32>(quint32(entry.text.size()), numbers + 4);
        index.append(entry.word).append('\0').append(reinterpret_cast<const char *>(numbers), 8);
        text.append(entry.text);
        if (text.size() > qsizetype(0xFFFFFFFFu)) {
            result.why =
                QStringLiteral("the dictionary text is larger than StarDict allows (4 GiB)");
            return result;
        }
    }
    const QByteArray compressed = dictzip(text, &result.why);
    if (!result.why.isEmpty())
        return result;
    const QByteArray contents[] = {
        index, compressed,
        ifoText(QFileInfo(base).fileName(), qint64(entries.size()), index.size())};
    for (int i = 0; i < 3; ++i) {
        result.why = writeFile(targets[i], contents[i]);
        if (!result.why.isEmpty())
            return result;
    }
    result.written = qint64(entries.size());
    return result;
}

} // namespace vantro

// SPDX-License-Identifier: GPL-3.0-or-later
#include "stardictwriter.h"

#include "dictdb.h"
#include "dictzip.h"
#include "failure.h"
#include "importsource.h"
#include "outputfile.h"
#include "record.h"
#include "stardictformat.h"
#include "transliterate.h"

#include <QDir>
#include <QFileInfo>
#include <QSaveFile>
#include <QStringList>
#include <QTemporaryFile>
#include <QtEndian>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace vantro {
namespace {

constexpr qsizetype kLongestHeadword = 255;
constexpr qint64 kProgressEvery = 4096;
constexpr int kRefusalsNamed = 5;

// Where an entry's text lies in the .dict; the headwords stay in one buffer, so that the index
// of a million records costs little more than its own size.
struct IndexItem
{
    qsizetype wordAt;
    qsizetype wordLength;
    quint32 offset;
    quint32 size;
};

// StarDict's own order, which its readers search in: ASCII letters without regard to case,
// then the bytes.
bool starDictBefore(QByteArrayView a, QByteArrayView b)
{
    const int folded = qstrnicmp(a.constData(), a.size(), b.constData(), b.size());
    return folded != 0 ? folded < 0 : a < b;
}

// The stored bytes as an entry: the meaning on its first line, as stored, then the same in
// Devanagari and, after a "|", the synonyms on a line of their own, each marked so that an
// import knows them. The bytes are Latin-1, written as UTF-8.
QByteArray entryText(QByteArrayView data)
{
    const qsizetype bar = data.indexOf(kSynonymSeparator);
    const bool synonyms = bar >= 1;
    const QString meaning = QString::fromLatin1(synonyms ? data.first(bar) : data);
    QString text = meaning + u'\n' + kDevanagariMark + itransToDevanagari(meaning);
    if (synonyms)
        text += u'\n' + kSynonymsMark + QString::fromLatin1(data.sliced(bar + 1));
    return text.toUtf8();
}

// Why a record cannot be an entry that gives it back, or an empty string.
QString whyRefused(QByteArrayView key, QByteArrayView data)
{
    if (QString::fromLatin1(key).toUtf8().size() > kLongestHeadword)
        return QStringLiteral("longer than a StarDict headword may be (255 bytes)");
    if (key.contains('\0') || key.contains('\n'))
        return QStringLiteral("the word holds a NUL or a line break");
    if (data.contains('\0'))
        return QStringLiteral("the meaning holds a NUL, which StarDict readers take for its end");
    if (data.contains('\n') || data.contains('\r'))
        return QStringLiteral("the meaning holds a line break");
    return {};
}

QByteArray ifoText(const QString &name, qint64 words, qint64 indexSize)
{
    return QStringLiteral("StarDict's dict ifo file\nversion=2.4.2\nwordcount=%1\n"
                          "idxfilesize=%2\nbookname=%3\nsametypesequence=m\n%4=1\n")
        .arg(words)
        .arg(indexSize)
        .arg(name, kRecordsIfoKey)
        .toUtf8();
}

bool writeFile(const QString &path, const QByteArray &bytes, QString *error)
{
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.commit())
        return failWith(error,
                        QStringLiteral("writing %1 failed: %2").arg(path, file.errorString()));
    return true;
}

// The .dict.dz is made in a scratch file, inflated chunk by chunk to check it, and only then
// renamed into place.
bool writeDictzip(DictzipWriter &writer, const QString &path, QString *error)
{
    QTemporaryFile file(path + QStringLiteral(".XXXXXX"));
    QString why;
    if (!file.open())
        return failWith(error,
                        QStringLiteral("writing %1 failed: %2").arg(path, file.errorString()));
    if (!writer.finish(file, &why) || !file.flush())
        return failWith(error, QStringLiteral("writing %1 failed: %2").arg(path, why));
    if (QString wrong; !checkDictzip(file, &wrong))
        return failWith(error,
                        QStringLiteral("the written %1 does not read back: %2").arg(path, wrong));
    // A scratch file is made readable by its owner only; the dictionary is for every reader the
    // other files are for.
    const mode_t mask = ::umask(0);
    ::umask(mask);
    if (::fchmod(file.handle(), 0666 & ~mask) != 0 || ::fsync(file.handle()) != 0)
        return failWith(error, QStringLiteral("writing %1 failed: %2")
                                   .arg(path, QString::fromLocal8Bit(std::strerror(errno))));
    QFile::remove(path);
    if (!file.rename(path))
        return failWith(error,
                        QStringLiteral("writing %1 failed: %2").arg(path, file.errorString()));
    file.setAutoRemove(false);
    return true;
}

class Export
{
public:
    Export(cDictDB &db, const QString &ifoPath) : m_db(db), m_base(dictionaryBaseName(ifoPath)) {}
    StarDictExport run(const std::function<bool(qint64, qint64)> &progress);

private:
    bool add(QByteArrayView key, QByteArrayView data, QString *why);
    QByteArray index();

    cDictDB &m_db;
    QString m_base;
    StarDictExport m_result;
    QStringList m_targets; // where the .idx, the .dict.dz and the .ifo are written
    QByteArray m_words;
    std::vector<IndexItem> m_items;
    std::unique_ptr<QTemporaryFile> m_scratch;
    std::unique_ptr<DictzipWriter> m_text;
};

bool Export::add(QByteArrayView key, QByteArrayView data, QString *why)
{
    if (const QString refused = whyRefused(key, data); !refused.isEmpty()) {
        if (++m_result.skipped <= kRefusalsNamed)
            m_result.refusals.append(
                QStringLiteral("\"%1\": %2").arg(QString::fromLatin1(key), refused));
        return true;
    }
    const QByteArray word = QString::fromLatin1(key).toUtf8();
    const QByteArray text = entryText(data);
    if (m_text->plainSize() + text.size() > qint64(0xFFFFFFFFu)) {
        *why = QStringLiteral("the dictionary text is larger than StarDict allows (4 GiB)");
        return false;
    }
    m_items.push_back(
        {m_words.size(), word.size(), quint32(m_text->plainSize()), quint32(text.size())});
    m_words.append(word);
    return m_text->append(text, why);
}

QByteArray Export::index()
{
    const auto wordOf = [this](const IndexItem &item) {
        return QByteArrayView(m_words).sliced(item.wordAt, item.wordLength);
    };
    std::sort(m_items.begin(), m_items.end(), [&wordOf](const IndexItem &a, const IndexItem &b) {
        return starDictBefore(wordOf(a), wordOf(b));
    });
    QByteArray index;
    index.reserve(m_words.size() + qsizetype(m_items.size()) * 9);
    for (const IndexItem &item : m_items) {
        uchar numbers[8];
        qToBigEndian<quint32>(item.offset, numbers);
        qToBigEndian<quint32>(item.size, numbers + 4);
        index.append(wordOf(item)).append('\0').append(reinterpret_cast<const char *>(numbers), 8);
    }
    return index;
}

StarDictExport Export::run(const std::function<bool(qint64, qint64)> &progress)
{
    // The three names are checked before the walk: none is replaced unless all can be.
    for (const char *suffix : {".idx", ".dict.dz", ".ifo"}) {
        QString target;
        if (!resolveOutputFile(m_base + QLatin1String(suffix), &target, &m_result.why))
            return m_result;
        m_targets.append(target);
    }
    m_scratch = std::make_unique<QTemporaryFile>(m_base + QStringLiteral(".text-XXXXXX"));
    if (!m_scratch->open()) {
        m_result.why =
            QStringLiteral("cannot write beside %1: %2").arg(m_base, m_scratch->errorString());
        return m_result;
    }
    m_text = std::make_unique<DictzipWriter>(*m_scratch);
    qint64 done = 0;
    QByteArrayView key;
    QByteArrayView data;
    QString readError;
    bool walking = m_db.startWalk(&readError);
    const qint64 total = m_db.getStat();
    while (walking && (walking = m_db.nextStored(key, data, &readError))) {
        if (++done % kProgressEvery == 0 && progress && !progress(done, total)) {
            m_result.cancelled = true;
            return m_result;
        }
        if (!add(key, data, &m_result.why))
            return m_result;
    }
    if (!readError.isEmpty()) {
        m_result.why = QStringLiteral("reading the dictionary failed (%1)").arg(readError);
        return m_result;
    }
    const QByteArray idx = index();
    bool written = writeDictzip(*m_text, m_targets[1], &m_result.why);
    for (const auto &[path, bytes] :
         {std::pair<QString, QByteArray>{m_targets[0], idx},
          {m_targets[2],
           ifoText(QFileInfo(m_base).fileName(), qint64(m_items.size()), idx.size())}}) {
        written = written && writeFile(path, bytes, &m_result.why);
    }
    if (written)
        m_result.written = qint64(m_items.size());
    return m_result;
}

} // namespace

StarDictExport exportStarDict(cDictDB &db, const QString &ifoPath,
                              const std::function<bool(qint64, qint64)> &progress)
{
    return Export(db, ifoPath).run(progress);
}

} // namespace vantro

// SPDX-License-Identifier: GPL-3.0-or-later
#include "formindex.h"

#include "soundclasses.h"

#include <QFile>
#include <QHash>
#include <QSaveFile>

#include <cstring>

#include <algorithm>
#include <array>
#include <bitset>
#include <iterator>

namespace vantro {

namespace {

// FNV-1a over the key's sounds: the same on every machine, so that an index written by one
// build is read by another (Qt's own string hash changes with the processor's instructions).
quint64 hashOfKey(QStringView key)
{
    quint64 hash = 0xcbf29ce484222325ull;
    for (const QChar sound : key) {
        hash ^= sound.unicode();
        hash *= 0x100000001b3ull;
    }
    return hash;
}

class IndexSink : public FormSink
{
public:
    IndexSink(std::vector<FormIndex::Posting> *postings, int entry)
        : m_postings(postings), m_entry(entry)
    {
    }
    void add(const QString &form, const FormCell &cell) override
    {
        const QString key = formKeyOfItrans(form);
        if (!key.isEmpty())
            m_postings->push_back({hashOfKey(key), m_entry, cell});
    }

private:
    std::vector<FormIndex::Posting> *m_postings;
    int m_entry;
};

// A function object rather than a function, so that the sort and the look-ups inline it.
struct ByHash
{
    bool operator()(const FormIndex::Posting &a, const FormIndex::Posting &b) const
    {
        return a.hash < b.hash;
    }
};

} // namespace

namespace {

// Whether a sound reads as the anusvara before the next: a nasal before a stop of its own class,
// m before a semivowel or a spirant. Worked out once from the table of sounds, as every form of
// a dictionary is keyed through here.
bool readsAsAnusvara(Sound sound, Sound next)
{
    static const std::array<std::bitset<kSoundCount>, kSoundCount> table = [] {
        std::array<std::bitset<kSoundCount>, kSoundCount> reads{};
        for (int s = 0; s < kSoundCount; ++s) {
            for (int n = 0; n < kSoundCount; ++n) {
                const Sound sound = static_cast<Sound>(s), next = static_cast<Sound>(n);
                reads[std::size_t(s)][std::size_t(n)] =
                    (isPlainStop(next) && nasalOf(placeOf(next)) == sound) ||
                    (sound == Sound::m && (isSemivowel(next) || verbs::isSpirant(next)));
            }
        }
        return reads;
    }();
    return table[std::size_t(sound)][std::size_t(next)];
}

} // namespace

QString formKeyOfSounds(const SoundString &sounds)
{
    // The index hashes one character a sound, as the files it has written did.
    QString key(sounds.size(), Qt::Uninitialized);
    for (int i = 0; i < sounds.size(); ++i) {
        Sound sound = sounds.at(i);
        const bool last = i + 1 == sounds.size();
        if (!last && readsAsAnusvara(sound, sounds.at(i + 1)))
            sound = Sound::M;
        else if (last && sound == Sound::M)
            sound = Sound::m;
        key[i] = codeOf(sound);
    }
    return key;
}

// The spellings the grammar writes its forms in (one for each sound), read back by the
// longest match without the converter's tokenizer: the index reads hundreds of thousands of
// forms. Anything else (another spelling, a separator) is left to the tokenizer.
Outcome<SoundString> soundsOfPreferredSpelling(QStringView itrans)
{
    struct Spelling
    {
        std::array<char16_t, 4> letters{};
        qsizetype length = 0;
        Sound sound = Sound::a;
    };
    using Spellings = std::vector<Spelling>;
    static const std::array<Spellings, 128> byFirstLetter = [] {
        std::array<Spellings, 128> table;
        for (int s = 0; s < kSoundCount; ++s) {
            const Sound sound = static_cast<Sound>(s);
            const QString written = SoundString(sound).toItrans();
            Spelling spelling;
            spelling.length = std::min<qsizetype>(written.size(), 4);
            std::copy_n(written.utf16(), spelling.length, spelling.letters.begin());
            spelling.sound = sound;
            table[written.front().unicode() & 127].push_back(spelling);
        }
        for (Spellings &spellings : table)
            std::stable_sort(spellings.begin(), spellings.end(),
                             [](const auto &a, const auto &b) { return a.length > b.length; });
        return table;
    }();
    Outcome<SoundString> read;
    const char16_t *text = itrans.utf16();
    for (qsizetype at = 0; at < itrans.size();) {
        if (text[at] >= 128)
            return {{}, QStringLiteral("not a preferred spelling")};
        const Spellings &spellings = byFirstLetter[text[at]];
        const auto match = std::find_if(spellings.begin(), spellings.end(), [&](const Spelling &s) {
            return at + s.length <= itrans.size() &&
                   std::equal(s.letters.begin(), s.letters.begin() + s.length, text + at);
        });
        if (match == spellings.end())
            return {{}, QStringLiteral("not a preferred spelling")};
        read.value.append(match->sound);
        at += match->length;
    }
    return read;
}

QString formKeyOfItrans(QStringView itrans)
{
    Outcome<SoundString> read = soundsOfPreferredSpelling(itrans);
    if (!read.ok() || read.value.isEmpty())
        read = SoundString::fromItrans(itrans);
    return read.ok() ? formKeyOfSounds(read.value) : QString();
}

void FormIndex::addEntry(const Lexicon &lexicon, int entry)
{
    IndexSink sink(&m_recent, entry);
    for (const FormGenerator generate : formGenerators())
        generate(lexicon.entry(entry), sink);
}

void FormIndex::finish()
{
    if (m_recent.empty())
        return;
    std::stable_sort(m_recent.begin(), m_recent.end(), ByHash());
    // Merged into a vector of the right size at once: growing the old one would copy it twice.
    std::vector<Posting> merged;
    merged.reserve(m_sorted.size() + m_recent.size());
    std::merge(m_sorted.begin(), m_sorted.end(), m_recent.begin(), m_recent.end(),
               std::back_inserter(merged), ByHash());
    m_sorted = std::move(merged);
    m_recent.clear();
    m_recent.shrink_to_fit();
}

std::vector<FormIndex::Posting> FormIndex::find(QStringView key) const
{
    Posting wanted;
    wanted.hash = hashOfKey(key);
    std::vector<Posting> found;
    if (m_shared) {
        const auto [first, last] =
            std::equal_range(m_shared->begin(), m_shared->end(), wanted, ByHash());
        found.assign(first, last);
    }
    const auto [first, last] = std::equal_range(m_sorted.begin(), m_sorted.end(), wanted, ByHash());
    found.insert(found.end(), first, last);
    for (const Posting &posting : m_recent)
        if (posting.hash == wanted.hash)
            found.push_back(posting);
    return found;
}

void FormIndex::share()
{
    finish();
    if (m_shared || m_sorted.empty())
        return;
    m_shared = std::make_shared<const std::vector<Posting>>(std::move(m_sorted));
    m_sorted = {};
}

FormIndex FormIndex::madeFor(const Lexicon &lexicon)
{
    FormIndex index;
    for (int entry = 0; entry < lexicon.size(); ++entry)
        index.addEntry(lexicon, entry);
    index.finish();
    return index;
}

namespace {

constexpr char kFormsMagic[8] = {'V', 'N', 'T', 'F', 'O', 'R', 'M', '1'};
constexpr quint32 kByteOrderMark = 0x01020304;
// hash, entry and cell, without the padding the structure has in memory.
constexpr quint32 kRecordSize = 8 + 4 + sizeof(FormCell);

struct FormsHeader
{
    char magic[8];
    quint32 byteOrderMark;
    quint32 recordSize;
    quint64 lexiconFingerprint;
    quint64 count;
};

// What the postings' entry numbers point at: every entry's kind, stem, gender, class and pada
// in order.
quint64 fingerprintOf(const Lexicon &lexicon)
{
    QString identities;
    for (int i = 0; i < lexicon.size(); ++i) {
        const LexiconEntry &entry = lexicon.entry(i);
        identities += QStringLiteral("%1|%2|%3|%4|%5|%6;")
                          .arg(int(entry.kind))
                          .arg(entry.lemma, entry.declinedStem)
                          .arg(int(entry.gender))
                          .arg(entry.verbClass)
                          .arg(int(entry.pada));
    }
    return hashOfKey(identities);
}

bool sameCell(const FormCell &a, const FormCell &b)
{
    return std::memcmp(&a, &b, sizeof(FormCell)) == 0;
}

} // namespace

Outcome<void> FormIndex::writeTo(const QString &path, const Lexicon &lexicon) const
{
    FormsHeader header{};
    std::memcpy(header.magic, kFormsMagic, sizeof header.magic);
    header.byteOrderMark = kByteOrderMark;
    header.recordSize = kRecordSize;
    header.lexiconFingerprint = fingerprintOf(lexicon);
    header.count = m_sorted.size();
    QByteArray bytes(sizeof header + m_sorted.size() * kRecordSize, Qt::Uninitialized);
    std::memcpy(bytes.data(), &header, sizeof header);
    char *record = bytes.data() + sizeof header;
    for (const Posting &posting : m_sorted) {
        std::memcpy(record, &posting.hash, 8);
        std::memcpy(record + 8, &posting.entry, 4);
        std::memcpy(record + 12, &posting.cell, sizeof(FormCell));
        record += kRecordSize;
    }
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.commit())
        return {QStringLiteral("%1: %2").arg(path, file.errorString())};
    return {};
}

Outcome<FormIndex> FormIndex::readFrom(const QString &path, const Lexicon &lexicon)
{
    const auto refused = [&path](const char *why) {
        return Outcome<FormIndex>{{}, QStringLiteral("%1: %2").arg(path, QLatin1String(why))};
    };
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {{}, QStringLiteral("%1: %2").arg(path, file.errorString())};
    const QByteArray bytes = file.readAll();
    FormsHeader header{};
    if (size_t(bytes.size()) < sizeof header ||
        std::memcmp(bytes.constData(), kFormsMagic, sizeof header.magic) != 0)
        return refused("not a file of word forms");
    std::memcpy(&header, bytes.constData(), sizeof header);
    if (header.byteOrderMark != kByteOrderMark || header.recordSize != kRecordSize)
        return refused("written on another kind of machine or by another version");
    if (header.lexiconFingerprint != fingerprintOf(lexicon))
        return refused("made for another lexicon");
    if (quint64(bytes.size()) != sizeof header + header.count * kRecordSize)
        return refused("cut short or overlong");
    Outcome<FormIndex> read;
    FormIndex &index = read.value;
    index.m_sorted.resize(header.count);
    const char *record = bytes.constData() + sizeof header;
    for (Posting &posting : index.m_sorted) {
        std::memcpy(&posting.hash, record, 8);
        std::memcpy(&posting.entry, record + 8, 4);
        std::memcpy(&posting.cell, record + 12, sizeof(FormCell));
        record += kRecordSize;
        if (posting.entry < 0 || posting.entry >= lexicon.size())
            return refused("names an entry the lexicon does not have");
    }
    if (!std::is_sorted(index.m_sorted.begin(), index.m_sorted.end(), ByHash()))
        return refused("not in order");
    // The generators this program was built with make the same forms as the file holds, tried
    // on a few entries across the lexicon: a file left by another build is not trusted.
    for (const int entry : {0, lexicon.size() / 3, lexicon.size() / 2, lexicon.size() - 1})
        if (entry >= 0 && !index.holdsFreshFormsOf(lexicon, entry))
            return refused("made by other rules than this program's");
    return read;
}

bool FormIndex::holdsFreshFormsOf(const Lexicon &lexicon, int entry) const
{
    FormIndex fresh;
    fresh.addEntry(lexicon, entry);
    const auto held = std::count_if(m_sorted.begin(), m_sorted.end(),
                                    [&](const Posting &posting) { return posting.entry == entry; });
    if (size_t(held) != fresh.m_recent.size())
        return false;
    return std::all_of(fresh.m_recent.begin(), fresh.m_recent.end(), [&](const Posting &made) {
        const auto [first, last] =
            std::equal_range(m_sorted.begin(), m_sorted.end(), made, ByHash());
        return std::any_of(first, last, [&](const Posting &posting) {
            return posting.entry == entry && sameCell(posting.cell, made.cell);
        });
    });
}

qsizetype FormIndex::memoryBytes() const
{
    const size_t shared = m_shared ? m_shared->capacity() : 0;
    return qsizetype((shared + m_sorted.capacity() + m_recent.capacity()) * sizeof(Posting));
}

} // namespace vantro

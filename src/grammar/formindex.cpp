// SPDX-License-Identifier: GPL-3.0-or-later
#include "formindex.h"

#include "verbphonology.h"

#include <QHash>

#include <algorithm>
#include <array>

namespace vantro {

namespace {

constexpr size_t kHashSeed = 0x5eed5a7d;

quint64 hashOfKey(QStringView key)
{
    return quint64(qHash(key, kHashSeed));
}

// The nasal of each class of stops, in sounds; 0 for any other sound.
char16_t nasalOfStop(QChar stop)
{
    static const std::array<char16_t, 128> nasals = [] {
        std::array<char16_t, 128> table{};
        const char *const classes[] = {"kKgGN", "cCjJY", "wWqQR", "tTdDn", "pPbBm"};
        for (const char *row : classes)
            for (int i = 0; i < 4; ++i)
                table[size_t(row[i])] = char16_t(row[4]);
        return table;
    }();
    return stop.unicode() < 128 ? nasals[stop.unicode()] : 0;
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

bool byHash(const FormIndex::Posting &a, const FormIndex::Posting &b)
{
    return a.hash < b.hash;
}

} // namespace

QString formKeyOfSounds(QString sounds)
{
    for (qsizetype i = 0; i + 1 < sounds.size(); ++i) {
        const QChar next = sounds.at(i + 1);
        const bool nasalOfNext = nasalOfStop(next) != 0 && nasalOfStop(next) == sounds.at(i);
        const bool mBeforeSpirant = sounds.at(i) == u'm' && QStringView(u"yrlvSzsh").contains(next);
        if (nasalOfNext || mBeforeSpirant)
            sounds[i] = u'M';
    }
    if (sounds.endsWith(u'M'))
        sounds.back() = u'm';
    return sounds;
}

// The spellings the grammar writes its forms in (one for each sound), read back by the
// longest match without the converter's tokenizer: the index reads hundreds of thousands of
// forms. Anything else (another spelling, a separator) is left to the tokenizer.
QString soundsOfPreferredSpelling(QStringView itrans)
{
    using Spellings = std::vector<std::pair<QString, QChar>>;
    static const std::array<Spellings, 128> byFirstLetter = [] {
        std::array<Spellings, 128> table;
        for (const QChar sound : QStringView(u"aAiIuUfFeEoOMHkKgGNcCjJYwWqQRtTdDnpPbBmyrlvSzsh")) {
            const QString spelling = verbs::itransFromSounds(QString(sound));
            table[spelling.front().unicode() & 127].push_back({spelling, sound});
        }
        for (Spellings &spellings : table)
            std::sort(spellings.begin(), spellings.end(),
                      [](const auto &a, const auto &b) { return a.first.size() > b.first.size(); });
        return table;
    }();
    QString sounds;
    sounds.reserve(itrans.size());
    for (qsizetype at = 0; at < itrans.size();) {
        const char16_t first = itrans.at(at).unicode();
        if (first >= 128)
            return {};
        const Spellings &spellings = byFirstLetter[first];
        const auto match = std::find_if(spellings.begin(), spellings.end(), [&](const auto &s) {
            return itrans.mid(at).startsWith(s.first);
        });
        if (match == spellings.end())
            return {};
        sounds += match->second;
        at += match->first.size();
    }
    return sounds;
}

QString formKeyOfItrans(QStringView itrans)
{
    QString sounds = soundsOfPreferredSpelling(itrans);
    if (sounds.isEmpty()) {
        bool ok = false;
        sounds = verbs::soundsFromItrans(itrans, &ok);
        if (!ok)
            return {};
    }
    return formKeyOfSounds(sounds);
}

void FormIndex::addEntry(const Lexicon &lexicon, int entry)
{
    IndexSink sink(&m_recent, entry);
    for (const FormGenerator generate : formGenerators())
        generate(lexicon.entry(entry), sink);
}

void FormIndex::finish()
{
    std::stable_sort(m_recent.begin(), m_recent.end(), byHash);
    const size_t before = m_sorted.size();
    m_sorted.insert(m_sorted.end(), m_recent.begin(), m_recent.end());
    std::inplace_merge(m_sorted.begin(), m_sorted.begin() + std::ptrdiff_t(before), m_sorted.end(),
                       byHash);
    m_recent.clear();
    m_recent.shrink_to_fit();
}

std::vector<FormIndex::Posting> FormIndex::find(QStringView key) const
{
    Posting wanted;
    wanted.hash = hashOfKey(key);
    const auto [first, last] = std::equal_range(m_sorted.begin(), m_sorted.end(), wanted, byHash);
    std::vector<Posting> found(first, last);
    for (const Posting &posting : m_recent)
        if (posting.hash == wanted.hash)
            found.push_back(posting);
    return found;
}

qsizetype FormIndex::memoryBytes() const
{
    return qsizetype((m_sorted.capacity() + m_recent.capacity()) * sizeof(Posting));
}

} // namespace vantro

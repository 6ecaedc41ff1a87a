// SPDX-License-Identifier: GPL-3.0-or-later
// Any journal bytes: the reader must not crash, must trust only whole entries, and what it
// trusts must be written back byte for byte by the writer.
#include "fuzzcheck.h"
#include "journal.h"

#include <cstddef>
#include <cstdint>

using namespace vantro;
using vantro::fuzz::require;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const QByteArrayView bytes(reinterpret_cast<const char *>(data), qsizetype(size));
    const JournalContents contents = parseJournal(bytes);
    require(contents.validLength <= bytes.size());
    // Every entry trusted lies whole in the bytes, in order, before the end of the sound ones.
    qsizetype at = 0;
    QByteArray again;
    for (const JournalEntry &entry : contents.entries) {
        const QByteArray encoded = encodeJournalEntry(entry);
        at = bytes.indexOf(encoded, at);
        require(at >= 0 && at + encoded.size() <= contents.validLength);
        at += encoded.size();
        again += encoded;
    }
    if (contents.headerValid && contents.version == 2)
        require(encodeJournalHeader(contents) == bytes.first(kJournalHeaderSize));
    // Whatever was trusted reads back the same after a clean header is put in front of it.
    const JournalContents reread =
        parseJournal(encodeJournalHeader(contents.snapshot, false) + again);
    require(reread.headerValid && !reread.openFlag && reread.damagedEntries == 0);
    require(reread.entries.size() == contents.entries.size());
    return 0;
}

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
    require(contents.entries.isEmpty() || contents.validLength >= kJournalHeaderSize);
    if (contents.validLength < kJournalHeaderSize)
        return 0;
    QByteArray again = bytes.first(kJournalHeaderSize).toByteArray();
    for (const JournalEntry &entry : contents.entries)
        again += encodeJournalEntry(entry);
    require(again == bytes.first(contents.validLength));
    if (contents.headerValid)
        require(encodeJournalHeader(contents.snapshot, contents.openFlag) ==
                bytes.first(kJournalHeaderSize));
    // Whatever was trusted reads back the same after a clean header is put in front of it.
    const JournalContents reread = parseJournal(encodeJournalHeader(contents.snapshot, false) +
                                                again.sliced(kJournalHeaderSize));
    require(reread.headerValid && !reread.openFlag);
    require(reread.entries.size() == contents.entries.size());
    return 0;
}

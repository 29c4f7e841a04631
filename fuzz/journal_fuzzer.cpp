// libFuzzer target for the journal reader (clang build):
//   ./fuzz/journal_fuzzer -max_total_time=600 work/journal ../fuzz/corpus/journal
// A journal the reader takes must read back the same after being written again.
#include <cstdint>
#include <cstdlib>
#include <string>

#include "app/Journal.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    Journal journal;
    std::string reason;
    if (!readJournal(data, size, journal, reason)) {
        if (reason.empty() || reason.find('\n') != std::string::npos)
            std::abort();
        return 0;
    }
    std::string bytes = encodeJournalHeader(journal.header);
    JournalFrame previous;
    for (const JournalFrame& frame : journal.frames)
        encodeJournalFrame(previous, frame, bytes), previous = frame;
    Journal again;
    if (!readJournal(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size(), again, reason) || again.cutShort ||
        again.frames.size() != journal.frames.size() || again.header.gameVersion != journal.header.gameVersion)
        std::abort();
    for (std::size_t i = 0; i < again.frames.size(); ++i)
        if (again.frames[i].keys != journal.frames[i].keys || again.frames[i].checksum != journal.frames[i].checksum ||
            again.frames[i].clockTicks != journal.frames[i].clockTicks)
            std::abort();
    return 0;
}

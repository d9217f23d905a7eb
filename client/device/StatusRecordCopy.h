// The SDK rewrites its status records (storage, channel status) byte by byte with relaxed atomic stores while
// its heartbeat or another thread's command refreshes them. A copy taken here loads them the same way, so it
// is free of data races on any thread. It may still mix two refreshes: decide on one copy, never on two reads
// of the live record.
#pragma once

#include <cstddef>

template <class Record>
Record CopyStatusRecord(const Record& live)
{
    Record copy;
    const unsigned char* from = reinterpret_cast<const unsigned char*>(&live);
    unsigned char* to = reinterpret_cast<unsigned char*>(&copy);
    for (size_t b = 0; b < sizeof(Record); ++b)
        to[b] = __atomic_load_n(from + b, __ATOMIC_RELAXED);
    return copy;
}

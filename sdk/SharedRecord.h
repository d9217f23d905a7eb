// Records and fields a program reads through an accessor while the heartbeat thread or another caller's
// command rewrites them (storage and channel status, the per-channel states, list entries). The SDK writes
// them with relaxed atomic stores, byte by byte for a whole record; a program that loads them the same way
// (byte-wise relaxed atomic loads, as the client does) sees old or new bytes and has no data race in the
// language's sense. The accessor's pointer still gives no consistent view: a copy may mix two refreshes.
#pragma once

#include <cstddef>

namespace calvox {

template <class Record>
void StoreRecord(Record* to, const Record& from)
{
    const unsigned char* source = reinterpret_cast<const unsigned char*>(&from);
    unsigned char* target = reinterpret_cast<unsigned char*>(to);
    for (size_t b = 0; b < sizeof(Record); ++b)
        __atomic_store_n(target + b, source[b], __ATOMIC_RELAXED);
}

template <class Record>
Record LoadRecord(const Record* from)
{
    Record copy;
    const unsigned char* source = reinterpret_cast<const unsigned char*>(from);
    unsigned char* target = reinterpret_cast<unsigned char*>(&copy);
    for (size_t b = 0; b < sizeof(Record); ++b)
        target[b] = __atomic_load_n(source + b, __ATOMIC_RELAXED);
    return copy;
}

template <class Field>
void StoreField(Field* field, Field value)
{
    __atomic_store_n(field, value, __ATOMIC_RELAXED);
}

template <class Field>
Field LoadField(const Field* field)
{
    return __atomic_load_n(field, __ATOMIC_RELAXED);
}

}  // namespace calvox

// The storage behind a list that an accessor hands out as {count, entries} (online users, user accounts).
// It is allocated once, for the most entries the list can ever hold, and never moves or shrinks, so an entries
// pointer a program took stays valid until the connection is deleted.
//
// A refresh writes the new entries in place, then publishes their count. A program reading on another thread
// while that happens sees old or new entries, never freed memory. Entries and count are written with relaxed
// (count: release) atomic stores, byte by byte for the entries, so a reader that loads them the same way is
// free of data races in the language's sense too.
#pragma once

#include "SharedRecord.h"

#include <cstddef>
#include <cstdint>
#include <memory>

namespace calvox {

template <class Entry>
class StableList {
public:
    explicit StableList(size_t capacity) : entries_(new Entry[capacity]), capacity_(capacity) {}
    StableList(const StableList&) = delete;
    StableList& operator=(const StableList&) = delete;

    Entry* Entries() const { return entries_.get(); }
    size_t Capacity() const { return capacity_; }

    // Writes entry i (below the capacity).
    void Store(size_t i, const Entry& entry) { StoreRecord(entries_.get() + i, entry); }

    // Makes `count` entries visible: every Store before it happens before a reader's acquire load of the count.
    template <class Count>
    static void Publish(Count* field, Count count)
    {
        __atomic_store_n(field, count, __ATOMIC_RELEASE);
    }

private:
    // Default-initialised: the pages of a large list are only touched as entries are written.
    std::unique_ptr<Entry[]> entries_;
    size_t capacity_;
};

}  // namespace calvox

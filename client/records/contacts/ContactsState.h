#pragma once

// Internal to the contacts store: the locks and the number index shared by its source files.

#include "contacts/ContactsIndex.h"

#include <mutex>
#include <shared_mutex>

namespace ContactsState {

// Taken alone while the store, a book grid or the index changes; shared by lookups from other threads.
// std::shared_mutex rather than QReadWriteLock: the thread sanitizer understands it.
extern std::shared_mutex Lock;
// Serialises the operations that change books (GUI thread and the import on the wait panel's thread), so
// that one of them may read the store and the files without holding Lock.
extern std::recursive_mutex Writer;
extern ContactsIndex Index;

// Call with Lock held alone.
void RebuildIndex();

} // namespace ContactsState

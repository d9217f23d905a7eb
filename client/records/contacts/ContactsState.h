#pragma once

// Internal to the contacts store: the locks and the number index shared by its source files.

#include "contacts/ContactsIndex.h"

#include <QDateTime>
#include <QFileInfo>
#include <QMap>
#include <QString>

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

// A file as it was when it was last read: any write or rename over it changes one of these.
struct FileStamp
{
    explicit FileStamp(const QFileInfo& info)
        : Size(info.size())
        , Modified(info.lastModified())
        , Changed(info.metadataChangeTime())
    {
    }
    bool operator==(const FileStamp& other) const
    {
        return Size == other.Size && Modified == other.Modified && Changed == other.Changed;
    }

    qint64 Size;
    QDateTime Modified;
    QDateTime Changed;
};

// Book files whose "Contacts" is not an array, by key, as they were read. They stay out of the store, so no
// edit ever rewrites them as empty books, yet count as loaded while unchanged: they alone never make
// ReloadContacts read every book again. Changed with Writer held.
extern QMap<QString, FileStamp> SetAsideBooks;

// Call with Lock held alone.
void RebuildIndex();

} // namespace ContactsState

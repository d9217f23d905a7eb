#pragma once

#include "CalvoxSDK.h"

#include <QByteArray>
#include <QString>

#include <atomic>
#include <vector>

// How fetching one recorder file into the backup ended.
enum class FileFetchResult {
    Done,        // the whole file is in its part file, still to be finished (FinishParts)
    Missing,     // the recorder has no such file (its file error, 20); nothing was written
    Cancelled,   // the cancel flag was seen; nothing was written
    LocalError,  // the local file could not be created or written
    Failed,      // the transfer failed (no reply, a refused or damaged transfer); worth another try
};

// A fetched file in "<target>.part", open, not yet synced.
struct PartFile {
    int Fd = -1;
    QByteArray Part;    // file-system encoding
    QByteArray Target;
};

// Fetches a device file into localPath + ".part" (created or truncated, so a part left by a killed run is simply
// replaced). Done only when exactly the announced size arrived; *part then holds the open file. On any other
// outcome the part file is removed. `cancel` is polled before every block. *code receives the SDK's result.
FileFetchResult FetchFileToBackup(Calvox_DeviceHandle handle, const QString& devicePath, const QString& localPath,
                                  const std::atomic<bool>& cancel, int* code, PartFile* part);

// Syncs a batch of part files and renames them to their targets, so a file under its own name is always whole.
// One pass: writeback of every file is started first and then each is synced, so that the file system commits
// the batch together rather than once per file; only then are they renamed, in order. False when a sync failed
// (none is renamed) or a rename failed (the later ones are not renamed; those before stay, whole); every part
// not under its name is removed. With abandon, only closes and removes them all. The batch is empty afterwards.
bool FinishParts(std::vector<PartFile>* parts, bool abandon);

// Makes the renames of files in the folder durable (fsync of the folder); false when that failed.
bool SyncFolder(const QString& folder);

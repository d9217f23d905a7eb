#pragma once

#include "CalvoxSDK.h"

#include <QByteArray>
#include <QString>

#include <atomic>

// How fetching one recorder file into the backup ended.
enum class FileFetchResult {
    Done,        // the whole file is in its part file, still to be finished (FinishPart)
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

// Syncs the part file and renames it to its target, so a file under its own name is always whole; false when
// that failed (the part is removed). With abandon, only closes and removes the part.
bool FinishPart(PartFile* part, bool abandon);

// Makes the renames of files in the folder durable (fsync of the folder); false when that failed.
bool SyncFolder(const QString& folder);

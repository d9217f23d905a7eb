#pragma once

#include "CalvoxSDK.h"

#include <QString>

#include <atomic>

// How fetching one recorder file into the backup ended.
enum class FileFetchResult {
    Done,        // the file is complete under its own name and on the disk
    Missing,     // the recorder has no such file (its file error, 20); nothing was written
    Cancelled,   // the cancel flag was seen; nothing was written
    LocalError,  // the local file could not be created, written, synced or renamed
    Failed,      // the transfer failed (no reply, a refused or damaged transfer); worth another try
};

// Fetches a device file into localPath. The bytes go to localPath + ".part" (created or truncated, so a part left
// by a killed run is simply replaced), which is synced and renamed to localPath only when exactly the announced
// size arrived. On any other outcome the part file is removed. `cancel` is polled before every block.
// *code receives the SDK's result (0 when the transfer went through).
FileFetchResult FetchFileToBackup(Calvox_DeviceHandle handle, const QString& devicePath, const QString& localPath,
                                  const std::atomic<bool>& cancel, int* code);

// Makes the renames of files in the folder durable (fsync of the folder); false when that failed.
bool SyncFolder(const QString& folder);

#pragma once

#include "CalvoxSDK.h"

#include <QByteArray>
#include <QString>

#include <atomic>
#include <cstddef>

// How fetching one recorder file into the backup ended.
enum class FileFetchResult {
    Done,        // the whole file is in its part file, still to be finished (FinishGroup)
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

// Writes all `size` bytes to fd (again after a short write or an interruption); false on a write error.
bool WriteAll(int fd, const char* data, size_t size);

#pragma once

#include <QByteArray>
#include <QString>

class QIODevice;

// Whole-file reads and writes. Every file the client writes (data folder, backup folder, files beside the
// program, the auto-start entry) goes through WriteFileAtomically or SaveFile, so that a file on disk is
// always either its old content or the complete new content, never a torn mix.

enum class FileWriteResult {
    Written,     // every byte is on the disk and the file has been renamed into place
    OpenFailed,  // the temporary file next to the target could not be created (missing folder, no rights)
    WriteFailed  // writing, syncing or renaming failed (full disk, I/O error); the old file is untouched
};

// Who may read the file written. The data folder's files (device passwords among them, contacts) are the
// user's alone; backups, exports and files beside the program follow the user's umask.
enum class FileAccess {
    Umask,     // as the user's umask allows (an existing file keeps its mode)
    OwnerOnly  // 0600, whatever the file had before: no other local user reads it, not even while it is written
};

// Replaces the file at path with exactly `length` bytes from `data`: writes a temporary file in the same
// folder, syncs it, renames it over the target and syncs the folder. A negative length, or a null `data`
// with a positive length, is refused as WriteFailed without touching the disk.
FileWriteResult WriteFileAtomically(const QString& path, const void* data, qint64 length,
                                    FileAccess access = FileAccess::Umask);

// The same for a byte array; true only when the result is Written.
bool SaveFile(const QString& path, const QByteArray& data, FileAccess access = FileAccess::Umask);

// Reads everything from an open device into a new[] array of exactly the device's size. Returns the byte count
// and stores the array in *data; on a read error it frees the array itself, leaves *data untouched and
// returns -1, so -1 always means "nothing to free". A source that ends early yields the bytes it gave.
int ReadAllToNewBuffer(QIODevice* device, char** data);

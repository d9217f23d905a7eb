#pragma once

#include <QByteArray>
#include <QString>

// The per-user data folder and its files. A data file is named relative to the folder ("SoftwareSetting",
// "Devices/" + ID, "/Contacts/..."); its path is g_DataPath + "/" + name. A name holding a ".." segment or a
// NUL character is refused by every function here, so no name can reach outside the data folder.
// The functions keep no state besides g_DataPath and may be called from any thread; each file has one writer.

// Absolute path of the data folder without a trailing separator; empty until InitDataFolder has run.
extern QString g_DataPath;

// Sets g_DataPath to the per-user application-data folder of "CalvoxClient" (this sets the application name)
// and creates it; when that cannot be created, falls back to the program folder. True when the folder exists.
// The per-user folder and everything in it become the user's alone (folders 0700, files 0600; in the program
// folder only its "Devices" folder is closed so).
bool InitDataFolder();

// g_DataPath + "/" + name, or an empty text when the name is refused.
QString DataFilePath(const QString& name);

// Creates the folder `name` with all missing parents; true also when it exists already.
bool MakeDataFolder(const QString& name);

// Reads the whole file into a new[] array of exactly the file's size, stored in *data; the caller frees it with
// delete[]. Returns the byte count, or -1 when the file cannot be opened or read: then nothing is allocated
// and *data is untouched.
int ReadDataFileToBuffer(const QString& name, char** data);

// Replaces *data with the whole file. False when the file cannot be opened or read; *data is then unchanged.
bool ReadDataFile(const QString& name, QByteArray* data);

// Replaces the file with `length` bytes, atomically (see WriteFileAtomically), readable by the user alone
// (0600). Returns `length` when every byte reached the disk, 0 when the file cannot be created (for example its
// folder is missing; -1 for an empty write, so that a failure never equals `length`), -1 when writing failed
// (the old content stays). Callers treat the write as good only when the result equals `length`.
int WriteDataFile(const QString& name, const void* data, int length);

// The same for a byte array; true only when the whole content reached the disk.
bool SaveDataFile(const QString& name, const QByteArray& data);

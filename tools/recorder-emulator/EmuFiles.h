// What an emulated recorder keeps for the file, record and transfer commands: a storage root on disk (the
// record tree of RecordTree.h lives below it), the upload and download in progress, and the last delete.
//
// Per recorder through Recorder::State<FileStore>(); tests edit it holding Recorder::StateMutex(), or call
// ServeFiles before the first request.
#pragma once

#include "EmuSessions.h"
#include "Emulator.h"

#include <cstdint>
#include <string>
#include <vector>

namespace calvox::emu {

// Statuses of these commands (besides 0 ok, 1 "deleting, wait" and kStatusBadRequest for a payload too short or
// a field out of range).
// The recorder's file error: a file (an index of a channel and day without records, a record) is not there.
constexpr uint8_t kStatusNoSuchFile = 20;
constexpr uint8_t kStatusPathRefused = 8;    // not below the storage root, or ".." in it
constexpr uint8_t kStatusTransferState = 9;  // a block out of order, or no transfer open
constexpr uint8_t kStatusNoSuchRecord = 10;
constexpr uint8_t kStatusStorage = 11;       // the storage could not be written
constexpr uint8_t kStatusDeleteWait = 1;

struct FileStore {
    std::string root;  // empty: the recorder has no storage and refuses every path

    // Delete answers status 1 (the client then sends the wait command 2) rather than 0.
    bool deleteAnswersWait = true;

    struct Upload {
        bool open = false;
        std::string path;  // local path of the file being written
        uint32_t nextBlock = 0;
        std::vector<uint8_t> data;
        bool lastEnded = false;  // a repeated end after a lost answer is answered again
    } upload;
    int uploadsCompleted = 0;
    int uploadsCancelled = 0;
    std::vector<uint32_t> uploadBlockSizes;  // byte count of every data block taken, in order

    struct Download {
        bool open = false;
        uint8_t sequence = 0;
        std::vector<uint8_t> data;
    } download;

    bool deleted = false;  // a delete was handled: lastDeleteSequence is valid
    uint8_t lastDeleteSequence = 0;
    uint8_t lastDeleteStatus = 0;
    int recordsDeleted = 0;
};

// Gives the recorder a storage root (an existing folder).
void ServeFiles(Recorder& recorder, const std::string& root);

// The local path of a device path: it must start with '/', and no component may be "..". False when refused.
bool DevicePathToLocal(const FileStore& store, const std::string& devicePath, std::string* local);

// The text up to the first zero byte of payload[from..], false when it has none.
bool TerminatedText(const std::vector<uint8_t>& payload, size_t from, std::string* text);

}  // namespace calvox::emu

// Block file transfer between the program and the recorder's file system. Both directions hold the
// connection's transfer mutex for their whole length (one transfer per connection; commands and the heartbeat
// go on beside it on their own matchers), report through the callback on the caller's thread, and stop when
// the callback returns nonzero.
#pragma once

#include "CalvoxSDK.h"

#include <cstdint>

struct Calvox_Device;

namespace calvox {

// Upload, command 28: begin with the device path, data blocks of 1366, 1366, 1364, ... bytes, each acknowledged
// before the next, then end. Sub-codes in payload byte 0.
enum UploadStep : uint8_t { kUploadBegin = 0, kUploadData = 1, kUploadEnd = 2, kUploadCancel = 3 };
constexpr int kUploadBlockLong = 1366;
constexpr int kUploadBlockShort = 1364;  // every third block, so three blocks carry 4096 bytes
constexpr int kUploadProgressDivisor = 1365;
constexpr int kUploadDataOffset = 12;    // payload offset of the bytes of a data block
constexpr int kMaxUploadFileName = 27;
constexpr int kMaxUploadDevicePath = 255;  // one length byte

// Download, command 29: begin (exact 10-byte reply carrying the size), 1024-byte blocks by index, end.
enum DownloadStep : uint8_t { kDownloadBegin = 0, kDownloadBlock = 1, kDownloadEnd = 2 };
constexpr int kDownloadBlockSize = 1024;
constexpr int kDownloadBeginReply = 10;
constexpr int kDownloadBlockHeader = 10;  // reply header and the echoed block index

// localPath: the file to send; its name (after the last '\' and '/') must be ASCII and at most 27 bytes.
// deviceName null: the local file's name is used on the recorder.
int UploadFile(Calvox_Device& device, const char* localPath, const char* deviceFolder, const char* deviceName,
               const Calvox_EventCallback* callback);

// FileSize(S), then FileData per block in order with the block's bytes (valid during the call).
int DownloadFile(Calvox_Device& device, const char* devicePath, const Calvox_EventCallback* callback);

}  // namespace calvox

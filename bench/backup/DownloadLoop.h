// The floor the backup is measured against: a plain loop of CalvoxAPI_DownloadFile calls that writes each record
// file into a mirror of the recorder's tree, one write per file, with no part files, renames, index copies or
// bookkeeping. With `durable` the writeback of each file is started as soon as it is written, and the loop ends
// with the cheapest pass that puts everything on the disk: one fsync per file, then one per folder it created
// (deepest first, and the root that holds the first of them). That is the least any program must pay to have the same
// bytes safely on the disk; what the backup costs beyond it is the price of reporting each record as soon as it
// is safe and of surviving a kill at any point.
#pragma once

#include "CalvoxSDK.h"

#include <QString>

#include <string>
#include <vector>

struct DownloadLoopResult {
    bool Ok = false;
    qint64 Bytes = 0;       // bytes written
    std::string Failure;    // what went wrong when not Ok
};

// Fetches each device path into root + path (root without a trailing '/'); the folders are made as needed.
DownloadLoopResult RunDownloadLoop(Calvox_DeviceHandle handle, const std::vector<std::string>& devicePaths,
                                   const QString& root, bool durable);

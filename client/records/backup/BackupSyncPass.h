#pragma once

#include "backup/BackupFileFetch.h"

#include <QByteArray>
#include <QString>

#include <vector>

// A piece of a backup to be put on the disk: fetched files of one channel-day, and on the piece that ends the
// channel-day, its index copy.
struct FinishItem {
    std::vector<PartFile> Parts;  // open part files, in the order fetched
    bool EndsChannelDay = false;
    bool Fetched = false;         // the channel-day fetched a file: its folder gained entries
    QString ChannelFolder;
    QString IndexPath;            // where the index copy goes (in the day folder, beside the channel folder)
    QByteArray IndexCopy;
};

// Puts a group of items on the disk in one pass, so that the file system commits the group once rather than
// item by item (each commit waits for the disk, and on a shared disk for other programs' writes too):
// 1. the index copies are written to part files beside their targets; writeback of every part file (records
//    and index copies) is started, then each is synced;
// 2. the record parts are renamed to their names, in order: a file under its own name is always whole and on
//    the disk;
// 3. the channel folders that gained files and the day folders holding them are synced: the names are on the
//    disk;
// 4. only then the index copies take their names, and their day folders are synced: an index copy claims its
//    channel-day's records only once they are on the disk under their names.
// False when anything failed: nothing after the failure takes its name, and every part file not under its name
// is removed (the records renamed before it stay, whole). With abandon, only closes and removes them all.
// The group's parts are closed and taken out of the items.
bool FinishGroup(std::vector<FinishItem>* group, bool abandon);

#pragma once

// The main window's six transfers, each run under a progress dialog (ProgressDriver) over `parent`, with
// the texts of the current language. The caller has made its checks (the recorder online, the permission,
// the chosen file or folder, the firmware check) and does the follow-up: the record search after a deletion,
// the restart after an upgrade that returned Succeeded.

#include "ProgressDriver.h"

#include <QString>

#include <functional>

class KesDevice;
class QWidget;
class ZGridListData;

// The recorder's log "/RecordFiles/Log.txt" into localPath.
ProgressResult DownloadLogWithProgress(KesDevice* device, const QString& localPath, QWidget* parent);
// The ticked records of `rows` into `folder`; the dialog names each record as it starts.
ProgressResult DownloadRecordsWithProgress(KesDevice* device, const QString& folder, ZGridListData* rows,
                                           QWidget* parent);
// The ticked records of `rows`, on the recorder (or, without a device, in the local backup).
ProgressResult DeleteRecordsWithProgress(KesDevice* device, ZGridListData* rows, QWidget* parent);
// An announcement file into the recorder's "/PlayBackFiles", under its own name.
ProgressResult UploadAnnouncementWithProgress(KesDevice* device, const QString& localPath, QWidget* parent);
// A firmware image to "/Upgrade/Image.bin". Succeeded: the caller restarts the recorder.
ProgressResult ManualUpgradeWithProgress(KesDevice* device, const QString& imagePath, QWidget* parent);
// The image `firmwareFileName` from the update server into DownloadFirmwareThread::DefaultFolder(), then to
// "/Upgrade/Image.bin". Between the two, `checkImage` (when given) sees the downloaded file's path: a nonempty
// answer is shown as the failure and nothing is uploaded. Succeeded: the caller restarts the recorder.
ProgressResult OnlineUpgradeWithProgress(KesDevice* device, const QString& firmwareFileName, QWidget* parent,
                                         std::function<QString(const QString&)> checkImage = {});

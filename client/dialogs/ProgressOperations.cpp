#include "ProgressOperations.h"

#include "SingleProgressForm.h"

#include "LanguageTexts.h"
#include "workers/DeleteRecordThread.h"
#include "workers/DownloadFileThread.h"
#include "workers/DownloadFirmwareThread.h"
#include "workers/DownloadRecordThread.h"
#include "workers/UploadFileThread.h"

#include <QFileInfo>

namespace {

// Downloads and deletions end with the bar full and "Completed" on the button, whatever the result.
ProgressTexts TransferTexts(const QString& title, const QString& success, const QString& failure)
{
    return {title, QString(), success, failure, TextMisc004, TextMisc004, true};
}

// Upgrades: a success offers the restart; after a failure the button keeps "Cancel".
ProgressTexts UpgradeTexts(const QString& title, const QString& firstText)
{
    return {title, firstText, TextMisc018, TextMisc019, TextDevice027, QString(), false};
}

}  // namespace

ProgressResult DownloadLogWithProgress(KesDevice* device, const QString& localPath, QWidget* parent)
{
    ProgressDriver driver(TransferTexts(TextMisc012, TextMisc014, TextMisc015), parent);
    DownloadFileThread worker(device, QStringLiteral("/RecordFiles/Log.txt"), localPath);
    QObject::connect(&worker, &DownloadFileThread::ProgressSignal, driver.Form(), &SingleProgressForm::SetValue);
    QObject::connect(&worker, &DownloadFileThread::DoneSignal, &driver, &ProgressDriver::WorkerDone);
    return driver.Run(&worker, &worker.Stop);
}

ProgressResult DownloadRecordsWithProgress(KesDevice* device, const QString& folder, ZGridListData* rows,
                                           QWidget* parent)
{
    ProgressDriver driver(TransferTexts(TextMisc012, TextMisc014, TextMisc015), parent);
    DownloadRecordThread worker(device, folder, rows);
    QObject::connect(&worker, &DownloadRecordThread::DownloadFile, driver.Form(), &SingleProgressForm::SetText);
    QObject::connect(&worker, &DownloadRecordThread::ProgressSignal, driver.Form(), &SingleProgressForm::SetValue);
    QObject::connect(&worker, &DownloadRecordThread::DoneSignal, &driver, &ProgressDriver::WorkerDone);
    return driver.Run(&worker, &worker.Stop);
}

ProgressResult DeleteRecordsWithProgress(KesDevice* device, ZGridListData* rows, QWidget* parent)
{
    ProgressDriver driver(TransferTexts(TextMisc020, TextMisc021, TextMisc022), parent);
    DeleteRecordThread worker(device, rows);
    QObject::connect(&worker, &DeleteRecordThread::ProgressSignal, &driver, &ProgressDriver::ShowItem);
    QObject::connect(&worker, &DeleteRecordThread::DoneSignal, &driver, &ProgressDriver::WorkerDone);
    return driver.Run(&worker, &worker.Stop);
}

ProgressResult UploadAnnouncementWithProgress(KesDevice* device, const QString& localPath, QWidget* parent)
{
    // Uploads leave the bar where the transfer put it.
    const ProgressTexts texts{TextMisc016, QFileInfo(localPath).fileName(), TextMisc018, TextMisc019,
                              TextMisc004, TextMisc004, false};
    ProgressDriver driver(texts, parent);
    UploadFileThread worker(device, localPath, QStringLiteral("/PlayBackFiles"), QString());
    QObject::connect(&worker, &UploadFileThread::UploadProgressSignal, driver.Form(), &SingleProgressForm::SetValue);
    QObject::connect(&worker, &UploadFileThread::UploadDoneSignal, &driver, &ProgressDriver::WorkerDone);
    return driver.Run(&worker, &worker.Stop);
}

ProgressResult ManualUpgradeWithProgress(KesDevice* device, const QString& imagePath, QWidget* parent)
{
    ProgressDriver driver(UpgradeTexts(TextMisc007, TextMisc017), parent);
    UploadFileThread worker(device, imagePath, QStringLiteral("/Upgrade"), QStringLiteral("Image.bin"));
    QObject::connect(&worker, &UploadFileThread::UploadProgressSignal, driver.Form(), &SingleProgressForm::SetValue);
    QObject::connect(&worker, &UploadFileThread::UploadDoneSignal, &driver, &ProgressDriver::WorkerDone);
    return driver.Run(&worker, &worker.Stop);
}

ProgressResult OnlineUpgradeWithProgress(KesDevice* device, const QString& firmwareFileName, QWidget* parent,
                                         std::function<QString(const QString&)> checkImage)
{
    ProgressDriver driver(UpgradeTexts(TextMisc008, TextMisc013), parent);
    const QString folder = DownloadFirmwareThread::DefaultFolder();
    DownloadFirmwareThread download(device, firmwareFileName, folder);
    UploadFileThread upload(device, folder + firmwareFileName, QStringLiteral("/Upgrade"), QStringLiteral("Image.bin"));
    QObject::connect(&download, &DownloadFirmwareThread::DownloadProgressSignal, driver.Form(),
                     &SingleProgressForm::SetValue);
    QObject::connect(&download, &DownloadFirmwareThread::DownloadDoneSignal, &driver, &ProgressDriver::DownloadDone);
    QObject::connect(&upload, &UploadFileThread::UploadProgressSignal, driver.Form(), &SingleProgressForm::SetValue);
    QObject::connect(&upload, &UploadFileThread::UploadDoneSignal, &driver, &ProgressDriver::WorkerDone);
    std::function<QString()> beforeUpload;
    if (checkImage)
        beforeUpload = [checkImage, image = upload.LocalPath] { return checkImage(image); };
    return driver.Run(&download, &download.Stop, &upload, &upload.Stop, beforeUpload);
}

#include "ProgressDriver.h"

#include "SingleProgressForm.h"

#include "LanguageTexts.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QThread>

ProgressDriver::ProgressDriver(const ProgressTexts& texts, QWidget* parent)
    : m_Texts(texts), m_Form(new SingleProgressForm(texts.Title, parent))
{
    connect(m_Form, &SingleProgressForm::CancelButtonClicked, this, &ProgressDriver::Cancel);
}

ProgressDriver::~ProgressDriver()
{
    delete m_Form;
}

SingleProgressForm* ProgressDriver::Form() const
{
    return m_Form;
}

ProgressResult ProgressDriver::Run(QThread* worker, std::atomic<bool>* stop)
{
    m_Worker = worker;
    m_Stop = stop;
    m_Working = true;
    return RunWindow(worker);
}

ProgressResult ProgressDriver::Run(QThread* download, std::atomic<bool>* downloadStop, QThread* upload,
                                   std::atomic<bool>* uploadStop, std::function<QString()> beforeUpload)
{
    m_BeforeUpload = std::move(beforeUpload);
    m_Download = download;
    m_DownloadStop = downloadStop;
    m_Worker = upload;
    m_Stop = uploadStop;
    m_Downloading = true;
    return RunWindow(download);
}

ProgressResult ProgressDriver::RunWindow(QThread* first)
{
    if (!m_Texts.FirstText.isEmpty())
        m_Form->SetText(m_Texts.FirstText);
    m_Form->SetButtonText(TextMisc003);
    first->start(QThread::InheritPriority);
    m_Form->exec(true);
    return Finish();
}

ProgressResult ProgressDriver::Finish()
{
    // The window's run ended while work was still going (the program is quitting): stop it and wait for its
    // done signal, handling events but not the user's, since a worker may wait for the GUI thread.
    if (m_Downloading || m_Working) {
        if (m_Downloading)
            *m_DownloadStop = true;
        if (m_Working)
            *m_Stop = true;
        while (m_Downloading || m_Working)
            QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents | QEventLoop::WaitForMoreEvents);
        m_Result = ProgressResult::Cancelled;
    }
    // The done signal is a worker's last act: its thread ends right after.
    if (m_Download)
        m_Download->wait();
    m_Worker->wait();
    return m_Result;
}

void ProgressDriver::WorkerDone(int Errno)
{
    m_Working = false;
    if (Errno != 0 && *m_Stop) {
        m_Result = ProgressResult::Cancelled;
        m_Form->exit(0);
        return;
    }
    if (m_Texts.FullBarAtEnd)
        m_Form->SetValue(100);
    if (Errno == 0) {
        m_Result = ProgressResult::Succeeded;
        m_Form->SetText(m_Texts.SuccessText);
        m_Form->SetButtonText(m_Texts.ClosingText);
    } else {
        m_Result = ProgressResult::Failed;
        m_Form->SetText(m_Texts.FailureText + QStringLiteral(" Errno:") + QString::number(Errno));
        if (!m_Texts.FailureClosingText.isEmpty())
            m_Form->SetButtonText(m_Texts.FailureClosingText);
    }
}

void ProgressDriver::DownloadDone(int Errno)
{
    m_Downloading = false;
    // After a cancel nothing is uploaded, even when the image had arrived whole.
    if (*m_DownloadStop) {
        m_Result = ProgressResult::Cancelled;
        m_Form->exit(0);
        return;
    }
    if (Errno != 0) {
        m_Result = ProgressResult::Failed;
        m_Form->SetText(TextMisc015);
        return;
    }
    if (m_BeforeUpload) {
        const QString objection = m_BeforeUpload();
        if (!objection.isEmpty()) {
            m_Result = ProgressResult::Failed;
            m_Form->SetText(objection);
            return;
        }
    }
    m_Form->SetText(TextMisc017);
    m_Working = true;
    m_Worker->start(QThread::InheritPriority);
}

void ProgressDriver::ShowItem(int Progress, const QString& FileName)
{
    m_Form->SetText(FileName);
    m_Form->SetValue(Progress);
}

void ProgressDriver::Cancel()
{
    if (m_Downloading)
        *m_DownloadStop = true;
    else if (m_Working)
        *m_Stop = true;
    else
        m_Form->exit(0);
}

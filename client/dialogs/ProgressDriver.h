#pragma once

#include <QObject>
#include <QPointer>
#include <QString>

#include <atomic>
#include <functional>

class QThread;
class SingleProgressForm;

// How a progress run ended for its caller.
enum class ProgressResult {
    Cancelled,  // the operator cancelled (or the program quit) before the work ended: nothing was shown
    Failed,     // the work failed; the failure was shown until the operator closed the window
    Succeeded,  // the work succeeded; the success was shown until the operator closed the window
};

// The texts of one operation, taken from the language when the operation starts.
struct ProgressTexts
{
    QString Title;
    QString FirstText;        // shown from the start; empty: none
    QString SuccessText;
    QString FailureText;      // followed by " Errno:" and the worker's result code
    QString ClosingText;      // the button after a success
    // The button after a failure; empty: it keeps "Cancel" (the upgrades), and still closes the window.
    QString FailureClosingText;
    bool FullBarAtEnd = false;  // downloads and deletions show the bar at 100 when they end, whatever the result
};

// Runs transfer workers under a SingleProgressForm: the button cancels while the work runs and closes the
// window once it has ended. The caller creates the driver and its worker(s), connects the workers' progress
// signals to Form() (or to ShowItem), their done signals to WorkerDone (and, for the online upgrade's image
// download, DownloadDone), with the form or the driver as receiver, then calls Run. Everything runs on the
// GUI thread.
//
// - A done signal with result 0 shows the success, also when the stop flag was set after the work had
//   completed: the flag decides only for a worker that did not succeed (then the window closes without a
//   result). The one exception is the online upgrade's image download: after a cancel no upload starts.
// - A close of the window (Alt+F4, close()) acts as a press of the button.
// - Run returns only after the last worker's done signal arrived and its thread ended. When the window's run
//   ends early (the program is told to quit), the worker is stopped and waited for with events handled,
//   user input excluded; the result is then Cancelled.
class ProgressDriver : public QObject
{
    Q_OBJECT

public:
    ProgressDriver(const ProgressTexts& texts, QWidget* parent);
    ~ProgressDriver() override;

    SingleProgressForm* Form() const;

    // One worker: starts it, runs the window until the operator closes it, waits for the worker.
    ProgressResult Run(QThread* worker, std::atomic<bool>* stop);
    // The online upgrade: starts `download`; once it succeeded (and was not cancelled) and `beforeUpload`
    // (when given) has no objection, starts `upload`. `upload` is never started otherwise. The upload's done
    // signal goes to WorkerDone. An objection is a text: shown as the failure, the run counts as Failed.
    ProgressResult Run(QThread* download, std::atomic<bool>* downloadStop, QThread* upload,
                       std::atomic<bool>* uploadStop, std::function<QString()> beforeUpload = {});

public slots:
    // The done signal of the single worker, or of the online upgrade's upload.
    void WorkerDone(int Errno);
    // The done signal of the online upgrade's image download.
    void DownloadDone(int Errno);
    // A progress report that names the item in work (deletions): the name, then the value.
    void ShowItem(int Progress, const QString& FileName);
    // The button (and a close of the window).
    void Cancel();

private:
    // Shows the first texts, starts `first`, runs the window, then Finish.
    ProgressResult RunWindow(QThread* first);
    ProgressResult Finish();

    ProgressTexts m_Texts;
    QPointer<SingleProgressForm> m_Form;
    QThread* m_Download = nullptr;
    std::atomic<bool>* m_DownloadStop = nullptr;
    QThread* m_Worker = nullptr;
    std::atomic<bool>* m_Stop = nullptr;
    std::function<QString()> m_BeforeUpload;
    bool m_Downloading = false;  // the image download runs
    bool m_Working = false;      // the (single or upload) worker runs
    ProgressResult m_Result = ProgressResult::Cancelled;
};

#pragma once

#include "CalvoxSDK.h"
#include "WorkerPool.h"

#include <QObject>
#include <QSet>
#include <QString>

class CallQueue;
class KesDevice;

// Raises the pop-ups for a device's events as the software settings ask: the alert pop-up for a recorder
// without storage or a watched line that was lost, the call pop-up for a ringing line (at its second ring) or
// a number dialled out, the record pop-up for a finished recording. The main window passes it every device
// event, on the GUI thread, after its own page updates. Pop-ups free themselves when closed.
//
// The finished record's description is asked of the recorder on a worker (it may take seconds) while the
// device is held; the pop-up follows only when the device is still listed by then.
class DevicePopups : public QObject
{
    Q_OBJECT

public:
    explicit DevicePopups(QObject* parent = nullptr);
    // Waits for running requests; their pop-ups are not raised any more.
    ~DevicePopups() override;

    // `channel` is the channel index the event carries (from 0); `value` is not used here. Events of a channel
    // outside the device's channels raise nothing.
    void DeviceEventDispose(KesDevice* device, Calvox_EventType type, int channel, int value);

    // Waits until the record requests started so far have ended (their pop-ups follow through the event loop).
    void WaitForRecordRequests();

signals:
    // New Contacts was pressed on a call pop-up for this number; queued, so it arrives after the pop-up closed.
    void AddContactRequested(QString number);

private:
    void StorageEvent(KesDevice* device);
    void ChannelEvent(KesDevice* device, int channel);
    void RecordFinished(KesDevice* device, int channel);
    void RaiseRecordPopup(KesDevice* device, int channel, const Calvox_CurrentRecordInfo& info);

    WorkerPool m_Workers{4};
    // Carries the workers' answers to this object's thread; a child, so answers left when it goes are dropped.
    CallQueue* m_Answers;
    // Lines whose loss was alerted ("device ID/channel"), until they are seen in another state: one loss, one
    // alert, however often it is reported.
    QSet<QString> m_LostAlerted;
};

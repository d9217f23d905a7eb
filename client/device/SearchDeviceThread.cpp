#include "SearchDeviceThread.h"

#include "CallQueue.h"
#include "DeviceId.h"

namespace {

// After the search, a short pause before the end is reported, so the progress bar can be seen at 100.
constexpr unsigned long kDonePauseMs = 500;

}  // namespace

SearchDeviceThread::SearchDeviceThread(QObject* parent) : QThread(parent), m_Signals(new CallQueue(this))
{
    qRegisterMetaType<Calvox_FoundDeviceInfo*>("Calvox_FoundDeviceInfo*");
}

SearchDeviceThread::~SearchDeviceThread()
{
    wait();
    {
        std::lock_guard<std::mutex> lock(m_PendingMutex);
        qDeleteAll(m_Pending);
        m_Pending.clear();
    }
    FreeFoundDevices();
}

void SearchDeviceThread::FreeFoundDevices()
{
    qDeleteAll(FoundDevices);
    FoundDevices.clear();
}

void SearchDeviceThread::run()
{
    // The last search's copies go on the owning thread, which reads them.
    m_Signals->Post([this] { FreeFoundDevices(); });
    const Calvox_EventCallback callback = [this](Calvox_EventType event, int, unsigned char* data, int length) {
        if (event == Calvox_Event_FoundDevice && data != nullptr) {
            // The SDK's record is valid only during this call. The whole record is copied: it holds a pointer,
            // so its size depends on the platform.
            auto* copy = new Calvox_FoundDeviceInfo(*reinterpret_cast<const Calvox_FoundDeviceInfo*>(data));
            if (!IsValidDeviceId(copy->ID)) {
                delete copy;
                return 0;
            }
            // The page reads these as C strings.
            copy->FirmwareVersion[sizeof copy->FirmwareVersion - 1] = '\0';
            copy->Address[sizeof copy->Address - 1] = '\0';
            {
                std::lock_guard<std::mutex> lock(m_PendingMutex);
                m_Pending.append(copy);
            }
            m_Signals->Post([this, copy] {
                {
                    std::lock_guard<std::mutex> lock(m_PendingMutex);
                    m_Pending.removeOne(copy);
                }
                FoundDevices.append(copy);
                emit FoundDeviceSignal(copy);
            });
        } else if (event == Calvox_Event_Progress) {
            m_Signals->Post([this, length] { emit ProgressSignal(length); });
        }
        return 0;
    };
    CalvoxAPI_SearchDevice(&callback);
    msleep(kDonePauseMs);
    m_Signals->Post([this] { emit SearchDoneSignal(); });
}

#pragma once

#include <mutex>

// A value that one thread writes while another reads it (a device's firmware version is replaced on the SDK's
// heartbeat thread while the main window shows it). Every access copies under the value's own lock, so a
// reader never sees a half-assigned QString or list. Reads: `QString v = device->Version;` or `.Get()`.
template <class T>
class LockedValue
{
public:
    LockedValue() = default;
    LockedValue(const LockedValue&) = delete;
    LockedValue& operator=(const LockedValue&) = delete;

    LockedValue& operator=(const T& value)
    {
        std::lock_guard<std::mutex> lock(m_Mutex);
        m_Value = value;
        return *this;
    }

    // Changes the value in place under the lock (a read-modify-write no other access can split).
    template <class F>
    void Update(F change)
    {
        std::lock_guard<std::mutex> lock(m_Mutex);
        change(m_Value);
    }

    T Get() const
    {
        std::lock_guard<std::mutex> lock(m_Mutex);
        return m_Value;
    }
    operator T() const { return Get(); }

private:
    mutable std::mutex m_Mutex;
    T m_Value{};
};

#pragma once

#include <QString>
#include <QStringList>

#include <functional>

// The numbers of New Contacts presses on call pop-ups, each given to the contact editor in turn. The editor
// runs modally (a local event loop) and refuses a second run while one is open, so a press made meanwhile on
// another pop-up would be lost: it waits here instead and gets its own run once the open one has ended.
class ContactRequestQueue
{
public:
    // `runEditor` runs the contact editor in add mode for one number and stores an accepted contact.
    explicit ContactRequestQueue(std::function<void(const QString& number)> runEditor);

    // Runs the editor for the number now, or after the runs already open or waiting.
    void Add(const QString& number);

    int Waiting() const { return m_Waiting.size(); }

private:
    std::function<void(const QString&)> m_RunEditor;
    QStringList m_Waiting;
    bool m_Running = false;
};

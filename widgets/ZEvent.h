#pragma once
#include "VelourGlobal.h"

#include <QEvent>

// The library's posted layout events. At most one of each type is pending per receiver: the receiver keeps
// a pending flag per type, Post() sets it and posts only when it was clear, and the receiver's event()
// clears it when the event arrives. Any number of changes within one pass of the event loop thus cost one
// re-layout.
class VELOUR_EXPORT ZEvent : public QEvent
{
public:
    enum ZEventType {
        ChildDockChanged = 1000,     // to a container: a child's dock, size or visibility changed
        BorderChanged = 1001,        // to the widget itself: its border sides or width changed
        ContainerAreaChanged = 1002, // to a container itself: its container area was recomputed
    };

    explicit ZEvent(ZEventType type);

    // Posts a new ZEvent of that type to receiver (normal priority) unless pending is already set; sets it.
    static void Post(QObject* receiver, ZEventType type, bool& pending);
};

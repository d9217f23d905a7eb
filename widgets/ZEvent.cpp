#include "ZEvent.h"

#include <QCoreApplication>

ZEvent::ZEvent(ZEventType type)
    : QEvent(static_cast<QEvent::Type>(type))
{
}

void ZEvent::Post(QObject* receiver, ZEventType type, bool& pending)
{
    if (pending)
        return;
    pending = true;
    QCoreApplication::postEvent(receiver, new ZEvent(type), Qt::NormalEventPriority);
}

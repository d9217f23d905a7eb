#include "ZGridListCell.h"

#include "ZBase.h"

#include <QThread>

ZGridListCell::~ZGridListCell()
{
    ReleaseControl();
}

void ZGridListCell::ReleaseControl(const ZBase* keep)
{
    if (Type != ControlCell)
        return;
    ZBase* control = reinterpret_cast<ZBase*>(Value);
    // Forget the control before deleting it, so that nothing reached from its destructor sees it here.
    Type = TextCell;
    Value = 0;
    if (!control || control == keep)
        return;
    // Workers clear tables under the store's lock on their own threads; a widget may only be destroyed on
    // the thread it lives in.
    if (control->thread() == QThread::currentThread())
        delete control;
    else
        control->deleteLater();
}

ZGridListCell& ZGridListCell::operator=(const QString& text)
{
    return *this = QString(text);
}

ZGridListCell& ZGridListCell::operator=(QString&& text)
{
    const qintptr value = Type == ControlCell ? 0 : Value;
    ReleaseControl();
    Type = TextCell;
    Text = std::move(text);
    Value = value;
    return *this;
}

ZGridListCell& ZGridListCell::operator=(const char* text)
{
    return *this = QString::fromUtf8(text);
}

ZGridListCell& ZGridListCell::operator=(int number)
{
    ReleaseControl();
    Type = TextCell;
    Text = QString::number(number);
    Value = 0;
    return *this;
}

ZGridListCell& ZGridListCell::operator=(bool checked)
{
    ReleaseControl();
    Type = CheckCell;
    Value = checked ? 1 : 0;
    return *this;
}

ZGridListCell& ZGridListCell::operator=(const QImage* image)
{
    ReleaseControl();
    Type = ImageCell;
    Value = reinterpret_cast<qintptr>(image);
    return *this;
}

ZGridListCell& ZGridListCell::operator=(const ZBase* control)
{
    ReleaseControl(control);
    Type = ControlCell;
    Value = reinterpret_cast<qintptr>(control);
    return *this;
}

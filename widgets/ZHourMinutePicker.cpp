#include "ZHourMinutePicker.h"

#include "ZDrawAPI.h"

#include <QImage>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QWheelEvent>

namespace {

// One layout for painting and hit testing.
const QRect FieldRects[4] = {QRect(5, 3, 17, 19), QRect(29, 3, 17, 19), QRect(60, 3, 17, 19),
                             QRect(84, 3, 17, 19)};
const QRect FirstColonRect(22, 3, 7, 19);
const QRect DashRect(46, 3, 14, 19);
const QRect SecondColonRect(77, 3, 7, 19);
const QRect UpRect(106, 5, 9, 6);
const QRect DownRect(106, 14, 9, 6);

int FieldMaximum(int field)
{
    return field % 2 == 0 ? 23 : 59;
}

QImage Arrow(const QString& path, const QColor& color)
{
    QImage image(path);
    ZDrawAPI::ImageReplaceWhite(image, color);
    return image;
}

} // namespace

struct ZHourMinutePickerPrivate
{
    int StartHour = 0;
    int StartMinute = 0;
    int EndHour = 0;
    int EndMinute = 0;
    QColor ButtonColor;
    QColor ButtonColorDisable;
    QColor SelectedItemBackColor;
    QColor SelectedItemForeColor;
    QImage UpImage;
    QImage DownImage;
    QImage UpImageDisabled;
    QImage DownImageDisabled;
    int Selected = ZHourMinutePicker::NoField;
    int* Values[4] = {&StartHour, &StartMinute, &EndHour, &EndMinute};
};

ZHourMinutePicker::ZHourMinutePicker(QWidget* parent)
    : ZBase(parent)
    , d_zhourminutepicker(new ZHourMinutePickerPrivate)
{
    setFixedSize(120, 25);
}

ZHourMinutePicker::~ZHourMinutePicker()
{
    delete d_zhourminutepicker;
}

int ZHourMinutePicker::StartHour() const { return d_zhourminutepicker->StartHour; }
int ZHourMinutePicker::StartMinute() const { return d_zhourminutepicker->StartMinute; }
int ZHourMinutePicker::EndHour() const { return d_zhourminutepicker->EndHour; }
int ZHourMinutePicker::EndMinute() const { return d_zhourminutepicker->EndMinute; }
const QColor& ZHourMinutePicker::ButtonColor() const { return d_zhourminutepicker->ButtonColor; }
const QColor& ZHourMinutePicker::ButtonColorDisable() const { return d_zhourminutepicker->ButtonColorDisable; }
const QColor& ZHourMinutePicker::SelectedItemBackColor() const { return d_zhourminutepicker->SelectedItemBackColor; }
const QColor& ZHourMinutePicker::SelectedItemForeColor() const { return d_zhourminutepicker->SelectedItemForeColor; }
int ZHourMinutePicker::SelectedField() const { return d_zhourminutepicker->Selected; }

void ZHourMinutePicker::SetField(int field, int value)
{
    value = qBound(0, value, FieldMaximum(field));
    int* target = d_zhourminutepicker->Values[field];
    if (*target == value)
        return;
    *target = value;
    update();
}

void ZHourMinutePicker::SetStartHour(int hour) { SetField(StartHourField, hour); }
void ZHourMinutePicker::SetStartMinute(int minute) { SetField(StartMinuteField, minute); }
void ZHourMinutePicker::SetEndHour(int hour) { SetField(EndHourField, hour); }
void ZHourMinutePicker::SetEndMinute(int minute) { SetField(EndMinuteField, minute); }

void ZHourMinutePicker::SetButtonColor(const QColor& color)
{
    ZHourMinutePickerPrivate* d = d_zhourminutepicker;
    if (d->ButtonColor == color)
        return;
    d->ButtonColor = color;
    d->UpImage = Arrow(QStringLiteral("://Icons/ZHourMinutePicker/UpButton.png"), color);
    d->DownImage = Arrow(QStringLiteral("://Icons/ZHourMinutePicker/DownButton.png"), color);
    update();
}

void ZHourMinutePicker::SetButtonColorDisable(const QColor& color)
{
    ZHourMinutePickerPrivate* d = d_zhourminutepicker;
    if (d->ButtonColorDisable == color)
        return;
    d->ButtonColorDisable = color;
    d->UpImageDisabled = Arrow(QStringLiteral("://Icons/ZHourMinutePicker/UpButton.png"), color);
    d->DownImageDisabled = Arrow(QStringLiteral("://Icons/ZHourMinutePicker/DownButton.png"), color);
    update();
}

void ZHourMinutePicker::SetSelectedItemBackColor(const QColor& color)
{
    if (d_zhourminutepicker->SelectedItemBackColor == color)
        return;
    d_zhourminutepicker->SelectedItemBackColor = color;
    update();
}

void ZHourMinutePicker::SetSelectedItemForeColor(const QColor& color)
{
    if (d_zhourminutepicker->SelectedItemForeColor == color)
        return;
    d_zhourminutepicker->SelectedItemForeColor = color;
    update();
}

// Moves the selected field by one, wrapping past either end; nothing without a selected field.
void ZHourMinutePicker::StepSelected(int step)
{
    ZHourMinutePickerPrivate* d = d_zhourminutepicker;
    if (d->Selected == NoField)
        return;
    const int span = FieldMaximum(d->Selected) + 1;
    int* value = d->Values[d->Selected];
    *value = ((*value + step) % span + span) % span;
}

void ZHourMinutePicker::Paint(QPainter* painter)
{
    ZHourMinutePickerPrivate* d = d_zhourminutepicker;
    painter->save();
    const QRect r = rect();
    ZDrawAPI::DrawBackColor(painter, r, Radius(), BackColor(), BorderWidth());
    ZDrawAPI::DrawBorder(painter, r, Radius(), BorderColor(), Border(), BorderWidth());
    const auto twoDigits = [](int v) { return QStringLiteral("%1").arg(v, 2, 10, QLatin1Char('0')); };
    if (d->Selected != NoField) {
        painter->fillRect(FieldRects[d->Selected], d->SelectedItemBackColor);
        painter->setPen(d->SelectedItemForeColor);
        painter->drawText(FieldRects[d->Selected], Qt::AlignCenter, twoDigits(*d->Values[d->Selected]));
    }
    painter->setPen(ForeColor());
    for (int field = 0; field < 4; ++field) {
        if (field != d->Selected)
            painter->drawText(FieldRects[field], Qt::AlignCenter, twoDigits(*d->Values[field]));
    }
    painter->drawText(FirstColonRect, Qt::AlignCenter, QStringLiteral(":"));
    painter->drawText(DashRect, Qt::AlignCenter, QStringLiteral("-"));
    painter->drawText(SecondColonRect, Qt::AlignCenter, QStringLiteral(":"));
    const bool enabled = isEnabled();
    const QImage& up = enabled ? d->UpImage : d->UpImageDisabled;
    const QImage& down = enabled ? d->DownImage : d->DownImageDisabled;
    if (!up.isNull())
        painter->drawImage(UpRect, up);
    if (!down.isNull())
        painter->drawImage(DownRect, down);
    painter->restore();
}

bool ZHourMinutePicker::event(QEvent* e)
{
    ZHourMinutePickerPrivate* d = d_zhourminutepicker;
    switch (e->type()) {
    case QEvent::MouseButtonPress: {
        if (!isEnabled())
            return false;
        const QPoint pos = static_cast<QMouseEvent*>(e)->pos();
        int hit = NoField;
        for (int field = 0; field < 4; ++field) {
            if (FieldRects[field].contains(pos))
                hit = field;
        }
        if (hit != NoField) {
            d->Selected = hit;
            setFocus(Qt::MouseFocusReason);
        } else if (UpRect.contains(pos) || DownRect.contains(pos)) {
            if (d->Selected != NoField) {
                StepSelected(UpRect.contains(pos) ? 1 : -1);
                setFocus(Qt::MouseFocusReason);
            }
        } else {
            d->Selected = NoField;
        }
        update();
        return true;
    }
    case QEvent::Wheel: {
        // Without a selected field the wheel goes on to the parent (a scrolled page scrolls).
        if (d->Selected == NoField)
            break;
        StepSelected(static_cast<QWheelEvent*>(e)->angleDelta().y() > 0 ? 1 : -1);
        e->accept();
        update();
        return true;
    }
    case QEvent::KeyPress:
        return KeyPress(static_cast<QKeyEvent*>(e));
    case QEvent::FocusOut:
        d->Selected = NoField;
        update();
        break;
    default:
        break;
    }
    return ZBase::event(e);
}

bool ZHourMinutePicker::KeyPress(QKeyEvent* e)
{
    ZHourMinutePickerPrivate* d = d_zhourminutepicker;
    // Tab and Backtab move the focus on as in any other field.
    if (e->key() == Qt::Key_Tab || e->key() == Qt::Key_Backtab)
        return ZBase::event(e);
    e->accept();
    if (d->Selected == NoField)
        return true;
    const QString text = e->text();
    if (!text.isEmpty() && text.at(0).isDigit()) {
        // Typing two digits enters a two-digit number; a third starts over.
        const int digit = text.at(0).digitValue();
        int* value = d->Values[d->Selected];
        const int typed = *value < 10 ? *value * 10 + digit : digit;
        *value = qBound(0, typed, FieldMaximum(d->Selected));
    }
    update();
    return true;
}

#include "DialForm.h"

#include "DialogFrame.h"
#include "KesDevice.h"
#include "StatusRecordCopy.h"

#include "ui_DialForm.h"

#include <QApplication>
#include <QClipboard>
#include <QKeyEvent>
#include <QKeySequence>

DialForm* g_DialForm = nullptr;

namespace {

bool IsDialChar(QChar c)
{
    return (c >= QLatin1Char('0') && c <= QLatin1Char('9')) || c == QLatin1Char('*') || c == QLatin1Char('#');
}

}  // namespace

DialForm::DialForm(QWidget* parent) : ZForm(parent), ui(new Ui::DialForm)
{
    Q_INIT_RESOURCE(DialForm);
    ui->setupUi(this);

    ZButton* keys[12] = {ui->Button0, ui->Button1, ui->Button2, ui->Button3, ui->Button4,  ui->Button5,
                         ui->Button6, ui->Button7, ui->Button8, ui->Button9, ui->Button10, ui->Button11};
    for (int i = 0; i < 12; ++i) {
        Keys[i] = keys[i];
        Keys[i]->Tag = i;
        connect(Keys[i], &ZButton::Clicked, this, &DialForm::KeyClicked);
    }
    if (g_DeviceManage)
        connect(g_DeviceManage, &DeviceManage::DeviceListChanged, this, &DialForm::DeviceListChangedEvent);
    FollowLanguageAndSkin(this);
}

DialForm::~DialForm()
{
    delete ui;
}

void DialForm::SetChannel(KesDevice* device, int channel)
{
    if (device == Device) {
        SelectChannel(channel);
        return;
    }
    PendingChannel = channel;
    ui->DeviceComboBox->SetSelectedIndex(DeviceManage::IndexOfDevice(device));
    // The selection did not move (the device is not listed and nothing was selected): no change handler ran.
    if (PendingChannel != -1)
        on_DeviceComboBox_SelectedIndexChanged(ui->DeviceComboBox->SelectedIndex());
}

void DialForm::SetPhoneNumber(const QString& number)
{
    ui->PhoneNumberLabel->SetText(number);
}

void DialForm::Show(bool clear)
{
    show(true);
    setFocus();
    if (clear)
        ui->PhoneNumberLabel->SetText(QString());
}

void DialForm::DeviceEventDispose(KesDevice* device, Calvox_EventType type, int channel, int /*value*/)
{
    if (device == nullptr || device != Device)
        return;
    switch (type) {
    case 4:  // ConnectStatus
        RebuildChannels();
        if (channel == Channel)
            UpdateDialButton();
        break;
    case 8:   // ChannelStatus
    case 11:  // PlaybackState: the simulated off-hook flag changed
        if (channel == Channel)
            UpdateDialButton();
        break;
    default:
        break;
    }
}

void DialForm::keyPressEvent(QKeyEvent* event)
{
    if (event->matches(QKeySequence::Paste)) {
        ui->PhoneNumberLabel->SetText(QString());
        AppendDialChars(QApplication::clipboard()->text());
    }
    if (event->key() == Qt::Key_Backspace || event->key() == Qt::Key_Delete)
        on_BackspaceButton_Clicked();
    else
        AppendDialChars(event->text());
    event->accept();
}

void DialForm::on_ReturnButton_Clicked()
{
    hide();
}

void DialForm::on_BackspaceButton_Clicked()
{
    QString number = ui->PhoneNumberLabel->Text();
    if (number.isEmpty())
        return;
    number.chop(1);
    ui->PhoneNumberLabel->SetText(number);
}

void DialForm::on_DeviceComboBox_SelectedIndexChanged(int index)
{
    Device = DeviceManage::GetDevice(index);
    const int pending = PendingChannel;
    PendingChannel = -1;
    RebuildChannels();
    SelectChannel(pending);
}

void DialForm::on_ChannelComboBox_SelectedIndexChanged(int)
{
    bool ok = false;
    const int number = ui->ChannelComboBox->SelectedText().toInt(&ok);
    Channel = ok ? number - 1 : -1;
    UpdateDialButton();
}

void DialForm::on_DialButton_Clicked()
{
    if (Device == nullptr || Channel < 0)
        return;
    if (CalvoxAPI_SimulateOffHookIsEnabled(Device->Handle, Channel) == 1)
        Device->Dial(static_cast<unsigned char>(Channel), QString());
    else
        Device->Dial(static_cast<unsigned char>(Channel), ui->PhoneNumberLabel->Text());
}

void DialForm::KeyClicked()
{
    auto* key = qobject_cast<ZButton*>(sender());
    if (!key)
        return;
    const qintptr index = key->Tag;
    if (index == 10)
        ui->PhoneNumberLabel->AppendText(QStringLiteral("*"));
    else if (index == 11)
        ui->PhoneNumberLabel->AppendText(QStringLiteral("#"));
    else
        ui->PhoneNumberLabel->AppendText(QString::number(index));
}

void DialForm::DeviceListChangedEvent(DeviceManageEvent event, KesDevice* device, int index)
{
    switch (event) {
    case DeviceAdded:
        ui->DeviceComboBox->AddItem(device->Name);
        break;
    case DeviceRemoved:
        // Only the index: a removal made on another thread may arrive after the device was deleted.
        ui->DeviceComboBox->RemoveItem(index);
        break;
    case DeviceChanged:
        ui->DeviceComboBox->SetItem(index, device->Name);
        break;
    default:
        break;
    }
}

void DialForm::RebuildChannels()
{
    QStringList items;
    if (Device && CalvoxAPI_ConnectStatus(Device->Handle) == 2) {
        for (int i = 0; i < Device->Channels; ++i)
            if (CalvoxAPI_Permission_Channel(Device->Handle, i) != 0)
                items << QString::number(i + 1);
    }
    const int before = ui->ChannelComboBox->SelectedIndex();
    ui->ChannelComboBox->SetItems(items);
    // A kept selection may now read another channel: take Channel from it again.
    if (ui->ChannelComboBox->SelectedIndex() == before)
        on_ChannelComboBox_SelectedIndexChanged(before);
}

void DialForm::SelectChannel(int channel)
{
    const int index = channel >= 0 ? ui->ChannelComboBox->Items().indexOf(QString::number(channel + 1)) : -1;
    ui->ChannelComboBox->SetSelectedIndex(index);
}

void DialForm::UpdateDialButton()
{
    if (Device == nullptr || Channel < 0 || Channel >= Device->Channels)
        return;
    const Calvox_ChannelStatus* status = CalvoxAPI_ChannelStatus(Device->Handle, Channel);
    if (status == nullptr)
        return;
    if (CalvoxAPI_SimulateOffHookIsEnabled(Device->Handle, Channel) == 1) {
        ui->DialButton->SetImage(QPixmap(QStringLiteral("://DialForm/DialButtonHangUp.png")));
        ui->DialButton->setEnabled(true);
    } else if (CopyStatusRecord(*status).LineState != 1) {
        ui->DialButton->SetImage(QPixmap(QStringLiteral("://DialForm/DialButtonDisable.png")));
        ui->DialButton->setEnabled(false);
    } else {
        ui->DialButton->SetImage(QPixmap(QStringLiteral("://DialForm/DialButtonDialOut.png")));
        ui->DialButton->setEnabled(true);
    }
}

void DialForm::AppendDialChars(const QString& text)
{
    QString digits;
    for (QChar c : text)
        if (IsDialChar(c))
            digits += c;
    if (!digits.isEmpty())
        ui->PhoneNumberLabel->AppendText(digits);
}

void DialForm::LanguageChangedEvent()
{
    Language::ApplyLanguage(this);
}

void DialForm::SkinChangedEvent()
{
    ApplyDialogSkin(this);
    for (QObject* child : children()) {
        if (auto* button = qobject_cast<ZButton*>(child)) {
            button->SetBackColorHover(g_ThemeColor);
            button->SetForeColorHover(g_TextColor);
            button->SetBackColorPress(g_ThemeColor);
        }
    }
    ui->PhoneNumberLabel->SetForeColor(g_ThemeColor);
}

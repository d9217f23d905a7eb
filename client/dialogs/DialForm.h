#pragma once

#include "ZForm.h"

#include "CalvoxSDK.h"
#include "DeviceManage.h"

class KesDevice;
class QKeyEvent;
class ZButton;

namespace Ui {
class DialForm;
}

// The dial pad: makes a recorder dial out on one of its lines, or hang that line up again. A device list
// mirroring the registered devices, the channels the logged-in user may use, the number and a twelve-key pad.
// Long-lived and not modal: made once with the main window as parent, shown and hidden by the main window,
// which passes it every device event so that the dial button follows the chosen line's state.
//
// The dial request goes straight to the recorder on the GUI thread; its outcome is not shown: the line state
// the recorder then reports changes the dial button.
class DialForm : public ZForm
{
    Q_OBJECT

public:
    explicit DialForm(QWidget* parent);
    ~DialForm() override;

    // Chooses a device and a 0-based channel. For the current device only the channel entry changes;
    // otherwise the device is selected and, once its channel list is built, the channel. The channel list
    // shows channel numbers (from 1) and skips channels the user may not use: the entry that reads channel + 1
    // is chosen, none when the user may not use that channel.
    void SetChannel(KesDevice* device, int channel);
    void SetPhoneNumber(const QString& number);
    // Shows the pad centred over the main window with the keyboard focus; `clear` empties the number first.
    void Show(bool clear);
    // Every device event, from the main window's dispatch. Only the chosen device's count: a connection change
    // rebuilds the channel list, and a change of the chosen channel's status or simulated off-hook flag
    // updates the dial button. `value` is not used here.
    void DeviceEventDispose(KesDevice* device, Calvox_EventType type, int channel, int value);

    // The chosen device (null for none) and 0-based channel (-1 for none).
    KesDevice* Device = nullptr;
    int Channel = -1;
    // The channel SetChannel asked for, waiting for the device's channel list; -1 for none.
    int PendingChannel = -1;

protected:
    // Paste replaces the number by the digits, '*' and '#' of the clipboard text; Backspace and Delete remove
    // the last character; '0'-'9', '*' and '#' are appended. No other key does anything (Enter does not dial).
    void keyPressEvent(QKeyEvent* event) override;

private slots:
    void on_ReturnButton_Clicked();
    void on_BackspaceButton_Clicked();
    void on_DeviceComboBox_SelectedIndexChanged(int index);
    void on_ChannelComboBox_SelectedIndexChanged(int index);
    void on_DialButton_Clicked();

private:
    template <typename F>
    friend void FollowLanguageAndSkin(F*);
    void LanguageChangedEvent();
    void SkinChangedEvent();

    void KeyClicked();
    void DeviceListChangedEvent(DeviceManageEvent event, KesDevice* device, int index);
    // The channels of Device the user may use, when it is online; then Channel from the selection.
    void RebuildChannels();
    // Selects the entry that reads channel + 1; none when there is no such entry.
    void SelectChannel(int channel);
    void UpdateDialButton();
    void AppendDialChars(const QString& text);

    Ui::DialForm* ui;
    // Index 0-9 the digit keys, 10 '*', 11 '#'.
    ZButton* Keys[12] = {};
};

extern DialForm* g_DialForm;

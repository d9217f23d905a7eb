#pragma once

#include "DeviceManage.h"
#include "ZPanel.h"

#include <QList>
#include <QString>

class KesDevice;
class ZButton;
class ZMenu;
namespace Ui {
class DeviceTabBar;
}

// The strip of device tabs that heads the monitor, online-user and setting pages: one flat text button per
// registered recorder in list order (optionally led by an all-devices button), the selected one underlined in
// the theme colour. Prev and Next scroll the strip when the buttons do not fit; a third arrow drops down a menu
// of every device. The arrows show only while the mouse is over the bar (or the menu is open).
//
// The bar mirrors the device list by itself from g_DeviceManage's DeviceListChanged: it makes no buttons for
// devices listed before it exists, so it must be built before the devices are loaded. It follows the language
// (the all-devices caption) and the theme colour. GUI thread only.
//
// Device index: a position in the device list; AllDevices (0xffff) for the all-devices button, a negative value
// for no selection. An index that names no button is ignored wherever the bar is given one.
class DeviceTabBar : public ZPanel
{
    Q_OBJECT

public:
    static constexpr int AllDevices = 0xffff;

    // allText (used only with allTab) names the language text of the all-devices caption; it is read at every
    // language change and must outlive the bar. The caption, and with it the strip, is empty until the first
    // language change. Connects to g_Language, g_Skin and g_DeviceManage when they exist.
    DeviceTabBar(bool allTab, QString* allText, QWidget* parent);
    ~DeviceTabBar() override;

    // Underlines the button of deviceIndex (a negative value clears the underline), scrolls the strip right when
    // that button lies left of the visible part, and emits SelectedDeviceIndexChanged. Nothing happens when the
    // index is already selected or names no button.
    void SetSelectedDeviceIndex(int deviceIndex);
    // The width of the grey line under the buttons; 0 removes it.
    void SetContainerBorderWidth(int width);

    // The buttons in order: the all-devices button first when the bar has one, then one per device.
    const QList<ZButton*>& Buttons() const { return m_Buttons; }

    // Places the arrows at the right end and fits the visible part of the strip between them; the library runs
    // it whenever the bar is resized.
    void ReLayout() override;

    // The device index last selected; -1 before any selection. Read it, change it with SetSelectedDeviceIndex.
    int SelectedDeviceIndex = -1;

signals:
    void SelectedDeviceIndexChanged(int deviceIndex);

protected:
    void enterEvent(QEvent* event) override;
    void leaveEvent(QEvent* event) override;

private slots:
    void on_PrevButton_Clicked();
    void on_NextButton_Clicked();
    void on_MoreDeviceButton_Clicked();
    void LanguageChangedEvent();
    void SkinChangedEvent();
    void DeviceListChangedEvent(DeviceManageEvent event, KesDevice* device, int index);

private:
    ZButton* CreateButton(const QString& text);
    void ButtonClicked();
    void ArrangeButtons();
    // Sets the button's caption and fits its width to it.
    void SetButtonText(ZButton* button, const QString& text);
    void DeviceAdded(KesDevice* device);
    void DeviceRemoved(int index);
    void DeviceChanged(KesDevice* device, int index);
    int DeviceIndexToButtonIndex(int deviceIndex) const;
    int ButtonIndexToDeviceIndex(int buttonIndex) const;
    // The button of a device index, null when the index names none.
    ZButton* ButtonOfDevice(int deviceIndex) const;
    void SetArrowsVisible(bool visible);

    Ui::DeviceTabBar* ui;
    // Holds the buttons; moved sideways to scroll.
    QWidget* m_ButtonStrip = nullptr;
    // Item k is device k.
    ZMenu* m_DeviceListMenu = nullptr;
    ZButton* m_AllButton = nullptr;
    // The buttons in creation order (the strip's child list is not kept in that order by Qt).
    QList<ZButton*> m_Buttons;
    int m_SelectedButtonIndex = -1;
    // True while the device menu runs: the arrows stay visible.
    bool m_MenuOpen = false;
};

#include "DeviceTabBar.h"

#include "ui_DeviceTabBar.h"

#include "KesDevice.h"
#include "Language.h"
#include "ListMenu.h"
#include "Skin.h"
#include "ZButton.h"
#include "ZMenu.h"
#include "ZMenuItem.h"

#include <QCursor>
#include <QPointer>

#include <algorithm>

namespace {

// Room between two buttons, and around a caption inside its button.
const int kButtonGap = 10;
const int kScrollStep = 100;

const QColor kGreyText(100, 100, 100);
const QColor kLine(230, 230, 230);

} // namespace

DeviceTabBar::DeviceTabBar(bool allTab, QString* allText, QWidget* parent)
    : ZPanel(parent)
    , ui(new Ui::DeviceTabBar)
{
    // The arrows live in this static library: make them available before the form loads them.
    Q_INIT_RESOURCE(DeviceTabBar);
    ui->setupUi(this);

    SetArrowsVisible(false);

    m_ButtonStrip = new QWidget(ui->ContainerPanel);
    m_ButtonStrip->setObjectName(QStringLiteral("ButtonStrip"));
    m_ButtonStrip->setGeometry(0, 0, 0, ui->ContainerPanel->height());

    m_DeviceListMenu = MakeListMenu(this, "MoreDeviceListMenu");
    m_DeviceListMenu->SetItemForeColorDisable(QColor(200, 200, 200));

    if (allTab && allText != nullptr) {
        // Its caption comes with the next language change.
        m_AllButton = CreateButton(QString());
        m_AllButton->Tag = reinterpret_cast<qintptr>(allText);
        m_Buttons.append(m_AllButton);
    }

    if (g_Language)
        connect(g_Language, &Language::LanguageChanged, this, &DeviceTabBar::LanguageChangedEvent);
    if (g_Skin)
        connect(g_Skin, &Skin::SkinChanged, this, &DeviceTabBar::SkinChangedEvent);
    if (g_DeviceManage)
        connect(g_DeviceManage, &DeviceManage::DeviceListChanged, this, &DeviceTabBar::DeviceListChangedEvent);
}

DeviceTabBar::~DeviceTabBar()
{
    delete ui;
}

void DeviceTabBar::SetContainerBorderWidth(int width)
{
    ui->ContainerPanel->SetBorderWidth(width);
}

int DeviceTabBar::DeviceIndexToButtonIndex(int deviceIndex) const
{
    if (deviceIndex >= 0 && m_AllButton)
        return deviceIndex == AllDevices ? 0 : deviceIndex + 1;
    return deviceIndex;
}

int DeviceTabBar::ButtonIndexToDeviceIndex(int buttonIndex) const
{
    if (buttonIndex >= 0 && m_AllButton)
        return buttonIndex == 0 ? AllDevices : buttonIndex - 1;
    return buttonIndex;
}

ZButton* DeviceTabBar::ButtonOfDevice(int deviceIndex) const
{
    if (deviceIndex < 0)
        return nullptr;
    // Without an all-devices button AllDevices would map to button 0xffff, with one a device index of 0xffff
    // would map to the all-devices button: neither names a device's button.
    if (deviceIndex == AllDevices && !m_AllButton)
        return nullptr;
    const int b = DeviceIndexToButtonIndex(deviceIndex);
    return b < m_Buttons.size() ? m_Buttons[b] : nullptr;
}

ZButton* DeviceTabBar::CreateButton(const QString& text)
{
    auto* button = new ZButton(m_ButtonStrip);
    button->SetBackColor(Qt::transparent);
    button->SetBackColorHover(Qt::transparent);
    button->SetBackColorPress(Qt::transparent);
    button->SetForeColor(kGreyText);
    button->SetForeColorHover(kGreyText);
    button->SetAlignment(Qt::AlignCenter);
    button->SetBorder(PositionFlag::Bottom);
    // The border width stays 0: only the selected button shows its underline.
    button->SetBorderColor(g_ThemeColor);
    button->SetBorderColorHover(g_ThemeColor);
    button->resize(0, m_ButtonStrip->height());
    SetButtonText(button, text);
    button->move(0, 0);
    button->show();
    connect(button, &ZButton::Clicked, this, [this, button] {
        const int b = m_Buttons.indexOf(button);
        SetSelectedDeviceIndex(b < 0 ? -1 : ButtonIndexToDeviceIndex(b));
    });
    return button;
}

void DeviceTabBar::SetButtonText(ZButton* button, const QString& text)
{
    button->SetText(text);
    button->resize(fontMetrics().horizontalAdvance(text) + kButtonGap, button->height());
}

void DeviceTabBar::SetSelectedDeviceIndex(int deviceIndex)
{
    if (deviceIndex == SelectedDeviceIndex)
        return;
    ZButton* button = nullptr;
    if (deviceIndex >= 0) {
        button = ButtonOfDevice(deviceIndex);
        if (!button)
            return;
    }
    if (m_SelectedButtonIndex >= 0 && m_SelectedButtonIndex < m_Buttons.size())
        m_Buttons[m_SelectedButtonIndex]->SetBorderWidth(0);
    SelectedDeviceIndex = deviceIndex;
    if (!button) {
        m_SelectedButtonIndex = deviceIndex;
    } else {
        m_SelectedButtonIndex = DeviceIndexToButtonIndex(deviceIndex);
        // A button scrolled out at the left comes back to the left edge; one beyond the right edge stays there.
        const int x = button->mapTo(ui->ContainerPanel, QPoint(0, 0)).x();
        if (x < 0)
            m_ButtonStrip->move(m_ButtonStrip->x() - x, m_ButtonStrip->y());
        button->SetBorderWidth(2);
    }
    emit SelectedDeviceIndexChanged(SelectedDeviceIndex);
}

void DeviceTabBar::ArrangeButtons()
{
    int x = 0;
    for (ZButton* button : qAsConst(m_Buttons)) {
        button->move(x, 0);
        x += button->width() + kButtonGap;
    }
    m_ButtonStrip->setGeometry(0, 0, x, ui->ContainerPanel->height());
}

void DeviceTabBar::ReLayout()
{
    const int w = width();
    ui->MoreDeviceButton->move(w - 10, 0);
    ui->NextButton->move(w - 30, 0);
    ui->ContainerPanel->resize(w - 70, ui->ContainerPanel->height());
}

void DeviceTabBar::SetArrowsVisible(bool visible)
{
    ui->PrevButton->setVisible(visible);
    ui->NextButton->setVisible(visible);
    ui->MoreDeviceButton->setVisible(visible);
}

void DeviceTabBar::enterEvent(QEvent* event)
{
    SetArrowsVisible(true);
    ZPanel::enterEvent(event);
}

void DeviceTabBar::leaveEvent(QEvent* event)
{
    if (!m_MenuOpen)
        SetArrowsVisible(false);
    ZPanel::leaveEvent(event);
}

void DeviceTabBar::on_PrevButton_Clicked()
{
    const int x = m_ButtonStrip->x();
    if (x >= 0)
        return;
    m_ButtonStrip->move(std::min(x + kScrollStep, 0), m_ButtonStrip->y());
}

void DeviceTabBar::on_NextButton_Clicked()
{
    const int x = m_ButtonStrip->x();
    const int strip = m_ButtonStrip->width();
    const int panel = ui->ContainerPanel->width();
    if (x + strip <= panel)
        return;
    // The last step stops with the strip's right end at the panel's right edge.
    const int next = x + strip - kScrollStep >= panel ? x - kScrollStep : panel - strip;
    m_ButtonStrip->move(next, m_ButtonStrip->y());
}

void DeviceTabBar::on_MoreDeviceButton_Clicked()
{
    if (m_DeviceListMenu->ItemCount() == 0)
        return;
    m_MenuOpen = true;
    QPointer<DeviceTabBar> self(this);
    ZMenuItem* chosen = m_DeviceListMenu->exec(QCursor::pos());
    if (!self)
        return;  // the window went away while the menu ran
    // A device removed while the menu ran took its item along: its pointer then names no item.
    const int k = chosen ? m_DeviceListMenu->IndexOf(chosen) : -1;
    if (k >= 0)
        SetSelectedDeviceIndex(k);
    m_MenuOpen = false;
    SetArrowsVisible(false);
}

void DeviceTabBar::LanguageChangedEvent()
{
    if (!m_AllButton)
        return;
    SetButtonText(m_AllButton, *reinterpret_cast<const QString*>(m_AllButton->Tag));
    ArrangeButtons();
}

void DeviceTabBar::SkinChangedEvent()
{
    // The form's widgets carry UserFlag, so this reaches only the device menu.
    Skin::ApplySkin(this);
    for (ZButton* arrow : {ui->PrevButton, ui->NextButton, ui->MoreDeviceButton}) {
        arrow->SetImageColor(kLine);
        arrow->SetImageColorHover(g_ThemeColor);
    }
    for (ZButton* button : qAsConst(m_Buttons)) {
        button->SetBorderColor(g_ThemeColor);
        button->SetBorderColorHover(g_ThemeColor);
    }
}

void DeviceTabBar::DeviceListChangedEvent(DeviceManageEvent event, KesDevice* device, int index)
{
    switch (event) {
    case DeviceManageEvent::DeviceAdded:
        if (device)
            DeviceAdded(device);
        break;
    case DeviceManageEvent::DeviceRemoved:
        DeviceRemoved(index);
        break;
    case DeviceManageEvent::DeviceChanged:
        if (device)
            DeviceChanged(device, index);
        break;
    default:
        break;
    }
}

void DeviceTabBar::DeviceAdded(KesDevice* device)
{
    // New devices join the end of the list, whatever the event's index says.
    ZButton* last = m_Buttons.isEmpty() ? nullptr : m_Buttons.last();
    ZButton* button = CreateButton(device->Name);
    m_Buttons.append(button);
    if (last) {
        button->move(last->x() + last->width() + kButtonGap, 0);
    } else {
        // A bar without an all-devices button selects its first device by itself.
        SetSelectedDeviceIndex(0);
    }
    m_ButtonStrip->resize(button->x() + button->width(), m_ButtonStrip->height());
    ZMenuItem* item = m_DeviceListMenu->AddItem(device->Name);
    item->UserData = button;
}

void DeviceTabBar::DeviceRemoved(int index)
{
    ZButton* removed = ButtonOfDevice(index);
    if (!removed || removed == m_AllButton)
        return;
    const int b = m_Buttons.indexOf(removed);

    int selectAfter = -1;            // button index to select afterwards, when the removed one was selected
    ZButton* keepSelected = nullptr; // otherwise the selected button, wherever it moves
    if (b == m_SelectedButtonIndex)
        selectAfter = std::max(b - 1, 0);
    else if (m_SelectedButtonIndex >= 0 && m_SelectedButtonIndex < m_Buttons.size())
        keepSelected = m_Buttons[m_SelectedButtonIndex];

    m_Buttons.removeAt(b);
    // Later, not now: the removal may come inside a wait loop run from this very button's click.
    removed->hide();
    removed->deleteLater();
    m_DeviceListMenu->RemoveItem(index);
    ArrangeButtons();

    // Forces the selection below to apply and emit, even when the index it lands on is the same number.
    m_SelectedButtonIndex = -2;
    SelectedDeviceIndex = -2;
    if (m_Buttons.isEmpty())
        SetSelectedDeviceIndex(-1);
    else if (selectAfter >= 0)
        SetSelectedDeviceIndex(ButtonIndexToDeviceIndex(selectAfter));
    else {
        const int kept = keepSelected ? m_Buttons.indexOf(keepSelected) : -1;
        SetSelectedDeviceIndex(kept < 0 ? -1 : ButtonIndexToDeviceIndex(kept));
    }
}

void DeviceTabBar::DeviceChanged(KesDevice* device, int index)
{
    ZButton* button = ButtonOfDevice(index);
    if (!button || button == m_AllButton)
        return;
    SetButtonText(button, device->Name);
    m_DeviceListMenu->SetItemText(index, device->Name);
    ArrangeButtons();
}

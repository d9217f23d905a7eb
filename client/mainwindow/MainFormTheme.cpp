// The window follows the theme colour and the language.
#include "MainForm.h"

#include "Language.h"
#include "MainFormGlobals.h"
#include "MainFormUi.h"
#include "Skin.h"
#include "StatusIcons.h"
#include "ZDrawAPI.h"
#include "ZGridListData.h"
#include "ZGridListRow.h"

#include <QCalendarWidget>
#include <QIcon>
#include <QPixmap>
#include <QToolButton>
#include <QTreeView>

namespace {

const char* const kDateEditStyle =
    "QDateTimeEdit{    padding-left:7px;    border-radius:5px;    border:1px solid rgb(230,230,230);    "
    "background-color:transparent;    color:rgb(100,100,100);}QDateTimeEdit::drop-down{    padding-right:12px;    "
    "padding-bottom:1px;    background-color:transparent;}QDateTimeEdit::down-arrow{    "
    "background-color:rgb(%1,%2,%3);    image:url(://MainForm/DateTimeEditDropDownIcon.png);}"
    "QDateTimeEdit::down-arrow::disabled{    background-color:rgb(230,230,230);    "
    "image:url(://MainForm/DateTimeEditDropDownIcon.png);}#qt_calendar_calendarview{    background:white;    "
    "border:1px solid rgb(230,230,230);}#qt_calendar_navigationbar{    background:rgb(%1,%2,%3);}"
    "QToolButton#qt_calendar_monthbutton{    color:rgb(%4,%5,%6);}QToolButton#qt_calendar_yearbutton{   "
    "color:rgb(%4,%5,%6);}QAbstractItemView{   selection-color:rgb(%4,%5,%6);   "
    "selection-background-color:rgb(%1,%2,%3);}";

const char* const kTreeStyle =
    "QTreeView{    outline:none;    padding:10px 10px 10px 10px;    border:none;    color:rgb(100,100,100);    "
    "background-color:transparent;}QTreeView::branch:closed:has-children{    background-color:rgb(200,200,200);    "
    "border-image:url(:/MainForm/ContactsPage/TreeViewExpand.png);}QTreeView::branch:closed:has-children:hover{    "
    "background-color:rgb(%1,%2,%3);    border-image:url(:/MainForm/ContactsPage/TreeViewExpand.png);}"
    "QTreeView::branch:open:has-children{    background-color:rgb(%1,%2,%3);    border-image: "
    "url(:/MainForm/ContactsPage/TreeViewNotExpand.png);}QTreeView::item:hover{    "
    "background-color:rgba(%1,%2,%3,%4);}QTreeView::item:!enabled{    background-color:transparent;}"
    "QTreeView::item:selected{    color:rgb(%5,%6,%7);    background-color:rgb(%1,%2,%3);}";

// Fills %1, %2, ... in turn, each replacing every occurrence of its number. Nine and more placeholders would
// need care with "%1" inside "%10"; the sheets here have at most seven.
QString FillPlaceholders(QString text, std::initializer_list<int> values)
{
    int number = 1;
    for (int value : values)
        text.replace(QString("%%1").arg(number++), QString::number(value));
    return text;
}

QImage ThemedImage(const QString& path, const QColor& colour)
{
    QImage image(path);
    if (!image.isNull()) {
        image = image.convertToFormat(QImage::Format_ARGB32);
        ZDrawAPI::ImageReplaceWhite(image, colour);
    }
    return image;
}

void StyleDateEdit(QDateTimeEdit* edit, const QString& style, const QIcon& left, const QIcon& right)
{
    edit->setStyleSheet(style);
    QCalendarWidget* calendar = edit->calendarWidget();
    if (!calendar)
        return;
    if (auto* prev = calendar->findChild<QToolButton*>("qt_calendar_prevmonth"))
        prev->setIcon(left);
    if (auto* next = calendar->findChild<QToolButton*>("qt_calendar_nextmonth"))
        next->setIcon(right);
}

} // namespace

void MainForm::SkinChangedEvent()
{
    const QColor theme = g_ThemeColor;
    const QColor text = g_TextColor;

    const QImage icon = ThemedImage("://Icon.png", theme);
    SetIcon(icon);
    if (g_TrayIcon)
        g_TrayIcon->setIcon(QIcon(QPixmap::fromImage(icon)));

    const QColor tint = ZDrawAPI::ComputeAlphaColor(theme, Qt::white, 200);
    const QColor hover(theme.red(), theme.green(), theme.blue(), 200);
    const QColor press(theme.red(), theme.green(), theme.blue(), 100);

    Skin::ApplySkin(this);

    SetTitleBackColor(theme);
    SetForeColor(text);
    SetSysButtonColor(tint);
    for (ZButton* button : {ui->LogoButton, ui->SkinButton, ui->DeviceManageButton, ui->DialButton})
        button->SetImageColor(tint);
    for (ZButton* button : {ui->PlayButton, ui->PrevButton, ui->NextButton}) {
        button->SetBackColor(theme);
        button->SetBackColorHover(hover);
        button->SetBackColorPress(press);
    }

    RecolourMonitorIcons();

    const QIcon left(QPixmap::fromImage(ThemedImage("://MainForm/DateTimeEditLeft.png", text)));
    const QIcon right(QPixmap::fromImage(ThemedImage("://MainForm/DateTimeEditRight.png", text)));
    const QString dateStyle = FillPlaceholders(kDateEditStyle, {g_ThemeRed, g_ThemeGreen, g_ThemeBlue, g_TextRed,
                                                                g_TextGreen, g_TextBlue});
    StyleDateEdit(ui->SearchStartDateTimeEdit, dateStyle, left, right);
    StyleDateEdit(ui->SearchEndDateTimeEdit, dateStyle, left, right);

    ui->ContactsTreeView->TreeView->setStyleSheet(FillPlaceholders(
        kTreeStyle, {g_ThemeRed, g_ThemeGreen, g_ThemeBlue, 150, g_TextRed, g_TextGreen, g_TextBlue}));

    ui->ContactsNameLabel->SetForeColor(theme);
    ui->BookmarkTrackBar->SetButtonColorDisabled(theme);
    for (ZLabel* label : {ui->DeviceInfoLabel00, ui->BaseSettingLabel00, ui->ChannelSettingLabel00,
                          ui->KeyControlSettingLabel00, ui->NetSettingLabel00})
        label->SetForeColor(theme);
    for (ZLabel* label : {ui->DeviceIDLabel, ui->CurrentIPaddressLabel}) {
        label->SetSelectedTextBackColor(theme);
        label->SetSelectedTextForeColor(text);
    }
    for (ZLabel* label : {ui->SMDRSettingLabel00, ui->UserListLabel00, ui->RecordTimeQuantumLabel00})
        label->SetForeColor(theme);
    ui->StorageScrollPanel->SetBorderColor(theme);
    ui->BackupsStatusItemList->SetBorderColor(theme);
}

void MainForm::RecolourMonitorIcons()
{
    // The heartbeat thread copies these pointers into grid cells at any time: the images are made once and
    // repainted in place, never deleted and replaced while the window runs.
    const struct {
        int index;
        const char* path;
    } icons[] = {{kMonitoringIcon, "://MainForm/MonitorPage/Monitoring.png"},
                 {kPlayBackIcon, "://MainForm/MonitorPage/PlayBack.png"}};
    for (const auto& entry : icons) {
        const QImage image = ThemedImage(entry.path, g_ThemeColor);
        if (!g_StatusIcons[entry.index]) {
            g_StatusIcons[entry.index] = new QImage(image);
            continue;
        }
        // Assigning keeps the object, and with it every cell's pointer; only this thread paints it.
        *g_StatusIcons[entry.index] = image;
    }
    ui->MonitorGridList->update();
}

void MainForm::LanguageChangedEvent()
{
    Language::ApplyLanguage(this);
    for (QWidget* page : {static_cast<QWidget*>(ui->MonitorTabPage), static_cast<QWidget*>(ui->RecordTabPage),
                          static_cast<QWidget*>(ui->OnlineUserTabPage), static_cast<QWidget*>(ui->ContactsTabPage),
                          static_cast<QWidget*>(ui->SettingTabPage), static_cast<QWidget*>(ui->BackupsTabPage)})
        Language::ApplyLanguage(page);
    SetTitle(g_OemTitle);
    SetTitleFont(QFont("微软雅黑", g_OemFontSize > 0 ? g_OemFontSize : 14));
    ui->SearchTargetComboBox->SetSelectedIndex(0);
}

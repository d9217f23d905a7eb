#include "StorageControl.h"

#include "ui_StorageControl.h"

#include "Skin.h"

#include <QDir>
#include <QMouseEvent>

#include <algorithm>

StorageControl::StorageControl(QWidget* parent) : ZPanel(parent), ui(new Ui::StorageControl)
{
    Q_INIT_RESOURCE(StorageControl);
    ui->setupUi(this);
    connect(ui->CheckBox, &ZCheckBox::CheckedChanged, this, &StorageControl::CheckedChanged);
    if (g_Skin)
        connect(g_Skin, &Skin::SkinChanged, this, &StorageControl::SkinChangedEvent);
}

StorageControl::~StorageControl()
{
    delete ui;
}

void StorageControl::SetName(const QString& path, const QString& volumeName)
{
    // The path is "<folder>/CalvoxBackups/": the caption shows the folder.
    const QString folder = QDir::cleanPath(path + QStringLiteral(".."));
    if (volumeName.isEmpty())
        ui->StorageNameLabel->SetText(QStringLiteral("(%1)").arg(folder));
    else
        ui->StorageNameLabel->SetText(QStringLiteral("%1 (%2)").arg(volumeName, folder));
    Path = path;
}

int UsedSpacePercent(qint64 totalBytes, qint64 freeBytes)
{
    if (totalBytes <= 0)
        return 0;
    const qint64 free = std::clamp<qint64>(freeBytes, 0, totalBytes);
    // (total - free) * 100 overflows 64 bits above about 92 PB; the product fits in 128.
    const unsigned __int128 used = static_cast<unsigned __int128>(totalBytes - free) * 100u;
    return static_cast<int>(used / static_cast<unsigned __int128>(totalBytes));
}

void StorageControl::SetSpace(qint64 totalBytes, qint64 freeBytes)
{
    const double gib = 1073741824.0;
    const qint64 total = std::max<qint64>(totalBytes, 0);
    const qint64 free = std::clamp<qint64>(freeBytes, 0, total);
    ui->SpaceLabel->SetText(QStringLiteral("%1GB / %2GB")
                                .arg(QString::number(free / gib, 'f', 1), QString::number(total / gib, 'f', 1)));
    ui->SpaceProgressBar->SetValue(UsedSpacePercent(total, free));
}

void StorageControl::SetChecked(bool checked)
{
    ui->CheckBox->SetChecked(checked);
}

bool StorageControl::Checked() const
{
    return ui->CheckBox->Checked();
}

void StorageControl::SkinChangedEvent()
{
    ui->SpaceProgressBar->SetForeColor(ui->SpaceProgressBar->Value() <= 90 ? g_ThemeColor : QColor(Qt::red));
}

void StorageControl::enterEvent(QEvent* event)
{
    ZPanel::enterEvent(event);
    if (!isEnabled())
        return;
    SetBackColor(QColor(g_ThemeRed, g_ThemeGreen, g_ThemeBlue, 50));
    SetBorderColor(g_ThemeColor);
}

void StorageControl::leaveEvent(QEvent* event)
{
    ZPanel::leaveEvent(event);
    SetBackColor(Qt::transparent);
    SetBorderColor(Qt::transparent);
}

void StorageControl::mouseDoubleClickEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton)
        emit MouseDoubleClicked();
    else
        ZPanel::mouseDoubleClickEvent(event);
}

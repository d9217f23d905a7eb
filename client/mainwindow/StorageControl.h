#pragma once

#include "ZPanel.h"

#include <QString>

class QEvent;
class QMouseEvent;

namespace Ui {
class StorageControl;
}

// One drive of the backup page's drive list, 280 x 56: a disk picture, the drive's caption, a used-space bar
// with the free and total size, and a check box that makes the drive's folder the backup root. A click on a
// checked box leaves it checked: the drive is changed by checking another tile. The tile lights up in the theme
// colour while the pointer is on it; a left double click asks for the folder to be opened.
class StorageControl : public ZPanel
{
    Q_OBJECT

public:
    // Builds the tile (unchecked, no caption) and follows the skin's changes.
    explicit StorageControl(QWidget* parent);
    ~StorageControl() override;

    // `path` is the drive's backup folder (BackupFolderPath); the caption names the folder it lies in, after
    // the volume's name when it has one: "Data (/media/ann/Data)", "(/home/ann)".
    void SetName(const QString& path, const QString& volumeName);
    // "<free>GB / <total>GB" with one decimal (GB = 2^30 bytes) and the used share in percent, truncated, on the
    // bar. Counts outside 0 <= free <= total are taken as the nearest valid value; a total of 0 reads as empty.
    void SetSpace(qint64 totalBytes, qint64 freeBytes);
    // Emits CheckedChanged only when the state changes.
    void SetChecked(bool checked);
    bool Checked() const;

    QString Path;  // the backup folder, ending in "/"; empty until SetName
    Ui::StorageControl* ui;

signals:
    void MouseDoubleClicked();
    void CheckedChanged(bool Checked);

public slots:
    // The bar in the theme colour, or in red when the drive is more than 90 % full.
    void SkinChangedEvent();

protected:
    void enterEvent(QEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
};

// The used share of a drive in whole percent, truncated; exact for every pair of 64-bit counts.
int UsedSpacePercent(qint64 totalBytes, qint64 freeBytes);

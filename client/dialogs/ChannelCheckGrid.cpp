#include "ChannelCheckGrid.h"

#include "ZCheckBox.h"
#include "ZPanel.h"

ChannelChecks CreateChannelChecks(ZPanel* panel)
{
    const QLatin1Char zero('0');
    ChannelChecks boxes{};
    for (int n = 0; n < 64; ++n) {
        ZCheckBox* box = new ZCheckBox(panel);
        box->setObjectName(QStringLiteral("ChannelCheck%1").arg(n, 2, 10, zero));
        box->setGeometry(14 + 76 * (n % 8), 10 + 30 * (n / 8), 40, 16);
        box->SetText(QStringLiteral("%1").arg(n + 1, 2, 10, zero));
        box->SetForeColor(QColor(100, 100, 100));
        box->SetCheckFlagColorDisabled(QColor(200, 200, 200));
        box->SetCheckRectColor(QColor(200, 200, 200));
        box->SetCheckRectColorDisabled(QColor(200, 200, 200));
        box->SetCheckRectBackColor(QColor(255, 255, 255));
        box->SetCheckRectBackColorDisabled(QColor(235, 235, 235));
        box->setEnabled(false);
        boxes[static_cast<size_t>(n)] = box;
    }
    return boxes;
}

#pragma once

#include <QFont>

// The application font: "MSYH.TTC" from the program folder when it registers, else the family "Microsoft YaHei",
// at pixel size 12, set for all widget classes. Where the font file is absent, "Microsoft YaHei" and "微软雅黑"
// (the family names the windows ask for) are substituted with an installed CJK font so Chinese texts render.
// Needs the QApplication. Returns the font that was set.
QFont SetupApplicationFont();

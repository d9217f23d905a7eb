// The hour-minute picker's two arrow buttons: solid triangles, white on transparent (the picker recolours
// the pure white pixels, so they are drawn pixel by pixel without antialiasing), 9 x 6 pixels as shown.
#include "IconDrawing.h"

// Rows 1, 3, 5, 7 and 9 pixels wide, centred; the sixth row stays empty on the side away from the tip, so
// that the two arrows stacked in the picker keep a gap between them.
static void Arrow(QPainter& p, bool up)
{
    p.setRenderHint(QPainter::Antialiasing, false);
    for (int row = 0; row < 5; ++row) {
        const int half = row;
        const int y = up ? row : 5 - row;
        p.fillRect(4 - half, y, 2 * half + 1, 1, Qt::white);
    }
}

VELOUR_DRAWING("Icons/ZHourMinutePicker/UpButton.png", 9, 6)
{
    Arrow(p, true);
}

VELOUR_DRAWING("Icons/ZHourMinutePicker/DownButton.png", 9, 6)
{
    Arrow(p, false);
}

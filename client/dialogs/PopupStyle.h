#pragma once

#include <QString>

// The style sheet of the pop-ups' read-only text boxes: grey text on a clear background, a light border that
// turns to the theme colour under the mouse and with focus, the selection in the theme colour.
QString PopupTextEditStyle();

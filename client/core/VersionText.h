#pragma once

#include <QString>

// True for four dotted decimal numbers of 0..255 ("2.5.1.10") and nothing else: no sign, no space, no fifth
// number. Versions from the update server pass here before they count as a version at all, and this is the
// only version text that may become part of a file name or start an upgrade.
bool IsVersionText(const QString& text);

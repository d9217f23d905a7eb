#pragma once

#include <array>

class ZCheckBox;
class ZPanel;

// The 64 channel boxes of the user editor and the channel picker: box n is "ChannelCheck" + n in two digits,
// a child of the panel at (14 + 76 * (n mod 8), 10 + 30 * (n div 8)), 40 x 16, captioned n + 1 in two digits
// (the same in every language), created disabled. The dialogs reach a box through this table, never through
// the panel's children.
using ChannelChecks = std::array<ZCheckBox*, 64>;

// Makes the boxes in the panel, in the order of n, and returns them by channel.
ChannelChecks CreateChannelChecks(ZPanel* panel);

#pragma once

class QWidget;
class ZMenu;

// A right-click or drop-down menu in the client's one menu look: white, grey text, a light one-pixel border,
// 24-pixel items with room on the right. `name` is the object name the language file's text map looks up.
ZMenu* MakeListMenu(QWidget* parent, const char* name);

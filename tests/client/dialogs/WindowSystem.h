#pragma once

// What the window system does to a window, for the dialog tests.

#include <QCloseEvent>
#include <QCoreApplication>
#include <QWidget>
#include <QWindow>

// A close from the window system (the title bar's close button of a window manager, Alt+F4): the close event
// that the platform sends to the native window, which Qt turns into the widget's close.
inline bool WindowSystemClose(QWidget* window)
{
    QWindow* handle = window->windowHandle();
    if (!handle)
        return false;
    QCloseEvent event;
    QCoreApplication::sendEvent(handle, &event);
    return true;
}

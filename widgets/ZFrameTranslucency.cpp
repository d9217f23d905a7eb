// Whether windows can be translucent. A translucent window needs a compositor; under X11 one runs when
// some client owns the selection _NET_WM_CM_S<screen>. Wayland always composites; the offscreen platform
// keeps the pixels as drawn.
#include "ZFrame.h"

#include <QByteArray>
#include <QGuiApplication>

#ifdef VELOUR_HAVE_XCB
#include <xcb/xcb.h>

#include <cstdlib>
#endif

namespace {

int g_Override = -1;
int g_Cached = -1;

#ifdef VELOUR_HAVE_XCB
// A connection of our own: Qt's is not reachable through public headers, and this runs once.
bool X11CompositorRunning()
{
    int screen = 0;
    xcb_connection_t* c = xcb_connect(nullptr, &screen);
    if (!c)
        return false;
    bool running = false;
    if (!xcb_connection_has_error(c)) {
        const QByteArray name = "_NET_WM_CM_S" + QByteArray::number(screen);
        xcb_intern_atom_reply_t* atom = xcb_intern_atom_reply(
            c, xcb_intern_atom(c, 1, static_cast<uint16_t>(name.size()), name.constData()), nullptr);
        if (atom && atom->atom != XCB_ATOM_NONE) {
            xcb_get_selection_owner_reply_t* owner =
                xcb_get_selection_owner_reply(c, xcb_get_selection_owner(c, atom->atom), nullptr);
            running = owner && owner->owner != XCB_WINDOW_NONE;
            std::free(owner);
        }
        std::free(atom);
    }
    xcb_disconnect(c);
    return running;
}
#endif

} // namespace

bool ZFrame::TranslucentWindows()
{
    if (g_Override >= 0)
        return g_Override != 0;
    if (g_Cached < 0) {
        bool translucent = true;
        if (QGuiApplication::platformName() == QLatin1String("xcb")) {
#ifdef VELOUR_HAVE_XCB
            translucent = X11CompositorRunning();
#else
            translucent = false;
#endif
        }
        g_Cached = translucent ? 1 : 0;
    }
    return g_Cached != 0;
}

void ZFrame::OverrideTranslucentWindows(int state)
{
    g_Override = state < 0 ? -1 : (state ? 1 : 0);
    if (state < 0)
        g_Cached = -1;
}

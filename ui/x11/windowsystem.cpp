// What the X server and the window manager know of a window: asked over
// Qt's own connection to the server.

#include "ui/windowsystem.h"

#include <QGuiApplication>
#include <QWindow>

#include <xcb/xcb.h>

#include <cstdlib>
#include <cstring>
#include <memory>

namespace ui::windowsystem {

namespace {

xcb_connection_t *connection()
{
    const auto *x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
    return x11 ? x11->connection() : nullptr;
}

// Replies are freed with free(), as xcb allocates them.
template <typename T> using Reply = std::unique_ptr<T, decltype(&std::free)>;

xcb_atom_t atom(xcb_connection_t *c, const char *name)
{
    const Reply<xcb_intern_atom_reply_t> reply(
        xcb_intern_atom_reply(c, xcb_intern_atom(c, 1, std::strlen(name), name), nullptr),
        &std::free);
    return reply ? reply->atom : xcb_atom_t(XCB_ATOM_NONE);
}

// The first 32-bit value of a window's property, if it has one.
bool cardinal(xcb_connection_t *c, xcb_window_t window, const char *name, quint32 &value)
{
    const xcb_atom_t property = atom(c, name);
    if (property == XCB_ATOM_NONE) {
        return false;
    }
    const Reply<xcb_get_property_reply_t> reply(
        xcb_get_property_reply(
            c, xcb_get_property(c, 0, window, property, XCB_GET_PROPERTY_TYPE_ANY, 0, 1), nullptr),
        &std::free);
    if (!reply || reply->format != 32 || xcb_get_property_value_length(reply.get()) < 4) {
        return false;
    }
    std::memcpy(&value, xcb_get_property_value(reply.get()), sizeof value);
    return true;
}

xcb_window_t rootOf(xcb_connection_t *c)
{
    return xcb_setup_roots_iterator(xcb_get_setup(c)).data->root;
}

bool ours(const QWindow &window)
{
    return window.handle() != nullptr && connection() != nullptr;
}

} // namespace

Notice noticeOf(const QByteArray &eventType, const void *message, const QWindow &window)
{
    if (eventType != "xcb_generic_event_t" || !window.handle()) {
        return Notice::None;
    }
    // Destroying or hiding a window of its own, Qt lets go of it or hides the
    // widget first; the caller asks only of windows Qt still takes for shown.
    const auto *event = static_cast<const xcb_generic_event_t *>(message);
    switch (event->response_type & 0x7f) {
    case XCB_DESTROY_NOTIFY:
        return static_cast<const xcb_destroy_notify_event_t *>(message)->window == window.winId()
                   ? Notice::Destroyed
                   : Notice::None;
    case XCB_UNMAP_NOTIFY:
        return static_cast<const xcb_unmap_notify_event_t *>(message)->window == window.winId()
                   ? Notice::Unmapped
                   : Notice::None;
    default:
        return Notice::None;
    }
}

bool withdrawn(const QWindow &window)
{
    if (!ours(window)) {
        return false;
    }
    xcb_connection_t *c = connection();
    const xcb_window_t id = window.winId();
    const Reply<xcb_get_window_attributes_reply_t> attributes(
        xcb_get_window_attributes_reply(c, xcb_get_window_attributes(c, id), nullptr), &std::free);
    if (!attributes || attributes->map_state != XCB_MAP_STATE_UNMAPPED) {
        return false;
    }
    // A window manager keeps WM_STATE on a window it minimised (3, iconic)
    // or put on another desktop (1, normal); a window taken off by another
    // program is withdrawn (0), or has no WM_STATE where no manager runs.
    quint32 state = 0;
    return !cardinal(c, id, "WM_STATE", state) || state == 0;
}

bool onOtherDesktop(const QWindow &window)
{
    if (!ours(window)) {
        return false;
    }
    xcb_connection_t *c = connection();
    quint32 desktop = 0;
    quint32 current = 0;
    // 0xFFFFFFFF: on every desktop.
    return cardinal(c, window.winId(), "_NET_WM_DESKTOP", desktop) && desktop != 0xFFFFFFFF &&
           cardinal(c, rootOf(c), "_NET_CURRENT_DESKTOP", current) && desktop != current;
}

void stopKeepingBelow(const QWindow &window)
{
    if (!ours(window)) {
        return;
    }
    // The EWMH request to remove a state, sent to the root window as the
    // window manager expects it.
    xcb_connection_t *c = connection();
    xcb_client_message_event_t request{};
    request.response_type = XCB_CLIENT_MESSAGE;
    request.format = 32;
    request.window = window.winId();
    request.type = atom(c, "_NET_WM_STATE");
    request.data.data32[0] = 0; // _NET_WM_STATE_REMOVE
    request.data.data32[1] = atom(c, "_NET_WM_STATE_BELOW");
    request.data.data32[3] = 1; // from an application
    xcb_send_event(c, 0, rootOf(c),
                   XCB_EVENT_MASK_SUBSTRUCTURE_REDIRECT | XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY,
                   reinterpret_cast<const char *>(&request));
    xcb_flush(c);
}

} // namespace ui::windowsystem

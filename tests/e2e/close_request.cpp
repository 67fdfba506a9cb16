// Asks the window manager to close a window, as a taskbar or a pager does: the
// _NET_CLOSE_WINDOW message to the root window, which the window manager passes on to the
// program as the request its close button sends. Reaches a minimised window too, which no
// key can.

#include <xcb/xcb.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>

int main(int argc, char *argv[])
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s WINDOW_ID\n", argv[0]);
        return 2;
    }
    const auto window = xcb_window_t(std::strtoul(argv[1], nullptr, 0));
    xcb_connection_t *connection = xcb_connect(nullptr, nullptr);
    if (xcb_connection_has_error(connection)) {
        std::fprintf(stderr, "%s: cannot reach the X server\n", argv[0]);
        return 1;
    }
    const char name[] = "_NET_CLOSE_WINDOW";
    const std::unique_ptr<xcb_intern_atom_reply_t, decltype(&std::free)> atom(
        xcb_intern_atom_reply(
            connection, xcb_intern_atom(connection, 0, sizeof name - 1, name), nullptr),
        &std::free);
    if (!atom) {
        std::fprintf(stderr, "%s: no atom %s\n", argv[0], name);
        return 1;
    }
    xcb_client_message_event_t message{};
    message.response_type = XCB_CLIENT_MESSAGE;
    message.format = 32;
    message.window = window;
    message.type = atom->atom;
    // No timestamp; sent by a pager, as the user's own request.
    message.data.data32[0] = XCB_CURRENT_TIME;
    message.data.data32[1] = 2;
    const xcb_screen_t *screen = xcb_setup_roots_iterator(xcb_get_setup(connection)).data;
    xcb_send_event(connection, 0, screen->root,
        XCB_EVENT_MASK_SUBSTRUCTURE_REDIRECT | XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY,
        reinterpret_cast<const char *>(&message));
    // A round trip: once it returns, the server has passed the message on.
    xcb_get_input_focus_reply_t *focus
        = xcb_get_input_focus_reply(connection, xcb_get_input_focus(connection), nullptr);
    const bool sent = focus != nullptr;
    std::free(focus);
    xcb_disconnect(connection);
    return sent ? 0 : 1;
}

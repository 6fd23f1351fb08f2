#pragma once

#include "support/WaitUntil.h"

#include <QString>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <vector>
#include <xcb/xcb.h>

// A connection of the test's own to an X server, with the few requests the kit's tests make.
struct XcbClient {
    xcb_connection_t* c = nullptr;
    xcb_window_t root = 0;

    explicit XcbClient(const QString& display)
    {
        c = xcb_connect(display.toLocal8Bit().constData(), nullptr);
        if (!xcb_connection_has_error(c))
            root = xcb_setup_roots_iterator(xcb_get_setup(c)).data->root;
    }
    ~XcbClient() { xcb_disconnect(c); }

    xcb_atom_t atom(const char* name) const
    {
        auto* reply = xcb_intern_atom_reply(c, xcb_intern_atom(c, 0, uint16_t(std::strlen(name)), name), nullptr);
        const xcb_atom_t a = reply ? reply->atom : xcb_atom_t(XCB_ATOM_NONE);
        std::free(reply);
        return a;
    }

    xcb_window_t window() const
    {
        const xcb_window_t w = xcb_generate_id(c);
        xcb_create_window(c, XCB_COPY_FROM_PARENT, w, root, 10, 10, 120, 80, 0, XCB_WINDOW_CLASS_INPUT_OUTPUT,
            XCB_COPY_FROM_PARENT, 0, nullptr);
        xcb_flush(c);
        return w;
    }

    std::vector<xcb_atom_t> atoms(xcb_window_t w, const char* property) const
    {
        std::vector<xcb_atom_t> result;
        auto* reply
            = xcb_get_property_reply(c, xcb_get_property(c, 0, w, atom(property), XCB_ATOM_ANY, 0, 256), nullptr);
        if (reply && reply->format == 32) {
            const auto* data = static_cast<const xcb_atom_t*>(xcb_get_property_value(reply));
            result.assign(data, data + xcb_get_property_value_length(reply) / 4);
        }
        std::free(reply);
        return result;
    }

    bool skipsTaskbar(xcb_window_t w) const
    {
        const auto states = atoms(w, "_NET_WM_STATE");
        const auto has
            = [&](const char* name) { return std::find(states.begin(), states.end(), atom(name)) != states.end(); };
        return has("_NET_WM_STATE_SKIP_TASKBAR") && has("_NET_WM_STATE_SKIP_PAGER");
    }

    // Maps the window and waits until the window manager manages it. Openbox announces itself
    // a moment before it handles map requests, so a request it dropped is made again.
    bool showManaged(xcb_window_t w) const
    {
        for (int attempt = 0; attempt < 20; ++attempt) {
            xcb_map_window(c, w);
            xcb_flush(c);
            if (waitUntil([&] { return !atoms(w, "WM_STATE").empty(); }, 250))
                return true;
            xcb_unmap_window(c, w);
            xcb_flush(c);
        }
        return false;
    }
};

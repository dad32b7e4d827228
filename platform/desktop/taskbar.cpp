#include "taskbar.h"

#include <QGuiApplication>
#include <QWidget>

#include <xcb/xcb.h>

#include <algorithm>
#include <cstdlib>
#include <string>
#include <vector>

namespace platform {
namespace {

xcb_connection_t* X11Connection() {
  auto* x11 = qApp ? qApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr;
  return x11 ? x11->connection() : nullptr;
}

xcb_atom_t Atom(xcb_connection_t* c, const char* name) {
  const auto cookie = xcb_intern_atom(c, 0, static_cast<uint16_t>(std::char_traits<char>::length(name)), name);
  xcb_intern_atom_reply_t* reply = xcb_intern_atom_reply(c, cookie, nullptr);
  const xcb_atom_t atom = reply ? reply->atom : static_cast<xcb_atom_t>(XCB_ATOM_NONE);
  std::free(reply);
  return atom;
}

std::vector<xcb_atom_t> States(xcb_connection_t* c, xcb_window_t w, xcb_atom_t net_wm_state) {
  const auto cookie = xcb_get_property(c, 0, w, net_wm_state, XCB_ATOM_ATOM, 0, 1024);
  xcb_get_property_reply_t* reply = xcb_get_property_reply(c, cookie, nullptr);
  std::vector<xcb_atom_t> states;
  if (reply && reply->format == 32 && reply->type == XCB_ATOM_ATOM) {
    const auto* atoms = static_cast<const xcb_atom_t*>(xcb_get_property_value(reply));
    states.assign(atoms, atoms + xcb_get_property_value_length(reply) / 4);
  }
  std::free(reply);
  return states;
}

}  // namespace

void SkipTaskbar(QWidget& window) {
  xcb_connection_t* c = X11Connection();
  if (!c) return;
  const auto w = static_cast<xcb_window_t>(window.winId());
  const xcb_atom_t net_wm_state = Atom(c, "_NET_WM_STATE");
  std::vector<xcb_atom_t> states = States(c, w, net_wm_state);
  for (const char* name : {"_NET_WM_STATE_SKIP_TASKBAR", "_NET_WM_STATE_SKIP_PAGER"}) {
    const xcb_atom_t a = Atom(c, name);
    if (a != XCB_ATOM_NONE && std::find(states.begin(), states.end(), a) == states.end()) states.push_back(a);
  }
  // Qt merges its own states into what the window has when it maps it.
  xcb_change_property(c, XCB_PROP_MODE_REPLACE, w, net_wm_state, XCB_ATOM_ATOM, 32,
                      static_cast<uint32_t>(states.size()), states.data());
  xcb_flush(c);
}

bool SkipsTaskbar(QWidget& window) {
  xcb_connection_t* c = X11Connection();
  if (!c) return false;
  const std::vector<xcb_atom_t> states = States(c, static_cast<xcb_window_t>(window.winId()), Atom(c, "_NET_WM_STATE"));
  const xcb_atom_t skip = Atom(c, "_NET_WM_STATE_SKIP_TASKBAR");
  return std::find(states.begin(), states.end(), skip) != states.end();
}

}  // namespace platform

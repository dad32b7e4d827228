"""The private desktop and the X tools the tray program's end-to-end test
looks through: windows are found and read with xdotool, xprop and xwininfo,
exactly as a user's desktop would see them."""

import os
import re
import subprocess
import tempfile
import time
from pathlib import Path

SESSION_SCRIPT = Path(__file__).resolve().parents[2] / "scripts" / "desktop-session.sh"
TOOLS = ("Xvfb", "dbus-daemon", "openbox", "trayer", "xdotool", "xprop", "xwininfo", "import")


class Failure(Exception):
    """What the test saw that it did not expect; the message says it all."""


def missing_tools():
    from shutil import which
    return [t for t in TOOLS if which(t) is None]


def wait_until(what, timeout, probe, interval=0.05):
    """Polls probe() until it returns something true; returns that value
    and the seconds waited, or raises Failure naming what did not happen."""
    start = time.monotonic()
    while True:
        value = probe()
        if value:
            return value, time.monotonic() - start
        if time.monotonic() - start > timeout:
            raise Failure(f"{what}: not within {timeout:g} s")
        time.sleep(interval)


class Session:
    """Xvfb + private bus + openbox + trayer, from scripts/desktop-session.sh."""

    def __init__(self):
        self.dir = Path(tempfile.mkdtemp(prefix="tolvane-desktop-"))
        self.env = None

    def start(self):
        r = subprocess.run(["bash", str(SESSION_SCRIPT), "start", str(self.dir)],
                           capture_output=True, text=True, timeout=60)
        if r.returncode != 0:
            raise Failure("the desktop session did not start:\n" + r.stderr)
        env = dict(os.environ)
        env.pop("WAYLAND_DISPLAY", None)
        for line in (self.dir / "env").read_text().splitlines():
            key, _, value = line.partition("=")
            env[key] = value
        # xprop prints UTF-8 titles as text only in a UTF-8 locale.
        env["LANG"] = env["LC_ALL"] = "C.UTF-8"
        self.env = env

    def stop(self):
        subprocess.run(["bash", str(SESSION_SCRIPT), "stop", str(self.dir)],
                       capture_output=True, timeout=60)
        subprocess.run(["rm", "-rf", str(self.dir)])

    def run(self, *args, check=True):
        r = subprocess.run(list(args), env=self.env, capture_output=True, timeout=15)
        if check and r.returncode != 0:
            raise Failure(f"{' '.join(args)} failed ({r.returncode}): "
                          + r.stderr.decode("utf-8", "replace"))
        return r.stdout.decode("utf-8", "replace")

    # --- windows -----------------------------------------------------------

    def windows_of(self, pid):
        """Every window carrying the process's _NET_WM_PID, mapped or not."""
        out = self.run("xdotool", "search", "--pid", str(pid), check=False)
        return [int(w) for w in out.split()]

    def props(self, win, *names):
        """name -> value text (None when the window lacks the property)."""
        out = self.run("xprop", "-id", str(win), "-notype", *names, check=False)
        found = {}
        for name in names:
            m = re.search(rf"^{re.escape(name)}(?::| =)(.*(?:\n\t.*)*)", out, re.M)
            if m and "not found." not in m.group(1):
                found[name] = m.group(1).strip()
            else:
                found[name] = None
        return found

    def title(self, win):
        value = self.props(win, "_NET_WM_NAME")["_NET_WM_NAME"]
        return unquote(value) if value else None

    def info(self, win):
        """xwininfo's figures: x, y (client, absolute), width, height,
        map_state, override_redirect, parent."""
        out = self.run("xwininfo", "-id", str(win), check=False)
        if "Map State" not in out:
            return None

        def field(label):
            return re.search(rf"{label}:\s*(\S+)", out).group(1)
        tree = self.run("xwininfo", "-children", "-id", str(win), check=False)
        root = re.search(r"Root window id: (0x[0-9a-f]+)", tree)
        parent = re.search(r"Parent window id: (0x[0-9a-f]+)", tree)
        return {
            "x": int(field("Absolute upper-left X")),
            "y": int(field("Absolute upper-left Y")),
            "width": int(field("Width")),
            "height": int(field("Height")),
            "map_state": field("Map State"),
            "override_redirect": field("Override Redirect State") == "yes",
            "parent_is_root": bool(root and parent and root.group(1) == parent.group(1)),
        }

    def frame_extents(self, win):
        value = self.props(win, "_NET_FRAME_EXTENTS")["_NET_FRAME_EXTENTS"]
        if not value:
            return (0, 0, 0, 0)
        left, right, top, bottom = (int(v) for v in value.lstrip("= ").split(","))
        return left, right, top, bottom

    def focus(self):
        """(xdotool getwindowfocus, the root's _NET_ACTIVE_WINDOW)."""
        focused = self.run("xdotool", "getwindowfocus", check=False).strip()
        active = self.run("xprop", "-root", "-notype", "_NET_ACTIVE_WINDOW", check=False)
        m = re.search(r"window id # (0x[0-9a-f]+)", active)
        return (int(focused) if focused.isdigit() else None, int(m.group(1), 16) if m else None)

    def screenshot(self, win, path):
        self.run("import", "-window", str(win), str(path))


def unquote(value):
    """xprop's "text" with \\ and \" escapes -> text."""
    value = value.lstrip("= ").strip()
    if value.startswith('"') and value.endswith('"'):
        value = value[1:-1]
    return re.sub(r'\\(.)', r"\1", value)

#!/usr/bin/env python3
"""Start-up time, idle memory and idle CPU of the tray program on a private
desktop; bench/desktop/run.sh sets that desktop and the POP3 server up.

    desktop_bench.py BINARY HOST:PORT USER PASSWORD [--rounds N] [--idle S]

Needs DISPLAY (and the rest of desktop-session.sh's env) in the environment.
The X window tree is read through Xlib directly: one look costs about a
millisecond, where running xprop for each window would blur the start-up
figure by tens of them."""

import argparse
import ctypes
import os
import shutil
import signal
import statistics
import subprocess
import sys
import tempfile
import time
from pathlib import Path

TARGET_EMBED_S = 0.5
TARGET_RSS_MB = 60
TARGET_IDLE_CPU_MS = 10


class XWindowAttributes(ctypes.Structure):
    _fields_ = [("x", ctypes.c_int), ("y", ctypes.c_int), ("width", ctypes.c_int),
                ("height", ctypes.c_int), ("border_width", ctypes.c_int), ("depth", ctypes.c_int),
                ("visual", ctypes.c_void_p), ("root", ctypes.c_ulong), ("c_class", ctypes.c_int),
                ("bit_gravity", ctypes.c_int), ("win_gravity", ctypes.c_int),
                ("backing_store", ctypes.c_int), ("backing_planes", ctypes.c_ulong),
                ("backing_pixel", ctypes.c_ulong), ("save_under", ctypes.c_int),
                ("colormap", ctypes.c_ulong), ("map_installed", ctypes.c_int),
                ("map_state", ctypes.c_int), ("all_event_masks", ctypes.c_long),
                ("your_event_mask", ctypes.c_long), ("do_not_propagate_mask", ctypes.c_long),
                ("override_redirect", ctypes.c_int), ("screen", ctypes.c_void_p)]


IS_VIEWABLE = 2


class X:
    def __init__(self):
        self.lib = x = ctypes.CDLL("libX11.so.6")
        x.XOpenDisplay.restype = ctypes.c_void_p
        x.XOpenDisplay.argtypes = [ctypes.c_char_p]
        x.XDefaultRootWindow.restype = ctypes.c_ulong
        x.XDefaultRootWindow.argtypes = [ctypes.c_void_p]
        x.XInternAtom.restype = ctypes.c_ulong
        x.XInternAtom.argtypes = [ctypes.c_void_p, ctypes.c_char_p, ctypes.c_int]
        x.XQueryTree.argtypes = [ctypes.c_void_p, ctypes.c_ulong, ctypes.POINTER(ctypes.c_ulong),
                                 ctypes.POINTER(ctypes.c_ulong),
                                 ctypes.POINTER(ctypes.POINTER(ctypes.c_ulong)),
                                 ctypes.POINTER(ctypes.c_uint)]
        x.XGetWindowProperty.argtypes = [
            ctypes.c_void_p, ctypes.c_ulong, ctypes.c_ulong, ctypes.c_long, ctypes.c_long,
            ctypes.c_int, ctypes.c_ulong, ctypes.POINTER(ctypes.c_ulong),
            ctypes.POINTER(ctypes.c_int), ctypes.POINTER(ctypes.c_ulong),
            ctypes.POINTER(ctypes.c_ulong), ctypes.POINTER(ctypes.c_void_p)]
        x.XGetWindowAttributes.argtypes = [ctypes.c_void_p, ctypes.c_ulong,
                                           ctypes.POINTER(XWindowAttributes)]
        x.XFree.argtypes = [ctypes.c_void_p]
        # A window may vanish between listing and reading it: ignore X errors.
        self._handler = ctypes.CFUNCTYPE(ctypes.c_int, ctypes.c_void_p, ctypes.c_void_p)(
            lambda d, e: 0)
        x.XSetErrorHandler(self._handler)
        self.d = x.XOpenDisplay(os.environ["DISPLAY"].encode())
        if not self.d:
            sys.exit("cannot open display " + os.environ.get("DISPLAY", "(unset)"))
        self.root = x.XDefaultRootWindow(self.d)
        self.atoms = {n: x.XInternAtom(self.d, n.encode(), 0)
                      for n in ("_XEMBED_INFO", "WM_STATE", "_NET_WM_PID", "_NET_WM_NAME")}

    def tree(self, win=None, parent=0):
        """(window, parent) pairs below win, depth first."""
        win = self.root if win is None else win
        root, par = ctypes.c_ulong(), ctypes.c_ulong()
        children, n = ctypes.POINTER(ctypes.c_ulong)(), ctypes.c_uint()
        if not self.lib.XQueryTree(self.d, win, ctypes.byref(root), ctypes.byref(par),
                                   ctypes.byref(children), ctypes.byref(n)):
            return []
        kids = [children[i] for i in range(n.value)]
        if children:
            self.lib.XFree(children)
        out = []
        for k in kids:
            out.append((k, win))
            out += self.tree(k, win)
        return out

    def prop(self, win, name):
        """The property's bytes, or None when the window lacks it."""
        actual, fmt = ctypes.c_ulong(), ctypes.c_int()
        n, after, data = ctypes.c_ulong(), ctypes.c_ulong(), ctypes.c_void_p()
        ok = self.lib.XGetWindowProperty(self.d, win, self.atoms[name], 0, 1024, 0, 0,
                                         ctypes.byref(actual), ctypes.byref(fmt), ctypes.byref(n),
                                         ctypes.byref(after), ctypes.byref(data))
        if ok != 0 or actual.value == 0:
            return None
        size = {8: 1, 16: ctypes.sizeof(ctypes.c_short), 32: ctypes.sizeof(ctypes.c_long)}
        raw = ctypes.string_at(data, n.value * size[fmt.value]) if data else b""
        if data:
            self.lib.XFree(data)
        return raw

    def pid(self, win):
        raw = self.prop(win, "_NET_WM_PID")
        return int.from_bytes(raw[:ctypes.sizeof(ctypes.c_long)], sys.byteorder) if raw else None

    def viewable(self, win):
        attrs = XWindowAttributes()
        return (self.lib.XGetWindowAttributes(self.d, win, ctypes.byref(attrs)) != 0
                and attrs.map_state == IS_VIEWABLE)

    def embedded_icon(self, pid):
        """The process's tray icon once the tray host has embedded it."""
        for win, parent in self.tree():
            if parent == self.root or self.pid(win) != pid:
                continue
            if self.prop(win, "_XEMBED_INFO") is not None and self.prop(win, "WM_STATE") is None \
                    and self.viewable(win):
                return win
        return None

    def titles(self, pid):
        out = []
        for win, _ in self.tree():
            if self.pid(win) == pid:
                raw = self.prop(win, "_NET_WM_NAME")
                if raw:
                    out.append((win, raw.decode("utf-8", "replace")))
        return out


def make_folder(binary):
    folder = Path(tempfile.mkdtemp(prefix="tolvane-bench-"))
    shutil.copy2(binary, folder / "tolvane")
    (folder / "ngword.txt").write_bytes("広告\r\n".encode("cp932"))
    return folder


def write_ini(folder, server, user, password, icon):
    ini = ["[Option]", "Stop=0", f"Icon={icon}", "SndFile=",
           "[Account:1]", "ShortName=B", f"POPServer={server}", f"Account={user}",
           f"Password={password}", ""]
    (folder / "tolvane.ini").write_bytes("\r\n".join(ini).encode("cp932"))


def start(folder):
    env = dict(os.environ, QT_QPA_PLATFORM="xcb", LANG="C.UTF-8")
    t0 = time.monotonic()
    proc = subprocess.Popen([str(folder / "tolvane")], cwd=folder, env=env,
                            stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL,
                            stderr=subprocess.DEVNULL)
    return proc, t0


def wait_for(what, timeout, probe, proc, interval=0.005):
    end = time.monotonic() + timeout
    while time.monotonic() < end:
        if proc.poll() is not None:
            sys.exit(f"the program ended (code {proc.returncode}) while waiting for {what}")
        value = probe()
        if value:
            return value
        time.sleep(interval)
    sys.exit(f"{what}: not within {timeout} s")


def stop(proc):
    proc.send_signal(signal.SIGTERM)
    try:
        proc.wait(10)
    except subprocess.TimeoutExpired:
        proc.kill()
        proc.wait()


def cpu_ms(pid):
    """utime + stime of every thread (/proc/PID/stat, in clock ticks), and
    the run time that the scheduler counts in nanoseconds, both in ms."""
    fields = Path(f"/proc/{pid}/stat").read_text().rpartition(")")[2].split()
    ticks = int(fields[11]) + int(fields[12])
    ns = sum(int((t / "schedstat").read_text().split()[0])
             for t in Path(f"/proc/{pid}/task").iterdir())
    return ticks * 1000 / os.sysconf("SC_CLK_TCK"), ns / 1e6


def rss_mb(pid):
    for line in Path(f"/proc/{pid}/status").read_text().splitlines():
        if line.startswith("VmRSS:"):
            return int(line.split()[1]) / 1024
    return float("nan")


def measure_idle(x, folder, args, icon):
    """(VmRSS in MB, CPU ms by clock ticks, CPU ms by the scheduler) over
    the idle time after the first check, started with Icon=icon."""
    write_ini(folder, args.server, args.user, args.password, icon)
    proc, _ = start(folder)
    try:
        wait_for("the first check", 20, lambda: first_check_done(x, proc.pid), proc)
        # Settle: the notification of the check hides itself after 4 s.
        time.sleep(5)
        rss = rss_mb(proc.pid)
        ticks0, ns0 = cpu_ms(proc.pid)
        time.sleep(args.idle)
        ticks1, ns1 = cpu_ms(proc.pid)
    finally:
        stop(proc)
    return rss, ticks1 - ticks0, ns1 - ns0


def first_check_done(x, pid):
    """The main window's title says "Finished." (with Icon=1 it may have
    no window yet), or the notification of the check is up."""
    return any(t.startswith("Finished.") or (t.startswith("Tolvane - ") and x.viewable(w))
               for w, t in x.titles(pid))


def verdict(ok):
    return "ok" if ok else "OVER TARGET"


def main():
    ap = argparse.ArgumentParser()
    ap.add_argument("binary", type=Path)
    ap.add_argument("server")
    ap.add_argument("user")
    ap.add_argument("password")
    ap.add_argument("--rounds", type=int, default=5)
    ap.add_argument("--idle", type=float, default=60)
    args = ap.parse_args()
    x = X()
    folder = make_folder(args.binary)
    try:
        t = time.monotonic()
        x.embedded_icon(-1)
        look_ms = (time.monotonic() - t) * 1000

        embeds = []
        write_ini(folder, args.server, args.user, args.password, 0)
        for _ in range(args.rounds):
            proc, t0 = start(folder)
            try:
                wait_for("tray icon embedded", 10, lambda: x.embedded_icon(proc.pid), proc)
                embeds.append(time.monotonic() - t0)
            finally:
                stop(proc)

        idle = {icon: measure_idle(x, folder, args, icon) for icon in (1, 0)}
    finally:
        shutil.rmtree(folder, ignore_errors=True)

    median = statistics.median(embeds)
    print(f"load average {os.getloadavg()[0]:.2f}; one look at the window tree {look_ms:.1f} ms")
    print(f"start -> tray icon embedded: median {median:.3f} s, best {min(embeds):.3f} s"
          f" over {len(embeds)} starts (target < {TARGET_EMBED_S} s) {verdict(median < TARGET_EMBED_S)}")
    scale = 60 / args.idle
    tick_ms = 1000 / os.sysconf("SC_CLK_TCK")
    for icon, label in ((1, "in the tray only (Icon=1)"), (0, "main window shown (Icon=0)")):
        rss, ticks, ns = idle[icon]
        print(f"idle, {label}:")
        print(f"  resident memory {rss:.1f} MB (VmRSS; target < {TARGET_RSS_MB} MB)"
              f" {verdict(rss < TARGET_RSS_MB)}")
        print(f"  CPU in {args.idle:g} s: {ticks:.0f} ms utime+stime (ticks of {tick_ms:.0f} ms),"
              f" {ns:.2f} ms scheduler run time (target < {TARGET_IDLE_CPU_MS} ms per 60 s)"
              f" {verdict(ticks * scale < TARGET_IDLE_CPU_MS)}")


if __name__ == "__main__":
    main()

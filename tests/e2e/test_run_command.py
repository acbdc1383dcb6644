"""The run command without DISPLAY: on its private display the main window keeps its place and the keyboard, a
box gets its frame and caption from the display's window manager, and the picture saved as the command stops
shows the box."""

import ctypes
import os
import queue
import re
import shutil
import signal
import subprocess
import sys
import threading
import time
import unittest
from pathlib import Path

from PIL import Image

from harness import WINDOW_HEIGHT, WINDOW_WIDTH, paths, terminate_on_sigterm
from launcher import prefix
from launcher.display import SCREEN_HEIGHT, SCREEN_WIDTH
from launcher.screen_reader import ScreenReader

ABOUT_CAPTION = "\u00c0 propos de Zelvora"
# The run command as a user starts it, its output among the artefacts, its prefix and lock in the test's scratch.
RUN_COMMAND = """
import sys
from pathlib import Path
from launcher import run_client
output, scratch = map(Path, sys.argv[1:3])
run_client.OUTPUT, run_client.PREFIX, run_client.LOCK = output, scratch / "prefix", scratch / "lock"
sys.argv[1:] = ["--server"]
sys.exit(run_client.main())
"""


def _xlib():
    """The few Xlib calls that tell where a window and the frame round it lie (xdotool reports a reparented
    window's position shifted by its place in the frame)."""
    lib = ctypes.CDLL("libX11.so.6")
    lib.XOpenDisplay.restype = ctypes.c_void_p
    lib.XDefaultRootWindow.restype = ctypes.c_ulong
    lib.XDefaultRootWindow.argtypes = [ctypes.c_void_p]
    lib.XInternAtom.restype = ctypes.c_ulong
    lib.XInternAtom.argtypes = [ctypes.c_void_p, ctypes.c_char_p, ctypes.c_int]
    uint, out_int, out_ulong = (ctypes.POINTER(ctypes.c_uint), ctypes.POINTER(ctypes.c_int),
                                ctypes.POINTER(ctypes.c_ulong))
    lib.XGetGeometry.argtypes = [ctypes.c_void_p, ctypes.c_ulong, out_ulong, out_int, out_int, uint, uint, uint, uint]
    lib.XTranslateCoordinates.argtypes = [ctypes.c_void_p, ctypes.c_ulong, ctypes.c_ulong, ctypes.c_int, ctypes.c_int,
                                          out_int, out_int, out_ulong]
    lib.XGetWindowProperty.argtypes = [ctypes.c_void_p, ctypes.c_ulong, ctypes.c_ulong, ctypes.c_long, ctypes.c_long,
                                       ctypes.c_int, ctypes.c_ulong, out_ulong, out_int, out_ulong, out_ulong,
                                       ctypes.POINTER(ctypes.c_void_p)]
    lib.XFree.argtypes = [ctypes.c_void_p]
    lib.XCloseDisplay.argtypes = [ctypes.c_void_p]
    return lib


def framed_window(display_name, window):
    """The rectangle (x, y, width, height) of an X window and the frame round it on the screen, and the frame's
    borders (left, right, top, bottom) as the window manager gives them (_NET_FRAME_EXTENTS)."""
    x = _xlib()
    connection = x.XOpenDisplay(display_name.encode())
    try:
        root, left, top, width, height, ignored = (ctypes.c_ulong(), ctypes.c_int(), ctypes.c_int(), ctypes.c_uint(),
                                                   ctypes.c_uint(), ctypes.c_uint())
        x.XGetGeometry(connection, window, ctypes.byref(root), ctypes.byref(left), ctypes.byref(top),
                       ctypes.byref(width), ctypes.byref(height), ctypes.byref(ignored), ctypes.byref(ignored))
        child = ctypes.c_ulong()
        x.XTranslateCoordinates(connection, window, x.XDefaultRootWindow(connection), 0, 0, ctypes.byref(left),
                                ctypes.byref(top), ctypes.byref(child))
        kind, unit, count, remaining, data = (ctypes.c_ulong(), ctypes.c_int(), ctypes.c_ulong(), ctypes.c_ulong(),
                                              ctypes.c_void_p())
        x.XGetWindowProperty(connection, window, x.XInternAtom(connection, b"_NET_FRAME_EXTENTS", False), 0, 4, False,
                             0, ctypes.byref(kind), ctypes.byref(unit), ctypes.byref(count), ctypes.byref(remaining),
                             ctypes.byref(data))
        # Xlib hands 32-bit items back as longs; a window without a frame has no such property.
        borders = tuple(ctypes.cast(data, ctypes.POINTER(ctypes.c_long))[i] for i in range(count.value)) or (0,) * 4
        if data:
            x.XFree(data)
        b_left, b_right, b_top, b_bottom = borders
        return (left.value - b_left, top.value - b_top, width.value + b_left + b_right,
                height.value + b_top + b_bottom), borders
    finally:
        x.XCloseDisplay(connection)


class RunCommand:
    """The run command in a process of its own, its output read line by line."""

    def __init__(self, output, scratch):
        env = {k: v for k, v in os.environ.items() if k != "DISPLAY"}
        self.proc = subprocess.Popen([sys.executable, "-c", RUN_COMMAND, str(output), str(scratch)], env=env, text=True,
                                     stdin=subprocess.DEVNULL, stdout=subprocess.PIPE, stderr=subprocess.STDOUT,
                                     errors="replace")
        self.lines = []
        self._lines = queue.Queue()
        self._reader = threading.Thread(target=self._read, daemon=True)
        self._reader.start()

    def _read(self):
        for line in self.proc.stdout:
            self._lines.put(line.rstrip("\n"))
        self._lines.put(None)

    def wait_line(self, pattern, timeout):
        """The match of the first line (since the last one matched) that matches the regular expression."""
        deadline = time.monotonic() + timeout
        while True:
            try:
                line = self._lines.get(timeout=max(0, deadline - time.monotonic()))
            except queue.Empty:
                raise AssertionError(f"no line matching {pattern!r} in {timeout} s:\n" + "\n".join(self.lines))
            if line is None:
                raise AssertionError(f"the run command ended before {pattern!r}:\n" + "\n".join(self.lines))
            self.lines.append(line)
            found = re.search(pattern, line)
            if found:
                return found

    def stop(self, prefix_dir):
        """Ends the command as a failed test leaves it, letting it stop what it started."""
        if self.proc.poll() is None:
            self.proc.terminate()
            try:
                self.proc.wait(60)
            except subprocess.TimeoutExpired:
                self.proc.kill()
                self.proc.wait()
                prefix.kill_processes_in(prefix_dir)
        self._reader.join(10)
        self.proc.stdout.close()


def xdotool(display_name, *args):
    done = subprocess.run(["xdotool", *args], env=dict(os.environ, DISPLAY=display_name), capture_output=True,
                          text=True, timeout=20)
    return done.stdout.split()


def wait_window(display_name, title, timeout):
    deadline = time.monotonic() + timeout
    while not (found := xdotool(display_name, "search", "--onlyvisible", "--name", f"^{title}$")):
        if time.monotonic() > deadline:
            raise AssertionError(f"no window titled {title!r} within {timeout} s")
        time.sleep(0.2)
    return int(found[0])


def settled_picture(display_name, rect, timeout):
    """The screen's rectangle once two readings in a row agree: the box and its frame are painted."""
    deadline = time.monotonic() + timeout
    with ScreenReader(display_name) as reader:
        previous = reader.grab(*rect).rgb
        while time.monotonic() < deadline:
            time.sleep(0.2)
            current = reader.grab(*rect).rgb
            if current == previous:
                return current
            previous = current
    raise AssertionError(f"the screen at {rect} still changes after {timeout} s")


class RunCommandTest(unittest.TestCase):
    def test_private_display_frames_boxes_and_keeps_a_last_picture(self):
        output = paths.ARTIFACTS / "run_command"
        shutil.rmtree(output, ignore_errors=True)
        scratch = prefix.make_scratch("run_command")
        self.addCleanup(prefix.remove_scratch, scratch)
        run = RunCommand(output, scratch)
        self.addCleanup(run.stop, scratch / "prefix")
        display = run.wait_line(r"on display (:\d+)", timeout=180)[1]
        run.wait_line(r"screenshot saved to", timeout=60)

        main = wait_window(display, "ZELVORA", timeout=5)
        centred = ((SCREEN_WIDTH - WINDOW_WIDTH) // 2, (SCREEN_HEIGHT - WINDOW_HEIGHT) // 2, WINDOW_WIDTH,
                   WINDOW_HEIGHT)
        self.assertEqual(framed_window(display, main), (centred, (0, 0, 0, 0)), "centred, and left without a frame")
        # Sent to whichever window has the focus: the window manager must have left it to the main window.
        xdotool(display, "key", "F1")
        about = wait_window(display, ABOUT_CAPTION, timeout=30)
        rect, borders = framed_window(display, about)
        self.assertGreater(borders[2], 10, "the about box has a title bar")
        shown = settled_picture(display, rect, timeout=30)

        run.proc.send_signal(signal.SIGINT)
        last = Path(run.wait_line(r"last screenshot saved to (.+)$", timeout=30)[1])
        self.assertEqual(run.proc.wait(60), 0)
        x, y, width, height = rect
        with Image.open(last) as picture:
            self.assertEqual(picture.convert("RGB").crop((x, y, x + width, y + height)).tobytes(), shown,
                             "the last picture shows the box with its caption")


if __name__ == "__main__":
    terminate_on_sigterm()
    unittest.main()

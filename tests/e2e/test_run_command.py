"""The run command without DISPLAY: on its private display the main window keeps its place and the keyboard, a
box gets its frame and caption from the display's window manager, and the picture saved as the command stops
shows the box."""

import ctypes
import os
import re
import select
import shutil
import signal
import subprocess
import sys
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


def framed_window(display_name, window):
    """The rectangle (x, y, width, height) of an X window with the frame round it on the screen, and the frame's
    borders (left, right, top, bottom), as the window manager gives them (xdotool's position of a framed window is
    shifted by its place in the frame)."""
    x11 = ctypes.CDLL("libX11.so.6")
    x11.XOpenDisplay.restype = ctypes.c_void_p
    x11.XDefaultRootWindow.restype = x11.XInternAtom.restype = ctypes.c_ulong
    connection = ctypes.c_void_p(x11.XOpenDisplay(display_name.encode()))
    window = ctypes.c_ulong(window)
    try:
        left, top, width, height, number = (ctypes.c_int() for _ in range(5))
        ignored, data = ctypes.c_ulong(), ctypes.c_void_p()
        x11.XGetGeometry(connection, window, ctypes.byref(ignored), ctypes.byref(number), ctypes.byref(number),
                         ctypes.byref(width), ctypes.byref(height), ctypes.byref(number), ctypes.byref(number))
        x11.XTranslateCoordinates(connection, window, ctypes.c_ulong(x11.XDefaultRootWindow(connection)), 0, 0,
                                  ctypes.byref(left), ctypes.byref(top), ctypes.byref(ignored))
        extents = ctypes.c_ulong(x11.XInternAtom(connection, b"_NET_FRAME_EXTENTS", False))
        count = ctypes.c_ulong()
        x11.XGetWindowProperty(connection, window, extents, ctypes.c_long(0), ctypes.c_long(4), False,
                               ctypes.c_ulong(0), ctypes.byref(ignored), ctypes.byref(number), ctypes.byref(count),
                               ctypes.byref(ignored), ctypes.byref(data))
        # Xlib hands 32-bit items back as longs; a window without a frame has no such property.
        borders = tuple(ctypes.cast(data, ctypes.POINTER(ctypes.c_long))[:count.value]) or (0,) * 4
        x11.XFree(data)
        b_left, b_right, b_top, b_bottom = borders
        return (left.value - b_left, top.value - b_top, width.value + b_left + b_right,
                height.value + b_top + b_bottom), borders
    finally:
        x11.XCloseDisplay(connection)


class RunCommand:
    """The run command in a process of its own, its output read line by line."""

    def __init__(self, output, scratch):
        env = {k: v for k, v in os.environ.items() if k != "DISPLAY"}
        # Unbuffered, so that select() tells the truth about what is left to read; ended with the test even when
        # a time-out kills it, and then the command's own children with it.
        self.proc = subprocess.Popen(["setpriv", "--pdeathsig", "KILL", "--", sys.executable, "-c", RUN_COMMAND,
                                      str(output), str(scratch)], env=env, bufsize=0, stdin=subprocess.DEVNULL,
                                     stdout=subprocess.PIPE, stderr=subprocess.STDOUT)
        self.lines = []

    def wait_line(self, pattern, timeout):
        """The match of the first line from now on that matches the regular expression."""
        deadline = time.monotonic() + timeout
        while select.select([self.proc.stdout], [], [], max(0, deadline - time.monotonic()))[0]:
            line = self.proc.stdout.readline()
            if not line:
                raise AssertionError(f"the run command ended before {pattern!r}:\n" + "\n".join(self.lines))
            self.lines.append(line.decode(errors="replace").rstrip("\n"))
            if found := re.search(pattern, self.lines[-1]):
                return found
        raise AssertionError(f"no line matching {pattern!r} in {timeout} s:\n" + "\n".join(self.lines))

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


def mostly_black(rgb):
    pixels = [rgb[i:i + 3] for i in range(0, len(rgb), 3)]
    return pixels.count(b"\0\0\0") * 2 > len(pixels)


def settled_picture(display_name, rect, timeout):
    """The screen's rectangle once two readings in a row agree and it is not mostly black: the box and its frame
    are painted (a box mapped but not yet painted is black, and may stay so for two readings on a busy machine)."""
    deadline = time.monotonic() + timeout
    with ScreenReader(display_name) as reader:
        previous = reader.grab(*rect).rgb
        while time.monotonic() < deadline:
            time.sleep(0.2)
            current = reader.grab(*rect).rgb
            if current == previous and not mostly_black(current):
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

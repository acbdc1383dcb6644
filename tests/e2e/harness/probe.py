"""The Win32 console probe, run in the client's prefix: the windows, the text of message boxes, buttons."""

import json
import subprocess
import tempfile
import time

from . import paths

WM_CLOSE = 0x0010
WM_DESTROY = 0x0002
IDOK = 1
MESSAGE_BOX_CLASS = "#32770"


class Probe:
    def __init__(self, env, exe=paths.PROBE_EXE):
        if not exe.is_file():
            raise FileNotFoundError(f"{exe} is missing: build the windows preset first")
        self._env = env
        self._exe = exe

    def _run(self, *args, check=True):
        # Files, not pipes: a probe run while the client starts may be the one that starts Wine's services
        # (services.exe, plugplay.exe, ...), which keep its standard error open for the prefix's life, so the end
        # of a pipe would never come.
        with tempfile.TemporaryFile() as out, tempfile.TemporaryFile() as err:
            code = subprocess.run([paths.WINE, str(self._exe), *[str(a) for a in args]], env=self._env,
                                  stdin=subprocess.DEVNULL, stdout=out, stderr=err, timeout=30).returncode
            out.seek(0)
            err.seek(0)
            printed, said = out.read().decode("utf-8"), err.read().decode("utf-8", "replace").strip()
        if check and code != 0:
            # Wine's own complaints, if any, tell a probe that could not start from a window not found.
            raise RuntimeError(f"probe {' '.join(map(str, args))} answered {code}"
                               + (f"; it said: {said}" if said else ""))
        return [json.loads(line) for line in printed.splitlines() if line.strip()]

    def windows(self, parent=None):
        """Top-level windows (or the children of `parent`): dicts with hwnd, owner, class, title, pid, id,
        x, y, width, height (screen rectangle), clientX, clientY (screen point of the client area's corner),
        visible and enabled."""
        return self._run("windows", *([parent] if parent else []))

    def find(self, *, cls=None, title=None, visible=True):
        return [w for w in self.windows() if (cls is None or w["class"] == cls)
                and (title is None or w["title"] == title) and (not visible or w["visible"])]

    def wait_for(self, *, cls=None, title=None, timeout=20):
        """The first visible top-level window of that class and title, once it exists."""
        deadline = time.monotonic() + timeout
        while True:
            found = self.find(cls=cls, title=title)
            if found:
                return found[0]
            if time.monotonic() > deadline:
                raise TimeoutError(f"no window of class {cls!r} titled {title!r} after {timeout} s")
            time.sleep(0.25)

    def message_boxes(self):
        """Every visible message box, with its caption ("title") and its text ("text"), read in one listing."""
        return [box for box in self.find(cls=MESSAGE_BOX_CLASS) if "text" in box]

    def wait_message_box(self, caption=None, timeout=20):
        deadline = time.monotonic() + timeout
        while True:
            found = [box for box in self.message_boxes() if caption is None or box["title"] == caption]
            if found:
                return found[0]
            if time.monotonic() > deadline:
                raise TimeoutError(f"no message box titled {caption!r} after {timeout} s")
            time.sleep(0.25)

    def press(self, window, button_id=IDOK):
        self._run("press", window, button_id)

    def close(self, window):
        self._run("close", window)

    def post(self, window, message, wparam=0, lparam=0):
        """Posts a message; `window` is a handle ("0x1f2"), "class:NAME" or "title:TEXT"."""
        self._run("post", window, message, wparam, lparam)

    def foreground(self, window):
        self._run("foreground", window)

    def answer_time(self, window, timeout=20):
        """How many seconds the window's thread took to answer a message sent to it now; None when it had
        not answered after `timeout` s (at most 25)."""
        answer = self._run("answer", window, int(timeout * 1000))[0]
        return answer["ms"] / 1000 if answer["answered"] else None

    def repaint(self, window):
        """Invalidates the whole window, which then paints itself again as when it is uncovered."""
        self._run("repaint", window)

    def text_ink(self, window, rect, text):
        """The pixels that `text`, one line centred in `rect` (left, top, right, bottom) of the window's client
        area, covers when drawn with the window's own font: one string per row, '#' for ink."""
        units = text.encode("utf-16-le")
        hex_units = "".join(f"{int.from_bytes(units[i:i + 2], 'little'):04x}" for i in range(0, len(units), 2))
        return self._run("ink", window, *rect, hex_units)[0]["rows"]

"""Drives a built tarnwick as a user would: a copy of the program in an application folder of its
own, started on the desktop session's display, its controls found on the accessibility bus by
their accessible names. Used by desktop_cases.py."""
import os
import shutil
import signal
import subprocess
import tempfile
import time

import pyatspi

STARTUP_SECONDS = 30


class Failure(Exception):
    """A case's check failed; the message says what was expected and what was seen."""


def wait_until(condition, seconds, what):
    """Returns condition()'s first true value, polling, or fails saying `what` did not happen."""
    deadline = time.monotonic() + seconds
    while True:
        value = condition()
        if value:
            return value
        if time.monotonic() > deadline:
            raise Failure(f"{what} within {seconds} s")
        time.sleep(0.1)


def check(condition, message):
    if not condition:
        raise Failure(message)


class TarnwickSession:
    """One run of the program from its own application folder, which holds a copy of the
    executable, the plot servers beside it, and whatever settings the case writes first."""

    def __init__(self, build_bin, settings=None):
        self.folder = tempfile.mkdtemp(prefix="tarnwick-desktop-")
        self.program = os.path.join(self.folder, "tarnwick")
        shutil.copy2(os.path.join(build_bin, "tarnwick"), self.program)
        os.symlink(os.path.join(build_bin, "servers"), os.path.join(self.folder, "servers"))
        if settings is not None:
            with open(self.settings_file(), "w", encoding="utf-8") as ini:
                ini.write(settings)
        self.process = None
        self.app = None
        self.window = None

    def settings_file(self):
        return os.path.join(self.folder, "tarnwick.ini")

    def start(self, arguments=(), environment=None):
        self.process = subprocess.Popen([self.program, *arguments], cwd=self.folder, stderr=subprocess.PIPE,
                                        text=True, env=environment)
        self.app = wait_until(self._application, STARTUP_SECONDS, "the program did not appear on the accessibility bus")
        self.window = wait_until(lambda: self._main_window(self.app), STARTUP_SECONDS, "the main window did not open")
        return self

    def _application(self):
        if self.process.poll() is not None:
            raise Failure(f"the program ended at start (status {self.process.returncode}): "
                          f"{self.process.stderr.read().strip()}")
        for app in pyatspi.Registry.getDesktop(0):
            if app is not None and app.get_process_id() == self.process.pid:
                return app
        return None

    def _main_window(self, app):
        for window in app:
            if window is not None and window.name == "Tarnwick" and window.childCount >= 20:
                return window
        return None

    def alert(self):
        """The program's open message box, once one is open, and every node inside it."""
        def open_alert():
            for window in self.app:
                if window is not None and window.getRole() == pyatspi.ROLE_ALERT:
                    return window
            return None
        box = wait_until(open_alert, STARTUP_SECONDS, "no message box opened")
        return box, [box, *self.descendants(box)]

    def control(self, name, role=None):
        """The main window's control of that accessible name (and role), searched without walking
        any list's rows."""
        found = next((child for child in self.descendants(self.window, (pyatspi.ROLE_LIST, pyatspi.ROLE_COMBO_BOX))
                      if child.name == name and (role is None or child.getRole() == role)), None)
        if found is None:
            raise Failure(f"no control named {name!r} in the main window")
        return found

    def press(self, name):
        self.control(name, pyatspi.ROLE_PUSH_BUTTON).queryAction().doAction(0)

    def choose(self, name):
        self.control(name, pyatspi.ROLE_RADIO_BUTTON).queryAction().doAction(0)

    def text(self, name):
        box = self.control(name, pyatspi.ROLE_TEXT).queryText()
        return box.getText(0, box.characterCount)

    def rows(self, name):
        items = self.control(name, pyatspi.ROLE_LIST)
        return [items.getChildAtIndex(row).name for row in range(items.childCount)]

    def count_becomes(self, expected, seconds=10):
        """Waits until the count box shows `expected`; each look waits for the program to answer."""
        wait_until(lambda: self.text("File count") == expected, seconds,
                   f"the count box did not show {expected} (it shows {self.text('File count')!r})")

    def close(self, seconds=15):
        """Closes the main window as a user does (Alt+F4 through the window manager) and returns
        the program's exit status."""
        window_id = wait_until(self._x_window, 10, "the main window has no X window")
        subprocess.run(["xdotool", "windowactivate", window_id], check=True, timeout=seconds)
        wait_until(lambda: subprocess.run(["xdotool", "getactivewindow"], capture_output=True,
                                          text=True).stdout.strip() == window_id,
                   10, "the window manager did not activate the main window")
        subprocess.run(["xdotool", "key", "alt+F4"], check=True, timeout=seconds)
        try:
            return self.process.wait(seconds)
        except subprocess.TimeoutExpired:
            raise Failure(f"the program did not end within {seconds} s of closing its main window")

    def _x_window(self):
        return self.x_window("^Tarnwick$")

    def x_window(self, title_pattern):
        """The X window id of the program's visible window whose title matches, or None."""
        found = subprocess.run(["xdotool", "search", "--all", "--onlyvisible", "--pid", str(self.process.pid), "--name",
                                title_pattern], capture_output=True, text=True)
        ids = found.stdout.split()
        return ids[0] if ids else None

    def window_named(self, title):
        """The top-level accessible window of that name of the program or of its plot server (whose
        print dialog stands in front of the program's window), or None."""
        return next((window for app in self._applications() for window in app
                     if window is not None and window.name == title), None)

    def server_pids(self):
        """The process ids of the plot servers the program started."""
        found = subprocess.run(["pgrep", "-P", str(self.process.pid)], capture_output=True, text=True)
        return [int(pid) for pid in found.stdout.split()]

    def _applications(self):
        pids = {self.process.pid, *self.server_pids()}
        return [app for app in pyatspi.Registry.getDesktop(0) if app is not None and app.get_process_id() in pids]

    @staticmethod
    def descendants(node, leave_out=(pyatspi.ROLE_LIST, pyatspi.ROLE_TABLE, pyatspi.ROLE_TREE_TABLE)):
        """Every accessible object below node, breadth first, without the children of objects whose
        role is in leave_out (a list's rows)."""
        pending = [node]
        while pending:
            for child in pending.pop(0):
                if child is None:
                    continue
                yield child
                if child.getRole() not in leave_out:
                    pending.append(child)

    def dialog(self, role=pyatspi.ROLE_DIALOG):
        """The program's open dialog of that role (the print run's progress), or None."""
        return next((window for window in self._application()
                     if window is not None and window.getRole() == role), None)

    def end(self):
        if self.process is not None and self.process.poll() is None:
            self.process.send_signal(signal.SIGKILL)
            self.process.wait()
        shutil.rmtree(self.folder, ignore_errors=True)

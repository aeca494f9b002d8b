"""Drives the built program from outside, as a user does: a separate process
on the X server, found through the window system and the accessibility bus,
with a pseudo-terminal as its receiver cable.

Every wait is for a condition, with a generous bound, so that a loaded
machine only makes a scenario slower, never red."""

import glob
import os
import shutil
import subprocess
import sys
import tempfile
import threading
import time
import tty

import pyatspi
from Xlib import X, XK, Xatom, display as xdisplay, protocol
from Xlib.ext import xtest

WAIT_SECONDS = 30.0


def run(scenario):
    """Runs scenario(program file, source folder) with the command line's two arguments."""
    scenario(sys.argv[1], sys.argv[2])
    print("passed")


def wait_for(what, condition, timeout=WAIT_SECONDS, interval=0.05):
    """Polls condition until it returns something true and returns that."""
    deadline = time.monotonic() + timeout
    while True:
        value = condition()
        if value:
            return value
        if time.monotonic() > deadline:
            raise AssertionError("timed out waiting for " + what)
        time.sleep(interval)


# ---- The receiver's side of the cable ----------------------------------------

class SimReceiver:
    """The far end of a pseudo-terminal: records every byte the program sends
    and answers through reply(received_so_far) -> bytes, when given."""

    def __init__(self, reply=None):
        self.master, self.slave = os.openpty()
        tty.setraw(self.slave)
        self.path = os.ttyname(self.slave)
        self.reply = reply
        self._lock = threading.Lock()
        self._bytes = bytearray()
        self._stop = False
        self._reader = threading.Thread(target=self._read_loop, daemon=True)
        self._reader.start()

    def _read_loop(self):
        import select
        while not self._stop:
            ready, _, _ = select.select([self.master], [], [], 0.1)
            if not ready:
                continue
            try:
                data = os.read(self.master, 4096)
            except OSError:
                continue
            with self._lock:
                self._bytes += data
                snapshot = bytes(self._bytes)
            if self.reply:
                answer = self.reply(snapshot, data)
                if answer:
                    os.write(self.master, answer)

    def received(self):
        with self._lock:
            return bytes(self._bytes)

    def wait_received(self, what, condition, timeout=WAIT_SECONDS):
        try:
            return wait_for(what, lambda: condition(self.received()), timeout)
        except AssertionError:
            got = self.received()
            raise AssertionError("%s: the port got %r" % (what, got if len(got) < 400 else got[:200] + b"..." + got[-200:]))

    def close(self):
        self._stop = True
        self._reader.join()
        os.close(self.master)
        os.close(self.slave)


# ---- Files of the program folder ---------------------------------------------

def schedule_text(entries):
    """A schedule file with (programme, khz, kw) entries on air all day."""
    lines = ["[Test schedule]", ""]
    for n, (programme, khz, kw) in enumerate(entries, 1):
        lines += ["[Transmission %d]" % n, "StartStopTimeUTC=0000-2400", "DaysOfTheWeek=0000000",
                  "Frequency=%d" % khz, "Target=Europe", "Power=%d" % kw, "Programme=" + programme,
                  "Language=English", "Site=Testsite", ""]
    return "\r\n".join(lines) + "\r\n"


def ini_text(sections):
    """An INI file from {section: [(key, value), ...]} in the given order."""
    out = []
    for section, keys in sections.items():
        out.append("[%s]" % section)
        out += ["%s=%s" % (k, v) for k, v in keys]
        out.append("")
    return "\r\n".join(out)


def read_ini(path):
    """{section: {key: value}} with the names as written (cp1252 text)."""
    result, section = {}, None
    with open(path, encoding="cp1252") as f:
        for line in f.read().splitlines():
            if line.startswith("[") and line.endswith("]"):
                section = result.setdefault(line[1:-1], {})
            elif "=" in line and section is not None:
                key, value = line.split("=", 1)
                section[key] = value
    return result


# ---- The X server ------------------------------------------------------------

class XServer:
    def __init__(self):
        self.d = xdisplay.Display()
        self.root = self.d.screen().root
        self.WM_PROTOCOLS = self.d.intern_atom("WM_PROTOCOLS")
        self.WM_DELETE_WINDOW = self.d.intern_atom("WM_DELETE_WINDOW")
        self.NET_WM_PID = self.d.intern_atom("_NET_WM_PID")
        self.NET_WM_NAME = self.d.intern_atom("_NET_WM_NAME")
        self.UTF8 = self.d.intern_atom("UTF8_STRING")

    def windows_of(self, pid):
        found = []
        for w in self.root.query_tree().children:
            try:
                prop = w.get_full_property(self.NET_WM_PID, Xatom.CARDINAL)
                if prop and prop.value[0] == pid and w.get_attributes().map_state == X.IsViewable:
                    found.append(w)
            except Exception:
                pass
        return found

    def title(self, window):
        prop = window.get_full_property(self.NET_WM_NAME, self.UTF8)
        if prop:
            value = prop.value
            return value.decode("utf-8") if isinstance(value, bytes) else value
        return window.get_wm_name() or ""

    def focus(self, window):
        """Gives the window the keyboard focus, as a window manager does."""
        window.set_input_focus(X.RevertToParent, X.CurrentTime)
        self.d.sync()

    def has_focus(self, window):
        focus = self.d.get_input_focus().focus
        return focus == window or (hasattr(focus, "id") and focus.id == window.id)

    def close_window(self, window):
        """The window manager's close message, as a user's click on [x] sends it."""
        event = protocol.event.ClientMessage(window=window, client_type=self.WM_PROTOCOLS,
                                             data=(32, [self.WM_DELETE_WINDOW, X.CurrentTime, 0, 0, 0]))
        window.send_event(event, event_mask=0)
        self.d.sync()

    def click(self, x, y, button=1):
        xtest.fake_input(self.d, X.MotionNotify, x=int(x), y=int(y))
        self.d.sync()
        xtest.fake_input(self.d, X.ButtonPress, button)
        self.d.sync()
        xtest.fake_input(self.d, X.ButtonRelease, button)
        self.d.sync()

    def key_down(self, name):
        xtest.fake_input(self.d, X.KeyPress, self.keycode(name))
        self.d.sync()

    def key_up(self, name):
        xtest.fake_input(self.d, X.KeyRelease, self.keycode(name))
        self.d.sync()

    def keycode(self, name):
        return self.d.keysym_to_keycode(XK.string_to_keysym(name))

    def key(self, name, modifiers=()):
        """Presses and releases a key (an X keysym name such as "s", "Right",
        "Tab"), with modifier keysym names ("Alt_L", "Control_L") held."""
        for m in modifiers:
            xtest.fake_input(self.d, X.KeyPress, self.keycode(m))
        xtest.fake_input(self.d, X.KeyPress, self.keycode(name))
        xtest.fake_input(self.d, X.KeyRelease, self.keycode(name))
        for m in reversed(modifiers):
            xtest.fake_input(self.d, X.KeyRelease, self.keycode(m))
        self.d.sync()

    def type(self, text):
        for ch in text:
            self.key(ch)


_KEYSYM_NAMES = {getattr(XK, n): n[3:] for n in dir(XK) if n.startswith("XK_")}


def keysym_name(keysym):
    if 0x20 < keysym < 0x7F:
        return chr(keysym)
    return _KEYSYM_NAMES.get(keysym, str(keysym))


class DecoderWindow:
    """A stand-in for the software decoder: a top-level window with the
    decoder's title that records the keys typed into it."""

    def __init__(self, title):
        self.d = xdisplay.Display()
        root = self.d.screen().root
        self.window = root.create_window(700, 40, 240, 120, 0, X.CopyFromParent,
                                         event_mask=X.KeyPressMask | X.StructureNotifyMask)
        self.window.set_wm_name(title)
        self.window.change_property(self.d.intern_atom("_NET_WM_NAME"), self.d.intern_atom("UTF8_STRING"), 8,
                                    title.encode("utf-8"))
        self.window.map()
        self.d.sync()
        self._keys = []
        wait_for("the decoder window mapped",
                 lambda: self.window.get_attributes().map_state == X.IsViewable)

    def keys(self):
        """The keys pressed in the window so far, as unshifted keysym names."""
        while self.d.pending_events():
            event = self.d.next_event()
            if event.type == X.KeyPress:
                self._keys.append(keysym_name(self.d.keycode_to_keysym(event.detail, 0)))
        return list(self._keys)

    def wait_keys(self, what, expected):
        try:
            return wait_for(what, lambda: self.keys() == expected)
        except AssertionError:
            raise AssertionError("%s: got %s" % (what, self.keys()))

    def close(self):
        self.window.destroy()
        self.d.close()


class FakeClock:
    """Moves the program's wall clock from outside: the program runs with the
    system's time-faking library, which reads the offset from a file at every
    time query; the monotonic clock, and with it every timer, stays real."""

    def __init__(self, folder):
        self.path = os.path.join(folder, "clock-offset")
        self.set_offset(0)

    def environment(self):
        libraries = glob.glob("/usr/lib/*/faketime/libfaketime.so.1")
        if not libraries:
            raise AssertionError("the time-faking library (Debian package faketime) is not installed")
        return {"LD_PRELOAD": libraries[0], "FAKETIME_TIMESTAMP_FILE": self.path, "FAKETIME_NO_CACHE": "1",
                "FAKETIME_DONT_FAKE_MONOTONIC": "1"}

    def set_offset(self, seconds):
        """Whole seconds, or a fraction of one to move the wall clock's
        second against the monotonic clock's."""
        # Written whole and renamed, so the program never reads half a line.
        with open(self.path + ".new", "w") as f:
            f.write(("%+d\n" if isinstance(seconds, int) else "%+.3f\n") % seconds)
        os.replace(self.path + ".new", self.path)


# ---- The accessibility bus ---------------------------------------------------

def accessible_app(pid):
    """The program of that process on the accessibility bus, once it is there."""
    desktop = pyatspi.Registry.getDesktop(0)
    for i in range(desktop.childCount):
        app = desktop.getChildAtIndex(i)
        try:
            if app is not None and app.get_process_id() == pid:
                return app
        except Exception:
            pass
    return None


def walk(node, depth=0):
    if node is None or depth > 40:
        return
    yield node
    for i in range(node.childCount):
        try:
            child = node.getChildAtIndex(i)
        except Exception:
            continue
        yield from walk(child, depth + 1)


def state_set(obj):
    return obj.getState()


def name_of(obj):
    obj.clear_cache()
    return obj.name


def is_checked(obj):
    obj.clear_cache()
    return state_set(obj).contains(pyatspi.STATE_CHECKED)


def is_showing(obj):
    obj.clear_cache()
    return state_set(obj).contains(pyatspi.STATE_SHOWING)


def text_of(obj):
    obj.clear_cache()
    text = obj.queryText()
    return text.getText(0, text.characterCount)


def do_action(obj, action_name):
    action = obj.queryAction()
    for i in range(action.nActions):
        if action.getName(i).lower() == action_name.lower():
            return action.doAction(i)
    raise AssertionError("%s has no action %s (has %s)" % (
        obj.name, action_name, [action.getName(i) for i in range(action.nActions)]))


def centre(obj):
    ext = obj.queryComponent().getExtents(pyatspi.DESKTOP_COORDS)
    return ext.x + ext.width // 2, ext.y + ext.height // 2


# ---- The program -------------------------------------------------------------

class Program:
    """The built program in a folder of its own: the program file, its
    settings file written beforehand, the schedule and the bulletin."""

    def __init__(self, binary, settings, schedule, bulletin):
        self.folder = tempfile.mkdtemp(prefix="drmquodra-system-")
        self.binary = os.path.join(self.folder, os.path.basename(binary))
        shutil.copy2(binary, self.binary)
        with open(self.path("DRMQuodra.ini"), "w", encoding="cp1252", newline="") as f:
            f.write(settings)
        with open(self.path("DRMSchedule.ini"), "w", encoding="cp1252", newline="") as f:
            f.write(schedule)
        shutil.copy2(bulletin, self.path("wwv.txt"))
        self.x = XServer()
        self.process = None
        self.window = None
        self.app = None

    def path(self, name):
        return os.path.join(self.folder, name)

    def environment(self, extra_env=None):
        """The environment of a start: on the X server, with accessibility on;
        extra_env changes it, a value None removes the variable."""
        env = dict(os.environ)
        env.update({"QT_QPA_PLATFORM": "xcb", "QT_LINUX_ACCESSIBILITY_ALWAYS_ON": "1",
                    "QT_ACCESSIBILITY": "1"})
        for key, value in (extra_env or {}).items():
            if value is None:
                env.pop(key, None)
            else:
                env[key] = value
        return env

    def start(self, extra_env=None, prefix=()):
        env = self.environment(extra_env)
        # The log file is written to the working folder, as when started from a file manager.
        self.process = subprocess.Popen(list(prefix) + [self.binary], cwd=self.folder, env=env)
        self.window = wait_for("the main window", lambda: self._main_window())
        self.app = wait_for("the program on the accessibility bus", self._accessible_app)
        self.frame = wait_for("the main window on the accessibility bus",
                              lambda: self.find(pyatspi.ROLE_FRAME, title_prefix="DRM Quodra 3.2"))
        return self

    def _main_window(self):
        self._check_running()
        for w in self.x.windows_of(self.process.pid):
            if self.x.title(w).startswith("DRM Quodra 3.2"):
                return w
        return None

    def _accessible_app(self):
        self._check_running()
        return accessible_app(self.process.pid)

    def _check_running(self):
        if self.process.poll() is not None:
            raise AssertionError("the program ended with code %d" % self.process.returncode)

    def title(self):
        return self.x.title(self.window)

    def x_window(self, title):
        """The program's top-level X window with this title, once it is shown."""
        def shown():
            self._check_running()
            for w in self.x.windows_of(self.process.pid):
                if self.x.title(w) == title:
                    return w
            return None
        return wait_for("the window " + title, shown)

    def find(self, role, name=None, title_prefix=None, within=None):
        for node in walk(within or self.app):
            try:
                if node.getRole() != role:
                    continue
                node_name = name_of(node)
            except Exception:
                continue
            if name is not None and node_name != name:
                continue
            if title_prefix is not None and not node_name.startswith(title_prefix):
                continue
            return node
        return None

    def control(self, role, name):
        return wait_for("control %r" % name, lambda: self.find(role, name, within=self.frame))

    def message_boxes(self):
        """Texts of the message boxes open now."""
        boxes = []
        for node in walk(self.app, 0):
            try:
                role = node.getRole()
            except Exception:
                continue
            if role in (pyatspi.ROLE_DIALOG, pyatspi.ROLE_ALERT) and is_showing(node):
                labels = [name_of(n) for n in walk(node) if n.getRole() == pyatspi.ROLE_LABEL]
                boxes.append(" / ".join(t for t in labels if t))
        return boxes

    def status_message(self):
        """The status bar's message, "" while it shows its panels."""
        for node in walk(self.frame):
            try:
                if node.getRole() == pyatspi.ROLE_STATUS_BAR:
                    return name_of(node)
            except Exception:
                continue
        return ""

    def assert_no_message_box(self):
        boxes = self.message_boxes()
        if boxes:
            raise AssertionError("message box open: %s" % boxes)

    def focus(self):
        self.x.focus(self.window)
        wait_for("the main window to be active",
                 lambda: self.frame.getState().contains(pyatspi.STATE_ACTIVE) or self._refresh_frame())

    def _refresh_frame(self):
        self.frame.clear_cache()
        return False

    def close(self, timeout=WAIT_SECONDS):
        """Closes the main window through the window manager's close message
        and waits for the program to end; returns its exit code."""
        self.x.close_window(self.window)
        try:
            return self.process.wait(timeout)
        except subprocess.TimeoutExpired:
            raise AssertionError("the program did not end after the close message")

    def kill(self):
        if self.process and self.process.poll() is None:
            self.process.kill()
            self.process.wait()

    def remove(self):
        self.kill()
        shutil.rmtree(self.folder, ignore_errors=True)

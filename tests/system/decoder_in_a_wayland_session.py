"""A listener in a Wayland session starts the program without choosing a Qt
platform: its window is an X11 top-level, found by its title. Start Log with
the decoder's window missing types no key anywhere and the status bar says how
to start the decoder so that it can be found. A platform the user chose is
kept."""

import os
import socket
import subprocess
import sys
import threading

import pyatspi
from Xlib import X

import quodra


class BrokenCompositor:
    """A Wayland socket whose compositor hangs up on every client: a program
    that picks the Wayland platform here ends instead of falling back to X11
    by itself, so only a program that asks for X11 opens a window."""

    def __init__(self, path):
        self.path = path
        self._server = socket.socket(socket.AF_UNIX, socket.SOCK_STREAM)
        self._server.bind(path)
        self._server.listen(8)
        self._server.settimeout(0.1)
        self._stop = False
        self._thread = threading.Thread(target=self._serve, daemon=True)
        self._thread.start()

    def _serve(self):
        while not self._stop:
            try:
                client, _ = self._server.accept()
                client.close()
            except OSError:
                pass

    def close(self):
        self._stop = True
        self._thread.join()
        self._server.close()


def focused_bystander(x):
    """Another program's window with the keyboard focus, listening for keys."""
    window = x.root.create_window(10, 10, 200, 100, 0, x.d.screen().root_depth,
                                  event_mask=X.KeyPressMask | X.KeyReleaseMask | X.StructureNotifyMask)
    window.set_wm_name("Bystander %d" % os.getpid())
    window.map()
    x.d.sync()
    quodra.wait_for("the bystander mapped", lambda: window.get_attributes().map_state == X.IsViewable)
    x.focus(window)
    return window


def keys_received(x, window):
    x.d.sync()
    count = 0
    while x.d.pending_events():
        event = x.d.next_event()
        if event.type in (X.KeyPress, X.KeyRelease) and event.window.id == window.id:
            count += 1
    return count


def main(binary, source_dir):
    settings = quodra.ini_text({"Settings": [("Update", "0"), ("Receiver", "3"), ("QRG", "6095"),
                                             ("Software RX", "1")]})
    program = quodra.Program(binary, settings, quodra.schedule_text([("Alpha", 6095, 10)]),
                             source_dir + "/data/wwv.txt")
    compositor = BrokenCompositor(program.path("wayland-0"))
    session = {"QT_QPA_PLATFORM": None, "WAYLAND_DISPLAY": compositor.path, "XDG_SESSION_TYPE": "wayland",
               "XDG_CURRENT_DESKTOP": "KDE", "XDG_SESSION_DESKTOP": None}
    try:
        # start() finds the main window by its title among the X server's windows.
        program.start(session)
        x = program.x
        bystander = focused_bystander(x)
        quodra.do_action(program.control(pyatspi.ROLE_PUSH_BUTTON, "Start Log"), "Press")
        hint = quodra.wait_for("the status text", program.status_message)
        assert hint.startswith("Decoder window not found") and "XWayland" in hint, hint
        assert keys_received(x, bystander) == 0, "keys reached the focused window"
        program.assert_no_message_box()
        assert program.close() == 0

        # A platform chosen by the user stays: no window on the X server.
        env = program.environment(dict(session, QT_QPA_PLATFORM="offscreen", QT_DEBUG_PLUGINS="1"))
        offscreen = subprocess.Popen([program.binary], cwd=program.folder, env=env, stderr=subprocess.PIPE,
                                     text=True, errors="replace")
        try:
            loaded = []
            reader = threading.Thread(target=lambda: loaded.extend(offscreen.stderr), daemon=True)
            reader.start()
            quodra.wait_for("the offscreen platform loaded",
                            lambda: any("platforms/libqoffscreen.so\" loaded library" in l for l in loaded))
            assert not any("platforms/libqxcb.so\" loaded library" in l for l in loaded)
            assert x.windows_of(offscreen.pid) == []
        finally:
            offscreen.kill()
            offscreen.wait()
    finally:
        program.remove()
        compositor.close()


if __name__ == "__main__":
    main(sys.argv[1], sys.argv[2])
    print("passed")

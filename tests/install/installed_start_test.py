#!/usr/bin/python3
"""The installed program as a listener meets it.

Installs the build into a temporary prefix, checks the tree a desktop needs
(menu entry, icons, AppStream data, samples, README), makes the prefix
read-only and starts the installed program twice on the X server with a fresh
HOME: the first start shows the sample schedule and writes its settings to
~/.config/drmquodra/ when the window manager closes it; the second start reads
a changed setting back. As root the program runs as "nobody", for whom the
read-only prefix really cannot be written.

Usage: installed_start_test.py BUILD_DIR
"""

import os
import pwd
import shutil
import struct
import subprocess
import sys
import tempfile
import time

SKIP = 77
APP_ID = "org.drmquodra.DRMQuodra"
CHANGED_QRG = "15230"
# Generous bounds: the machine may be busy with a whole test run.
START_BOUND = 90
CLOSE_BOUND = 60


def fail(text):
    print("FAIL: " + text, flush=True)
    sys.exit(1)


def check(condition, text):
    if not condition:
        fail(text)


def read_bytes(path):
    with open(path, "rb") as f:
        return f.read()


def png_size(path):
    data = read_bytes(path)
    check(data[:8] == b"\x89PNG\r\n\x1a\n", path + " is no PNG")
    return struct.unpack(">II", data[16:24])


def sample_programmes(schedule_path):
    names = set()
    for line in read_bytes(schedule_path).decode("cp1252").splitlines():
        if line.startswith("Programme="):
            names.add(line[len("Programme="):].strip())
    return names


def check_tree(prefix):
    share = os.path.join(prefix, "share")
    check(os.access(os.path.join(prefix, "bin", "drmquodra"), os.X_OK), "program not installed")
    desktop = read_bytes(os.path.join(share, "applications", APP_ID + ".desktop")).decode()
    entries = dict(line.split("=", 1) for line in desktop.splitlines() if "=" in line)
    check(entries.get("Name") == "DRM Quodra", "menu entry name: " + str(entries.get("Name")))
    categories = entries.get("Categories", "").split(";")
    check("HamRadio" in categories and "AudioVideo" in categories, "menu categories: " + str(categories))
    check(entries.get("Icon") == "drmquodra", "menu icon: " + str(entries.get("Icon")))
    icons = os.path.join(share, "icons", "hicolor")
    check(os.path.isfile(os.path.join(icons, "scalable", "apps", "drmquodra.svg")), "scalable icon missing")
    for size in (48, 256):
        png = os.path.join(icons, "%dx%d" % (size, size), "apps", "drmquodra.png")
        check(png_size(png) == (size, size), "icon %s has size %s" % (png, png_size(png)))
    metainfo = os.path.join(share, "metainfo", APP_ID + ".metainfo.xml")
    validation = subprocess.run(["appstreamcli", "validate", "--no-net", metainfo],
                                stdout=subprocess.PIPE, stderr=subprocess.STDOUT, text=True)
    check(validation.returncode == 0, "AppStream data rejected:\n" + validation.stdout)
    for sample in ("DRMSchedule.ini", "wwv.txt"):
        check(os.path.isfile(os.path.join(share, "drmquodra", sample)), sample + " sample missing")
    check(os.path.isfile(os.path.join(share, "doc", "drmquodra", "README.md")), "README missing")


def tree_listing(prefix):
    return sorted(os.path.join(folder, name) for folder, _, names in os.walk(prefix) for name in names)


def outer(build_dir):
    if not os.environ.get("DISPLAY"):
        print("no X server (DISPLAY unset)")
        return SKIP
    work = tempfile.mkdtemp(prefix="drmquodra-install-")
    try:
        os.chmod(work, 0o755)
        prefix = os.path.join(work, "prefix")
        subprocess.run(["cmake", "--install", build_dir, "--prefix", prefix], check=True,
                       stdout=subprocess.DEVNULL)
        check_tree(prefix)
        for folder, dirs, names in os.walk(prefix):
            for name in dirs + names:
                path = os.path.join(folder, name)
                os.chmod(path, os.stat(path).st_mode & ~0o222)
        os.chmod(prefix, 0o555)
        installed = tree_listing(prefix)

        home = os.path.join(work, "home")
        config = os.path.join(home, ".config", "drmquodra")
        os.makedirs(config)
        # Without a schedule server to reach, the start-up download stays off.
        with open(os.path.join(config, "DRMQuodra.ini"), "wb") as f:
            f.write(b"[Settings]\r\nUpdate=0\r\n")
        script = os.path.join(work, "session.py")
        shutil.copy(__file__, script)
        env = {k: v for k, v in os.environ.items() if k not in ("XDG_CONFIG_HOME", "XDG_RUNTIME_DIR")}
        env["HOME"] = home
        command = ["dbus-run-session", "--", "/usr/bin/python3", script, "--session", prefix]
        if os.geteuid() == 0:
            nobody = pwd.getpwnam("nobody")
            for folder, dirs, names in os.walk(home):
                for name in [folder] + [os.path.join(folder, n) for n in dirs + names]:
                    os.chown(name, nobody.pw_uid, nobody.pw_gid)
            if env.get("XAUTHORITY"):
                cookie = os.path.join(work, "Xauthority")
                shutil.copy(env["XAUTHORITY"], cookie)
                os.chown(cookie, nobody.pw_uid, nobody.pw_gid)
                env["XAUTHORITY"] = cookie
            command = ["setpriv", "--reuid=%d" % nobody.pw_uid, "--regid=%d" % nobody.pw_gid,
                       "--clear-groups"] + command
        log_path = os.path.join(work, "session.log")
        with open(log_path, "wb") as log:
            # Its own process group, so that helpers the session bus started
            # (the accessibility bus) end with it.
            session = subprocess.Popen(command, cwd=home, env=env, stdout=log, stderr=subprocess.STDOUT,
                                       start_new_session=True)
            try:
                rc = session.wait(timeout=2 * (START_BOUND + CLOSE_BOUND) + 60)
            except subprocess.TimeoutExpired:
                rc = "timeout"
            finally:
                try:
                    os.killpg(session.pid, 9)
                except ProcessLookupError:
                    pass
        sys.stdout.write(read_bytes(log_path).decode(errors="replace"))
        check(rc == 0, "session ended with " + str(rc))

        check(tree_listing(prefix) == installed, "the program wrote into its installed folder")
        check(read_bytes(os.path.join(config, "DRMSchedule.ini"))
              == read_bytes(os.path.join(prefix, "share", "drmquodra", "DRMSchedule.ini")),
              "sample schedule not copied byte for byte")
        check(os.path.isfile(os.path.join(config, "wwv.txt")), "sample bulletin not copied")
        print("PASS")
        return 0
    finally:
        for folder, dirs, _ in os.walk(work):
            for name in dirs:
                os.chmod(os.path.join(folder, name), 0o755)
        shutil.rmtree(work, ignore_errors=True)


# ---- The session: runs as the listener, inside its own D-Bus session. ----

def wait_for(what, probe, bound):
    deadline = time.monotonic() + bound
    while time.monotonic() < deadline:
        try:
            result = probe()
        except Exception:  # the accessibility tree changes while it is read
            result = None
        if result:
            return result
        time.sleep(0.5)
    fail("gave up waiting for " + what)


def accessible_nodes(node, depth=0):
    yield node
    if depth < 12:
        for i in range(node.childCount):
            child = node.getChildAtIndex(i)
            if child is not None:
                yield from accessible_nodes(child, depth + 1)


def program_window(pyatspi, pid):
    desktop = pyatspi.Registry.getDesktop(0)
    for i in range(desktop.childCount):
        app = desktop.getChildAtIndex(i)
        if app is not None and app.get_process_id() == pid:
            return app
    return None


def grid_rows(app):
    for node in accessible_nodes(app):
        if node.getRoleName() == "table":
            table = node.queryTable()
            rows = [[table.getAccessibleAt(r, c).name for c in range(table.nColumns)] for r in range(table.nRows)]
            return rows or None
    return None


def shows_text(app, text):
    for node in accessible_nodes(app):
        if node.getRoleName() == "text":
            value = node.queryText()
            if value.getText(0, -1) == text:
                return True
    return False


def close_by_window_manager(pid):
    """Sends WM_DELETE_WINDOW to the program's top-level window, as a window
    manager's close button does."""
    from Xlib import X, display, protocol
    d = display.Display()
    pid_atom = d.intern_atom("_NET_WM_PID")
    protocols = d.intern_atom("WM_PROTOCOLS")
    delete = d.intern_atom("WM_DELETE_WINDOW")

    # The running clock in the caption tells that the start-up is over and
    # the window takes events like any other.
    def main_window():
        for window in d.screen().root.query_tree().children:
            owner = window.get_full_property(pid_atom, X.AnyPropertyType)
            if owner and owner.value[0] == pid and window.get_attributes().map_state == X.IsViewable \
                    and delete in (window.get_wm_protocols() or []) and "UTC:" in (window.get_wm_name() or ""):
                return window
        return None

    window = wait_for("the program's window", main_window, START_BOUND)
    event = protocol.event.ClientMessage(window=window, client_type=protocols, data=(32, [delete, X.CurrentTime, 0, 0, 0]))
    window.send_event(event)
    d.sync()  # the request reaches the server before the connection closes
    d.close()


def run_program(prefix, look):
    import pyatspi
    env = dict(os.environ, QT_QPA_PLATFORM="xcb", QT_LINUX_ACCESSIBILITY_ALWAYS_ON="1")
    program = subprocess.Popen([os.path.join(prefix, "bin", "drmquodra")], env=env)
    try:
        app = wait_for("the program on the accessibility bus", lambda: program_window(pyatspi, program.pid),
                       START_BOUND)
        rows = wait_for("schedule rows in the grid", lambda: grid_rows(app), START_BOUND)
        look(app, rows)
        close_by_window_manager(program.pid)
        rc = program.wait(timeout=CLOSE_BOUND)
        check(rc == 0, "program ended with %d" % rc)
    finally:
        if program.poll() is None:
            program.kill()
            program.wait()


def session(prefix):
    home = os.environ["HOME"]
    config = os.path.join(home, ".config", "drmquodra")
    ini = os.path.join(config, "DRMQuodra.ini")
    programmes = sample_programmes(os.path.join(prefix, "share", "drmquodra", "DRMSchedule.ini"))

    def shows_sample(app, rows):
        shown = {row[0] for row in rows}
        check(shown <= programmes, "grid shows %s, not the sample's transmissions" % sorted(shown - programmes))

    run_program(prefix, shows_sample)
    written = read_bytes(ini).decode("cp1252")
    check("QRG=" in written and "[Presets]" in written, "settings not written at close:\n" + written)
    check("QRG=" + CHANGED_QRG + "\r\n" not in written, "the changed value is there before the change")
    lines = ["QRG=" + CHANGED_QRG if line.startswith("QRG=") else line for line in written.split("\r\n")]
    with open(ini, "wb") as f:
        f.write("\r\n".join(lines).encode("cp1252"))

    def shows_changed_setting(app, rows):
        shows_sample(app, rows)
        wait_for("the frequency field showing " + CHANGED_QRG, lambda: shows_text(app, CHANGED_QRG), START_BOUND)

    run_program(prefix, shows_changed_setting)
    check("QRG=" + CHANGED_QRG + "\r\n" in read_bytes(ini).decode("cp1252"), "setting not written back")
    return 0


if __name__ == "__main__":
    if len(sys.argv) == 3 and sys.argv[1] == "--session":
        sys.exit(session(sys.argv[2]))
    if len(sys.argv) != 2:
        print(__doc__)
        sys.exit(2)
    sys.exit(outer(os.path.abspath(sys.argv[1])))

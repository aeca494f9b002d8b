"""A listener installs the program's Debian package and starts it from the menu.

The package is built from the build folder and unpacked into a temporary
folder; its tree holds what a desktop needs (menu entry, icons, AppStream
data, samples, README) and its dependencies name the Debian packages of the
libraries the program uses. The tree is then made read-only and the installed program started twice with a fresh
HOME: the first start shows the sample schedule and, when the window manager
closes it, writes its settings to ~/.config/drmquodra/; the second start reads
a changed setting back. As root, the program runs as "nobody", for whom the
read-only prefix really cannot be written.

Usage: installed_program.py PROGRAM SOURCE_DIR (the program in its build folder)."""

import glob
import os
import pwd
import shutil
import struct
import subprocess
import sys
import tempfile

APP_ID = "org.drmquodra.DRMQuodra"
CHANGED_QRG = "15230"
WAIT_SECONDS = 60.0


def read_bytes(path):
    with open(path, "rb") as f:
        return f.read()


def png_size(path):
    data = read_bytes(path)
    assert data[:8] == b"\x89PNG\r\n\x1a\n", path + " is no PNG"
    return struct.unpack(">II", data[16:24])


def check_tree(prefix):
    share = os.path.join(prefix, "share")
    assert os.access(os.path.join(prefix, "bin", "drmquodra"), os.X_OK), "program not installed"
    desktop = read_bytes(os.path.join(share, "applications", APP_ID + ".desktop")).decode()
    entry = dict(line.split("=", 1) for line in desktop.splitlines() if "=" in line)
    assert entry.get("Name") == "DRM Quodra", "menu entry name: %r" % entry.get("Name")
    categories = entry.get("Categories", "").split(";")
    assert "HamRadio" in categories and "AudioVideo" in categories, "menu categories: %r" % categories
    assert entry.get("Icon") == "drmquodra", "menu icon: %r" % entry.get("Icon")
    icons = os.path.join(share, "icons", "hicolor")
    assert os.path.isfile(os.path.join(icons, "scalable", "apps", "drmquodra.svg")), "scalable icon missing"
    for size in (48, 256):
        png = os.path.join(icons, "%dx%d" % (size, size), "apps", "drmquodra.png")
        assert png_size(png) == (size, size), "%s is %r" % (png, png_size(png))
    metainfo = os.path.join(share, "metainfo", APP_ID + ".metainfo.xml")
    validation = subprocess.run(["appstreamcli", "validate", "--no-net", metainfo],
                                stdout=subprocess.PIPE, stderr=subprocess.STDOUT, text=True)
    assert validation.returncode == 0, "AppStream data rejected:\n" + validation.stdout
    for sample in ("DRMSchedule.ini", "wwv.txt"):
        assert os.path.isfile(os.path.join(share, "drmquodra", sample)), sample + " sample missing"
    assert os.path.isfile(os.path.join(share, "doc", "drmquodra", "README.md")), "README missing"


def install_package(build_dir, work):
    """Builds the package into work and unpacks it there; returns its prefix."""
    subprocess.run(["cpack", "-G", "DEB", "-B", os.path.join(work, "package")], cwd=build_dir, check=True,
                   stdout=subprocess.DEVNULL)
    package = glob.glob(os.path.join(work, "package", "drmquodra_*.deb"))
    assert len(package) == 1, "packages built: %r" % package
    fields = subprocess.run(["dpkg-deb", "--field", package[0], "Package", "Depends"], check=True,
                            stdout=subprocess.PIPE, text=True).stdout
    for needed in ("Package: drmquodra", "libqt6widgets6", "libqt6gui6", "libssl3", "libxtst6", "libc6"):
        assert needed in fields, "%s missing from the package's control fields:\n%s" % (needed, fields)
    root = os.path.join(work, "root")
    subprocess.run(["dpkg-deb", "--extract", package[0], root], check=True)
    return os.path.join(root, "usr")


def tree_listing(folder):
    return sorted(os.path.join(parent, name) for parent, _, names in os.walk(folder) for name in names)


def set_writable(folder, writable):
    for parent, dirs, names in os.walk(folder):
        for path in [parent] + [os.path.join(parent, n) for n in dirs + names]:
            mode = os.lstat(path).st_mode
            os.chmod(path, mode | 0o200 if writable else mode & ~0o222)


def main(program, source_dir):
    work = tempfile.mkdtemp(prefix="drmquodra-install-")
    try:
        os.chmod(work, 0o755)
        prefix = install_package(os.path.dirname(program), work)
        check_tree(prefix)
        set_writable(prefix, False)
        installed = tree_listing(prefix)

        home = os.path.join(work, "home")
        config = os.path.join(home, ".config", "drmquodra")
        os.makedirs(config)
        # There is no schedule server to reach, so the start-up download stays off.
        with open(os.path.join(config, "DRMQuodra.ini"), "wb") as f:
            f.write(b"[Settings]\r\nUpdate=0\r\n")
        # The listener's side runs from copies it can read whoever it is.
        for script in (__file__, os.path.join(source_dir, "tests", "system", "quodra.py")):
            shutil.copy(script, work)
        env = {k: v for k, v in os.environ.items() if k not in ("XDG_CONFIG_HOME", "XDG_RUNTIME_DIR")}
        env["HOME"] = home
        command = ["dbus-run-session", "--", sys.executable, os.path.join(work, os.path.basename(__file__)),
                   "--listener", prefix]
        if os.geteuid() == 0:
            nobody = pwd.getpwnam("nobody")
            for parent, dirs, names in os.walk(home):
                for path in [parent] + [os.path.join(parent, n) for n in dirs + names]:
                    os.chown(path, nobody.pw_uid, nobody.pw_gid)
            if env.get("XAUTHORITY"):
                cookie = os.path.join(work, "Xauthority")
                shutil.copy(env["XAUTHORITY"], cookie)
                os.chown(cookie, nobody.pw_uid, nobody.pw_gid)
                env["XAUTHORITY"] = cookie
            command = ["setpriv", "--reuid=%d" % nobody.pw_uid, "--regid=%d" % nobody.pw_gid,
                       "--clear-groups"] + command
        # A process group of its own, so that the buses its session started end with it.
        listener = subprocess.Popen(command, cwd=home, env=env, start_new_session=True)
        try:
            code = listener.wait(timeout=4 * WAIT_SECONDS)
        except subprocess.TimeoutExpired:
            code = "a time-out"
        finally:
            try:
                os.killpg(listener.pid, 9)
            except ProcessLookupError:
                pass
        assert code == 0, "the listener's session ended with %s" % code

        assert tree_listing(prefix) == installed, "the program wrote into its installed folder"
        assert read_bytes(os.path.join(config, "DRMSchedule.ini")) == \
            read_bytes(os.path.join(prefix, "share", "drmquodra", "DRMSchedule.ini")), "sample schedule not copied"
        assert os.path.isfile(os.path.join(config, "wwv.txt")), "sample bulletin not copied"
    finally:
        set_writable(work, True)
        shutil.rmtree(work, ignore_errors=True)


# ---- The listener's side: its own user, HOME and session bus ----------------

def use_own_accessibility_bus():
    """Asks this session for its accessibility bus, which starts it and
    announces it on the X server for the program. The reader takes the address
    as given: it might otherwise read the announcement an earlier session left
    on the shared X server, whose socket is gone with that session's HOME."""
    from gi.repository import Gio
    bus = Gio.bus_get_sync(Gio.BusType.SESSION, None)
    reply = bus.call_sync("org.a11y.Bus", "/org/a11y/bus", "org.a11y.Bus", "GetAddress", None, None,
                          Gio.DBusCallFlags.NONE, int(WAIT_SECONDS * 1000), None)
    os.environ["AT_SPI_BUS_ADDRESS"] = reply.unpack()[0]


def grid_rows(app):
    """The texts of the schedule grid's rows."""
    for node in quodra.walk(app):
        if node.getRole() == pyatspi.ROLE_TABLE:
            table = node.queryTable()
            return [[table.getAccessibleAt(r, c).name for c in range(table.nColumns)] for r in range(table.nRows)]
    return None


def shows_text(app, text):
    return any(node.getRole() == pyatspi.ROLE_TEXT and quodra.text_of(node) == text for node in quodra.walk(app))


def tolerant(condition):
    """The accessibility tree changes while it is read; a read that fails
    counts as not yet."""
    def attempt():
        try:
            return condition()
        except Exception:
            return None
    return attempt


def start_and_close(prefix, look):
    x = quodra.XServer()
    env = dict(os.environ, QT_QPA_PLATFORM="xcb", QT_LINUX_ACCESSIBILITY_ALWAYS_ON="1")
    # The program finds the bus as on a desktop (given the address, it stays off it).
    env.pop("AT_SPI_BUS_ADDRESS")
    process = subprocess.Popen([os.path.join(prefix, "bin", "drmquodra")], env=env)
    try:
        app = quodra.wait_for("the program on the accessibility bus",
                              tolerant(lambda: quodra.accessible_app(process.pid)), WAIT_SECONDS)
        look(app)
        # The clock in the caption tells that the start-up is over.
        window = quodra.wait_for("the main window with its clock", lambda: next(
            (w for w in x.windows_of(process.pid) if "UTC:" in x.title(w)), None), WAIT_SECONDS)
        x.close_window(window)
        assert process.wait(WAIT_SECONDS) == 0, "the program ended with %d" % process.returncode
    finally:
        if process.poll() is None:
            process.kill()
            process.wait()


def listener(prefix):
    config = os.path.join(os.environ["HOME"], ".config", "drmquodra")
    ini = os.path.join(config, "DRMQuodra.ini")
    sample = read_bytes(os.path.join(prefix, "share", "drmquodra", "DRMSchedule.ini")).decode("cp1252")
    programmes = {line.split("=", 1)[1].strip() for line in sample.splitlines() if line.startswith("Programme=")}

    def shows_sample(app):
        rows = quodra.wait_for("rows in the schedule grid", tolerant(lambda: grid_rows(app)), WAIT_SECONDS)
        shown = {row[0] for row in rows}
        assert shown <= programmes, "the grid shows %s, not the sample" % sorted(shown - programmes)

    start_and_close(prefix, shows_sample)
    written = read_bytes(ini).decode("cp1252")
    assert "QRG=" in written and "[Presets]" in written, "settings not written at close:\n" + written
    assert "QRG=" + CHANGED_QRG + "\r\n" not in written
    lines = ["QRG=" + CHANGED_QRG if line.startswith("QRG=") else line for line in written.split("\r\n")]
    with open(ini, "wb") as f:
        f.write("\r\n".join(lines).encode("cp1252"))

    def shows_changed_setting(app):
        shows_sample(app)
        quodra.wait_for("the frequency field showing " + CHANGED_QRG,
                        tolerant(lambda: shows_text(app, CHANGED_QRG)), WAIT_SECONDS)

    start_and_close(prefix, shows_changed_setting)
    assert "QRG=" + CHANGED_QRG + "\r\n" in read_bytes(ini).decode("cp1252"), "setting not written back"


if __name__ == "__main__":
    if sys.argv[1] == "--listener":
        use_own_accessibility_bus()
        import pyatspi
        import quodra
        listener(sys.argv[2])
    else:
        main(sys.argv[1], sys.argv[2])

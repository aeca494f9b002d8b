"""A listener on a June evening in 2026 ticks "Update": the built program
fetches EiBi's and HFCC's season files over HTTPS from a local server
(trusted as the system's store would trust it), the grid lists RNZ Pacific
on 7425 kHz once, named by both lists; a right-click on the update panel
opens "Schedule sources", EiBi is switched off by its accessibility toggle
and "Update now" pressed the same way; the grid then names HFCC alone and
closing keeps the choice in the settings file."""

import calendar
import http.server
import os
import shutil
import ssl
import subprocess
import tempfile
import threading
import time

import pyatspi

import quodra


class ListServer:
    """The season's files over HTTPS on 127.0.0.1, with a certificate made for it."""

    def __init__(self, shared):
        self.folder = tempfile.mkdtemp(prefix="drmquodra-lists-")
        os.makedirs(os.path.join(self.folder, "dx"))
        os.makedirs(os.path.join(self.folder, "data", "a26"))
        shutil.copy2(os.path.join(shared, "sked-a26.csv"), os.path.join(self.folder, "dx"))
        shutil.copy2(os.path.join(shared, "a26allx2.zip"), os.path.join(self.folder, "data", "a26"))
        self.certificate = os.path.join(self.folder, "server.pem")
        key = os.path.join(self.folder, "server.key")
        # Made valid from before the program's faked June day until well after today.
        subprocess.run(["faketime", "2026-06-01 00:00:00", "openssl", "req", "-x509", "-newkey", "rsa:2048",
                        "-nodes", "-days", "1000",
                        "-subj", "/CN=127.0.0.1", "-addext", "subjectAltName=IP:127.0.0.1",
                        "-keyout", key, "-out", self.certificate], check=True, capture_output=True)
        folder = self.folder

        class Handler(http.server.SimpleHTTPRequestHandler):
            def __init__(self, *args, **kwargs):
                super().__init__(*args, directory=folder, **kwargs)

            def log_message(self, *args):
                pass

        self.server = http.server.ThreadingHTTPServer(("127.0.0.1", 0), Handler)
        context = ssl.SSLContext(ssl.PROTOCOL_TLS_SERVER)
        context.load_cert_chain(self.certificate, key)
        self.server.socket = context.wrap_socket(self.server.socket, server_side=True)
        threading.Thread(target=self.server.serve_forever, daemon=True).start()

    def url(self, path):
        return "https://127.0.0.1:%d%s" % (self.server.server_address[1], path)

    def close(self):
        self.server.shutdown()
        shutil.rmtree(self.folder, ignore_errors=True)


def main(binary, source_dir):
    lists = ListServer(os.path.join(source_dir, "..", "shared", "data", "schedules"))
    settings = quodra.ini_text({
        "Settings": [("Update", "1"), ("Low Power", "1"), ("Preview", "0"), ("Schedule sources", "eibi,hfcc"),
                     ("EiBi URL", lists.url("/dx/")), ("HFCC URL", lists.url("/data/")),
                     ("Bulletin URL", lists.url("/wwv.txt"))],
    })
    program = quodra.Program(binary, settings, quodra.schedule_text([("Sample", 6095, 100)]),
                             source_dir + "/data/wwv.txt")
    clock = quodra.FakeClock(program.folder)
    # Friday 12 June 2026, 17:00:30 UTC.
    clock.set_offset(calendar.timegm((2026, 6, 12, 17, 0, 30)) - int(time.time()))
    try:
        program.start(dict(clock.environment(), SSL_CERT_FILE=lists.certificate))
        program.focus()
        panel = quodra.wait_for("the update panel", lambda: next(
            (n for n in quodra.walk(program.frame)
             if n.getRole() == pyatspi.ROLE_LABEL and quodra.name_of(n).startswith("Update: ")), None))
        try:
            quodra.wait_for("the lists merged", lambda: quodra.name_of(panel).startswith("Update: 2 sources, "))
        except AssertionError:
            raise AssertionError("panel 0 says " + quodra.name_of(panel))

        grid = program.control(pyatspi.ROLE_TABLE, "Schedule")
        table = grid.queryTable()

        def rows_on(khz):
            grid.clear_cache()
            found = []
            for r in range(table.nRows):
                if quodra.name_of(table.getAccessibleAt(r, 2)) == khz:
                    found.append([quodra.name_of(table.getAccessibleAt(r, c)) for c in range(table.nColumns)])
            return found

        rnz = quodra.wait_for("RNZ Pacific listed", lambda: rows_on("7425"))
        assert len(rnz) == 1, rnz
        assert rnz[0][:8] == ["Radio New Zealand", "1645-2000", "7425", "35", "61S,62,63W", "Rangitaiki",
                              "New Zealand", "English"], rnz
        assert rnz[0][-1] == "HFCC EiBi", rnz

        program.x.click(*quodra.centre(panel), button=3)
        program.x_window("Schedule sources")
        dialog = quodra.wait_for("the sources window on the bus",
                                 lambda: program.find(pyatspi.ROLE_DIALOG, "Schedule sources") or
                                 program.find(pyatspi.ROLE_FRAME, "Schedule sources"))
        eibi = quodra.wait_for("EiBi's switch", lambda: program.find(pyatspi.ROLE_CHECK_BOX, "EiBi enabled", within=dialog))
        assert quodra.is_checked(eibi)
        quodra.do_action(eibi, "Toggle")
        quodra.wait_for("EiBi switched off", lambda: not quodra.is_checked(eibi))
        quodra.do_action(program.find(pyatspi.ROLE_PUSH_BUTTON, "Update now", within=dialog), "Press")
        quodra.wait_for("HFCC alone", lambda: quodra.name_of(panel).startswith("Update: 1 source, "))
        quodra.wait_for("RNZ Pacific named by HFCC alone", lambda: [r[-1] for r in rows_on("7425")] == ["HFCC"])
        quodra.do_action(program.find(pyatspi.ROLE_PUSH_BUTTON, "Close", within=dialog), "Press")
        quodra.wait_for("the sources window closed", lambda: not quodra.is_showing(dialog))
        program.assert_no_message_box()

        assert program.close() == 0
        saved = quodra.read_ini(program.path("DRMQuodra.ini"))["Settings"]
        assert saved["Schedule sources"] == "hfcc", saved
        with open(program.path("DRMSchedule-EiBi.csv"), "rb") as kept, \
                open(os.path.join(lists.folder, "dx", "sked-a26.csv"), "rb") as served:
            assert kept.read() == served.read(), "EiBi's copy not kept byte for byte"
    finally:
        program.remove()
        lists.close()


if __name__ == "__main__":
    quodra.run(main)

"""A Dream user connects an AOR7030 through the accessibility action (Dream
is told nothing), starts the reception log with a click, logs two minutes and
stops it with Alt+L, then closes the window: Dream's evaluation window gets
plain Alt+L at the start and at the stop and no other key (its files cannot
be read here, so the toggle is sent without looking), no error box comes up,
the log file holds the header, two minute lines and the closing lines, and
the receiver its connect, level and idle bytes."""

import re

import pyatspi

import quodra

ALT_L = ["Alt_L", "l"]


def main(binary, source_dir):
    rx = quodra.SimReceiver(reply=lambda _all, data: b"\x40" * data.count(b"q"))
    settings = quodra.ini_text({
        "Settings": [("Update", "0"), ("Receiver", "0"), ("COM Port", "0"), ("QRG", "6095"), ("RXL Log", "1"),
                     ("Software RX", "1"), ("Preview", "0")],
        "Ports": [("COM1", rx.path)],
    })
    program = quodra.Program(binary, settings, quodra.schedule_text([("Alpha", 6095, 100)]),
                             source_dir + "/data/wwv.txt")
    clock = quodra.FakeClock(program.folder)
    dream = quodra.DecoderWindow("System Evaluation")
    try:
        program.start(extra_env=clock.environment())
        connect = program.control(pyatspi.ROLE_CHECK_BOX, "Connect")
        quodra.do_action(connect, "Toggle")
        # The receiver is connected and polled without a clock tick reading
        # the port in between.
        rx.wait_received("the connect byte and level requests", lambda b: b.startswith(b"\x81") and b"P3Oq" in b)
        program.assert_no_message_box()

        program.focus()
        start = program.control(pyatspi.ROLE_PUSH_BUTTON, "Start Log")
        program.x.click(*quodra.centre(start))
        # Nothing came at the connect: the start's Alt+L is the first key.
        dream.wait_keys("Dream's start keys", ALT_L)
        logged = program.control(pyatspi.ROLE_LABEL, "Logged: 0 min")
        # The program's window comes back to the front with the focus.
        quodra.wait_for("the main window active again", lambda: program.x.has_focus(program.window))

        for minute in (1, 2):
            clock.set_offset(60 * minute)
            quodra.wait_for("minute %d logged" % minute, lambda: quodra.name_of(logged) == "Logged: %d min" % minute)
        program.x.key("l", modifiers=("Alt_L",))
        dream.wait_keys("Dream's stop keys", ALT_L + ALT_L)
        quodra.wait_for("Start Log enabled again", lambda: start.clear_cache() or
                        start.getState().contains(pyatspi.STATE_ENABLED))
        program.assert_no_message_box()

        sent_before_close = len(rx.received())
        assert program.close() == 0
        rx.wait_received("the idle byte at close", lambda b: len(b) > sent_before_close and b.endswith(b"\x80"))

        with open(program.path("DRMQuodra.log"), encoding="cp1252", newline="") as f:
            log = f.read()
        pattern = (r"\r\n>>>>\r\nDRM Quodra\r\nStarttime \(UTC\)  \d{4}-\d\d-\d\d \d\d:\d\d:\d\d\r\n"
                   r"Frequency        6095 kHz\r\nReceiver         AOR7030\r\n\r\n"
                   r"MINUTE  RXL    Longitude   Latitude\r\n  0000 +(-?\d+)\r\n  0001 +(-?\d+)\r\n"
                   r"\r\nRXL min: (-?[\d.]+), max: (-?[\d.]+)\r\n<<<<\r\n")
        match = re.fullmatch(pattern, log)
        assert match, "log file:\n" + log
        # The receiver reported one level all along.
        assert match.group(1) == match.group(2) and match.group(3) == match.group(4), log
    finally:
        program.remove()
        dream.close()
        rx.close()


if __name__ == "__main__":
    quodra.run(main)

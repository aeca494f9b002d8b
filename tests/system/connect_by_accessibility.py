"""A screen-reader user connects an AOR7030 through the accessible "Toggle"
action of "Connect", reads the status bar, disconnects the same way and
closes the window: the receiver gets its connect, level and idle bytes and
the settings come back as they were read."""

import re

import pyatspi

import quodra


def main(binary, source_dir):
    # The AOR7030 answers each level request with one byte.
    rx = quodra.SimReceiver(reply=lambda _all, data: b"\x40" * data.count(b"q"))
    settings = quodra.ini_text({
        "Settings": [("Update", "0"), ("Receiver", "0"), ("COM Port", "0"), ("QRG", "6095"),
                     ("Elektor XTAL", "125000"), ("Preview span", "1440"), ("DRT1 1st IF", "107000"),
                     ("Elektor IF", "10700.5"),
                     # Without the preview the span is not evaluated, so it stays as stored.
                     ("Preview", "0")],
        "Ports": [("COM1", rx.path)],
    })
    program = quodra.Program(binary, settings, quodra.schedule_text([("Alpha", 6095, 10), ("Beta", 15440, 100)]),
                             source_dir + "/data/wwv.txt")
    try:
        program.start()
        # The title is the caption with its clock, nothing appended.
        quodra.wait_for("the clock caption", lambda: re.fullmatch(
            r"DRM Quodra 3\.2 by R\. Vandelm {18}UTC: \d\d:\d\d:\d\d", program.title()))
        connect = program.control(pyatspi.ROLE_CHECK_BOX, "Connect")
        quodra.do_action(connect, "Toggle")
        quodra.wait_for("Connect ticked", lambda: quodra.is_checked(connect))
        rx.wait_received("the connect byte", lambda b: b.startswith(b"\x81"))
        # The clock asks for the level every second once connected.
        rx.wait_received("two level requests", lambda b: b.count(b"P3Oq") >= 2)
        program.assert_no_message_box()
        # The level box shows, without the DWT's "LIF:" line.
        quodra.wait_for("the level box", lambda: quodra.is_showing(
            program.control(pyatspi.ROLE_PANEL, "[dB\u00b5V]")))
        lif = program.find(pyatspi.ROLE_LABEL, "LIF:12000", within=program.frame)
        assert lif is None or not quodra.is_showing(lif), "LIF shown for an AOR7030"

        # The AUX volume bar runs from 0 at the top to 100 (quietest) at the
        # bottom: Up after Alt+A moves it up, to 95, and sends that level.
        program.focus()
        program.x.key("a", modifiers=("Alt_L",))
        aux = program.control(pyatspi.ROLE_SLIDER, "AUX Volume")
        quodra.wait_for("the AUX bar focused", lambda: aux.clear_cache() or
                        aux.getState().contains(pyatspi.STATE_FOCUSED))
        program.x.key("Up")
        rx.wait_received("the AUX level for 95", lambda b: b"P2D1m$" in b)
        assert aux.queryValue().currentValue == 95, aux.queryValue().currentValue

        # The status bar reads as it shows.
        quodra.wait_for("panel All: 2", lambda: program.find(pyatspi.ROLE_LABEL, "All: 2", within=program.frame))

        quodra.do_action(connect, "Toggle")
        quodra.wait_for("Connect unticked", lambda: not quodra.is_checked(connect))
        rx.wait_received("the disconnect byte", lambda b: b.endswith(b"\x80"))

        # Alt+S connects and disconnects again, the handler running once each time.
        mark = len(rx.received())
        program.x.key("s", modifiers=("Alt_L",))
        quodra.wait_for("Connect ticked by Alt+S", lambda: quodra.is_checked(connect))
        rx.wait_received("level requests after Alt+S", lambda b: b"P3Oq" in b[mark:])
        assert rx.received()[mark:].count(b"\x81") == 1, rx.received()[mark:]
        mark = len(rx.received())
        program.x.key("s", modifiers=("Alt_L",))
        quodra.wait_for("Connect unticked by Alt+S", lambda: not quodra.is_checked(connect))

        assert program.close() == 0
        # The disconnect, then the idle byte of the close, as a serial receiver was used.
        rx.wait_received("the disconnect and idle bytes", lambda b: b[mark:].count(b"\x80") >= 2)
        assert rx.received()[mark:].count(b"\x80") == 2, rx.received()[mark:]
        stored = quodra.read_ini(program.path("DRMQuodra.ini"))["Settings"]
        for key, value in [("Elektor XTAL", "125000"), ("Preview span", "1440"), ("DRT1 1st IF", "107000"),
                           ("Elektor IF", "10700.5"), ("QRG", "6095"), ("Receiver", "0")]:
            assert stored[key] == value, "%s came back as %r" % (key, stored[key])
    finally:
        program.remove()
        rx.close()


if __name__ == "__main__":
    quodra.run(main)

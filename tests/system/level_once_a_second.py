"""A TS-850 user connects with Alt+S and watches the level: while the
caption's clock counts ten seconds the receiver gets one level request a
second, and the level box shows what it answers. The wall clock's seconds
begin 30 ms before the monotonic clock's, where the timers of the window
system like to fire early: a timer aimed just past a wall-clock second then
fires just before it."""

import re
import time

import pyatspi

import quodra


def main(binary, source_dir):
    # The TS-850 answers each "SM;" with an S-meter reading of 15: 34 dBuV.
    rx = quodra.SimReceiver(reply=lambda _all, data: b"SM0015;" * data.count(b"SM;"))
    settings = quodra.ini_text({
        "Settings": [("Update", "0"), ("Receiver", "17"), ("COM Port", "0"), ("QRG", "6095"), ("Preview", "0")],
        "Ports": [("COM1", rx.path)],
    })
    program = quodra.Program(binary, settings, quodra.schedule_text([("Alpha", 6095, 100)]),
                             source_dir + "/data/wwv.txt")
    clock = quodra.FakeClock(program.folder)
    phase = (time.clock_gettime(time.CLOCK_REALTIME) - time.clock_gettime(time.CLOCK_MONOTONIC)) % 1.0
    clock.set_offset((0.970 - phase) % 1.0)

    def caption_second():
        """The caption's clock in seconds of the day, None before it runs."""
        match = re.search(r"UTC: (\d\d):(\d\d):(\d\d)$", program.title())
        return int(match[1]) * 3600 + int(match[2]) * 60 + int(match[3]) if match else None

    def requests():
        return rx.received().count(b"SM;")

    try:
        program.start(extra_env=clock.environment())
        program.focus()
        program.x.key("s", modifiers=("Alt_L",))
        connect = program.control(pyatspi.ROLE_CHECK_BOX, "Connect")
        quodra.wait_for("Connect ticked by Alt+S", lambda: quodra.is_checked(connect))
        rx.wait_received("the first level request", lambda b: b"SM;" in b)
        program.control(pyatspi.ROLE_LABEL, "34")

        # From one change of the caption's second until it shows ten seconds
        # later (or more, should this poll fall behind on a loaded machine).
        def second_after(start, seconds):
            now = caption_second()
            return [now] if (now - start) % 86400 >= seconds else None

        shown = caption_second()
        [first] = quodra.wait_for("the caption's next second", lambda: second_after(shown, 1), interval=0.02)
        at_first = requests()
        [last] = quodra.wait_for("ten seconds on the caption", lambda: second_after(first, 10), interval=0.02)
        sent = requests() - at_first
        elapsed = (last - first) % 86400
        print("%d level requests in %d s" % (sent, elapsed))
        assert elapsed - 1 <= sent <= elapsed + 1
        program.assert_no_message_box()
        assert program.close() == 0
    finally:
        program.remove()
        rx.close()


if __name__ == "__main__":
    quodra.run(main)

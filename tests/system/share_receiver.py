"""A listener shares the TS-850 that DRM Quodra holds: Hamlib's rigctl (the
NET rigctl model 2, as Dream and loggers use it) tunes it and reads the
frequency and the level back, two clients work at once, a client that sends
garbage and one that is killed mid-line cost nothing, and while a log runs
a tuning is refused without a dialog. The box's tooltip counts the clients."""

import socket
import subprocess
import time

import pyatspi

import quodra


def free_port():
    with socket.socket() as s:
        s.bind(("127.0.0.1", 0))
        return s.getsockname()[1]


def ts850(received, data):
    """Answers every S-meter request with 20 x 4 - 26 = 54 dBuV."""
    return b"SM0020;" * data.count(b"SM;")


def tunings(sent):
    """The frequencies of the TS-850 commands ("FA" + 11 digits of Hz + ";"), in kHz. A
    frequency the schedule lists is sent twice (choosing its row tunes
    again, as for every tuning), so repeats count once."""
    tuned = []
    for chunk in sent.split(b";"):
        if chunk.startswith(b"FA") and len(chunk) == 13 and tuned[-1:] != [int(chunk[2:13]) // 1000]:
            tuned.append(int(chunk[2:13]) // 1000)
    return tuned


def rigctl(port, *commands):
    """One run of Debian's rigctl against the program: what it printed, and
    its complaints (rigctl ends with 0 also when a command failed)."""
    done = subprocess.run(["rigctl", "-m", "2", "-r", "127.0.0.1:%d" % port] + list(commands),
                          capture_output=True, text=True, timeout=60)
    assert done.returncode == 0, done.stderr
    return done.stdout, done.stderr


class Session:
    """rigctl reading commands from its standard input: one client that stays connected."""

    def __init__(self, port):
        self.process = subprocess.Popen(["rigctl", "-m", "2", "-r", "127.0.0.1:%d" % port, "-"],
                                        stdin=subprocess.PIPE, stdout=subprocess.PIPE, text=True, bufsize=1)

    def tell(self, command):
        """A setting command; rigctl repeats it without ending the line."""
        self.process.stdin.write(command + "\n")
        self.process.stdin.flush()

    def ask(self, command):
        """What rigctl prints for a reading command after repeating it ("f 6095000")."""
        self.tell(command)
        while True:
            line = self.process.stdout.readline()
            assert line, "rigctl ended"
            if line.startswith(command + " "):
                return line[len(command):].strip()

    def end(self):
        self.process.stdin.close()
        self.process.wait(30)


def main(binary, source_dir):
    rx = quodra.SimReceiver(reply=ts850)
    port = free_port()
    settings = quodra.ini_text({
        "Settings": [("Update", "0"), ("Receiver", "17"), ("COM Port", "0"), ("QRG", "6095"),
                     ("Share receiver", "1"), ("Share port", str(port))],
        "Ports": [("COM1", rx.path)],
    })
    schedule = quodra.schedule_text([("Alpha", 6095, 100), ("Beta", 7300, 100)])
    program = quodra.Program(binary, settings, schedule, source_dir + "/data/wwv.txt")
    try:
        program.start()
        share = program.control(pyatspi.ROLE_CHECK_BOX, "Share receiver")
        assert quodra.is_checked(share)
        connect = program.control(pyatspi.ROLE_CHECK_BOX, "Connect")
        quodra.do_action(connect, "Toggle")
        quodra.wait_for("Connect ticked", lambda: quodra.is_checked(connect))

        # Tune and read back; the level is the shown one, relative to S9.
        assert rigctl(port, "F", "7300000") == ("", "")
        rx.wait_received("the tuning to 7300 kHz", lambda b: tunings(b) == [7300])
        field = program.control(pyatspi.ROLE_TEXT, "7300")
        assert rigctl(port, "f") == ("7300000\n", "")
        quodra.wait_for("the level 54 dBuV shown", lambda: program.find(pyatspi.ROLE_LABEL, "54"))
        assert rigctl(port, "l", "STRENGTH") == ("20\n", "")

        # Two clients at once: one tunes, the other reads it; the tooltip counts both.
        first, second = Session(port), Session(port)
        assert first.ask("f") == "7300000"
        assert second.ask("f") == "7300000"
        quodra.wait_for("two clients in the tooltip",
                        lambda: share.clear_cache() or "2 clients connected" in share.description)
        first.tell("F 6095000")
        rx.wait_received("the tuning back to 6095 kHz", lambda b: tunings(b) == [7300, 6095])
        # Hamlib's client keeps a frequency it read for a moment before asking again.
        quodra.wait_for("the other client reading 6095 kHz", lambda: second.ask("f") == "6095000")

        # Garbage, a flood of one endless line and a killed client cost nothing.
        with socket.create_connection(("127.0.0.1", port)) as garbage:
            garbage.sendall(b"\x00\xff\xfe nonsense\n" + b"x" * 200000 + b"\nf\n")
            garbage.settimeout(30)
            answer = b""
            while not answer.endswith(b"6095000\n"):
                chunk = garbage.recv(4096)
                assert chunk, answer
                answer += chunk
            assert answer == b"RPRT -11\nRPRT -1\n6095000\n", answer
        half = socket.create_connection(("127.0.0.1", port))
        half.sendall(b"F 99")
        killed = Session(port)
        assert killed.ask("f") == "6095000"
        killed.process.kill()
        killed.process.wait()
        half.close()
        assert second.ask("l STRENGTH") == "20"
        assert first.ask("f") == "6095000"
        first.end()
        second.end()
        quodra.wait_for("no client in the tooltip",
                        lambda: share.clear_cache() or "0 clients connected" in share.description)
        assert tunings(rx.received()) == [7300, 6095]
        # The clock went on all along.
        title = program.title()
        quodra.wait_for("the clock ticking", lambda: program.title() != title)

        # While a log runs a client's tuning is refused and no dialog opens.
        program.focus()
        program.x.key("l", ["Alt_L"])
        stop = program.control(pyatspi.ROLE_PUSH_BUTTON, "Stop Log")
        quodra.wait_for("the log running", lambda: stop.getState().contains(pyatspi.STATE_ENABLED) or
                        stop.clear_cache())
        printed, complaint = rigctl(port, "F", "7300000")
        assert "rejected" in printed + complaint, (printed, complaint)
        assert rigctl(port, "f") == ("6095000\n", "")
        program.assert_no_message_box()
        assert all(program.x.title(w) != "Attention!" for w in program.x.windows_of(program.process.pid))
        assert tunings(rx.received()) == [7300, 6095]
        assert quodra.text_of(field) == "6095"

        assert program.close() == 0
        saved = quodra.read_ini(program.path("DRMQuodra.ini"))["Settings"]
        assert (saved["Share receiver"], saved["Share port"], saved["Share address"]) == ("1", str(port), "127.0.0.1")
    finally:
        program.remove()
        rx.close()


if __name__ == "__main__":
    quodra.run(main)

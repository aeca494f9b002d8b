"""A Dream user with Dream's main window open (its evaluation window not)
clicks Start Log and later stops the log with Alt+L: Dream's log goes on and
off as its files show, Dream's main window gets Alt+E and nothing else, its
evaluation window Alt+L and nothing else, the program's window has the focus
again after each, and nothing is reported."""

import os
import shutil
import subprocess
import tempfile
import time

import pyatspi

import quodra


def read(path):
    try:
        with open(path, encoding="utf-8") as f:
            return f.read()
    except FileNotFoundError:
        return ""


class StandInDream:
    """The stand-in Dream built with the tests, in a folder of its own."""

    def __init__(self, x):
        self.folder = tempfile.mkdtemp(prefix="drmquodra-dream-")
        env = dict(os.environ, QT_QPA_PLATFORM="xcb")
        self.process = subprocess.Popen([os.environ["DRMQ_STANDIN_DREAM"]], cwd=self.folder, env=env)
        quodra.wait_for("Dream's main window", lambda: any(x.title(w) == "Dream" for w in x.windows_of(self.process.pid)))

    def keys(self):
        return read(os.path.join(self.folder, "keys.txt"))

    def wait_keys(self, what, expected):
        try:
            quodra.wait_for(what, lambda: self.keys() == expected)
        except AssertionError:
            raise AssertionError("%s: Dream got %r" % (what, self.keys()))

    def logging(self):
        """Dream's per-second log was written within the last two seconds."""
        try:
            return time.time() - os.stat(os.path.join(self.folder, "DreamLogLong.csv")).st_mtime < 2.0
        except FileNotFoundError:
            return False

    def minute_log(self):
        return read(os.path.join(self.folder, "DreamLog.txt"))

    def close(self):
        self.process.kill()
        self.process.wait()
        shutil.rmtree(self.folder, ignore_errors=True)


def main(binary, source_dir):
    settings = quodra.ini_text({"Settings": [("Update", "0"), ("QRG", "6095"), ("Software RX", "1")]})
    program = quodra.Program(binary, settings, quodra.schedule_text([("Alpha", 6095, 100)]),
                             source_dir + "/data/wwv.txt")
    dream = StandInDream(program.x)
    try:
        program.start()
        program.focus()
        start = program.control(pyatspi.ROLE_PUSH_BUTTON, "Start Log")
        program.x.click(*quodra.centre(start))
        dream.wait_keys("Dream's start keys", "Dream: Alt+E\nSystem Evaluation: Alt+L\n")
        quodra.wait_for("Dream logging", dream.logging)
        quodra.wait_for("the main window active again", lambda: program.x.has_focus(program.window))

        program.x.key("l", modifiers=("Alt_L",))
        dream.wait_keys("Dream's stop keys", "Dream: Alt+E\nSystem Evaluation: Alt+L\nSystem Evaluation: Alt+L\n")
        quodra.wait_for("Dream's log closed", lambda: dream.minute_log().endswith("<<<<\n\n"))
        quodra.wait_for("the main window active again", lambda: program.x.has_focus(program.window))
        quodra.wait_for("Start Log enabled again", lambda: start.clear_cache() or
                        start.getState().contains(pyatspi.STATE_ENABLED))
        assert "Dream" not in program.status_message(), program.status_message()
        program.assert_no_message_box()
        assert program.close() == 0
    finally:
        program.remove()
        dream.close()


if __name__ == "__main__":
    quodra.run(main)

"""A mouse-and-keyboard user connects an NRD535 with a click on "Connect",
tunes by clicking schedule rows and with the arrow keys, tries what must
not retune (typing in the grid, Tab, the middle button, Ctrl+click, a right
press on the header row that opens the colours dialog) and closes the
window: the port carries exactly the tunings asked for and the settings
file the last frequency."""


import pyatspi

import quodra


def tunings(sent):
    """The NRD535 frequency commands ("F" + kHz in five digits + "000" CR), in order."""
    return [int(chunk[1:6]) for chunk in sent.split(b"\r") if chunk.startswith(b"F") and len(chunk) == 9]


def main(binary, source_dir):
    rx = quodra.SimReceiver()
    settings = quodra.ini_text({
        "Settings": [("Update", "0"), ("Receiver", "14"), ("COM Port", "0"), ("QRG", "6095"), ("Step", "2"),
                     ("Preview", "0")],
        "Ports": [("COM1", rx.path)],
    })
    schedule = quodra.schedule_text([("Alpha", 6095, 100), ("Beta", 15440, 100), ("Gamma", 9999, 100)])
    program = quodra.Program(binary, settings, schedule, source_dir + "/data/wwv.txt")
    try:
        program.start()
        program.focus()
        # The first clock tick evaluates the schedule and selects the tuned row.
        program.control(pyatspi.ROLE_LABEL, "Air: 3")
        connect = program.control(pyatspi.ROLE_CHECK_BOX, "Connect")
        program.x.click(*quodra.centre(connect))
        quodra.wait_for("Connect ticked by the click", lambda: quodra.is_checked(connect))
        rx.wait_received("the NRD535 set-up", lambda b: b == b"H1\rD4\r")

        grid = program.control(pyatspi.ROLE_TABLE, "Schedule")
        table = grid.queryTable()
        quodra.wait_for("three rows", lambda: table.nRows == 3)

        def cell(row, column=0):
            return table.getAccessibleAt(row, column)

        def selected_rows():
            grid.clear_cache()
            return [r for r in range(table.nRows) if table.isRowSelected(r)]

        # A click on a row tunes to it.
        program.x.click(*quodra.centre(cell(0)))
        rx.wait_received("the tuning to Alpha", lambda b: tunings(b) == [6095])
        # A typed letter must not jump to "Gamma"; Down then moves one row on.
        program.x.type("g")
        program.x.key("Down")
        rx.wait_received("the tuning to Beta", lambda b: tunings(b)[-1:] == [15440])
        assert tunings(rx.received()) == [6095, 15440], tunings(rx.received())

        # The middle button and Ctrl+click leave the tuned row highlighted; a
        # right press on the header row opens the colours dialog.
        program.x.click(*quodra.centre(cell(2)), button=2)
        program.x.key_down("Control_L")
        program.x.click(*quodra.centre(cell(1)))
        program.x.key_up("Control_L")
        ext = grid.queryComponent().getExtents(pyatspi.DESKTOP_COORDS)
        program.x.click(ext.x + 20, ext.y + 8, button=3)
        colours = program.x_window("Schedule Color Settings")
        program.x.close_window(colours)
        quodra.wait_for("the colours dialog closed",
                        lambda: not program.x.windows_of(program.process.pid) or
                        all(program.x.title(w) != "Schedule Color Settings"
                            for w in program.x.windows_of(program.process.pid)))
        assert selected_rows() == [1], selected_rows()
        # Ctrl+click was a plain click: one more tuning to Beta.
        rx.wait_received("the Ctrl+click tuning", lambda b: tunings(b) == [6095, 15440, 15440])

        # Tab leaves the grid (the click that puts the focus there tunes again).
        program.focus()
        program.x.click(*quodra.centre(cell(1)))
        quodra.wait_for("the grid focused", lambda: grid.getState().contains(pyatspi.STATE_FOCUSED) or
                        grid.clear_cache())
        program.x.key("Tab")
        quodra.wait_for("the focus out of the grid",
                        lambda: grid.clear_cache() or not grid.getState().contains(pyatspi.STATE_FOCUSED))

        # The right arrow in the frequency field steps up and leaves the caret.
        field = program.control(pyatspi.ROLE_TEXT, "15440")
        program.x.click(*quodra.centre(field))
        quodra.wait_for("the field focused", lambda: field.clear_cache() or
                        field.getState().contains(pyatspi.STATE_FOCUSED))
        field.queryText().setCaretOffset(2)
        program.x.key("Right")
        rx.wait_received("the step up", lambda b: tunings(b)[-1:] == [15445])
        quodra.wait_for("the field named after its new text", lambda: quodra.name_of(field) == "15445")
        assert field.queryText().caretOffset == 2, field.queryText().caretOffset
        program.assert_no_message_box()

        assert program.close() == 0
        assert tunings(rx.received()) == [6095, 15440, 15440, 15440, 15445], tunings(rx.received())
        assert quodra.read_ini(program.path("DRMQuodra.ini"))["Settings"]["QRG"] == "15445"
    finally:
        program.remove()
        rx.close()


if __name__ == "__main__":
    quodra.run(main)

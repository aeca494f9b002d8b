// Driving another program as a user would: FindWindow and ActivateWindow by title,
// SendKeys into the focused window (X11; without an X display all do nothing). UI thread.
#pragma once

#include <QString>

#include <functional>

namespace drmq {

// Brings the first matching top-level window to the front (exact title
// first, then a case-insensitive title prefix) and waits up to 500 ms for it
// to get the keyboard focus; true when one was found and has the focus.
bool ActivateWindow(const QString &title);
// Whether a top-level window matches the title (as ActivateWindow looks for
// it), its full title, and the working folder of the process that shows it:
// empty when the window names no process or the folder cannot be read.
// Nothing is raised.
struct TFoundWindow {
    bool Found = false;
    QString Folder;
    QString Title;
};
TFoundWindow FindWindow(const QString &title);

// The window the last successful ActivateWindow found (an X window id), 0 if none.
unsigned long LastActivatedWindow();

// Types a key string into the window that has the keyboard focus. With
// wait, the program's own pending events are processed after every key
// event (the caller decides what may run then). True when a non-empty string was sent to its end.
bool SendKeys(const QString &keys, bool wait);

// Where the key-string errors go: a message box captioned "SendKeys" unless
// replaced (tests record them). An empty function restores the box.
void SetSendKeysMessageBox(std::function<void(const QString &caption, const QString &text)> show);

} // namespace drmq

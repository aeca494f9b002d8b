// Typed keys for widget tests: key presses delivered through the application
// (so event filters and parent propagation apply as for real typing). UI thread.
#pragma once

#include <QString>
#include <QWidget>

namespace drmq::test {

// One key press and release; text is what the key types, if anything.
void PressKey(QWidget *target, int key, const QString &text = {});
// Types each character as its own key press.
void TypeText(QWidget *target, const QString &text);

} // namespace drmq::test

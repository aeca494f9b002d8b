#include "support/TuningKeys.h"

#include <QApplication>
#include <QKeyEvent>

namespace drmq::test {

void PressKey(QWidget *target, int key, const QString &text) {
    QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier, text);
    QApplication::sendEvent(target, &press);
    QKeyEvent release(QEvent::KeyRelease, key, Qt::NoModifier, text);
    QApplication::sendEvent(target, &release);
}

void TypeText(QWidget *target, const QString &text) {
    for (const QChar c : text) PressKey(target, QKeySequence(QString(c))[0].key(), QString(c));
}

} // namespace drmq::test

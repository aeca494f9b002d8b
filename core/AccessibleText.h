// Accessible names of text fields and lists: a screen reader names them by
// what they hold, kept in step with every change. UI thread.
#pragma once

class QComboBox;
class QLineEdit;
class QString;

namespace drmq {

void NameAfterText(QLineEdit *field);
// The chosen item's text; nameWhenEmpty while nothing is chosen (otherwise a
// screen reader would borrow the caption of the surrounding group).
void NameAfterChoice(QComboBox *list, const QString &nameWhenEmpty);

} // namespace drmq

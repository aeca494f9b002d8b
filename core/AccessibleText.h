// Accessible names of text fields: a screen reader names a field by what it
// holds, kept in step with every change of its text. UI thread.
#pragma once

class QLineEdit;

namespace drmq {

void NameAfterText(QLineEdit *field);

} // namespace drmq

#include "core/AccessibleText.h"

#include <QLineEdit>

namespace drmq {

void NameAfterText(QLineEdit *field) {
    field->setAccessibleName(field->text());
    QObject::connect(field, &QLineEdit::textChanged, field, [field](const QString &text) {
        field->setAccessibleName(text);
    });
}

} // namespace drmq

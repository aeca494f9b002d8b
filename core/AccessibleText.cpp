#include "core/AccessibleText.h"

#include <QComboBox>
#include <QLineEdit>

namespace drmq {

void NameAfterText(QLineEdit *field) {
    field->setAccessibleName(field->text());
    QObject::connect(field, &QLineEdit::textChanged, field, [field](const QString &text) {
        field->setAccessibleName(text);
    });
}

void NameAfterChoice(QComboBox *list, const QString &nameWhenEmpty) {
    auto follow = [list, nameWhenEmpty](const QString &text) {
        list->setAccessibleName(text.isEmpty() ? nameWhenEmpty : text);
    };
    follow(list->currentText());
    QObject::connect(list, &QComboBox::currentTextChanged, list, follow);
}

} // namespace drmq

#include "app/RadioGroup.h"

#include <QVBoxLayout>

namespace drmq {

TRadioGroup::TRadioGroup(const QString &caption, const QStringList &items, QWidget *parent)
    : QGroupBox(caption, parent) {
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(4, 2, 4, 2);
    layout->setSpacing(0);
    for (int i = 0; i < items.size(); ++i) {
        auto *button = new QRadioButton(items[i], this);
        group_.addButton(button, i);
        layout->addWidget(button);
        buttons_.push_back(button);
    }
    connect(&group_, &QButtonGroup::idToggled, this, [this](int id, bool checked) {
        if (checked) emit ItemChanged(id);
    });
}

int TRadioGroup::ItemIndex() const {
    return group_.checkedId();
}

void TRadioGroup::SetItemIndex(int index) {
    if (index >= 0 && index < buttons_.size()) {
        buttons_[index]->setChecked(true);
        return;
    }
    group_.setExclusive(false);
    for (auto *b : buttons_) b->setChecked(false);
    group_.setExclusive(true);
}

} // namespace drmq

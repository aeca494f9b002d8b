#include "tuning/PresetsDialog.h"

#include "core/AccessibleText.h"
#include "core/TypedLengthLimit.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QVBoxLayout>

namespace drmq {

TForm2::TForm2(const std::array<QPushButton *, kRows> &presets, QLineEdit *frequencyField, QWidget *parent)
    : QDialog(parent), presets_(presets), frequencyField_(frequencyField) {
    setWindowTitle("Presets Settings");
    setWindowFlags(Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                   Qt::WindowCloseButtonHint);

    auto *box = new QGroupBox("Presets", this);
    auto *grid = new QGridLayout(box);
    for (int row = 0; row < kRows; ++row) {
        const auto r = static_cast<size_t>(row);
        grid->addWidget(new QLabel(QString::number(row + 1), box), row, 0);

        memtext[r] = new QLineEdit(box);
        memtext[r]->setObjectName(QString("memtext%1").arg(row + 1));
        memtext[r]->setAccessibleDescription(QString("Preset %1").arg(row + 1));
        NameAfterText(memtext[r]);
        if (row < kShortRows) memtext[r]->setValidator(new TTypedLengthLimit(kShortRowLength, memtext[r]));
        grid->addWidget(memtext[r], row, 1);

        grid->addWidget(new QLabel("kHz", box), row, 2);

        auto *button = new QPushButton("Get Frequency", box);
        button->setObjectName(row == 0 ? QString("MemButt1") : QString("Button%1").arg(row));
        // Enter in a field must not press a "Get Frequency" button.
        button->setAutoDefault(false);
        connect(button, &QPushButton::clicked, this, [this, row] { GetFrequencyClick(row); });
        grid->addWidget(button, row, 3);
        if (row == 0) MemButt1 = button;
        else Button[r - 1] = button;
    }

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(box);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    FormCreate();
}

void TForm2::FormCreate() {
    for (size_t i = 0; i < kRows; ++i) memtext[i]->setText(presets_[i]->text());
}

void TForm2::FormClose() {
    // No cancel: closing always applies the fields, unchecked.
    for (size_t i = 0; i < kRows; ++i) presets_[i]->setText(memtext[i]->text());
}

void TForm2::done(int result) {
    FormClose();
    QDialog::done(result);
}

void TForm2::GetFrequencyClick(int row) {
    memtext[static_cast<size_t>(row)]->setText(frequencyField_->text());
}

} // namespace drmq

#include "schedule/ColorsDialog.h"

#include "core/DesignScale.h"

#include <QShowEvent>

namespace drmq {

namespace {
const char *const kSampleTexts[3] = {"Deutsche Welle", "France Culture", "Radio Paradiso"};
// In the order of TColorSlot: background and text of each row.
const char *const kButtonTexts[csCount] = {"Active Color",  "Active Text",   "On Air Color",
                                           "On Air Text",   "Preview Color", "Preview Text"};
} // namespace

TForm3::TForm3(TScheduleColors &colors, QWidget *parent) : QDialog(parent), colors_(colors) {
    setWindowTitle("Schedule Color Settings");
    setWindowFlags(Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                   Qt::WindowCloseButtonHint);

    GroupBox1 = new QGroupBox("Color Settings", this);
    GroupBox1->setGeometry(8, 8, 302, 162);
    for (int row = 0; row < 3; ++row) {
        const int top = 24 + row * 46;
        QLabel *sample = new QLabel(kSampleTexts[row], GroupBox1);
        sample->setGeometry(10, top, 100, 24);
        sample->setAlignment(Qt::AlignCenter);
        sample->setAutoFillBackground(true);
        Sample[static_cast<size_t>(row)] = sample;
        for (int side = 0; side < 2; ++side) {
            const int slot = row * 2 + side;
            auto *button = new QPushButton(kButtonTexts[slot], GroupBox1);
            button->setGeometry(118 + side * 90, top, 84, 25);
            connect(button, &QPushButton::clicked, this, [this, slot] { ColorButtonClick(slot); });
            ColorButton[static_cast<size_t>(slot)] = button;

            auto *picker = new QColorDialog(this);
            picker->setWindowTitle(kButtonTexts[slot]);
            pickerColors_[static_cast<size_t>(slot)] = ToQColor(colors_[static_cast<size_t>(slot)]);
            picker->setCurrentColor(pickerColors_[static_cast<size_t>(slot)]);
            ColorDialog[static_cast<size_t>(slot)] = picker;
        }
        ShowSample(row);
    }

    // The design sizes grow with the font, so that no text is cut.
    const TDesignScale scale = TDesignScale::ForFont(font());
    setFixedSize(scale(318), scale(178));
    scale.ScaleChildren(this);
}

void TForm3::ColorButtonClick(int slot) {
    const auto i = static_cast<size_t>(slot);
    QColorDialog *picker = ColorDialog.at(i);
    picker->setCurrentColor(pickerColors_[i]);
    if (picker->exec() != QDialog::Accepted) return;
    pickerColors_[i] = picker->selectedColor();
    colors_[i] = FromQColor(pickerColors_[i]);
    ShowSample(slot / 2);
}

void TForm3::ShowSample(int row) {
    QLabel *sample = Sample.at(static_cast<size_t>(row));
    QPalette palette = sample->palette();
    const QColor background = ToQColor(colors_[static_cast<size_t>(row * 2)]);
    const QColor text = ToQColor(colors_[static_cast<size_t>(row * 2 + 1)]);
    if (background.isValid()) palette.setColor(QPalette::Window, background);
    if (text.isValid()) palette.setColor(QPalette::WindowText, text);
    sample->setPalette(palette);
}

void TForm3::showEvent(QShowEvent *event) {
    if (parentWidget()) {
        const QRect owner = parentWidget()->frameGeometry();
        move(owner.center() - rect().center());
    }
    QDialog::showEvent(event);
}

} // namespace drmq

// TForm3: the "Schedule Color Settings" dialog: three sample labels and six
// buttons, each with its own colour picker, that set the grid colours. UI thread.
#pragma once

#include "schedule/Colors.h"

#include <QColorDialog>
#include <QDialog>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>

#include <array>

namespace drmq {

class TForm3 : public QDialog {
    Q_OBJECT
public:
    // The colours are the main window's; a confirmed pick changes them at once.
    TForm3(TScheduleColors &colors, QWidget *parent = nullptr);

    // Opens the picker of a colour (TColorSlot) and takes a confirmed choice.
    void ColorButtonClick(int slot);

    QGroupBox *GroupBox1 = nullptr;        // "Color Settings"
    std::array<QLabel *, 3> Sample{};      // "Deutsche Welle", "France Culture", "Radio Paradiso"
    std::array<QPushButton *, csCount> ColorButton{};
    std::array<QColorDialog *, csCount> ColorDialog{};

protected:
    void showEvent(QShowEvent *event) override;

private:
    void ShowSample(int row);

    TScheduleColors &colors_;
    // The colour each picker last confirmed; it opens with it again.
    std::array<QColor, csCount> pickerColors_{};
};

} // namespace drmq

// TForm2: the "Presets Settings" dialog, where the ten preset captions of the
// main window are edited; closing it always applies the fields. UI thread.
#pragma once

#include <QDialog>
#include <QLineEdit>
#include <QPushButton>

#include <array>

namespace drmq {

class TForm2 : public QDialog {
    Q_OBJECT
public:
    static constexpr int kRows = 10;
    // Rows 1 to 7 take at most this many typed characters.
    static constexpr int kShortRows = 7;
    static constexpr int kShortRowLength = 5;

    // presets: the main window's preset buttons Mem1..Mem10, whose captions
    // are the presets; frequencyField: its frequency field Edit1.
    TForm2(const std::array<QPushButton *, kRows> &presets, QLineEdit *frequencyField, QWidget *parent = nullptr);

    // memtext1..memtext10, and the "Get Frequency" buttons of the rows.
    std::array<QLineEdit *, kRows> memtext{};
    QPushButton *MemButt1 = nullptr;
    std::array<QPushButton *, kRows - 1> Button{}; // Button1 .. Button9 (rows 2 to 10)

    // The "Get Frequency" button of a row (0-based).
    QPushButton *GetFrequencyButton(int row) const { return row == 0 ? MemButt1 : Button[static_cast<size_t>(row - 1)]; }

    // Every way of closing the dialog ends here (close box, Escape, done()).
    void done(int result) override;

private:
    void FormCreate();
    void FormClose();
    void GetFrequencyClick(int row);

    std::array<QPushButton *, kRows> presets_;
    QLineEdit *frequencyField_;
};

} // namespace drmq

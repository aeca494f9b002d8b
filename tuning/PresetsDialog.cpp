#include "tuning/PresetsDialog.h"

namespace drmq {

TForm2::TForm2(QWidget *parent) : QDialog(parent) {
    setWindowTitle("Presets Settings");
    setFixedSize(300, 320);
}

} // namespace drmq

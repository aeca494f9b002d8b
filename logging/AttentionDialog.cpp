#include "logging/AttentionDialog.h"

namespace drmq {

TForm4::TForm4(QWidget *parent) : QDialog(parent) {
    setWindowTitle("Attention!");
    setFixedSize(340, 140);
}

} // namespace drmq

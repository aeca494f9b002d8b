#include "schedule/ColorsDialog.h"

namespace drmq {

TForm3::TForm3(QWidget *parent) : QDialog(parent) {
    setWindowTitle("Schedule Color Settings");
    setFixedSize(300, 200);
}

} // namespace drmq

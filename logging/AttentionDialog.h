// TForm4: the "Attention!" dialog of the main window. UI thread.
#pragma once

#include <QDialog>

namespace drmq {

class TForm4 : public QDialog {
    Q_OBJECT
public:
    explicit TForm4(QWidget *parent = nullptr);
};

} // namespace drmq

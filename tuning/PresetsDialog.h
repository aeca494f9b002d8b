// TForm2: the "Presets Settings" dialog of the main window. UI thread.
#pragma once

#include <QDialog>

namespace drmq {

class TForm2 : public QDialog {
    Q_OBJECT
public:
    explicit TForm2(QWidget *parent = nullptr);
};

} // namespace drmq

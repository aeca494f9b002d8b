// TForm3: the "Schedule Color Settings" dialog of the main window. UI thread.
#pragma once

#include <QDialog>

namespace drmq {

class TForm3 : public QDialog {
    Q_OBJECT
public:
    explicit TForm3(QWidget *parent = nullptr);
};

} // namespace drmq

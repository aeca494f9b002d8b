// THamlibDialog: chooses the Hamlib rig model (from Hamlib's own list, filtered
// by typing), its port, serial speed and mode. UI thread.
#pragma once

#include "rig/HamlibModels.h"
#include "rig/HamlibRig.h"

#include <QComboBox>
#include <QDialog>
#include <QDialogButtonBox>
#include <QLineEdit>
#include <QTableWidget>

#include <vector>

namespace drmq {

class THamlibDialog : public QDialog {
    Q_OBJECT
public:
    explicit THamlibDialog(QWidget *parent = nullptr);

    // Shows the dialog with these settings; true and the new settings on OK.
    bool Edit(THamlibSettings &settings);

    void SetSettings(const THamlibSettings &settings);
    // The settings as the controls hold them; the model stays as set when no row is chosen.
    THamlibSettings Settings() const;
    // Hides the models that do not match the search text.
    void ApplyFilter();

    QLineEdit *Search = nullptr;
    QTableWidget *Models = nullptr;
    QLineEdit *Port = nullptr;
    QComboBox *Speed = nullptr;
    QComboBox *Mode = nullptr;
    QDialogButtonBox *Buttons = nullptr;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void FillModels();
    void SelectModel(int number);

    std::vector<THamlibModel> models_;
    int model_ = 2;
};

} // namespace drmq

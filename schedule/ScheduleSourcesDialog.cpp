#include "schedule/ScheduleSourcesDialog.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QVBoxLayout>

namespace drmq {

TScheduleSourcesDialog::TScheduleSourcesDialog(QWidget *parent) : QDialog(parent) {
    setWindowTitle("Schedule sources");
    auto *grid = new QGridLayout;
    const char *headers[] = {"Source", "URL", "Last update", "DRM entries", "Last failure"};
    for (int c = 0; c < 5; ++c) {
        auto *header = new QLabel(headers[c], this);
        QFont bold = header->font();
        bold.setBold(true);
        header->setFont(bold);
        grid->addWidget(header, 0, c);
    }
    for (int r = 0; r < kRows; ++r) {
        const size_t i = static_cast<size_t>(r);
        Enabled[i] = new QCheckBox(this);
        Url[i] = new QLineEdit(this);
        Url[i]->setMinimumWidth(fontMetrics().horizontalAdvance(QString(48, 'x')));
        LastSuccess[i] = new QLabel(this);
        Entries[i] = new QLabel(this);
        LastFailure[i] = new QLabel(this);
        QWidget *cells[] = {Enabled[i], Url[i], LastSuccess[i], Entries[i], LastFailure[i]};
        for (int c = 0; c < 5; ++c) grid->addWidget(cells[c], r + 1, c);
        connect(Enabled[i], &QCheckBox::toggled, this, [this, r] { Changed(r); });
        connect(Url[i], &QLineEdit::editingFinished, this, [this, r] { Changed(r); });
    }
    UpdateButton = new QPushButton("Update now", this);
    CloseButton = new QPushButton("Close", this);
    connect(UpdateButton, &QPushButton::clicked, this, [this] {
        if (UpdateNow) UpdateNow();
    });
    connect(CloseButton, &QPushButton::clicked, this, &QDialog::close);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(UpdateButton);
    buttons->addWidget(CloseButton);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(grid);
    layout->addLayout(buttons);
}

void TScheduleSourcesDialog::ShowRows(const std::array<TSourceRow, kRows> &rows) {
    for (size_t i = 0; i < rows.size(); ++i) {
        const TSourceRow &row = rows[i];
        const QSignalBlocker quiet(Enabled[i]);
        Enabled[i]->setText(row.Name);
        Enabled[i]->setAccessibleName(row.Name + " enabled");
        Enabled[i]->setChecked(row.Enabled);
        if (!Url[i]->hasFocus()) Url[i]->setText(row.Url);
        Url[i]->setAccessibleName(row.Name + " URL");
        LastSuccess[i]->setText(row.LastSuccess);
        LastSuccess[i]->setAccessibleName(row.Name + " last update");
        Entries[i]->setText(row.Entries);
        Entries[i]->setAccessibleName(row.Name + " DRM entries");
        LastFailure[i]->setText(row.LastFailure);
        LastFailure[i]->setAccessibleName(row.Name + " last failure");
    }
    adjustSize();
}

void TScheduleSourcesDialog::Changed(int row) {
    const size_t i = static_cast<size_t>(row);
    if (SourceChanged) SourceChanged(row, Enabled[i]->isChecked(), Url[i]->text());
}

} // namespace drmq

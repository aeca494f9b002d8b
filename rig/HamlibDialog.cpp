#include "rig/HamlibDialog.h"

#include <QFormLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QVBoxLayout>

namespace drmq {

namespace {
const int kSpeeds[] = {0, 1200, 2400, 4800, 9600, 19200, 38400, 57600, 115200};
const char *const kModes[] = {"AM", "SAM", "AMS", "DSB", "USB", "LSB", "CW", "FM"};
enum TModelColumn { mcMaker, mcModel, mcNumber, mcCount };

QString SpeedText(int speed) {
    return speed == 0 ? QString("Model's own") : QString::number(speed);
}
} // namespace

THamlibDialog::THamlibDialog(QWidget *parent) : QDialog(parent) {
    setWindowTitle("Hamlib settings");
    auto *layout = new QVBoxLayout(this);

    Search = new QLineEdit(this);
    Search->setPlaceholderText("Type to filter: maker, model or number");
    Search->setClearButtonEnabled(true);
    auto *searchLabel = new QLabel("&Search:", this);
    searchLabel->setBuddy(Search);
    Models = new QTableWidget(0, mcCount, this);
    Models->setHorizontalHeaderLabels({"Maker", "Model", "Number"});
    Models->setAccessibleName("Rig model");
    Models->setSelectionBehavior(QAbstractItemView::SelectRows);
    Models->setSelectionMode(QAbstractItemView::SingleSelection);
    Models->setEditTriggers(QAbstractItemView::NoEditTriggers);
    Models->setTabKeyNavigation(false);
    Models->verticalHeader()->hide();
    Models->horizontalHeader()->setStretchLastSection(true);
    Models->installEventFilter(this);
    auto *modelLabel = new QLabel("&Rig model:", this);
    modelLabel->setBuddy(Models);

    Port = new QLineEdit(this);
    Port->setPlaceholderText("/dev/serial/by-id/... or host:port");
    Speed = new QComboBox(this);
    for (int speed : kSpeeds) Speed->addItem(SpeedText(speed), speed);
    Mode = new QComboBox(this);
    Mode->setEditable(true);
    for (const char *mode : kModes) Mode->addItem(mode);
    auto *form = new QFormLayout;
    form->addRow("&Port:", Port);
    form->addRow("S&peed:", Speed);
    form->addRow("M&ode:", Mode);

    Buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(Buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(Buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(Search, &QLineEdit::textChanged, this, [this] { ApplyFilter(); });

    layout->addWidget(searchLabel);
    layout->addWidget(Search);
    layout->addWidget(modelLabel);
    layout->addWidget(Models, 1);
    layout->addLayout(form);
    layout->addWidget(Buttons);
    resize(460, 420);
}

void THamlibDialog::FillModels() {
    if (!models_.empty()) return;
    models_ = HamlibModels();
    Models->setRowCount(static_cast<int>(models_.size()));
    for (int row = 0; row < Models->rowCount(); ++row) {
        const THamlibModel &m = models_[static_cast<size_t>(row)];
        Models->setItem(row, mcMaker, new QTableWidgetItem(QString::fromStdString(m.Maker)));
        Models->setItem(row, mcModel, new QTableWidgetItem(QString::fromStdString(m.Name)));
        Models->setItem(row, mcNumber, new QTableWidgetItem(QString::number(m.Number)));
    }
    Models->resizeColumnsToContents();
}

void THamlibDialog::SelectModel(int number) {
    for (int row = 0; row < Models->rowCount(); ++row) {
        if (models_[static_cast<size_t>(row)].Number != number) continue;
        Models->selectRow(row);
        Models->scrollToItem(Models->item(row, mcMaker), QAbstractItemView::PositionAtCenter);
        return;
    }
    Models->clearSelection();
}

void THamlibDialog::SetSettings(const THamlibSettings &settings) {
    FillModels();
    model_ = settings.Model;
    Search->clear();
    SelectModel(settings.Model);
    Port->setText(QString::fromStdString(settings.Port));
    int speed = Speed->findData(settings.Speed);
    if (speed < 0) {
        Speed->addItem(SpeedText(settings.Speed), settings.Speed);
        speed = Speed->count() - 1;
    }
    Speed->setCurrentIndex(speed);
    Mode->setCurrentText(QString::fromStdString(settings.Mode));
}

THamlibSettings THamlibDialog::Settings() const {
    THamlibSettings settings;
    settings.Model = model_;
    const QList<QTableWidgetItem *> chosen = Models->selectedItems();
    if (!chosen.isEmpty() && !Models->isRowHidden(chosen.front()->row()))
        settings.Model = models_[static_cast<size_t>(chosen.front()->row())].Number;
    settings.Port = Port->text().trimmed().toStdString();
    settings.Speed = Speed->currentData().toInt();
    settings.Mode = Mode->currentText().trimmed().toUpper().toStdString();
    return settings;
}

void THamlibDialog::ApplyFilter() {
    const std::string filter = Search->text().toStdString();
    int firstShown = -1;
    for (int row = 0; row < Models->rowCount(); ++row) {
        const bool shown = ModelMatches(models_[static_cast<size_t>(row)], filter);
        Models->setRowHidden(row, !shown);
        if (shown && firstShown < 0) firstShown = row;
    }
    // The choice follows the filter, so OK takes a model the user can see.
    const QList<QTableWidgetItem *> chosen = Models->selectedItems();
    if ((chosen.isEmpty() || Models->isRowHidden(chosen.front()->row())) && firstShown >= 0) Models->selectRow(firstShown);
}

bool THamlibDialog::Edit(THamlibSettings &settings) {
    SetSettings(settings);
    Search->setFocus();
    if (exec() != QDialog::Accepted) return false;
    settings = Settings();
    return true;
}

bool THamlibDialog::eventFilter(QObject *watched, QEvent *event) {
    // Letters typed in the list go to the search field: typing filters.
    if (watched == Models && event->type() == QEvent::KeyPress) {
        auto *key = static_cast<QKeyEvent *>(event);
        const QString text = key->text();
        if (!text.isEmpty() && text.at(0).isPrint() && !(key->modifiers() & (Qt::ControlModifier | Qt::AltModifier))) {
            Search->setFocus();
            Search->insert(text);
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

} // namespace drmq

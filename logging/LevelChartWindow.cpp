#include "logging/LevelChartWindow.h"

#include "core/Cp1252.h"
#include "core/RunErrors.h"
#include "logging/LevelCsv.h"
#include "logging/LogFormat.h"

#include <QBuffer>
#include <QCategoryAxis>
#include <QChart>
#include <QChartView>
#include <QCoreApplication>
#include <QFile>
#include <QFileDialog>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLegendMarker>
#include <QLineSeries>
#include <QMessageBox>
#include <QPainter>
#include <QPixmap>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScatterSeries>
#include <QShortcut>
#include <QSplitter>
#include <QTreeWidget>
#include <QVBoxLayout>
#include <QValueAxis>

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstdio>
#include <limits>
#include <set>

namespace drmq {

namespace {
enum TColumn { colDate, colStart, colKhz, colStation, colMinutes, colCount };

// Distinct colours that stay apart on a white chart; a block keeps its
// colour while it is shown.
const QColor kColours[] = {QColor(31, 119, 180), QColor(214, 39, 40),  QColor(44, 160, 44),
                           QColor(255, 127, 14), QColor(148, 103, 189), QColor(140, 86, 75),
                           QColor(227, 119, 194), QColor(23, 190, 207), QColor(188, 189, 34),
                           QColor(127, 127, 127)};

// The seconds of a running log: a faint trace under its minute line, which
// is drawn darker so it stands out from the trace.
constexpr int kSecondsAlpha = 45;
constexpr int kLiveLineDarker = 170;
// A minute's mean is drawn in the middle of the minute it stands for.
constexpr double kHalfMinute = 0.5 / 1440.0;
constexpr double kNone = std::numeric_limits<double>::infinity();
constexpr double kMinute = 1.0 / 1440.0;
// Dream's minutes without sync stand out in one colour whatever the block's.
const QColor kNoSyncColour(220, 0, 0);

// The colour of a shown block beside its date in the list.
QIcon Swatch(const QColor &colour) {
    QPixmap pixmap(12, 12);
    pixmap.fill(colour);
    return QIcon(pixmap);
}
} // namespace

TLevelChartWindow::TLevelChartWindow(TLevelChartSources sources, QWidget *parent)
    : QWidget(parent, Qt::Window), sources_(std::move(sources)) {
    setWindowTitle("Level chart");
    resize(1100, 600);
    BuildControls();
    AskSavePath = [this](const QString &caption, const QString &filter, const QString &suggested) {
        return QFileDialog::getSaveFileName(this, caption, suggested, filter);
    };
    ShowError = [this](const QString &text) { QMessageBox::warning(this, windowTitle(), text); };
    if (sources_.Live) sources_.Live->SetListener([this](TLiveLevels::TChange change) { LiveChanged(change); });
    if (sources_.Dream) sources_.Dream->Changed = [this] {
        for (TRow &row : rows_)
            if (row.Shown) DrawDream(row);
        UpdateAxes();
    };
}

TLevelChartWindow::~TLevelChartWindow() {
    if (sources_.Live) sources_.Live->SetListener({});
    if (sources_.Dream) sources_.Dream->Changed = {};
}

void TLevelChartWindow::BuildControls() {
    chart_ = new QChart;
    chart_->legend()->setAlignment(Qt::AlignBottom);
    // Long labels are cut to fit; the whole label shows on hovering.
    chart_->legend()->setShowToolTips(true);
    axisX_ = new QCategoryAxis;
    axisX_->setLabelsPosition(QCategoryAxis::AxisLabelsPositionOnValue);
    axisX_->setTitleText("UTC");
    axisY_ = new QValueAxis;
    axisY_->setTitleText("dBµV");
    axisY_->setLabelFormat("%d");
    axisSnr_ = new QValueAxis;
    axisSnr_->setTitleText("Dream SNR dB (dashed), red: no sync");
    axisSnr_->setLabelFormat("%d");
    axisAudio_ = new QValueAxis;
    axisAudio_->setTitleText("Dream audio frames OK (dotted)");
    axisAudio_->setLabelFormat("%d");
    chart_->addAxis(axisX_, Qt::AlignBottom);
    chart_->addAxis(axisY_, Qt::AlignLeft);
    chart_->addAxis(axisSnr_, Qt::AlignRight);
    chart_->addAxis(axisAudio_, Qt::AlignRight);
    ChartView = new QChartView(chart_);
    ChartView->setRenderHint(QPainter::Antialiasing);
    ChartView->setAccessibleName("Level chart");
    ChartView->setMinimumSize(420, 300);

    BlockList = new QTreeWidget;
    BlockList->setAccessibleName("Log blocks");
    BlockList->setColumnCount(colCount);
    BlockList->setHeaderLabels({"Date", "Start (UTC)", "kHz", "Station", "Minutes"});
    BlockList->setRootIsDecorated(false);
    BlockList->setUniformRowHeights(true);
    BlockList->setToolTip("Tick the blocks to draw");
    connect(BlockList, &QTreeWidget::itemChanged, this, [this](QTreeWidgetItem *item) { RowChecked(item); });

    NotesView = new QPlainTextEdit;
    NotesView->setReadOnly(true);
    NotesView->setAccessibleName("Notes");
    NotesView->setMaximumHeight(90);
    NotesView->hide();

    ReloadButton = new QPushButton("Reload");
    ReloadButton->setToolTip("Read the log file again");
    SavePngButton = new QPushButton("Save chart as PNG...");
    SaveCsvButton = new QPushButton("Save blocks as CSV...");
    SaveCsvButton->setToolTip("The ticked blocks: UTC time, kHz, level, Dream's SNR and audio frames OK of every minute");
    connect(ReloadButton, &QPushButton::clicked, this, [this] { Reload(); });
    connect(SavePngButton, &QPushButton::clicked, this,
            [this] { SaveAs("Save chart as PNG", "PNG image (*.png)", "DRMQuodra-levels.png", &TLevelChartWindow::SavePng); });
    connect(SaveCsvButton, &QPushButton::clicked, this,
            [this] { SaveAs("Save blocks as CSV", "CSV file (*.csv)", "DRMQuodra-levels.csv", &TLevelChartWindow::SaveCsv); });

    auto *buttons = new QHBoxLayout;
    buttons->addWidget(ReloadButton);
    buttons->addWidget(SavePngButton);
    buttons->addWidget(SaveCsvButton);
    auto *left = new QWidget;
    auto *leftLayout = new QVBoxLayout(left);
    leftLayout->setContentsMargins(0, 0, 0, 0);
    leftLayout->addWidget(BlockList, 1);
    leftLayout->addWidget(NotesView);
    leftLayout->addLayout(buttons);

    auto *splitter = new QSplitter(Qt::Horizontal);
    splitter->addWidget(left);
    splitter->addWidget(ChartView);
    splitter->setStretchFactor(1, 1);
    splitter->setSizes({400, 700});
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(splitter);

    new QShortcut(QKeySequence(Qt::Key_Escape), this, [this] { close(); });
    UpdateAxes();
    UpdateButtons();
}

const TLevelBlock &TLevelChartWindow::BlockOf(const TRow &row) const {
    return row.Block ? *row.Block : *sources_.Live->Block();
}

const TLevelBlock &TLevelChartWindow::RowBlock(int row) const {
    return BlockOf(rows_.at(static_cast<std::size_t>(row)));
}

TLevelChartWindow::TDreamSeries TLevelChartWindow::RowDreamSeries(int row) const {
    const TRow &r = rows_.at(static_cast<std::size_t>(row));
    return r.Shown ? r.Shown->Dream : TDreamSeries{};
}

std::vector<QLineSeries *> TLevelChartWindow::RowSeries(int row) const {
    const TRow &r = rows_.at(static_cast<std::size_t>(row));
    if (!r.Shown) return {};
    std::vector<QLineSeries *> series = r.Shown->Minutes;
    if (r.Shown->Seconds) series.push_back(r.Shown->Seconds);
    return series;
}

void TLevelChartWindow::Reload() {
    std::set<std::pair<double, std::string>> shownBefore;
    for (TRow &row : rows_) {
        if (!row.Shown) continue;
        const TLevelBlock &block = BlockOf(row);
        shownBefore.insert({block.StartUtc, block.FrequencyKhz});
        Hide(row);
    }
    const bool firstLoad = !loaded_;
    loaded_ = true;
    rows_.clear();
    filling_ = true;
    BlockList->clear();

    log_ = ReadLevelLogFile(sources_.LogPath);
    // Newest first: last night's reception is the one usually looked at.
    std::stable_sort(log_.Blocks.begin(), log_.Blocks.end(),
                     [](const TLevelBlock &a, const TLevelBlock &b) { return a.StartUtc > b.StartUtc; });
    const TLevelBlock *live =
        sources_.Live && sources_.Live->Running() ? sources_.Live->Block() : nullptr;
    liveRow_ = live != nullptr;
    if (live) rows_.push_back({nullptr, nullptr, std::nullopt});
    // The running log's block is in the file too, unfinished but not cut short.
    std::size_t runningLine = 0;
    for (const TLevelBlock &block : log_.Blocks) {
        if (live && !block.Closed && block.SameBlock(*live)) runningLine = block.FirstLine;
        else rows_.push_back({&block, nullptr, std::nullopt});
    }
    QList<QTreeWidgetItem *> items;
    items.reserve(static_cast<qsizetype>(rows_.size()));
    for (TRow &row : rows_) {
        row.Item = new QTreeWidgetItem;
        row.Item->setFlags(row.Item->flags() | Qt::ItemIsUserCheckable);
        row.Item->setCheckState(colDate, Qt::Unchecked);
        // Room for the colour a shown block gets.
        row.Item->setIcon(colDate, Swatch(Qt::transparent));
        row.Item->setData(colDate, Qt::UserRole, static_cast<int>(items.size()));
        FillRowTexts(row);
        items.push_back(row.Item);
    }
    BlockList->addTopLevelItems(items);
    for (int c = 0; c < colCount; ++c) BlockList->resizeColumnToContents(c);
    filling_ = false;

    std::string notes;
    for (const TLogNote &note : log_.Notes)
        if (runningLine == 0 || note.Line != runningLine) notes += note.Text + "\n";
    NotesView->setPlainText(FromCp1252(notes));
    NotesView->setVisible(!notes.empty());

    for (TRow &row : rows_) {
        const TLevelBlock &block = BlockOf(row);
        if (shownBefore.count({block.StartUtc, block.FrequencyKhz})) Show(row);
    }
    if (firstLoad && !rows_.empty()) Show(rows_.front());
    UpdateAxes();
    UpdateButtons();
}

void TLevelChartWindow::FillRowTexts(const TRow &row) {
    const TLevelBlock &block = BlockOf(row);
    const QString start = QString::fromStdString(LogDateTimeText(block.StartUtc));
    const int space = static_cast<int>(start.indexOf(' '));
    QString minutes = QString::number(block.Minutes.size());
    if (!row.Block) minutes += ", running";
    else if (!block.Closed) minutes += ", cut short";
    row.Item->setText(colDate, start.left(space));
    row.Item->setText(colStart, start.mid(space + 1));
    row.Item->setText(colKhz, FromCp1252(block.FrequencyKhz));
    row.Item->setText(colStation, sources_.StationOf ? sources_.StationOf(block) : QString());
    row.Item->setText(colMinutes, minutes);
    row.Item->setTextAlignment(colKhz, Qt::AlignRight | Qt::AlignVCenter);
    row.Item->setTextAlignment(colMinutes, Qt::AlignRight | Qt::AlignVCenter);
}

void TLevelChartWindow::RowChecked(QTreeWidgetItem *item) {
    if (filling_) return;
    TRow &row = rows_.at(static_cast<std::size_t>(item->data(colDate, Qt::UserRole).toInt()));
    const bool wanted = item->checkState(colDate) == Qt::Checked;
    if (wanted == row.Shown.has_value()) return;
    if (wanted) Show(row);
    else Hide(row);
    UpdateAxes();
    UpdateButtons();
}

QColor TLevelChartWindow::FreeColour() const {
    std::size_t best = 0;
    std::size_t leastUsed = std::numeric_limits<std::size_t>::max();
    for (std::size_t i = 0; i < std::size(kColours); ++i) {
        const auto used = static_cast<std::size_t>(std::count_if(
            rows_.begin(), rows_.end(), [&](const TRow &row) { return row.Shown && row.Shown->Colour == kColours[i]; }));
        if (used < leastUsed) {
            leastUsed = used;
            best = i;
        }
    }
    return kColours[best];
}

QLineSeries *TLevelChartWindow::NewSeries(const QColor &colour, qreal width, const QString &name, bool inLegend) {
    auto *series = new QLineSeries;
    series->setName(name);
    QPen pen(colour);
    pen.setWidthF(width);
    series->setPen(pen);
    chart_->addSeries(series);
    series->attachAxis(axisX_);
    series->attachAxis(axisY_);
    if (!inLegend)
        for (QLegendMarker *marker : chart_->legend()->markers(series)) marker->setVisible(false);
    return series;
}

void TLevelChartWindow::Show(TRow &row) {
    const TLevelBlock &block = BlockOf(row);
    TShown shown;
    shown.Colour = FreeColour();
    shown.MinX = shown.MinY = kNone;
    shown.MaxX = shown.MaxY = -kNone;
    // Date, start and frequency tell the blocks apart; the station is in the list.
    QString name =
        QString::fromStdString(LogDateTimeText(block.StartUtc)).left(16) + "  " + FromCp1252(block.FrequencyKhz) + " kHz";
    if (!row.Block) {
        name += "  (running)";
        QColor faint = shown.Colour;
        faint.setAlpha(kSecondsAlpha);
        shown.Seconds = NewSeries(faint, 1.0, name, false);
        QList<QPointF> points;
        for (const TLevelPoint &second : sources_.Live->Seconds()) {
            const double x = HoursSinceMidnight(second.Utc, block.StartUtc);
            points.push_back({x, second.Level});
            shown.MinX = std::min(shown.MinX, x);
            shown.MaxX = std::max(shown.MaxX, x);
            shown.MinY = std::min(shown.MinY, second.Level);
            shown.MaxY = std::max(shown.MaxY, second.Level);
        }
        shown.Seconds->append(points);
    }
    const QColor line = row.Block ? shown.Colour : shown.Colour.darker(kLiveLineDarker);
    shown.Minutes.push_back(NewSeries(line, 2.0, name, true));
    row.Shown = std::move(shown);
    DrawNewMinutes(row);
    DrawDream(row);
    filling_ = true;
    row.Item->setCheckState(colDate, Qt::Checked);
    row.Item->setIcon(colDate, Swatch(row.Shown->Minutes.front()->pen().color()));
    filling_ = false;
}

void TLevelChartWindow::DrawNewMinutes(TRow &row) {
    TShown &shown = *row.Shown;
    const TLevelBlock &block = BlockOf(row);
    QLineSeries *series = shown.Minutes.back();
    QList<QPointF> points;
    for (std::size_t i = shown.MinutesDrawn; i < block.Minutes.size(); ++i) {
        const TMinuteLevel &minute = block.Minutes[i];
        // A missing minute or a clock that jumped breaks the line.
        if (i > 0 && minute.Minute != block.Minutes[i - 1].Minute + 1) {
            series->append(points);
            points.clear();
            series = NewSeries(series->pen().color(), 2.0, series->name(), false);
            shown.Minutes.push_back(series);
        }
        const double x = HoursSinceMidnight(block.MinuteUtc(minute) + kHalfMinute, block.StartUtc);
        points.push_back({x, minute.Level});
        shown.MinX = std::min(shown.MinX, x);
        shown.MaxX = std::max(shown.MaxX, x);
        shown.MinY = std::min(shown.MinY, minute.Level);
        shown.MaxY = std::max(shown.MaxY, minute.Level);
    }
    series->append(points);
    shown.MinutesDrawn = block.Minutes.size();
}

void TLevelChartWindow::DrawDream(TRow &row) {
    TShown &shown = *row.Shown;
    RemoveDream(shown);
    if (!sources_.Dream) return;
    const TLevelBlock &block = BlockOf(row);
    // A running block takes every minute Dream has logged since its start.
    const double end = !row.Block        ? kNone
                       : block.Minutes.empty() ? block.StartUtc + kMinute
                                               : block.MinuteUtc(block.Minutes.back()) + kMinute;
    const auto points = DreamMinutesBetween(sources_.Dream->Blocks(), block.StartUtc, end);
    if (points.empty()) return;
    auto attach = [this](QXYSeries *series, QValueAxis *axis) {
        chart_->addSeries(series);
        series->attachAxis(axisX_);
        series->attachAxis(axis);
        for (QLegendMarker *marker : chart_->legend()->markers(series)) marker->setVisible(false);
    };
    const QColor colour = shown.Minutes.front()->pen().color();
    auto line = [&](Qt::PenStyle style, QValueAxis *axis) {
        auto *series = new QLineSeries;
        QPen pen(colour);
        pen.setWidthF(1.5);
        pen.setStyle(style);
        series->setPen(pen);
        attach(series, axis);
        return series;
    };
    shown.Dream.Snr = line(Qt::DashLine, axisSnr_);
    shown.Dream.AudioOk = line(Qt::DotLine, axisAudio_);
    shown.Dream.NoSync = new QScatterSeries;
    shown.Dream.NoSync->setMarkerShape(QScatterSeries::MarkerShapeRectangle);
    shown.Dream.NoSync->setMarkerSize(9);
    shown.Dream.NoSync->setColor(kNoSyncColour);
    shown.Dream.NoSync->setBorderColor(kNoSyncColour);
    attach(shown.Dream.NoSync, axisSnr_);
    shown.MinSnr = kNone;
    shown.MaxSnr = shown.MaxAudio = -kNone;
    QList<QPointF> snr, audio, noSync;
    for (const TDreamPoint &point : points) {
        const double x = HoursSinceMidnight(point.Utc + kHalfMinute, block.StartUtc);
        snr.push_back({x, point.Minute.SnrDb});
        audio.push_back({x, double(point.Minute.AudioOk)});
        if (!point.Minute.Sync) noSync.push_back({x, point.Minute.SnrDb});
        shown.MinSnr = std::min(shown.MinSnr, point.Minute.SnrDb);
        shown.MaxSnr = std::max(shown.MaxSnr, point.Minute.SnrDb);
        shown.MaxAudio = std::max(shown.MaxAudio, double(point.Minute.AudioOk));
    }
    shown.Dream.Snr->append(snr);
    shown.Dream.AudioOk->append(audio);
    shown.Dream.NoSync->append(noSync);
}

void TLevelChartWindow::RemoveDream(TShown &shown) {
    for (QXYSeries *series : {static_cast<QXYSeries *>(shown.Dream.Snr), static_cast<QXYSeries *>(shown.Dream.AudioOk),
                              static_cast<QXYSeries *>(shown.Dream.NoSync)}) {
        if (!series) continue;
        chart_->removeSeries(series);
        delete series;
    }
    shown.Dream = {};
}

void TLevelChartWindow::Hide(TRow &row) {
    if (!row.Shown) return;
    RemoveDream(*row.Shown);
    std::vector<QLineSeries *> series = row.Shown->Minutes;
    if (row.Shown->Seconds) series.push_back(row.Shown->Seconds);
    for (QLineSeries *s : series) {
        chart_->removeSeries(s);
        delete s;
    }
    row.Shown.reset();
    filling_ = true;
    row.Item->setCheckState(colDate, Qt::Unchecked);
    row.Item->setIcon(colDate, Swatch(Qt::transparent));
    filling_ = false;
}

void TLevelChartWindow::UpdateAxes() {
    double minX = kNone, maxX = -kNone, minY = kNone, maxY = -kNone;
    for (const TRow &row : rows_) {
        if (!row.Shown) continue;
        minX = std::min(minX, row.Shown->MinX);
        maxX = std::max(maxX, row.Shown->MaxX);
        minY = std::min(minY, row.Shown->MinY);
        maxY = std::max(maxY, row.Shown->MaxY);
    }
    if (minX > maxX) {
        minX = 0.0;
        maxX = 24.0;
    }
    if (minY > maxY) {
        minY = 0.0;
        maxY = 60.0;
    }
    const TTimeAxis timeAxis = TimeOfDayAxis(minX, maxX);
    if (axisX_->count() == 0 || !(timeAxis == timeAxis_)) {
        timeAxis_ = timeAxis;
        for (const QString &label : axisX_->categoriesLabels()) axisX_->remove(label);
        // Labels sit at the end of their category; one category ends at the
        // axis start so that it is labelled too.
        axisX_->setStartValue(timeAxis.From - 1.0);
        for (const TTimeTick &tick : timeAxis.Ticks) {
            // Labels must differ: a second day's "02:00" gets an invisible mark.
            const int day = static_cast<int>(std::floor(tick.Hours / 24.0));
            axisX_->append(QString::fromStdString(tick.Label) + QString(day, QChar(0x200B)), tick.Hours);
        }
        axisX_->setRange(timeAxis.From, timeAxis.To);
    }
    const std::pair<double, double> levels{std::floor(minY) - 3.0, std::ceil(maxY) + 3.0};
    if (levelRange_ != levels) {
        levelRange_ = levels;
        axisY_->setRange(levels.first, levels.second);
        axisY_->applyNiceNumbers();
    }

    double minSnr = kNone, maxSnr = -kNone, maxAudio = -kNone;
    for (const TRow &row : rows_) {
        if (!row.Shown || !row.Shown->Dream.Snr) continue;
        minSnr = std::min(minSnr, row.Shown->MinSnr);
        maxSnr = std::max(maxSnr, row.Shown->MaxSnr);
        maxAudio = std::max(maxAudio, row.Shown->MaxAudio);
    }
    // The right-hand axes are there only while Dream has something to show.
    const bool dream = minSnr <= maxSnr;
    axisSnr_->setVisible(dream);
    axisAudio_->setVisible(dream);
    if (dream) {
        axisSnr_->setRange(std::floor(minSnr) - 3.0, std::ceil(maxSnr) + 3.0);
        axisSnr_->applyNiceNumbers();
        axisAudio_->setRange(0.0, std::max(1.0, std::ceil(maxAudio * 1.1)));
    }
}

void TLevelChartWindow::UpdateButtons() {
    SaveCsvButton->setEnabled(std::any_of(rows_.begin(), rows_.end(), [](const TRow &row) { return row.Shown; }));
}

void TLevelChartWindow::LiveChanged(TLiveLevels::TChange change) {
    switch (change) {
    case TLiveLevels::TChange::Started:
        Reload();
        if (liveRow_ && !rows_.front().Shown) Show(rows_.front());
        break;
    case TLiveLevels::TChange::Second:
        if (liveRow_ && rows_.front().Shown) {
            TShown &shown = *rows_.front().Shown;
            const TLevelPoint &second = sources_.Live->Seconds().back();
            const double x = HoursSinceMidnight(second.Utc, RowBlock(0).StartUtc);
            shown.Seconds->append(x, second.Level);
            shown.MinX = std::min(shown.MinX, x);
            shown.MaxX = std::max(shown.MaxX, x);
            shown.MinY = std::min(shown.MinY, second.Level);
            shown.MaxY = std::max(shown.MaxY, second.Level);
        }
        break;
    case TLiveLevels::TChange::Minute:
        if (liveRow_) {
            FillRowTexts(rows_.front());
            if (rows_.front().Shown) DrawNewMinutes(rows_.front());
        }
        break;
    case TLiveLevels::TChange::Stopped:
        // The block is complete in the file now.
        Reload();
        return;
    }
    UpdateAxes();
    UpdateButtons();
}

void TLevelChartWindow::SaveAs(const QString &caption, const QString &filter, const QString &suggested,
                               bool (TLevelChartWindow::*save)(const QString &)) {
    const QString path = AskSavePath(caption, filter, suggested);
    if (!path.isEmpty()) (this->*save)(path);
}

bool TLevelChartWindow::WriteBytes(const QString &path, const std::string &bytes) {
    std::FILE *file = std::fopen(QFile::encodeName(path).constData(), "wb");
    int error = file ? 0 : errno;
    if (file) {
        if (std::fwrite(bytes.data(), 1, bytes.size(), file) != bytes.size()) error = errno ? errno : EIO;
        if (std::fclose(file) != 0 && error == 0) error = errno ? errno : EIO;
    }
    if (error == 0) return true;
    ShowError(QString::fromStdString(InOutErrorText(InOutCodeFromErrno(error))) + "\n" + path);
    return false;
}

bool TLevelChartWindow::SavePng(const QString &path) {
    // The chart lays out its legend and axes on a posted event; the image
    // must show the chart as it now stands.
    QCoreApplication::sendPostedEvents(nullptr, QEvent::LayoutRequest);
    QByteArray png;
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    ChartView->grab().save(&buffer, "PNG");
    return WriteBytes(path, png.toStdString());
}

bool TLevelChartWindow::SaveCsv(const QString &path) {
    std::vector<const TLevelBlock *> chosen;
    for (const TRow &row : rows_)
        if (row.Shown) chosen.push_back(&BlockOf(row));
    return WriteBytes(path, LevelCsv(chosen, sources_.Dream ? sources_.Dream->Blocks() : std::vector<TDreamBlock>{}));
}

} // namespace drmq

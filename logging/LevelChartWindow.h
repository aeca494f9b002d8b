// TLevelChartWindow: the "Level chart" window: lists the log's blocks, draws the chosen ones and
// the running log over the time of day with what Dream decoded meanwhile, saves the chart as PNG
// and the blocks as CSV. UI thread.
#pragma once

#include "logging/DreamLogReader.h"
#include "logging/LevelLogParser.h"
#include "logging/LiveLevels.h"
#include "logging/TimeOfDayAxis.h"

#include <QColor>
#include <QWidget>

#include <functional>
#include <optional>
#include <string>
#include <vector>

class QCategoryAxis;
class QChart;
class QChartView;
class QLabel;
class QLineSeries;
class QPlainTextEdit;
class QPushButton;
class QScatterSeries;
class QTreeWidget;
class QTreeWidgetItem;
class QValueAxis;

namespace drmq {

struct TLevelChartSources {
    // The log file, read at every Reload.
    std::string LogPath;
    // The running log's block; may be null.
    TLiveLevels *Live = nullptr;
    // The station of a block (from the schedule); may be empty.
    std::function<QString(const TLevelBlock &)> StationOf;
    // Dream's minute log as last read; may be null.
    TDreamLogReader *Dream = nullptr;
};

class TLevelChartWindow : public QWidget {
    Q_OBJECT
public:
    explicit TLevelChartWindow(TLevelChartSources sources, QWidget *parent = nullptr);
    ~TLevelChartWindow() override;

    // Reads the log file again; the blocks shown stay shown.
    void Reload();
    // Write the chart as an image of its size, or the chosen blocks as CSV;
    // false (after an error box) when the file cannot be written.
    bool SavePng(const QString &path);
    bool SaveCsv(const QString &path);

    // Asks for the file to save to; a file dialog unless tests answer.
    std::function<QString(const QString &caption, const QString &filter, const QString &suggested)> AskSavePath;
    // Shows an error text; a message box unless tests record it.
    std::function<void(const QString &text)> ShowError;

    QTreeWidget *BlockList = nullptr;
    QChartView *ChartView = nullptr;
    QPlainTextEdit *NotesView = nullptr;
    QPushButton *ReloadButton = nullptr;
    QPushButton *SavePngButton = nullptr;
    QPushButton *SaveCsvButton = nullptr;

    // The row of the running log, when one runs; the log file's blocks follow.
    bool HasLiveRow() const { return liveRow_; }
    // The block of a list row and the series drawn for it (none while hidden):
    // the minute lines in runs of consecutive minutes, then the seconds of a
    // running log.
    const TLevelBlock &RowBlock(int row) const;
    std::vector<QLineSeries *> RowSeries(int row) const;
    // What Dream decoded during a shown block, on the right-hand axes: SNR
    // and audio frames OK a minute, and a mark on each minute without sync.
    // Null while the block is hidden or Dream has nothing for it.
    struct TDreamSeries {
        QLineSeries *Snr = nullptr;
        QLineSeries *AudioOk = nullptr;
        QScatterSeries *NoSync = nullptr;
    };
    TDreamSeries RowDreamSeries(int row) const;
    const TLevelLog &Log() const { return log_; }

private:
    struct TShown {
        QColor Colour;
        std::vector<QLineSeries *> Minutes;
        QLineSeries *Seconds = nullptr;
        std::size_t MinutesDrawn = 0;
        double MinX = 0, MaxX = 0, MinY = 0, MaxY = 0;
        TDreamSeries Dream;
        double MaxSnr = 0, MinSnr = 0, MaxAudio = 0;
    };
    struct TRow {
        const TLevelBlock *Block = nullptr; // null for the running log
        QTreeWidgetItem *Item = nullptr;
        std::optional<TShown> Shown;
    };

    void BuildControls();
    void LiveChanged(TLiveLevels::TChange change);
    const TLevelBlock &BlockOf(const TRow &row) const;
    void FillRowTexts(const TRow &row);
    void RowChecked(QTreeWidgetItem *item);
    void Show(TRow &row);
    void Hide(TRow &row);
    // Adds the minute points not drawn yet (and, for the running log, the seconds).
    void DrawNewMinutes(TRow &row);
    // Draws Dream's minutes within the block's time anew.
    void DrawDream(TRow &row);
    void RemoveDream(TShown &shown);
    QLineSeries *NewSeries(const QColor &colour, qreal width, const QString &name, bool inLegend);
    QColor FreeColour() const;
    void UpdateAxes();
    // "Save blocks as CSV" needs a block to save.
    void UpdateButtons();
    void SaveAs(const QString &caption, const QString &filter, const QString &suggested,
                bool (TLevelChartWindow::*save)(const QString &));
    bool WriteBytes(const QString &path, const std::string &bytes);

    TLevelChartSources sources_;
    TLevelLog log_;
    std::vector<TRow> rows_;
    bool liveRow_ = false;
    bool loaded_ = false;
    // Set while the program itself ticks rows, so only the user's ticks count.
    bool filling_ = false;
    QChart *chart_ = nullptr;
    QCategoryAxis *axisX_ = nullptr;
    QValueAxis *axisY_ = nullptr;
    QValueAxis *axisSnr_ = nullptr;
    QValueAxis *axisAudio_ = nullptr;
    TTimeAxis timeAxis_;
    std::optional<std::pair<double, double>> levelRange_;
};

} // namespace drmq

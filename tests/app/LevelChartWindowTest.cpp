#include "logging/LevelChartWindow.h"
#include "logging/LogFormat.h"
#include "logging/ReceptionLog.h"
#include "rig/ReceiverModel.h"
#include "support/LogWorkingDir.h"
#include "support/WindowFixture.h"

#include <QApplication>
#include <QChartView>
#include <QImage>
#include <QKeyEvent>
#include <QLineSeries>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScatterSeries>
#include <QStringList>
#include <QTemporaryDir>
#include <QTreeWidget>
#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

namespace drmq {
namespace {

using test::LogWorkingDir;

class LevelChartWindowTest : public test::WindowFixture {
protected:
    // A shown main window with an FRG100 (a receiver that reports a level)
    // and "FSTLog" ticked, so a log run writes the file.
    TForm1 &StartLogging() {
        WriteSettings("Receiver=" + std::to_string(rmFRG100) + "\r\nRXL Log=1\r\nQRG=6095\r\n");
        TForm1 &form = Start();
        form.DecoderControl = {[](const QString &) { return false; }, [](const QString &, bool) { return true; }, {}};
        form.show();
        return form;
    }
    // An earlier night in the file, written by the program's own log writer.
    void WriteEarlierBlock() {
        TManualClock earlier(EncodeDateTime({2024, 3, 3, 21, 0, 0, 0}));
        TReceptionLog log([&] { return earlier.UtcNow(); });
        log.Begin();
        log.OpenFile("DRMQuodra.log", "7325", "FRG100");
        for (int s = 0; s <= 180; ++s) {
            log.UpdateMinuteIndex();
            log.Sample(20 + s / 60);
            earlier.AdvanceSeconds(1);
        }
        log.Finish();
    }
    static std::vector<double> Levels(const QLineSeries *series) {
        std::vector<double> levels;
        for (const QPointF &p : series->points()) levels.push_back(p.y());
        return levels;
    }
    static std::vector<double> Levels(const TLevelBlock &block) {
        std::vector<double> levels;
        for (const TMinuteLevel &m : block.Minutes) levels.push_back(m.Level);
        return levels;
    }

    LogWorkingDir dir;
};

TEST_F(LevelChartWindowTest, TheRunningLogIsDrawnAsItIsWrittenThenReadBackWithTheEarlierNights) {
    WriteEarlierBlock();
    TForm1 &form = StartLogging();

    // A double-click on the logging panel opens the chart with the file's block.
    QMouseEvent doubleClick(QEvent::MouseButtonDblClick, QPointF(5, 5), form.Panel(1)->mapToGlobal(QPointF(5, 5)),
                            Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(form.Panel(1), &doubleClick);
    ASSERT_TRUE(form.LevelChart);
    TLevelChartWindow &chart = *form.LevelChart;
    EXPECT_TRUE(chart.isVisible());
    EXPECT_EQ(chart.windowTitle(), "Level chart");
    ASSERT_EQ(chart.BlockList->topLevelItemCount(), 1);
    EXPECT_FALSE(chart.HasLiveRow());
    EXPECT_EQ(chart.BlockList->topLevelItem(0)->text(2), "7325");

    form.Button3->click();
    ASSERT_TRUE(chart.HasLiveRow());
    EXPECT_EQ(chart.BlockList->topLevelItemCount(), 2);
    EXPECT_EQ(chart.BlockList->topLevelItem(0)->checkState(0), Qt::Checked);
    // Unfinished in the file, but running: not noted as cut short.
    EXPECT_TRUE(chart.NotesView->isHidden());

    // Three minutes and a bit of ticks: the faint trace gets every second's
    // level at once, the minute line each minute as the file gets it.
    std::vector<double> seconds;
    for (int t = 1; t <= 200; ++t) {
        form.Rxl = 30.0 + (t / 60) * 4 + t % 3;
        seconds.push_back(form.Rxl);
        clock->AdvanceSeconds(1);
        form.Timer1Timer();
        const std::vector<QLineSeries *> series = chart.RowSeries(0);
        ASSERT_EQ(series.size(), 2u); // the minute line and the seconds
        ASSERT_EQ(Levels(series.back()), seconds);
        const TLevelLog file = ParseLevelLog(dir.Read());
        ASSERT_EQ(file.Blocks.size(), 2u);
        ASSERT_EQ(Levels(series.front()), Levels(file.Blocks.back())) << "after tick " << t;
    }
    EXPECT_EQ(chart.RowSeries(0).front()->count(), 3);
    const QList<QPointF> trace = chart.RowSeries(0).back()->points();
    for (qsizetype i = 1; i < trace.size(); ++i) ASSERT_GT(trace[i].x(), trace[i - 1].x());

    // Stopped, the block is read back from the file and stays drawn.
    form.Button4->click();
    EXPECT_FALSE(chart.HasLiveRow());
    ASSERT_EQ(chart.BlockList->topLevelItemCount(), 2);
    EXPECT_EQ(chart.BlockList->topLevelItem(0)->text(2), "6095");
    EXPECT_EQ(chart.BlockList->topLevelItem(0)->checkState(0), Qt::Checked);
    EXPECT_EQ(Levels(chart.RowSeries(0).front()), Levels(ParseLevelLog(dir.Read()).Blocks.back()));

    // Alt+G brings the closed chart back.
    chart.close();
    QKeyEvent altG(QEvent::KeyPress, Qt::Key_G, Qt::AltModifier, "g");
    QWidget *focused = QApplication::focusWidget();
    QApplication::sendEvent(focused ? focused : &form, &altG);
    EXPECT_TRUE(chart.isVisible());

    // Both nights drawn; the PNG is the chart as shown, at its size.
    chart.BlockList->topLevelItem(1)->setCheckState(0, Qt::Checked);
    ASSERT_EQ(chart.RowSeries(1).size(), 1u);
    const QString png = QString::fromStdString(dir.Path() + "/chart.png");
    const QString csv = QString::fromStdString(dir.Path() + "/levels.csv");
    chart.AskSavePath = [&](const QString &, const QString &filter, const QString &) {
        return filter.contains("png") ? png : csv;
    };
    chart.SavePngButton->click();
    const QImage image(png);
    ASSERT_FALSE(image.isNull());
    EXPECT_EQ(image.size(), chart.ChartView->size() * chart.ChartView->devicePixelRatio());
    for (int row = 0; row < 2; ++row) {
        const QRgb colour = chart.RowSeries(row).front()->pen().color().rgb();
        int pixels = 0;
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x) pixels += image.pixel(x, y) == colour;
        EXPECT_GT(pixels, 20) << "row " << row;
    }

    // The CSV gives back every minute of both blocks.
    chart.SaveCsvButton->click();
    std::ifstream in(csv.toStdString(), std::ios::binary);
    std::string line;
    ASSERT_TRUE(std::getline(in, line));
    EXPECT_EQ(line, "UTC time,kHz,level,snr_db,audio_ok\r");
    for (int row = 0; row < 2; ++row) {
        const TLevelBlock &block = chart.RowBlock(row);
        ASSERT_FALSE(block.Minutes.empty());
        for (const TMinuteLevel &minute : block.Minutes) {
            ASSERT_TRUE(std::getline(in, line));
            std::istringstream fields(line.substr(0, line.size() - 1));
            std::string time, khz, level;
            std::getline(fields, time, ',');
            std::getline(fields, khz, ',');
            std::getline(fields, level, ',');
            EXPECT_EQ(time, LogDateTimeText(block.MinuteUtc(minute)));
            EXPECT_EQ(khz, block.FrequencyKhz);
            EXPECT_EQ(std::stod(level), minute.Level);
        }
    }
    EXPECT_FALSE(std::getline(in, line));

    // A file that cannot be written is reported, not taken for saved.
    QStringList shown;
    chart.ShowError = [&](const QString &text) { shown << text; };
    EXPECT_FALSE(chart.SaveCsv(QString::fromStdString(dir.Path() + "/missing/levels.csv")));
    EXPECT_EQ(shown.size(), 1);
}

// What Dream decoded is drawn beside the level: for an earlier night whose
// times match Dream's log, and for the running log as Dream's file grows; a
// minute without sync is marked, and the CSV carries SNR and audio frames OK.
TEST_F(LevelChartWindowTest, DreamsSnrAndAudioAreDrawnBesideTheLevelAndSaved) {
    WriteEarlierBlock(); // 2024-03-03 21:00:00 on 7325 kHz, three minutes
    QTemporaryDir dreamFolder;
    auto writeDream = [&](const std::string &text) {
        std::ofstream(dreamFolder.path().toStdString() + "/DreamLog.txt", std::ios::binary) << text;
    };
    const std::string nights =
        ">>>>\nDream\nStarttime (UTC)  2024-03-03 21:00:04\nFrequency        7325 kHz\n\n"
        "MINUTE  SNR     SYNC    AUDIO     TYPE\n  0000   14.5      1      98         0\n"
        "  0001    2.0      0       0         0\n  0002   16.0      1     100         0\n\n"
        "SNR min: 2.0, max: 16.0\n<<<<\n"
        // The evening before: no block of the program's log matches it.
        ">>>>\nStarttime (UTC)  2024-03-02 21:00:04\nFrequency        7325 kHz\n  0000   30.0      1      98         0\n"
        "<<<<\n";
    writeDream(nights);
    WriteSettings("Receiver=" + std::to_string(rmFRG100) + "\r\nRXL Log=1\r\nQRG=6095\r\nSoftware RX=1\r\n");
    TForm1 &form = Start();
    form.DesktopSession = [] { return TDesktopSession{true, ":0", false}; };
    form.DecoderControl = {[](const QString &) { return false; }, [](const QString &, bool) { return true; },
                           [&](const QString &title) {
                               return TFoundWindow{title == "Dream", dreamFolder.path(), title};
                           }};
    form.show();
    auto ys = [](const QXYSeries *series) {
        std::vector<double> values;
        for (const QPointF &p : series->points()) values.push_back(p.y());
        return values;
    };

    form.ShowLevelChart();
    TLevelChartWindow &chart = *form.LevelChart;
    ASSERT_TRUE(WaitUntil([&] { return chart.RowDreamSeries(0).Snr != nullptr; }));
    TLevelChartWindow::TDreamSeries dream = chart.RowDreamSeries(0);
    EXPECT_EQ(ys(dream.Snr), (std::vector<double>{14.5, 2.0, 16.0}));
    EXPECT_EQ(ys(dream.AudioOk), (std::vector<double>{98, 0, 100}));
    ASSERT_EQ(dream.NoSync->count(), 1);
    EXPECT_EQ(dream.NoSync->at(0), dream.Snr->at(1));
    // Dream's minutes lie where the program's minutes of that night lie.
    const QLineSeries *levels = chart.RowSeries(0).front();
    ASSERT_EQ(levels->count(), 3);
    for (int i = 0; i < 3; ++i) EXPECT_NEAR(dream.Snr->at(i).x(), levels->at(i).x(), 5.0 / 3600) << i;

    // The running log takes Dream's minutes as they come.
    form.Button3->click();
    ASSERT_TRUE(chart.HasLiveRow());
    form.DreamReadTimer.setInterval(20);
    writeDream(nights + ">>>>\nStarttime (UTC)  2024-03-04 10:00:31\nFrequency        6095 kHz\n"
                        "  0000   11.0      1      90         0\n");
    ASSERT_TRUE(WaitUntil([&] { return chart.RowDreamSeries(0).Snr && chart.RowDreamSeries(0).Snr->count() == 1; }));
    writeDream(nights + ">>>>\nStarttime (UTC)  2024-03-04 10:00:31\nFrequency        6095 kHz\n"
                        "  0000   11.0      1      90         0\n  0001   12.0      0       0         0\n");
    ASSERT_TRUE(WaitUntil([&] { return chart.RowDreamSeries(0).Snr && chart.RowDreamSeries(0).Snr->count() == 2; }));
    EXPECT_EQ(chart.RowDreamSeries(0).NoSync->count(), 1);
    form.Button4->click();
    EXPECT_FALSE(form.DreamReadTimer.isActive());

    // The CSV gives the earlier night's minutes with Dream's figures.
    for (int row = 0; row < chart.BlockList->topLevelItemCount(); ++row)
        chart.BlockList->topLevelItem(row)->setCheckState(0, chart.RowBlock(row).FrequencyKhz == "7325" ? Qt::Checked : Qt::Unchecked);
    const QString csv = QString::fromStdString(dir.Path() + "/levels.csv");
    ASSERT_TRUE(chart.SaveCsv(csv));
    std::ifstream in(csv.toStdString(), std::ios::binary);
    std::vector<std::string> tails;
    for (std::string line; std::getline(in, line);) tails.push_back(line.substr(line.find(',', line.find(',') + 1)));
    ASSERT_EQ(tails.size(), 4u);
    EXPECT_EQ(tails[0], ",level,snr_db,audio_ok\r");
    EXPECT_EQ(tails[1], ",20,14.5,98\r");
    EXPECT_EQ(tails[2], ",21,2,0\r");
    EXPECT_EQ(tails[3], ",22,16,100\r");
}

} // namespace
} // namespace drmq

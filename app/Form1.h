// TForm1: the main window. It owns every control and handler of the program
// and the state shared between subsystems; all of it runs on the UI thread.
#pragma once

#include "app/ActionGate.h"
#include "core/DesignScale.h"
#include "app/Settings.h"
#include "core/FileLocations.h"
#include "core/SecondTicks.h"
#include "core/UtcClock.h"
#include "logging/DecoderNotice.h"
#include "logging/DecoderSequences.h"
#include "logging/DreamLogReader.h"
#include "logging/DreamLogSwitch.h"
#include "logging/ReceptionLog.h"
#include "rig/ControlStates.h"
#include "rig/LinePort.h"
#include "rig/LinkState.h"
#include "rig/RigctlProtocol.h"
#include "rig/VendorLibrary.h"
#include "receiver/ReceiverLink.h"
#include "schedule/BackgroundDownload.h"
#include "schedule/Bulletin.h"
#include "schedule/ScheduleTable.h"
#include "tuning/TuningSteps.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMainWindow>
#include <QPushButton>
#include <QRadioButton>
#include <QSlider>
#include <QStatusBar>
#include <QTableView>
#include <QTimer>
#include <QToolButton>

#include <array>
#include <cstdint>
#include <exception>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace drmq {

extern const char *const kDefaultScheduleUrl;
extern const char *const kDefaultBulletinUrl;
extern const char *const kDefaultScheduleSources;
// The defaults of the schedule lists' URL settings, by TScheduleSource.
std::array<std::string, 4> DefaultSourceUrls();

class EComPort;
class TComPort;
class TRadioGroup;
class TForm2;
class TForm3;
class TForm4;
class TLevelChartWindow;
class TScheduleSourcesDialog;
struct TSourcesResult;
class TShareServer;

// Where errors come from: start-up and user actions show every error; the
// clock (which polls the receiver) does not stack a new box while one is open.
enum class TErrorSource { Action, Clock };

struct TForm1Options {
    // Folder of the program's files, ending in '/'; every file but the log is
    // here (the program's own folder, or the user's when installed).
    std::string ProgramFolder;
    // Folders searched for a maker's library before the system's library path;
    // ProgramFolder alone when empty.
    std::vector<std::string> LibraryFolders;
    // Time source; the system clock when empty.
    std::shared_ptr<TUtcClock> Clock;
    // Shows an error text; the standard error box when empty.
    std::function<void(const QString &text)> ShowErrorBox;
    // Shows a plain information message ("Shortcut gedrückt", "No valid frequency").
    std::function<void(const QString &text)> ShowMessage;
    // Whether Timer1 runs on its own (tests drive the ticks by hand).
    bool StartTimers = true;
};

class TForm1 : public QMainWindow, public TLinkHost {
    Q_OBJECT
public:
    // Design sizes; the window scales them to its font (Scale).
    static constexpr int kWindowWidth = 636;
    static constexpr int kGridHeightAllowance = 172;

    explicit TForm1(TForm1Options options);
    ~TForm1() override;

    // The dialogs are created after the main window; main hands them over.
    void SetDialogs(TForm2 *form2, TForm3 *form3, TForm4 *form4);

    // ---- Lifecycle ----------------------------------------------------------
    void FormCreate();
    void Timer1Timer();
    void FormResize();
    void FormClose();

    // ---- Sizes that follow the font -------------------------------------------
    // The window's design sizes scaled to its font, fixed at creation.
    TDesignScale Scale;
    int WindowWidth() const { return Scale(kWindowWidth); }
    // Widens the grid's columns to the loaded schedule and places the sort
    // buttons beside the header texts.
    void FitGridColumns();
    void PlaceSortButtons();
    // Height of the grid's rows, the header row included.
    int GridRowHeight() const;

    // Runs an action and shows what it raises in the standard error box.
    void Guard(TErrorSource source, const std::function<void()> &action);
    void ShowError(TErrorSource source, const QString &text);
    void ShowMessage(const QString &text) override;

    std::vector<std::string> LibraryFolders() const {
        return options_.LibraryFolders.empty() ? std::vector{options_.ProgramFolder} : options_.LibraryFolders;
    }
    std::string ProgramFile(const std::string &name) const { return options_.ProgramFolder + name; }
    TUtcClock &Clock() const { return *options_.Clock; }
    double UtcNow() const { return options_.Clock->UtcNow(); }

    // Status-bar panel texts (0..8).
    QLabel *Panel(int index) const { return panels_.at(static_cast<size_t>(index)); }
    void SetPanelText(int index, const QString &text);

    // ---- Settings file ------------------------------------------------------
    void ReadSettingsFirstGroup();
    void ReadSettingsSecondGroup();
    void WriteSettings();
    // Device path of a port name ("COM1".."COM9") from the [Ports] section.
    std::string DevicePathOf(const std::string &portName) const;
    std::string ScheduleUrl() const { return SourceSettingUrls[0]; }
    std::string BulletinUrl() const { return bulletinUrl_; }
    // The setting of each schedule list's URL, by TScheduleSource
    // ("Schedule URL" is drmrx's), and the lists enabled.
    std::array<std::string, 4> SourceSettingUrls = DefaultSourceUrls();
    std::uint8_t ScheduleSources = 0;

    TSettings Settings;
    // Whether a connection filled cbfilter / cbatt in this run.
    bool FilterListFilled = false;
    bool AttListFilled = false;
    bool PortUsed = false;
    bool PromptArmed = true;
    QString RememberedMinute = "61";
    int WheelScrollLines = 3;

    // ---- Controls -----------------------------------------------------------
    QTableView *StringGrid1 = nullptr;
    QGroupBox *GroupBox2 = nullptr;  // "Schedule Settings"
    QGroupBox *GroupBox1 = nullptr;  // "Presets"
    QGroupBox *GroupBox38 = nullptr; // "Receiver Control"
    QGroupBox *GroupBox29 = nullptr; // "Settings"
    QCheckBox *chkshowall = nullptr;
    QCheckBox *cblow = nullptr;
    QCheckBox *chknext = nullptr;
    std::array<QRadioButton *, 8> rb{}; // rb1 .. rb8
    QLineEdit *Edit2 = nullptr;
    std::array<QPushButton *, 10> Mem{}; // Mem1 .. Mem10
    QPushButton *Button1 = nullptr;      // "-"
    QPushButton *Button2 = nullptr;      // "+"
    QLineEdit *Edit1 = nullptr;
    QComboBox *cbband = nullptr;
    QComboBox *cbstep = nullptr;
    QPushButton *Button3 = nullptr; // "Start Log"
    QPushButton *Button4 = nullptr; // "Stop Log"
    QComboBox *cbatt = nullptr;
    QComboBox *cbfilter = nullptr;
    QSlider *VolBar = nullptr;
    QSlider *SpeakBar = nullptr;
    TRadioGroup *dwtmod = nullptr;
    QComboBox *cmbant = nullptr;
    QComboBox *cmbdwtatt = nullptr;
    QLineEdit *Edit3 = nullptr;
    QLineEdit *Edit4 = nullptr;
    QCheckBox *OffsetCheck = nullptr;
    QLineEdit *OffsetText = nullptr;
    QLabel *Label1 = nullptr;
    QComboBox *Multiplikator = nullptr;
    QComboBox *Chargepump = nullptr;
    QPushButton *CFR1Button = nullptr;
    QPushButton *CFR2Button = nullptr;
    QPushButton *InitButton = nullptr;
    QGroupBox *gbsm = nullptr;
    QLabel *lblsm = nullptr;
    QLabel *lbldwtlif = nullptr;
    QCheckBox *checkaor = nullptr;
    QComboBox *cbcom = nullptr;
    QComboBox *cbrx = nullptr;
    QToolButton *btnhamlib = nullptr; // "…": the Hamlib settings
    QCheckBox *chkupdate = nullptr;
    QCheckBox *cbrxl = nullptr;
    QCheckBox *chkshare = nullptr; // "Share": Hamlib programs read and tune the receiver
    TRadioGroup *rbswr = nullptr;
    QStatusBar *StatusBar1 = nullptr;
    QTimer *Timer1 = nullptr;
    QTimer *Timer2 = nullptr;
    // Which UTC second Timer1 ticked last.
    TSecondTicks SecondTicks;

    std::unique_ptr<TComPort> ComPort1;

    TForm2 *Form2 = nullptr;
    TForm3 *Form3 = nullptr;
    TForm4 *Form4 = nullptr;

    // ---- Schedule: file, evaluation, grid, colours ----------------------------
    void SetupGrid();
    void LoadSchedule();
    void DRMSchedule();
    bool SeekRecord(const std::vector<int> &columns, const std::vector<QString> &values);
    void StringGrid1Click();
    void StringGrid1MouseDown(Qt::MouseButton button);
    void chkshowallClick();
    void cblowClick();
    void chknextClick();
    void rbClick(int index); // rb1Click .. rb8Click, index 0..7
    // The grid's model; it owns the loaded schedule table.
    class TScheduleGridModel *ScheduleModel = nullptr;
    // The model and the grid's fixed look, made on first use.
    TScheduleGridModel &ScheduleGrid();
    // The grid's current row: 0 = header row, listed rows from 1.
    int CurrentGridRow() const;
    // Makes a grid row current and selects it (0 = header, nothing selected).
    void SetCurrentGridRow(int row);
    QString GridCell(int column, int row) const;

    // ---- Downloads and bulletin ---------------------------------------------
    // Fetches the schedule, then the bulletin, off the UI thread; panel 0
    // shows "Update: …" meanwhile.
    void StartDownloads();
    // The schedule lists' part of a download run, done on its thread.
    TBackgroundDownload::TJob ScheduleSourcesJob();
    void ScheduleSourcesUpdated(const TSourcesResult &result);
    // "Schedule sources": from panel 0 (right button, Enter) and Alt+U.
    void ShowScheduleSources();
    void FillScheduleSources();
    // "Update now": the lists again, off the UI thread.
    void UpdateScheduleNow();
    TScheduleSourcesDialog *SourcesDialog = nullptr;
    // The last failure of each list in this run: when and why.
    std::array<QString, 4> SourceFailures;
    void BulletinDownloaded(const std::string &text);
    // Loads and evaluates the schedule on disk again, keeping the selected
    // entry selected where it is still listed.
    void ReloadSchedule(ScheduleTable table);
    void ShowSchedule(ScheduleTable table);
    void ParseBulletinFile();
    void chkupdateClick();
    void StatusBar1DrawPanel(int panel);
    // The hint of chkupdate names the host of the schedule URL.
    void ShowUpdateHint();
    // Ratings of the last bulletin parsed; they colour panels 5-7.
    TBulletinLevels BulletinLevels;
    TBackgroundDownload Downloads;

    // ---- Receiver link and frequency commands ---------------------------------
    void checkaorClick();
    void ComPort1RxChar(int count);
    void Timer2Timer();
    void SetFreq(const QString &khz);
    void IdleReceiver();      // shutdown step 2
    void ReleaseLibraries();  // shutdown step 3
    void Edit3Change();
    void Edit4Change();
    void OffsetTextChange();
    void OffsetCheckClick();
    void CFR1ButtonClick();
    void CFR2ButtonClick();
    void InitButtonClick();
    // What the serial replies leave for the level reading.
    TLinkReadings Readings;
    // The maker's library of a library model (at most one loaded).
    TVendorLibrary LibraryHandle;
    // Bare control of DTR, RTS and break for the synthesizer front ends;
    // created on first use (tests put a recorder here).
    std::unique_ptr<TLinePort> LinePort;
    // DRT1: added to every synthesizer frequency, in Hz.
    std::int32_t FirstIfOffset = 0;
    // The attention dialog's answer as SetFreq last read it: 0 before the
    // first prompt, 4 once handled.
    int AttentionCode = 0;
    TLinePort &Lines();
    // The link of the model last connected; made anew at every connect.
    std::unique_ptr<TReceiverLink> Link;
    // The catalogue row of the receiver list's selection (nullptr for none).
    const TReceiverEntry *SelectedEntry() const;
    int SelectedModel() const;
    // The model of the link, else the selected one.
    int LinkModel() const;
    void ConnectReceiver();
    void DisconnectReceiver();
    // A connect that raised: closes what it opened, unticks "Connect" and
    // switches the controls back, without the disconnect's commands.
    void AbandonConnect();
    void SwitchControlsOnConnect(const std::function<void()> &afterCommonSet) override;
    void SwitchControlsOnDisconnect();
    // Timer2 runs while a link that wants a keep-alive is up.
    void UpdateKeepAlive();
    TLinkParts LinkParts();
    TLinkSettings LinkSettings() const;
    TSynthesizerFields SynthesizerFields() const;

    // ---- What the link reads and shows (TLinkHost) ------------------------------
    TControlValues ControlValues() const override;
    void Retune() override;
    void ShowFrequency(const QString &khz) override;
    void ApplyOffsetField() override;
    void ShowLevel(const TLinkLevel &level) override;
    void ApplyLinkControls(const TLinkControls &controls) override;
    void LinkOpenFailed(const QString &reason) override;
    void LinkCommandFailed(const QString &reason) override;
    void LinkLost(const QString &cause) override;
    void LinkBack() override;
    void LinkReopened() override;

    // ---- Lost link and its reopening ------------------------------------------
    // Whether the link is lost while "Connect" stays ticked, and why.
    TLinkState LinkState;
    // Commands go out only while "Connect" is ticked and the link not lost.
    bool LinkUp() const;
    // The link to the receiver failed while connected (any receiver kind):
    // the first report shows "Receiver lost: <cause>" in the status bar until
    // the link is back or "Connect" is unticked.
    void ReceiverLinkLost(const QString &cause);
    void ReceiverLinkBack();
    // The serial port failed while connected (write or read error, device
    // gone, hang-up): closes the port and reports the loss once.
    void SerialLinkLost(const std::string &cause);
    // Takes a port error raised by a handler: true when it was a lost link
    // (now reported in the status bar) rather than an error for a box.
    bool LinkFailureHandled(const EComPort &error);
    // Clock step: reopens a lost link every few seconds, runs the model's
    // connect commands again and retunes to Edit1.
    void RetryLostLink();
    // The injectable clock in seconds.
    double ClockSeconds() const;
    void ApplyModelControls(const TModelControls &controls);
    QWidget *OtherControl(TOtherControl control) const;

    // ---- Hamlib rig --------------------------------------------------------------
    // Opens the Hamlib settings dialog (the "…" button and Alt+H).
    void btnhamlibClick();
    // The button works while "Hamlib" is chosen and not connected.
    void UpdateHamlibButton();

    // ---- Receiver controls, tuning controls and presets -------------------------
    void cbattChange();
    void cbfilterChange();
    void VolBarChange();
    void SpeakBarChange();
    void dwtmodClick();
    void cmbantChange();
    void cmbdwtattChange();
    void Button1Click();
    void Button2Click();
    void FormMouseWheel(int angleDelta);
    void Edit1KeyPress(int key);
    void cbbandSelect();
    void MemClick(int index); // Mem1Click .. Mem10Click, index 0..9
    void GroupBox1MouseDown(Qt::MouseButton button);
    // Sends the attenuator command of the selected model for "0", "1", ...
    void SetAtt(const QString &value);
    // The frequency last computed by the step buttons or the wheel (kHz).
    int TuneTarget = 0;
    // Wheel notches counted towards the next wheel step (WheelCount).
    TWheelCounter Wheel;
    // One step of the step buttons, "+" up and "-" down.
    void StepClick(TStepDirection direction);

    // ---- Reception log, level sampling, shortcuts -------------------------------
    void Button3Click();
    void Button4Click();
    void ReadSignalLevel(); // clock step 4
    void LogTick();         // clock step 5
    void CloseLogOnExit();
    // Returns true when the key was handled and goes no further.
    bool FormShortCut(int key, Qt::KeyboardModifiers modifiers);
    void FormKeyDown(int key, Qt::KeyboardModifiers modifiers, Qt::MouseButtons buttons);
    bool LogRunning = false;
    // Whether Start Log told the FhG decoder, so that Stop Log tells it too.
    bool DecoderLogStarted = false;
    // Asks the attention dialog while a log runs: 1 "Change it",
    // 2 "Stop Log + Change", 3 "Quit". Tests may answer through AttentionAnswer.
    int AskAttention();
    std::function<int()> AttentionAnswer;
    // How the log sequences reach the software decoder (tests record them).
    TDecoderControl DecoderControl = DesktopDecoderControl();
    // While a decoder sequence runs, the clock tick and user actions wait
    // for its end (the sequence's key typing lets other events through).
    TActionGate Gate{this};
    // The desktop session the sequences meet (tests describe their own).
    std::function<TDesktopSession()> DesktopSession = CurrentDesktopSession;
    // Whether the decoder can be reached at all; the first time it cannot,
    // the status bar says why.
    bool DecoderReachable();
    // Says in the status bar when a sequence found no decoder window (named
    // by title), and takes back such a text once a sequence tells the decoder.
    void ReportDecoderOutcome(TDecoderOutcome outcome, const QString &title);
    // Dream's log follows the program's log run; what came of it goes to
    // the status bar.
    TDreamLogSwitch DreamLog{DecoderControl, [this](const std::function<void()> &keys) {
                                 const TActionGate::THold sequence(Gate);
                                 keys();
                             },
                             [this](const TDreamLogSwitch::TDone &done) { ReportDreamLog(done); }, this};
    void ReportDreamLog(const TDreamLogSwitch::TDone &done);
    // Dream's minute log for the level chart: read off this thread once a
    // minute while a log runs with Dream chosen, when the chart opens and
    // when the log stops. Its folder is the one last found from its window.
    TDreamLogReader DreamLevels;
    QTimer DreamReadTimer;
    QString DreamFolder;
    void ConnectDreamReading();
    void ReadDreamLog();
    // Tells once per run that Dream's folder cannot be read.
    void ReportDreamFolderUnknown();
    // How long a notice stays in the status bar.
    static constexpr int kNoticeMs = 30000;
    // The log run: start time, minute averaging, minimum/maximum, the file.
    TReceptionLog ReceptionLog{[this] { return UtcNow(); }};
    double LogStartTime() const { return ReceptionLog.LogStartTime(); }
    bool LogFileOpen() const { return ReceptionLog.LogFileOpen(); }
    // Latest signal level in dBuV; kept when no reading is taken.
    double Rxl = 0.0;
    // Presses a step button for one 5 kHz step and restores the step list.
    void FiveKhzStep(void (TForm1::*stepButtonClick)());
    // Opens the level chart (Alt+G, double-click on the logging panel).
    void ShowLevelChart();
    // Made on first use. Declared after ReceptionLog, so it goes first: it
    // watches the log's live block.
    std::unique_ptr<TLevelChartWindow> LevelChart;

    // ---- Sharing the receiver with Hamlib programs ------------------------------
    // Starts or stops serving the receiver on "Share address":"Share port".
    void chkshareClick();
    QString ShareEndpoint() const;
    // The box's tooltip says where the receiver is shared and to how many clients.
    void ShowShareClients(int clients);
    // Tells the server the frequency field, the shown level and the mode.
    void PublishShare();
    // Takes the clients' newest tuning and tunes as the user would.
    void ShareTune();
    // Made at the first share; serves on its own thread while the box is ticked.
    std::unique_ptr<TShareServer> Share;
    TShareSnapshot ShareSnapshot;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void closeEvent(QCloseEvent *event) override;

private:
    // The grid's rows, its header row or a sort button in it.
    bool IsGridSurface(QObject *watched) const;
    void BuildControls();
    void BuildStatusBar();
    // Scales the design geometry that BuildControls gave the controls.
    void ScaleControlsToFont();
    // The least width of a status panel that shows the text whole.
    int PanelWidthFor(int index, const QString &text) const;
    // Makes each status panel wide enough for the longest text it is given
    // and for the text it shows.
    void FitStatusPanels();
    void ConnectHandlers();
    void ScheduleNextTick();
    void ApplyWindowPosition(int x, int y, int height);

    TForm1Options options_;
    std::array<QLabel *, 9> panels_{};
    bool errorBoxOpen_ = false;
    bool closed_ = false;
    std::string bulletinUrl_;
    std::array<std::string, 9> portPaths_;
    bool noXServerTold_ = false;
    bool dreamFolderTold_ = false;
    QString decoderNotice_;
};

} // namespace drmq

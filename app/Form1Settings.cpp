// Reading and writing "DRMQuodra.ini": every key, its default and the control
// or in-memory field it belongs to, in the order the file keeps them.
#include "app/Form1.h"

#include "app/RadioGroup.h"
#include "core/Cp1252.h"
#include "core/IniFile.h"
#include "schedule/Colors.h"
#include "schedule/ScheduleSource.h"

#include <QGuiApplication>
#include <QScreen>

namespace drmq {

namespace {
const char *const kSettings = "Settings";
const char *const kPresets = "Presets";
const char *const kColors = "Colors";
const char *const kPorts = "Ports";

struct ColorKey {
    const char *key;
    const char *def;
};
// In the order of TColorSlot.
const ColorKey kColorKeys[csCount] = {{"Active", "clBlue"}, {"Active Text", "clWhite"}, {"Onair", "clLime"},
                                      {"Onair Text", "clBlack"}, {"Preview", "clRed"}, {"Preview Text", "clSilver"}};

const char *const kPresetDefaults[10] = {"177", "1485", "15440", "6095", "5990",
                                         "12345", "12345", "12345", "12345", "12345"};

} // namespace

const char *const kDefaultScheduleUrl = "https://www.drmrx.org/schedules/drmschedules.php";
const char *const kDefaultScheduleSources = "drmrx,eibi,hfcc";

namespace {
// Keys and defaults of the lists' URLs after "Schedule URL", by TScheduleSource.
constexpr std::array<std::pair<const char *, const char *>, 3> kListUrlKeys = {{
    {"HFCC URL", "https://new.hfcc.org/data/"},
    {"EiBi URL", "https://www.eibispace.de/dx/"},
    {"KiwiSDR URL", "https://drm.kiwisdr.com/drm/drmrx.cjson"},
}};
} // namespace

std::array<std::string, 4> DefaultSourceUrls() {
    return {kDefaultScheduleUrl, kListUrlKeys[0].second, kListUrlKeys[1].second, kListUrlKeys[2].second};
}

const char *const kDefaultBulletinUrl = "https://services.swpc.noaa.gov/text/wwv.txt";

namespace {

QString Text(const std::string &bytes) { return FromCp1252(bytes); }
std::string Bytes(const QString &text) { return ToCp1252(text); }

std::string KeyName(const char *prefix, int n) { return prefix + std::to_string(n); }
} // namespace

std::string TForm1::DevicePathOf(const std::string &portName) const {
    if (portName.size() == 4 && portName.compare(0, 3, "COM") == 0 && portName[3] >= '1' && portName[3] <= '9') {
        const auto &path = portPaths_[static_cast<size_t>(portName[3] - '1')];
        if (!path.empty()) return path;
        return "/dev/ttyS" + std::to_string(portName[3] - '1');
    }
    return portName;
}

void TForm1::ApplyWindowPosition(int x, int y, int height) {
    QRect frame(x, y, WindowWidth(), height);
    // A position saved on a screen that is gone is moved onto the primary one.
    bool visible = false;
    for (QScreen *screen : QGuiApplication::screens())
        if (screen->availableGeometry().intersects(frame)) visible = true;
    if (!visible && QGuiApplication::primaryScreen()) {
        const QRect avail = QGuiApplication::primaryScreen()->availableGeometry();
        x = avail.left();
        y = avail.top();
    }
    move(x, y);
    resize(WindowWidth(), height);
}

void TForm1::ReadSettingsFirstGroup() {
    TIniFile ini(ProgramFile(kIniName));
    const int x = ini.ReadInteger(kSettings, "PositionX", 0);
    const int y = ini.ReadInteger(kSettings, "PositionY", 0);
    // The default height is the design's, scaled like everything else; a
    // saved height is the window's own.
    const int h = ini.ReadInteger(kSettings, "Form height", Scale(516));
    ApplyWindowPosition(x, y, h);
    cbcom->setCurrentIndex(ini.ReadInteger(kSettings, "COM Port", 0));
    // "Receiver" holds the model's number, which stays the same when models are added.
    cbrx->setCurrentIndex(ListIndexOfModel(ini.ReadInteger(kSettings, "Receiver", 0)));
    cbstep->setCurrentIndex(ini.ReadInteger(kSettings, "Step", 2));
    chkupdate->setChecked(ini.ReadBool(kSettings, "Update", true));
    cbrxl->setChecked(ini.ReadBool(kSettings, "RXL Log", false));
    Edit2->setText(Text(ini.ReadString(kSettings, "Preview span", "60")));
    Settings.FT847Offset = ini.ReadString(kSettings, "FT847 offset", "00");
    Settings.AOR7030Offset = ini.ReadInteger(kSettings, "AOR 7030 offset", 0);
    Settings.FilterIndex = static_cast<std::int16_t>(ini.ReadInteger(kSettings, "Filter", 1));
    Settings.ICOMBaudrate = static_cast<std::uint8_t>(ini.ReadInteger(kSettings, "ICOM Baudrate", 2));
    Settings.AttenuationIndex = static_cast<std::int16_t>(ini.ReadInteger(kSettings, "Attenuation", 1));
    Settings.FRG100Delay = ini.ReadInteger(kSettings, "FRG100 Delay", 0);
    Settings.AntennaCorrection = ini.ReadString(kSettings, "RXL antenna correction", "0.0");
    Settings.ElektorDelay = ini.ReadInteger(kSettings, "Elektor Delay", 4000);
    Settings.DRT1Delay = ini.ReadInteger(kSettings, "DTR1 Delay", 4000);

    // A changed field text runs the field's change handler. A value it cannot
    // take stays in the field as written (and goes back to the file so), costs
    // no other key and is reported once, with the others, at the end.
    std::vector<std::string> unreadableKeys;
    auto setField = [&](QLineEdit *field, const char *key, const char *def, const std::function<void()> &changed) {
        const QString text = Text(ini.ReadString(kSettings, key, def));
        if (field->text() == text) return;
        field->blockSignals(true);
        field->setText(text);
        field->blockSignals(false);
        try {
            changed();
        } catch (const std::exception &) {
            unreadableKeys.push_back(key);
        }
    };
    setField(Edit3, "Elektor IF", "454.3", [this] { Edit3Change(); });
    setField(Edit4, "Elektor XTAL", "50000", [this] { Edit4Change(); });
    Edit1->setText(Text(ini.ReadString(kSettings, "QRG", "6095")));
    cmbant->setCurrentIndex(ini.ReadInteger(kSettings, "DWT Antenna", 1));
    cmbdwtatt->setCurrentIndex(ini.ReadInteger(kSettings, "DWT Attenuation", 0));
    Settings.ICOMRigAddress = ini.ReadString(kSettings, "ICOM rig address", "$00");
    for (int i = 0; i < 10; ++i)
        Mem[static_cast<size_t>(i)]->setText(Text(ini.ReadString(kPresets, KeyName("Mem", i + 1), kPresetDefaults[i])));
    for (int i = 0; i < csCount; ++i) {
        // An unreadable colour keeps its default rather than ending the start.
        TColor color = StringToColor(kColorKeys[i].def);
        TryStringToColor(ini.ReadString(kColors, kColorKeys[i].key, kColorKeys[i].def), color);
        Settings.Colors[static_cast<size_t>(i)] = color;
    }
    setField(OffsetText, "DRT1 1st IF", "45000", [this] { OffsetTextChange(); });
    rbswr->SetItemIndex(std::clamp(ini.ReadInteger(kSettings, "Software RX", 0), -1, 1));

    for (int i = 0; i < 9; ++i)
        portPaths_[static_cast<size_t>(i)] =
            ini.ReadString(kPorts, KeyName("COM", i + 1), "/dev/ttyS" + std::to_string(i));
    SourceSettingUrls[0] = ini.ReadString(kSettings, "Schedule URL", kDefaultScheduleUrl);
    bulletinUrl_ = ini.ReadString(kSettings, "Bulletin URL", kDefaultBulletinUrl);
    const THamlibSettings hamlib;
    Settings.Hamlib.Model = ini.ReadInteger(kSettings, "Hamlib model", hamlib.Model);
    Settings.Hamlib.Port = ini.ReadString(kSettings, "Hamlib port", hamlib.Port);
    Settings.Hamlib.Speed = ini.ReadInteger(kSettings, "Hamlib speed", hamlib.Speed);
    Settings.Hamlib.Mode = ini.ReadString(kSettings, "Hamlib mode", hamlib.Mode);
    for (size_t i = 0; i < kListUrlKeys.size(); ++i)
        SourceSettingUrls[i + 1] = ini.ReadString(kSettings, kListUrlKeys[i].first, kListUrlKeys[i].second);
    ScheduleSources = ParseSourceKeys(ini.ReadString(kSettings, "Schedule sources", kDefaultScheduleSources));
    const TSettings defaults;
    const bool share = ini.ReadBool(kSettings, "Share receiver", false);
    Settings.SharePort = ini.ReadInteger(kSettings, "Share port", defaults.SharePort);
    Settings.ShareAddress = ini.ReadString(kSettings, "Share address", defaults.ShareAddress);
    // Ticking the box starts the server.
    chkshare->setChecked(share);
    ShowShareClients(0);
    if (!unreadableKeys.empty()) {
        std::string keys;
        for (const std::string &key : unreadableKeys) keys += (keys.empty() ? "" : ", ") + key;
        ShowError(TErrorSource::Action,
                  Text("Values in " + std::string(kIniName) + " that are not numbers, kept as written: " + keys));
    }
}

void TForm1::ReadSettingsSecondGroup() {
    TIniFile ini(ProgramFile(kIniName));
    // Changing a box runs its click handler, which evaluates the schedule.
    cblow->setChecked(ini.ReadBool(kSettings, "Low Power", false));
    chknext->setChecked(ini.ReadBool(kSettings, "Preview", true));
    for (int i = 0; i < 8; ++i) {
        QRadioButton *button = rb[static_cast<size_t>(i)];
        const bool on = ini.ReadBool(kSettings, KeyName("rb", i + 1), i == 1);
        if (on) {
            button->setChecked(true);
        } else if (button->isChecked()) {
            button->setAutoExclusive(false);
            button->setChecked(false);
            button->setAutoExclusive(true);
        }
    }
    // One sort order is always chosen: file order when the file names none.
    bool any = false;
    for (auto *button : rb) any = any || button->isChecked();
    if (!any) rb[1]->setChecked(true);
}

void TForm1::WriteSettings() {
    TIniFile ini(ProgramFile(kIniName));
    ini.WriteInteger(kSettings, "PositionX", pos().x());
    ini.WriteInteger(kSettings, "PositionY", pos().y());
    ini.WriteInteger(kSettings, "Form height", height());
    ini.WriteInteger(kSettings, "COM Port", cbcom->currentIndex());
    ini.WriteInteger(kSettings, "Receiver", SelectedModel());
    ini.WriteBool(kSettings, "RXL Log", cbrxl->isChecked());
    ini.WriteInteger(kSettings, "Step", cbstep->currentIndex());
    ini.WriteBool(kSettings, "Update", chkupdate->isChecked());
    ini.WriteBool(kSettings, "Low Power", cblow->isChecked());
    ini.WriteBool(kSettings, "Preview", chknext->isChecked());
    ini.WriteString(kSettings, "FT847 offset", Settings.FT847Offset);
    ini.WriteString(kSettings, "Preview span", Bytes(Edit2->text()));
    ini.WriteInteger(kSettings, "AOR 7030 offset", Settings.AOR7030Offset);
    // Lists that no connection filled keep the remembered choice.
    ini.WriteInteger(kSettings, "Filter", FilterListFilled ? cbfilter->currentIndex() : Settings.FilterIndex);
    ini.WriteInteger(kSettings, "Attenuation", AttListFilled ? cbatt->currentIndex() : Settings.AttenuationIndex);
    ini.WriteInteger(kSettings, "FRG100 Delay", Settings.FRG100Delay);
    ini.WriteInteger(kSettings, "Elektor Delay", Settings.ElektorDelay);
    ini.WriteInteger(kSettings, "DTR1 Delay", Settings.DRT1Delay);
    ini.WriteInteger(kSettings, "ICOM Baudrate", Settings.ICOMBaudrate);
    ini.WriteString(kSettings, "Elektor IF", Bytes(Edit3->text()));
    ini.WriteString(kSettings, "Elektor XTAL", Bytes(Edit4->text()));
    ini.WriteString(kSettings, "QRG", Bytes(Edit1->text()));
    ini.WriteString(kSettings, "RXL antenna correction", Settings.AntennaCorrection);
    ini.WriteInteger(kSettings, "DWT Antenna", cmbant->currentIndex());
    ini.WriteInteger(kSettings, "DWT Attenuation", cmbdwtatt->currentIndex());
    ini.WriteString(kSettings, "ICOM rig address", Settings.ICOMRigAddress);
    for (int i = 0; i < 8; ++i) ini.WriteBool(kSettings, KeyName("rb", i + 1), rb[static_cast<size_t>(i)]->isChecked());
    for (int i = 0; i < 10; ++i)
        ini.WriteString(kPresets, KeyName("Mem", i + 1), Bytes(Mem[static_cast<size_t>(i)]->text()));
    for (int i = 0; i < csCount; ++i)
        ini.WriteString(kColors, kColorKeys[i].key, ColorToString(Settings.Colors[static_cast<size_t>(i)]));
    ini.WriteString(kSettings, "DRT1 1st IF", Bytes(OffsetText->text()));
    ini.WriteInteger(kSettings, "Software RX", rbswr->ItemIndex());
    for (int i = 0; i < 9; ++i) ini.WriteString(kPorts, KeyName("COM", i + 1), portPaths_[static_cast<size_t>(i)]);
    ini.WriteString(kSettings, "Schedule URL", SourceSettingUrls[0]);
    ini.WriteString(kSettings, "Bulletin URL", bulletinUrl_);
    ini.WriteInteger(kSettings, "Hamlib model", Settings.Hamlib.Model);
    ini.WriteString(kSettings, "Hamlib port", Settings.Hamlib.Port);
    ini.WriteInteger(kSettings, "Hamlib speed", Settings.Hamlib.Speed);
    ini.WriteString(kSettings, "Hamlib mode", Settings.Hamlib.Mode);
    for (size_t i = 0; i < kListUrlKeys.size(); ++i)
        ini.WriteString(kSettings, kListUrlKeys[i].first, SourceSettingUrls[i + 1]);
    ini.WriteString(kSettings, "Schedule sources", SourceKeysText(ScheduleSources));
    ini.WriteBool(kSettings, "Share receiver", chkshare->isChecked());
    ini.WriteInteger(kSettings, "Share port", Settings.SharePort);
    ini.WriteString(kSettings, "Share address", Settings.ShareAddress);
    ini.UpdateFile();
}

} // namespace drmq

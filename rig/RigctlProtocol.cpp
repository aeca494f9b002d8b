#include "rig/RigctlProtocol.h"

#include <array>
#include <charconv>
#include <cmath>
#include <strings.h>

namespace drmq {

namespace {

struct TCommandName {
    TRigctlCommand Command;
    char Short; // 0: only the long name
    const char *Long;
};

const std::array<TCommandName, 14> kCommands = {{
    {TRigctlCommand::GetFreq, 'f', "get_freq"},
    {TRigctlCommand::SetFreq, 'F', "set_freq"},
    {TRigctlCommand::GetMode, 'm', "get_mode"},
    {TRigctlCommand::SetMode, 'M', "set_mode"},
    {TRigctlCommand::GetVfo, 'v', "get_vfo"},
    {TRigctlCommand::SetVfo, 'V', "set_vfo"},
    {TRigctlCommand::GetLevel, 'l', "get_level"},
    {TRigctlCommand::GetPtt, 't', "get_ptt"},
    {TRigctlCommand::GetSplitVfo, 's', "get_split_vfo"},
    {TRigctlCommand::ChkVfo, 0, "chk_vfo"},
    {TRigctlCommand::DumpState, 0, "dump_state"},
    {TRigctlCommand::GetPowerstat, 0, "get_powerstat"},
    {TRigctlCommand::Quit, 'q', "quit"},
    {TRigctlCommand::Quit, 'Q', "quit"},
}};

bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }

std::vector<std::string> Words(std::string_view text) {
    std::vector<std::string> words;
    size_t i = 0;
    while (i < text.size()) {
        while (i < text.size() && IsBlank(text[i])) ++i;
        const size_t start = i;
        while (i < text.size() && !IsBlank(text[i])) ++i;
        if (i > start) words.emplace_back(text.substr(start, i - start));
    }
    return words;
}

TRigctlCommand CommandNamed(std::string_view word) {
    const bool isLong = word.size() > 1 && word.front() == '\\';
    if (!isLong && word.size() != 1) return TRigctlCommand::Unknown;
    for (const TCommandName &name : kCommands) {
        // "q" has no long name rigctld knows.
        if (isLong ? (name.Command != TRigctlCommand::Quit && word.substr(1) == name.Long) : word[0] == name.Short)
            return name.Command;
    }
    return TRigctlCommand::Unknown;
}

const char *LongName(TRigctlCommand command) {
    for (const TCommandName &name : kCommands)
        if (name.Command == command) return name.Long;
    return "";
}

// One value of an answer; the extended form puts the label before it.
struct TValue {
    const char *Label; // empty: the value stands alone in both forms
    std::string Text;
};

std::string Report(int code) { return "RPRT " + std::to_string(code) + "\n"; }

// The answer in the plain or the extended form, as rigctld words it.
std::string Format(const TRigctlRequest &request, int code, const std::vector<TValue> &values, bool isSet) {
    if (request.Separator == 0) {
        if (code != kRigOk || isSet) return Report(code);
        std::string text;
        for (const TValue &value : values) text += value.Text + "\n";
        return text;
    }
    std::string text = LongName(request.Command);
    text += ":";
    for (const std::string &arg : request.Args) text += " " + arg;
    text += request.Separator;
    if (code == kRigOk) {
        for (const TValue &value : values)
            text += (*value.Label ? std::string(value.Label) + ": " : std::string()) + value.Text + request.Separator;
    }
    return text + Report(code);
}

bool SameWord(std::string_view a, const char *b) {
    return a.size() == std::char_traits<char>::length(b) && strncasecmp(a.data(), b, a.size()) == 0;
}

// Hamlib's VFO names: the receiver has one VFO, and every name stands for it
// (Hamlib's client asks for VFO B while it opens).
bool IsVfoName(std::string_view vfo) {
    for (const char *name : {"VFOA", "VFOB", "VFOC", "currVFO", "VFO", "MEM", "Main", "Sub", "MainA", "MainB",
                             "MainC", "SubA", "SubB", "SubC", "TX", "RX"})
        if (SameWord(vfo, name)) return true;
    return false;
}

// What the NET rigctl client reads when it opens: a receiver of one VFO from
// 150 kHz to 29999 kHz, no transmitter, 1 kHz steps, a 10 kHz filter, the
// signal strength as its only level. The modes are AM, CW, USB, LSB, RTTY,
// FM, WFM, CWR, RTTYR, AMS, SAM, SAL, SAH and DSB, the ones a receiver of
// the program may be set to.
std::string DumpState() {
    return "1\n"         // protocol version
           "2\n"         // model: a receiver behind a network server
           "0\n"         // ITU region
           "150000.000000 29999000.000000 0xf03ff -1 -1 0x1 0x1\n"
           "0 0 0 0 0 0 0\n"
           "0 0 0 0 0 0 0\n" // no transmit range
           "0xf03ff 1000\n"
           "0 0\n"
           "0xf03ff 10000\n"
           "0 0\n"
           "0\n0\n0\n0\n" // RIT, XIT, IF shift, announces
           "\n\n"         // no preamplifier, no attenuator steps
           "0x0\n0x0\n"   // functions read, set
           "0x40000000\n" // levels read: STRENGTH
           "0x0\n0x0\n0x0\n"
           "vfo_ops=0x0\n"
           "ptt_type=0x0\n"
           "targetable_vfo=0x3\n" // frequency and mode: no VFO switching around them
           "has_set_vfo=1\n"
           "has_get_vfo=1\n"
           "has_set_freq=1\n"
           "has_get_freq=1\n"
           "has_set_conf=0\n"
           "has_get_conf=0\n"
           "has_power2mW=0\n"
           "has_mW2power=0\n"
           "timeout=2000\n" // ms a client waits for an answer: a tuning waits for the window
           "done\n";
}

TRigctlAnswer Answer(std::string text) {
    TRigctlAnswer answer;
    answer.Text = std::move(text);
    return answer;
}

std::optional<double> Number(std::string_view text) {
    double value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size() || !std::isfinite(value)) return std::nullopt;
    return value;
}

} // namespace

TRigctlRequest ParseRigctlLine(std::string_view line) {
    TRigctlRequest request;
    std::vector<std::string> words = Words(line);
    if (words.empty()) return request;
    std::string &first = words.front();
    const char prefix = first.front();
    if (prefix == '+' || prefix == ';' || prefix == '|') {
        request.Separator = prefix == '+' ? '\n' : prefix;
        first.erase(0, 1);
        if (first.empty()) words.erase(words.begin());
        if (words.empty()) {
            request.Command = TRigctlCommand::Unknown;
            return request;
        }
    }
    request.Command = CommandNamed(words.front());
    request.Args.assign(words.begin() + 1, words.end());
    return request;
}

TRigctlAnswer AnswerRigctl(const TRigctlRequest &request, const TShareSnapshot &snapshot) {
    const auto &args = request.Args;
    auto get = [&](std::vector<TValue> values) { return Answer(Format(request, kRigOk, values, false)); };
    auto set = [&](int code) { return Answer(Format(request, code, {}, true)); };
    auto failed = [&](int code) { return Answer(Format(request, code, {}, false)); };
    switch (request.Command) {
    case TRigctlCommand::None:
        return {};
    case TRigctlCommand::GetFreq:
        return get({{"Frequency", std::to_string(snapshot.Hz)}});
    case TRigctlCommand::SetFreq: {
        const std::optional<double> hz = args.empty() ? std::nullopt : Number(args[0]);
        if (!hz || *hz < kShareLowestHz - 500.0 || *hz >= kShareHighestHz + 500.0) return set(kRigInvalid);
        // The receiver tunes in whole kHz.
        TRigctlAnswer answer;
        answer.TuneKhz = static_cast<int>(std::llround(*hz / 1000.0));
        return answer;
    }
    case TRigctlCommand::GetMode:
        return get({{"Mode", snapshot.Mode}, {"Passband", std::to_string(snapshot.PassbandHz)}});
    case TRigctlCommand::SetMode:
        // The mode is the receiver's own: only the one it is on can be "set".
        if (args.empty()) return set(kRigInvalid);
        return set(SameWord(args[0], snapshot.Mode.c_str()) ? kRigOk : kRigRejected);
    case TRigctlCommand::GetVfo:
        return get({{"VFO", "VFOA"}});
    case TRigctlCommand::SetVfo:
        if (args.empty()) return set(kRigInvalid);
        return set(IsVfoName(args[0]) ? kRigOk : kRigInvalid);
    case TRigctlCommand::GetLevel:
        if (args.empty()) return failed(kRigInvalid);
        if (args[0] == "?") return get({{"", "STRENGTH "}});
        if (args[0] != "STRENGTH" || !snapshot.Strength) return failed(kRigNotAvailable);
        return get({{"", std::to_string(*snapshot.Strength)}});
    case TRigctlCommand::GetPtt:
        return get({{"PTT", "0"}});
    case TRigctlCommand::GetSplitVfo:
        return get({{"Split", "0"}, {"TX VFO", "VFOA"}});
    case TRigctlCommand::ChkVfo:
        // Also in the extended form a bare line, as rigctld answers it.
        return Answer(request.Separator ? "ChkVFO: 0\n" : "0\n");
    case TRigctlCommand::DumpState:
        if (request.Separator == 0) return Answer(DumpState());
        return Answer(std::string("dump_state:") + request.Separator + DumpState() + Report(kRigOk));
    case TRigctlCommand::GetPowerstat:
        return get({{"Power Status", "1"}});
    case TRigctlCommand::Quit: {
        TRigctlAnswer answer = Answer(Report(kRigOk));
        answer.Close = true;
        return answer;
    }
    case TRigctlCommand::Unknown:
        break;
    }
    return Answer(Report(kRigNotAvailable));
}

std::string TuneAnswer(const TRigctlRequest &request, int code) {
    return Format(request, code, {}, true);
}

} // namespace drmq

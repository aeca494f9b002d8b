// SetFreq: the one way the program tunes the receiver.
#include "app/Form1.h"

#include "core/Cp1252.h"
#include "core/RunErrors.h"
#include "tuning/FrequencyCommand.h"
#include "tuning/TuningSteps.h"

#include <QAbstractItemModel>

namespace drmq {

namespace {
constexpr int kFrequencyColumn = 2;

// The attention dialog's answers.
constexpr int kChangeIt = 1;
constexpr int kStopLogAndChange = 2;
constexpr int kQuit = 3;
constexpr int kAnswerHandled = 4;

QString CurrentGridFrequency(const QTableView *grid) {
    const QAbstractItemModel *model = grid->model();
    if (!model) return {};
    return model->index(grid->currentIndex().row(), kFrequencyColumn).data().toString();
}
} // namespace

void TForm1::SetFreq(const QString &khz) {
    QString text = khz;
    bool goAhead = true;
    {
        // However the prompt ends, the answer counts as handled and the next
        // call may prompt again.
        struct TRearm {
            TForm1 &form;
            ~TRearm() {
                form.AttentionCode = kAnswerHandled;
                form.PromptArmed = true;
            }
        } rearm{*this};
        if (LogRunning && PromptArmed && text != Edit1->text()) {
            PromptArmed = false;
            AttentionCode = AskAttention();
        }
        // An answer left by an outer call (a grid click inside it) counts too.
        switch (AttentionCode) {
        case kChangeIt:
            break;
        case kStopLogAndChange:
            Button4Click();
            break;
        case kQuit:
            goAhead = false;
            text = Edit1->text();
            SeekRecord({kFrequencyColumn}, {text});
            break;
        default:
            break;
        }
    }
    if (!goAhead) return;

    const std::string digits = ToCp1252(text);
    const int f = StrToInt(digits);
    if (f < kLowestKhz || f > kHighestKhz) return;
    Edit1->setText(text);
    if (CurrentGridFrequency(StringGrid1) != Edit1->text()) SeekRecord({kFrequencyColumn}, {Edit1->text()});

    // Commands go out only while "Connect" is ticked.
    if (!checkaor->isChecked() || !Link) return;
    const TTuningSettings tuning{Settings.AOR7030Offset, Settings.FT847Offset, Settings.ICOMRigAddress};
    Link->Tune(FrequencyCommand(Link->Model().Index, digits, f, tuning));
}

} // namespace drmq

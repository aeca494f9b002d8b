#include "logging/AttentionDialog.h"

#include "core/DesignScale.h"

#include <QLabel>
#include <QPushButton>

namespace drmq {

TForm4::TForm4(QWidget *parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint) {
    setWindowTitle("Attention!");
    setModal(true);

    Label1 = new QLabel("You are trying to change the frequency while a log is running!", this);
    Label1->setGeometry(16, 12, 330, 18);
    Label2 = new QLabel("What do you want to do now?", this);
    Label2->setGeometry(16, 36, 330, 18);

    auto makeButton = [this](const QString &caption, int x, int answer) {
        auto *button = new QPushButton(caption, this);
        button->setGeometry(x, 72, 105, 25);
        connect(button, &QPushButton::clicked, this, [this, answer] { Choose(answer); });
        return button;
    };
    ChangeButton = makeButton("Change it", 8, ChangeIt);
    StopButton = makeButton("Stop Log + Change", 126, StopLogAndChange);
    QuitButton = makeButton("Quit", 244, Quit);
    QuitButton->setDefault(true);

    // The design sizes grow with the font, so that no text is cut.
    const TDesignScale scale = TDesignScale::ForFont(font());
    setFixedSize(scale(357), scale(112));
    scale.ScaleChildren(this);
}

int TForm4::Ask() {
    exec();
    return answer_;
}

void TForm4::showEvent(QShowEvent *event) {
    QDialog::showEvent(event);
    QuitButton->setFocus(Qt::OtherFocusReason);
}

void TForm4::reject() {
    Choose(Quit);
}

void TForm4::Choose(int answer) {
    answer_ = answer;
    done(answer);
}

} // namespace drmq

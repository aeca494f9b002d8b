// TForm4: the "Attention!" dialog that asks before the frequency changes
// while a log runs; it leaves its answer code behind. UI thread.
#pragma once

#include <QDialog>

class QLabel;
class QPushButton;

namespace drmq {

class TForm4 : public QDialog {
    Q_OBJECT
public:
    // The answer codes of the three buttons.
    enum TAnswer { ChangeIt = 1, StopLogAndChange = 2, Quit = 3 };

    explicit TForm4(QWidget *parent = nullptr);

    // Shows the dialog modally and returns the answer code of the button used.
    int Ask();
    // The code the last button left; 0 before the first answer.
    int Answer() const { return answer_; }

    QLabel *Label1 = nullptr;
    QLabel *Label2 = nullptr;
    QPushButton *ChangeButton = nullptr;
    QPushButton *StopButton = nullptr;
    QPushButton *QuitButton = nullptr;

protected:
    void showEvent(QShowEvent *event) override;

public slots:
    // Escape and the window manager's close leave the frequency as it is.
    void reject() override;

private:
    void Choose(int answer);

    int answer_ = 0;
};

} // namespace drmq

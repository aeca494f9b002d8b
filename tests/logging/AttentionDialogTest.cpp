#include "core/DesignScale.h"
#include "logging/AttentionDialog.h"

#include <QApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QTimer>
#include <gtest/gtest.h>

#include <functional>

namespace drmq {
namespace {

// Runs action once the dialog is the active modal widget.
void WhenModal(const std::function<void(TForm4 &)> &action) {
    QTimer::singleShot(0, [action] {
        auto *dialog = qobject_cast<TForm4 *>(QApplication::activeModalWidget());
        ASSERT_NE(dialog, nullptr);
        action(*dialog);
    });
}

TEST(AttentionDialogTest, CaptionTextsButtonsAndFixedFrame) {
    TForm4 dialog;
    EXPECT_EQ(dialog.windowTitle(), "Attention!");
    EXPECT_EQ(dialog.Label1->text(), "You are trying to change the frequency while a log is running!");
    EXPECT_EQ(dialog.Label2->text(), "What do you want to do now?");
    EXPECT_EQ(dialog.ChangeButton->text(), "Change it");
    EXPECT_EQ(dialog.StopButton->text(), "Stop Log + Change");
    EXPECT_EQ(dialog.QuitButton->text(), "Quit");
    EXPECT_LT(dialog.ChangeButton->x(), dialog.StopButton->x());
    EXPECT_LT(dialog.StopButton->x(), dialog.QuitButton->x());
    // The design size, grown with the font.
    const TDesignScale scale = TDesignScale::ForFont(dialog.font());
    EXPECT_EQ(dialog.size(), QSize(scale(357), scale(112)));
    EXPECT_EQ(dialog.minimumSize(), dialog.maximumSize());
    EXPECT_FALSE(dialog.windowFlags() & Qt::WindowCloseButtonHint);
    EXPECT_FALSE(dialog.windowFlags() & Qt::WindowSystemMenuHint);
    EXPECT_FALSE(dialog.windowFlags() & Qt::WindowMinMaxButtonsHint);
    EXPECT_EQ(dialog.Answer(), 0);
}

TEST(AttentionDialogTest, EachButtonLeavesItsAnswerCode) {
    TForm4 dialog;
    const struct {
        QPushButton *button;
        int answer;
    } cases[] = {{dialog.ChangeButton, 1}, {dialog.StopButton, 2}, {dialog.QuitButton, 3}};
    for (const auto &c : cases) {
        bool wasModal = false;
        WhenModal([&](TForm4 &shown) {
            wasModal = shown.isModal();
            c.button->click();
        });
        EXPECT_EQ(dialog.Ask(), c.answer);
        EXPECT_EQ(dialog.Answer(), c.answer);
        EXPECT_TRUE(wasModal);
        EXPECT_FALSE(dialog.isVisible());
    }
}

TEST(AttentionDialogTest, QuitHasTheFocusAndEnterPressesIt) {
    TForm4 dialog;
    for (int round = 0; round < 2; ++round) {
        QWidget *focused = nullptr;
        WhenModal([&](TForm4 &shown) {
            focused = shown.focusWidget();
            QKeyEvent enter(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier);
            QApplication::sendEvent(&shown, &enter);
            // Enter must have closed the dialog; a button click is the fallback.
            if (shown.isVisible()) shown.ChangeButton->click();
        });
        EXPECT_EQ(dialog.Ask(), TForm4::Quit) << round;
        EXPECT_EQ(focused, dialog.QuitButton) << round;
    }
}

TEST(AttentionDialogTest, EscapeCountsAsQuit) {
    TForm4 dialog;
    WhenModal([](TForm4 &shown) { shown.reject(); });
    EXPECT_EQ(dialog.Ask(), TForm4::Quit);
}

TEST(AttentionDialogTest, CentredOnItsParent) {
    QWidget parent;
    parent.setGeometry(100, 100, 636, 516);
    parent.show();
    TForm4 dialog(&parent);
    QPoint centre;
    WhenModal([&](TForm4 &shown) {
        centre = shown.frameGeometry().center();
        shown.QuitButton->click();
    });
    dialog.Ask();
    EXPECT_NEAR(centre.x(), parent.frameGeometry().center().x(), 2);
    EXPECT_NEAR(centre.y(), parent.frameGeometry().center().y(), 2);
}

} // namespace
} // namespace drmq

// The "Presets Settings" dialog against stand-in preset buttons and field.
#include "tuning/PresetsDialog.h"

#include "support/TuningKeys.h"

#include <QWidget>
#include <gtest/gtest.h>

#include <memory>

namespace drmq {
namespace {

class PresetsDialogTest : public ::testing::Test {
protected:
    void SetUp() override {
        const char *captions[] = {"177", "1485", "15440", "6095", "5990", "12345", "12345", "12345", "12345", "12345"};
        for (size_t i = 0; i < presets.size(); ++i) presets[i] = new QPushButton(captions[i], &owner);
        field = new QLineEdit("9420", &owner);
        dialog = new TForm2(presets, field, &owner);
    }

    QWidget owner;
    std::array<QPushButton *, 10> presets{};
    QLineEdit *field = nullptr;
    TForm2 *dialog = nullptr;
};

TEST_F(PresetsDialogTest, CaptionAndRowsAsDesigned) {
    EXPECT_EQ(dialog->windowTitle(), "Presets Settings");
    EXPECT_EQ(dialog->MemButt1->objectName(), "MemButt1");
    for (int row = 0; row < 10; ++row) {
        EXPECT_EQ(dialog->memtext[static_cast<size_t>(row)]->objectName(), QString("memtext%1").arg(row + 1));
        EXPECT_EQ(dialog->GetFrequencyButton(row)->text(), "Get Frequency");
        if (row > 0) {
            EXPECT_EQ(dialog->GetFrequencyButton(row)->objectName(), QString("Button%1").arg(row));
        }
    }
}

TEST_F(PresetsDialogTest, CopiesTheCaptionsAtCreation) {
    for (size_t i = 0; i < 10; ++i) EXPECT_EQ(dialog->memtext[i]->text(), presets[i]->text()) << i;
    // Later caption changes are not mirrored until the next close.
    presets[0]->setText("999");
    EXPECT_EQ(dialog->memtext[0]->text(), "177");
}

TEST_F(PresetsDialogTest, GetFrequencyFillsItsOwnRowOnly) {
    dialog->GetFrequencyButton(3)->click();
    EXPECT_EQ(dialog->memtext[3]->text(), "9420");
    EXPECT_EQ(dialog->memtext[2]->text(), "15440");
    EXPECT_EQ(dialog->memtext[4]->text(), "5990");
    EXPECT_EQ(presets[3]->text(), "6095"); // applied only on close
}

TEST_F(PresetsDialogTest, ClosingAppliesEveryFieldUnchecked) {
    dialog->show();
    dialog->memtext[0]->setText("abc");
    dialog->memtext[9]->setText("99999");
    dialog->close();
    EXPECT_EQ(presets[0]->text(), "abc");
    EXPECT_EQ(presets[9]->text(), "99999");
    EXPECT_EQ(presets[1]->text(), "1485");
}

TEST_F(PresetsDialogTest, EscapeAlsoApplies) {
    dialog->show();
    dialog->memtext[4]->setText("7325");
    test::PressKey(dialog, Qt::Key_Escape);
    EXPECT_FALSE(dialog->isVisible());
    EXPECT_EQ(presets[4]->text(), "7325");
}

TEST_F(PresetsDialogTest, FieldsKeepTheirTextBetweenShowings) {
    dialog->show();
    dialog->memtext[6]->setText("3965");
    dialog->close();
    presets[6]->setText("1000");
    dialog->show();
    EXPECT_EQ(dialog->memtext[6]->text(), "3965");
    dialog->close();
    EXPECT_EQ(presets[6]->text(), "3965");
}

TEST_F(PresetsDialogTest, RowsOneToSevenRefuseASixthTypedCharacter) {
    dialog->show();
    for (size_t row = 0; row < 10; ++row) {
        QLineEdit *edit = dialog->memtext[row];
        edit->clear();
        edit->setFocus();
        test::TypeText(edit, "1234567");
        EXPECT_EQ(edit->text(), row < 7 ? QString("12345") : QString("1234567")) << row;
    }
}

TEST_F(PresetsDialogTest, LongerTextFromTheProgramIsNotCut) {
    // A longer preset survives opening and closing untouched.
    field->setText("006095");
    dialog->GetFrequencyButton(0)->click();
    EXPECT_EQ(dialog->memtext[0]->text(), "006095");
    dialog->show();
    dialog->close();
    EXPECT_EQ(presets[0]->text(), "006095");
}

TEST_F(PresetsDialogTest, EnterInAFieldPressesNoGetFrequencyButton) {
    dialog->show();
    dialog->memtext[0]->setFocus();
    test::PressKey(dialog->memtext[0], Qt::Key_Return, "\r");
    EXPECT_EQ(dialog->memtext[0]->text(), "177");
}

} // namespace
} // namespace drmq

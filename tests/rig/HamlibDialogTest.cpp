// The Hamlib settings dialog with the installed Hamlib's model list: the
// settings shown and taken back, and the list filtered by typing.
#include "rig/HamlibDialog.h"

#include <QApplication>
#include <QKeyEvent>
#include <gtest/gtest.h>

namespace drmq {
namespace {

int ShownRows(const THamlibDialog &dialog) {
    int shown = 0;
    for (int row = 0; row < dialog.Models->rowCount(); ++row) shown += dialog.Models->isRowHidden(row) ? 0 : 1;
    return shown;
}

TEST(HamlibDialog, ShowsTheSettingsAndTypingNarrowsTheModels) {
    THamlibDialog dialog;
    dialog.SetSettings({2, "10.0.0.5:4532", 0, "AM"});
    const int all = dialog.Models->rowCount();
    ASSERT_GT(all, 100) << "Hamlib lists several hundred models";
    EXPECT_EQ(dialog.Settings().Model, 2);
    EXPECT_EQ(dialog.Settings().Port, "10.0.0.5:4532");
    EXPECT_EQ(dialog.Speed->currentText(), "Model's own");

    // Letters typed into the list go to the search field; every word must match.
    dialog.Models->setFocus();
    for (const char *letter : {"k", "e", "n", "w", "o", "o", "d", " ", "8", "5", "0"}) {
        QKeyEvent key(QEvent::KeyPress, 0, Qt::NoModifier, letter);
        QApplication::sendEvent(dialog.Models, &key);
    }
    EXPECT_EQ(dialog.Search->text(), "kenwood 850");
    EXPECT_GE(ShownRows(dialog), 1);
    EXPECT_LT(ShownRows(dialog), all);
    for (int row = 0; row < dialog.Models->rowCount(); ++row) {
        if (dialog.Models->isRowHidden(row)) continue;
        EXPECT_EQ(dialog.Models->item(row, 0)->text(), "Kenwood");
        EXPECT_TRUE(dialog.Models->item(row, 1)->text().contains("850"));
    }
    // The choice follows the filter to a model that can be seen.
    EXPECT_EQ(dialog.Settings().Model, 2009);

    dialog.Search->setText("no such rig anywhere");
    EXPECT_EQ(ShownRows(dialog), 0);
    EXPECT_EQ(dialog.Settings().Model, 2) << "nothing shown keeps the model as it was";
    dialog.Search->clear();
    EXPECT_EQ(ShownRows(dialog), all);

    // A speed outside the list is kept as it was read.
    dialog.SetSettings({2009, "/dev/ttyUSB0", 1234, "USB"});
    EXPECT_EQ(dialog.Settings().Speed, 1234);
    EXPECT_EQ(dialog.Settings().Mode, "USB");
    EXPECT_EQ(dialog.Settings().Model, 2009);
}

} // namespace
} // namespace drmq

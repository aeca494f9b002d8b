// TScheduleSourcesDialog: the "Schedule sources" window: one row per
// schedule list (enabled, URL, last successful update, DRM entries, last
// failure) and "Update now". It holds controls only; the main window fills
// the rows and acts on the user's changes. UI thread.
#pragma once

#include <QCheckBox>
#include <QDialog>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include <array>
#include <functional>

namespace drmq {

struct TSourceRow {
    QString Name;
    bool Enabled = false;
    QString Url;
    QString LastSuccess; // "2026-06-10 18:00 UTC" or "never"
    QString Entries;
    QString LastFailure; // "" or when and why
};

class TScheduleSourcesDialog : public QDialog {
    Q_OBJECT
public:
    static constexpr int kRows = 4;

    explicit TScheduleSourcesDialog(QWidget *parent = nullptr);

    void ShowRows(const std::array<TSourceRow, kRows> &rows);
    // A source switched on or off, or its URL edited (when editing ends).
    std::function<void(int row, bool enabled, const QString &url)> SourceChanged;
    std::function<void()> UpdateNow;

    std::array<QCheckBox *, kRows> Enabled{};
    std::array<QLineEdit *, kRows> Url{};
    std::array<QLabel *, kRows> LastSuccess{};
    std::array<QLabel *, kRows> Entries{};
    std::array<QLabel *, kRows> LastFailure{};
    QPushButton *UpdateButton = nullptr; // "Update now"
    QPushButton *CloseButton = nullptr;  // "Close"

private:
    void Changed(int row);
};

} // namespace drmq

// TRadioGroup: a captioned group of radio buttons with one chosen item,
// addressed by index (-1 = none). UI thread.
#pragma once

#include <QButtonGroup>
#include <QGroupBox>
#include <QRadioButton>
#include <QStringList>
#include <QVector>

namespace drmq {

class TRadioGroup : public QGroupBox {
    Q_OBJECT
public:
    TRadioGroup(const QString &caption, const QStringList &items, QWidget *parent = nullptr);

    int ItemIndex() const;
    // Values outside the items choose nothing.
    void SetItemIndex(int index);
    QRadioButton *Item(int index) const { return buttons_.value(index); }
    int Count() const { return static_cast<int>(buttons_.size()); }

signals:
    // The chosen item changed, whatever changed it: a click, the keys, an
    // accessibility tool or SetItemIndex.
    void ItemChanged(int index);

private:
    QButtonGroup group_;
    QVector<QRadioButton *> buttons_;
};

} // namespace drmq

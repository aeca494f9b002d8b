// TTypedLengthLimit: refuses typing beyond a length but, unlike a maximum
// length, leaves a longer text set by the program whole, so that a stored
// value is never shortened by showing it. UI thread.
#pragma once

#include <QValidator>

namespace drmq {

class TTypedLengthLimit : public QValidator {
public:
    TTypedLengthLimit(int limit, QObject *parent) : QValidator(parent), limit_(limit) {}
    State validate(QString &input, int &) const override;

private:
    int limit_;
};

} // namespace drmq

#include "core/TypedLengthLimit.h"

namespace drmq {

QValidator::State TTypedLengthLimit::validate(QString &input, int &) const {
    return input.size() <= limit_ ? Acceptable : Invalid;
}

} // namespace drmq

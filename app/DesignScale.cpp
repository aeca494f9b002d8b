#include "app/DesignScale.h"

#include <QFontMetricsF>

#include <algorithm>
#include <cmath>

namespace drmq {

TDesignScale TDesignScale::ForFont(const QFont &font) {
    return TDesignScale(QFontMetricsF(font).averageCharWidth() / kDesignCharWidth);
}

int TDesignScale::operator()(int design) const {
    return std::max(design, static_cast<int>(std::lround(design * ratio_)));
}

QRect TDesignScale::operator()(const QRect &design) const {
    // Edges are scaled, not the size, so that controls which touch in the
    // design still touch.
    const int left = (*this)(design.left());
    const int top = (*this)(design.top());
    return QRect(QPoint(left, top), QPoint((*this)(design.left() + design.width()) - 1,
                                           (*this)(design.top() + design.height()) - 1));
}

} // namespace drmq

#include "core/DesignScale.h"

#include <QFontMetricsF>
#include <QLayout>
#include <QWidget>

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

void TDesignScale::ScaleChildren(QWidget *parent) const {
    for (QObject *object : parent->children()) {
        auto *child = qobject_cast<QWidget *>(object);
        if (!child || child->isWindow()) continue;
        if (parent->layout() && parent->layout()->indexOf(child) >= 0) continue;
        child->setGeometry((*this)(child->geometry()));
        if (!child->layout()) ScaleChildren(child);
    }
}

} // namespace drmq

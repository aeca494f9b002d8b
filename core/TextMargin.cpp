#include "core/TextMargin.h"

#include <QStyle>
#include <QWidget>

namespace drmq {

int TextMargin(const QWidget *widget) {
    // The focus frame's margin and the pixel of the frame itself, as the
    // style's item views lay out their texts.
    return widget->style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, widget) + 1;
}

} // namespace drmq

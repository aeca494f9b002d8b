// The room a text keeps from the side edges of the grid cell or status panel
// it sits in: the style's own text margin, as its item views keep it. UI thread.
#pragma once

class QWidget;

namespace drmq {

// Pixels between a text and each side edge, in the widget's style.
int TextMargin(const QWidget *widget);

} // namespace drmq

// TDesignScale: turns the windows' design sizes, drawn for a font whose
// average character is 5 pixels wide, into sizes for the font in use. UI thread.
#pragma once

#include <QFont>
#include <QRect>

class QWidget;

namespace drmq {

class TDesignScale {
public:
    // Average character width of the font the design sizes were made for.
    static constexpr double kDesignCharWidth = 5.0;

    explicit TDesignScale(double ratio = 1.0) : ratio_(ratio) {}
    // The scale for a font: its average character width over the design's.
    static TDesignScale ForFont(const QFont &font);

    double Ratio() const { return ratio_; }
    // A design size or position scaled and rounded, never below the design.
    int operator()(int design) const;
    QRect operator()(const QRect &design) const;
    // Scales the design geometry of the children of a widget, through every
    // level, leaving out those a layout places.
    void ScaleChildren(QWidget *parent) const;

private:
    double ratio_;
};

} // namespace drmq

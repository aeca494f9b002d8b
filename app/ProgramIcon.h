// The program's icon, drawn from the SVG built into the program, at the
// sizes desktops ask for. UI thread.
#pragma once

#include <QIcon>

namespace drmq {

// Rendered here rather than through an icon plugin, so that the icon shows
// wherever the SVG library is, whatever plugins are installed.
QIcon ProgramIcon();

} // namespace drmq

// Benchmark support: the options of a program started in a prepared folder
// with no timers of its own, its error and message texts collected. UI thread.
#pragma once

#include "app/Form1.h"

#include <QStringList>

#include <string>

namespace drmq::bench {

// `texts` receives every error and message text; it must outlive the program.
inline TForm1Options QuietOptions(const std::string &folder, QStringList &texts) {
    TForm1Options options;
    options.ProgramFolder = folder;
    options.StartTimers = false;
    options.ShowErrorBox = [&texts](const QString &text) { texts << text; };
    options.ShowMessage = [&texts](const QString &text) { texts << text; };
    return options;
}

} // namespace drmq::bench

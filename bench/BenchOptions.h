// Benchmark support: the options of a program started in a prepared folder
// with no timers of its own, its error and message texts collected. UI thread.
#pragma once

#include "app/Form1.h"

#include <QStringList>

#include <fstream>
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

// Prepares folder (ending in '/') for a program whose COM1 is devicePath,
// with the receiver model chosen, an empty schedule and bulletin.
inline void WriteReceiverFolder(const std::string &folder, int model, const std::string &devicePath) {
    std::ofstream(folder + "DRMSchedule.ini", std::ios::binary) << "empty schedule\r\n";
    std::ofstream(folder + "wwv.txt", std::ios::binary) << "\r\n";
    std::ofstream(folder + "DRMQuodra.ini") << "[Settings]\r\nUpdate=0\r\nQRG=6095\r\nReceiver=" << model
                                             << "\r\nCOM Port=0\r\n[Ports]\r\nCOM1=" << devicePath << "\r\n";
}

} // namespace drmq::bench

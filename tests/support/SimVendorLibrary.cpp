#include "SimVendorLibrary.h"

#include <QCoreApplication>
#include <QFile>

#include <cstdlib>
#include <fstream>

namespace drmq::test {

TSimVendorLibrary::TSimVendorLibrary(const std::string &folder)
    : folder_(folder), logPath_(folder + "vendor-calls.log") {
    std::ofstream(logPath_, std::ios::trunc);
    setenv("DRMQ_FAKE_VENDOR_LOG", logPath_.c_str(), 1);
    SetRadioHandle(7);
}

TSimVendorLibrary::~TSimVendorLibrary() {
    unsetenv("DRMQ_FAKE_VENDOR_LOG");
}

void TSimVendorLibrary::Install(const std::string &fileName) const {
    // The stand-ins are built beside the test programs' folder.
    const QString source = QCoreApplication::applicationDirPath() + "/../fakevendor/" + QString::fromStdString(fileName);
    const QString target = QString::fromStdString(folder_ + fileName);
    QFile::remove(target);
    if (!QFile::copy(source, target)) throw std::runtime_error("stand-in library missing: " + source.toStdString());
}

std::vector<std::string> TSimVendorLibrary::Calls() const {
    std::vector<std::string> calls;
    std::ifstream in(logPath_);
    for (std::string line; std::getline(in, line);) calls.push_back(line);
    return calls;
}

void TSimVendorLibrary::SetRadioHandle(int handle) {
    setenv("DRMQ_FAKE_RADIO_HANDLE", std::to_string(handle).c_str(), 1);
}

} // namespace drmq::test

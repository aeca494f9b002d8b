// Test support for the reception log: runs a test inside a fresh temporary
// working directory (where "DRMQuodra.log" goes) and restores the old one. UI thread.
#pragma once

#include <QTemporaryDir>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

namespace drmq::test {

class LogWorkingDir {
public:
    LogWorkingDir() : previous_(std::filesystem::current_path()) {
        std::filesystem::current_path(dir_.path().toStdString());
    }
    ~LogWorkingDir() { std::filesystem::current_path(previous_); }
    LogWorkingDir(const LogWorkingDir &) = delete;
    LogWorkingDir &operator=(const LogWorkingDir &) = delete;

    std::string Path() const { return dir_.path().toStdString(); }
    // The bytes of a file in the directory, "" when it does not exist.
    std::string Read(const std::string &name = "DRMQuodra.log") const {
        std::ifstream in(Path() + "/" + name, std::ios::binary);
        std::stringstream bytes;
        bytes << in.rdbuf();
        return bytes.str();
    }
    bool Exists(const std::string &name = "DRMQuodra.log") const {
        return std::filesystem::exists(Path() + "/" + name);
    }

private:
    std::filesystem::path previous_;
    QTemporaryDir dir_;
};

} // namespace drmq::test

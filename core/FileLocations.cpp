#include "core/FileLocations.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <pwd.h>
#include <unistd.h>

#ifndef DRMQ_SAMPLES_FROM_PROGRAM
#define DRMQ_SAMPLES_FROM_PROGRAM "../share/drmquodra"
#endif

namespace drmq {

namespace fs = std::filesystem;

namespace {

std::string WithSlash(std::string folder) {
    if (folder.empty() || folder.back() != '/') folder += '/';
    return folder;
}

bool Exists(const std::string &path) {
    std::error_code ec;
    return fs::is_regular_file(path, ec);
}

// Creating a file is the only sure test: root passes every permission check,
// and a read-only mount fails every write whatever the permissions say.
bool AcceptsNewFile(const std::string &folder) {
    std::string name = folder + ".drmquodra-write-test-XXXXXX";
    const int fd = ::mkstemp(name.data());
    if (fd < 0) return false;
    ::close(fd);
    ::unlink(name.c_str());
    return true;
}

// Copies the bytes only: the new file gets the user's own permissions, not the
// read-only ones of an installed sample.
bool CopyBytes(const std::string &source, const std::string &target) {
    std::ifstream in(source, std::ios::binary);
    if (!in.is_open()) return false;
    std::ostringstream bytes;
    bytes << in.rdbuf();
    std::ofstream out(target, std::ios::binary | std::ios::trunc);
    out << bytes.str();
    out.close();
    if (out) return true;
    std::error_code ec;
    fs::remove(target, ec);
    return false;
}

std::string Environment(const char *name) {
    const char *value = std::getenv(name);
    return value ? value : "";
}

std::string HomeFolder() {
    std::string home = Environment("HOME");
    if (home.empty())
        if (const passwd *user = ::getpwuid(::getuid())) home = user->pw_dir;
    return home;
}

} // namespace

TProgramFolderFacts ProbeProgramFolder(const std::string &programFolder) {
    TProgramFolderFacts facts;
    facts.HoldsSettings = Exists(programFolder + kIniName);
    facts.IsBuildFolder = Exists(programFolder + "CMakeCache.txt");
    facts.Writable = AcceptsNewFile(programFolder);
    return facts;
}

TFileLocations::TFileLocations(const std::string &programFolder, const TProgramFolderFacts &facts,
                               const std::string &xdgConfigHome, const std::string &home,
                               const std::string &sampleFolder)
    : programFolder_(WithSlash(programFolder)), sampleFolder_(WithSlash(sampleFolder)) {
    installed_ = !(facts.IsBuildFolder || (facts.HoldsSettings && facts.Writable));
    if (!installed_) {
        fileFolder_ = programFolder_;
        return;
    }
    // A relative XDG_CONFIG_HOME is invalid and ignored.
    const std::string configHome = xdgConfigHome.starts_with('/') ? xdgConfigHome : WithSlash(home) + ".config";
    fileFolder_ = WithSlash(configHome) + "drmquodra/";
}

TFileLocations TFileLocations::ForProgram(const std::string &programFolder) {
    const std::string folder = WithSlash(programFolder);
    return TFileLocations(folder, ProbeProgramFolder(folder), Environment("XDG_CONFIG_HOME"), HomeFolder(),
                          folder + DRMQ_SAMPLES_FROM_PROGRAM);
}

std::vector<std::string> TFileLocations::LibraryFolders() const {
    if (!installed_) return {programFolder_};
    return {fileFolder_, programFolder_};
}

void TFileLocations::PrepareFileFolder() const {
    if (!installed_) return;
    std::error_code ec;
    fs::create_directories(fileFolder_, ec);
    for (const char *name : {kScheduleFile, kBulletinFile}) {
        const std::string target = fileFolder_ + name;
        if (Exists(target)) continue;
        for (const std::string &source : {sampleFolder_ + name, programFolder_ + name}) {
            if (Exists(source) && CopyBytes(source, target)) break;
        }
    }
}

} // namespace drmq

// TFileLocations: decides where the program keeps its files (its own folder
// when portable, the user's configuration folder when installed). UI thread, at start.
#pragma once

#include <string>
#include <vector>

namespace drmq {

// The files the program opens by name; the log is not among them, it is
// written to the folder the program was started from.
inline constexpr const char *kIniName = "DRMQuodra.ini";
inline constexpr const char *kScheduleFile = "DRMSchedule.ini";
inline constexpr const char *kScheduleDownloadFile = "DRMSchedule.new";
inline constexpr const char *kBulletinFile = "wwv.txt";
inline constexpr const char *kCalibrationFile = "FRG100.cal";

// What the program's own folder is like; ProbeProgramFolder looks.
struct TProgramFolderFacts {
    bool HoldsSettings = false; // DRMQuodra.ini is there
    bool IsBuildFolder = false; // the program runs where it was built
    bool Writable = false;      // a new file can be created there (tried, not guessed)
};

TProgramFolderFacts ProbeProgramFolder(const std::string &programFolder);

// Folders end in '/'.
class TFileLocations {
public:
    // Portable when the program runs from its build folder, or its folder holds
    // the settings file and can be written; installed otherwise, with the files
    // in $XDG_CONFIG_HOME/drmquodra/ (~/.config/drmquodra/ when that is unset or
    // not absolute). sampleFolder holds the samples an installed program starts with.
    TFileLocations(const std::string &programFolder, const TProgramFolderFacts &facts,
                   const std::string &xdgConfigHome, const std::string &home, const std::string &sampleFolder);

    // The locations of the running program, from its folder and its environment.
    static TFileLocations ForProgram(const std::string &programFolder);

    bool Installed() const { return installed_; }
    // Settings, schedule, its download, bulletin and calibration.
    const std::string &FileFolder() const { return fileFolder_; }
    // Searched in this order for a maker's library, before the system's library path.
    std::vector<std::string> LibraryFolders() const;

    // Installed: creates the file folder and copies each sample schedule and
    // bulletin not yet there, from the sample folder or else the program's own
    // folder, byte for byte. Nothing happens when portable. What cannot be made
    // shows later, when the file is opened.
    void PrepareFileFolder() const;

private:
    std::string programFolder_;
    std::string sampleFolder_;
    std::string fileFolder_;
    bool installed_ = false;
};

} // namespace drmq

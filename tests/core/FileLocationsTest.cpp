// Where the program's files live: portable in its own folder, installed in
// the user's configuration folder with the samples copied there.
#include "core/FileLocations.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <unistd.h>

namespace drmq {
namespace {

namespace fs = std::filesystem;

void Write(const std::string &path, const std::string &bytes) { std::ofstream(path, std::ios::binary) << bytes; }

std::string Read(const std::string &path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

TProgramFolderFacts Facts(bool holdsSettings, bool isBuildFolder, bool writable) {
    TProgramFolderFacts facts;
    facts.HoldsSettings = holdsSettings;
    facts.IsBuildFolder = isBuildFolder;
    facts.Writable = writable;
    return facts;
}

TEST(FileLocationsTest, ProgramFolderIsUsedOnlyWhenItIsABuildOrAWritableSettingsFolder) {
    const std::string program = "/opt/drmquodra/bin/";
    const std::string samples = "/opt/drmquodra/share/drmquodra";
    struct Case {
        TProgramFolderFacts facts;
        bool installed;
    };
    for (const Case &c : {Case{Facts(true, false, true), false}, Case{Facts(false, true, true), false},
                          Case{Facts(false, true, false), false}, Case{Facts(true, false, false), true},
                          Case{Facts(false, false, true), true}, Case{Facts(false, false, false), true}}) {
        const TFileLocations locations(program, c.facts, "", "/home/ann", samples);
        EXPECT_EQ(locations.Installed(), c.installed);
        if (c.installed) {
            EXPECT_EQ(locations.FileFolder(), "/home/ann/.config/drmquodra/");
            EXPECT_EQ(locations.LibraryFolders(), (std::vector<std::string>{"/home/ann/.config/drmquodra/", program}));
        } else {
            EXPECT_EQ(locations.FileFolder(), program);
            EXPECT_EQ(locations.LibraryFolders(), std::vector<std::string>{program});
        }
    }
}

TEST(FileLocationsTest, ConfigurationFolderFollowsAnAbsoluteXdgConfigHomeOnly) {
    const TProgramFolderFacts installed = Facts(false, false, false);
    EXPECT_EQ(TFileLocations("/usr/bin", installed, "/tmp/cfg", "/home/ann", "/usr/share/drmquodra").FileFolder(),
              "/tmp/cfg/drmquodra/");
    EXPECT_EQ(TFileLocations("/usr/bin", installed, "cfg", "/home/ann/", "/usr/share/drmquodra").FileFolder(),
              "/home/ann/.config/drmquodra/");
}

TEST(FileLocationsTest, ProbeSeesSettingsBuildFolderAndWritability) {
    QTemporaryDir dir;
    const std::string folder = dir.path().toStdString() + "/";
    TProgramFolderFacts facts = ProbeProgramFolder(folder);
    EXPECT_FALSE(facts.HoldsSettings);
    EXPECT_FALSE(facts.IsBuildFolder);
    EXPECT_TRUE(facts.Writable);
    EXPECT_EQ(fs::directory_iterator(folder), fs::directory_iterator()) << "the write test leaves nothing behind";

    Write(folder + "DRMQuodra.ini", "");
    Write(folder + "CMakeCache.txt", "");
    facts = ProbeProgramFolder(folder);
    EXPECT_TRUE(facts.HoldsSettings);
    EXPECT_TRUE(facts.IsBuildFolder);

    EXPECT_FALSE(ProbeProgramFolder(folder + "missing/").Writable);
    // Root writes into any folder whatever its permissions, so only other
    // users can see a folder refuse.
    if (::geteuid() != 0) {
        fs::permissions(folder, fs::perms::owner_write, fs::perm_options::remove);
        EXPECT_FALSE(ProbeProgramFolder(folder).Writable);
        fs::permissions(folder, fs::perms::owner_write, fs::perm_options::add);
    }
}

TEST(FileLocationsTest, InstalledStartCopiesMissingSamplesAndKeepsTheUsersFiles) {
    QTemporaryDir dir;
    const std::string root = dir.path().toStdString() + "/";
    const std::string program = root + "bin/";
    const std::string samples = root + "share/drmquodra/";
    fs::create_directories(program);
    fs::create_directories(samples);
    Write(samples + "DRMSchedule.ini", "StartStopTimeUTC=0000-2400\r\nSender=Gr\xFCnfeld\r\n");
    Write(program + "wwv.txt", "bulletin beside the program\r\n");
    fs::permissions(samples + "DRMSchedule.ini", fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);

    const TFileLocations locations(program, Facts(false, false, false), root + "config", root + "home", samples);
    locations.PrepareFileFolder();
    const std::string folder = root + "config/drmquodra/";
    EXPECT_EQ(Read(folder + "DRMSchedule.ini"), "StartStopTimeUTC=0000-2400\r\nSender=Gr\xFCnfeld\r\n");
    EXPECT_EQ(Read(folder + "wwv.txt"), "bulletin beside the program\r\n");
    EXPECT_NE(fs::status(folder + "DRMSchedule.ini").permissions() & fs::perms::owner_write, fs::perms::none)
        << "the user's copy can be replaced by a download";

    Write(folder + "DRMSchedule.ini", "the user's own schedule");
    fs::remove(folder + "wwv.txt");
    locations.PrepareFileFolder();
    EXPECT_EQ(Read(folder + "DRMSchedule.ini"), "the user's own schedule");
    EXPECT_EQ(Read(folder + "wwv.txt"), "bulletin beside the program\r\n");
}

TEST(FileLocationsTest, PortableStartCreatesNothing) {
    QTemporaryDir dir;
    const std::string root = dir.path().toStdString() + "/";
    Write(root + "DRMSchedule.ini", "schedule");
    const TFileLocations locations(root, Facts(true, false, true), root + "config", root + "home", root);
    locations.PrepareFileFolder();
    EXPECT_FALSE(fs::exists(root + "config"));
    EXPECT_FALSE(fs::exists(root + "home"));
}

} // namespace
} // namespace drmq

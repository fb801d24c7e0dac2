#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <unistd.h>

#include "app/config_location.h"

namespace fs = std::filesystem;

namespace {

class ConfigLocation : public ::testing::Test {
protected:
    void SetUp() override {
        root_ = fs::temp_directory_path() / ("kinemo_cfgloc_" + std::to_string(::getpid()));
        fs::remove_all(root_);
        fs::create_directories(root_ / "program");
    }
    void TearDown() override {
        fs::permissions(root_ / "program", fs::perms::owner_all, fs::perm_options::add);
        fs::remove_all(root_);
    }
    fs::path root_;
};

TEST_F(ConfigLocation, BesideTheProgramWhenWritable) {
    EXPECT_EQ(
        ChooseConfigFile((root_ / "program").string(), (root_ / "user").string(), "default.cfg"),
        (root_ / "program" / "default.cfg").string());
    EXPECT_FALSE(fs::exists(root_ / "user"));
}

TEST_F(ConfigLocation, UserFolderWhenTheProgramFolderIsUnusable) {
    const std::string expected = (root_ / "user" / "cfg" / "default.cfg").string();
    EXPECT_EQ(ChooseConfigFile((root_ / "missing").string(), (root_ / "user" / "cfg").string(),
                               "default.cfg"),
              expected);
    EXPECT_TRUE(fs::is_directory(root_ / "user" / "cfg"));

    if (::geteuid() == 0)
        GTEST_SKIP() << "running as root: folder permissions do not restrict writing";
    fs::permissions(root_ / "program",
                    fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write,
                    fs::perm_options::remove);
    EXPECT_EQ(ChooseConfigFile((root_ / "program").string(), (root_ / "user" / "cfg").string(),
                               "default.cfg"),
              expected);
}

}  // namespace

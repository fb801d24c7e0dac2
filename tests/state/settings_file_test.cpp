#include <gtest/gtest.h>

#include <clocale>
#include <filesystem>
#include <fstream>
#include <locale>
#include <map>
#include <sstream>
#include <string>

#include "state/settings_file.h"

namespace fs = std::filesystem;

namespace {

class SettingsFile : public ::testing::Test {
protected:
    void SetUp() override {
        dir_ = fs::temp_directory_path() /
               ("kinemo_settings_" +
                std::to_string(::testing::UnitTest::GetInstance()->random_seed()) + "_" +
                ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(dir_);
        fs::create_directories(dir_);
        path_ = (dir_ / "default.cfg").string();
    }
    void TearDown() override { fs::remove_all(dir_); }

    void Write(const std::string& text) { std::ofstream(path_, std::ios::binary) << text; }
    std::string Read() const {
        std::ifstream in(path_, std::ios::binary);
        std::stringstream ss;
        ss << in.rdbuf();
        return ss.str();
    }
    // key -> value of section "default".
    std::map<std::string, std::string> DefaultSection() const {
        std::map<std::string, std::string> keys;
        std::istringstream in(Read());
        std::string line;
        bool inDefault = false;
        while (std::getline(in, line)) {
            if (!line.empty() && line[0] == '[') {
                inDefault = line == "[default]";
                continue;
            }
            const auto eq = line.find('=');
            if (inDefault && eq != std::string::npos)
                keys[line.substr(0, eq)] = line.substr(eq + 1);
        }
        return keys;
    }

    fs::path dir_;
    std::string path_;
};

void ExpectPersistedEqual(const rgState& a, const rgState& b) {
    EXPECT_EQ(a.maxUndoLevels, b.maxUndoLevels);
    EXPECT_EQ(a.backgroundColour, b.backgroundColour);
    EXPECT_EQ(a.gridColour, b.gridColour);
    EXPECT_EQ(a.majorGridColour, b.majorGridColour);
    EXPECT_EQ(a.gridSize, b.gridSize);
    EXPECT_EQ(a.majorLines, b.majorLines);
    EXPECT_EQ(a.adaptiveGrid, b.adaptiveGrid);
    EXPECT_EQ(a.vertexColour, b.vertexColour);
    EXPECT_EQ(a.selectedVertexColour, b.selectedVertexColour);
    EXPECT_EQ(a.ikMaxIterations, b.ikMaxIterations);
    EXPECT_EQ(a.ikThreshold, b.ikThreshold);
}

TEST(EditorState, InitialValues) {
    const rgState s;
    EXPECT_EQ(s.currentFrame, 1);
    EXPECT_EQ(s.totalFrames, 48);
    EXPECT_EQ(s.fileName, "unnamed.kmo");
    EXPECT_EQ(s.framesPerSecond, 24.0f);
    EXPECT_EQ(s.maxUndoLevels, 16);
    EXPECT_EQ(s.interpolation, kInterpSpline);
    EXPECT_FLOAT_EQ(s.backgroundColour.x, 192.0f / 255.0f);
    EXPECT_FLOAT_EQ(s.gridColour.y, 150.0f / 255.0f);
    EXPECT_EQ(s.majorGridColour, vector3(0.4f, 0.4f, 0.4f));
    EXPECT_EQ(s.vertexColour, vector3(0, 1, 0));
    EXPECT_EQ(s.selectedVertexColour, vector3(1, 0, 0));
    EXPECT_TRUE(s.adaptiveGrid);
    EXPECT_EQ(s.ikMaxIterations, 100);
    EXPECT_EQ(s.ikThreshold, 0.0001f);
    EXPECT_EQ(s.segmentStart, 1);
    EXPECT_EQ(s.segmentEnd, 48);
    EXPECT_EQ(s.activeAxis, kAxisNone);

    rgState named;
    named.SetFileName(std::string(2000, 'a'));
    EXPECT_EQ(named.fileName.size(), rgState::kMaxFileName);
}

TEST_F(SettingsFile, MissingFileGivesDefaultsAndSaveCreatesAllKeys) {
    rgState s;
    s.gridSize = 3.0f;  // must be reset by nothing: load only touches keys it reads
    const auto r = LoadSettings(s, path_);
    EXPECT_FALSE(r.fileFound);
    EXPECT_EQ(r.keysDefaulted, 21);
    EXPECT_EQ(s.gridSize, 3.0f);

    ASSERT_TRUE(SaveSettings(rgState{}, path_));
    const auto keys = DefaultSection();
    int count = 0;
    const char* const* names = PersistedSettingKeys(&count);
    ASSERT_EQ(count, 21);
    EXPECT_EQ(keys.size(), 21u);
    for (int i = 0; i < count; ++i) EXPECT_EQ(keys.count(names[i]), 1u) << names[i];
    EXPECT_EQ(keys.at("grid_size"), "0.25");
    EXPECT_EQ(keys.at("ik_threshold"), "0.0001");  // decimal notation, never an exponent
    EXPECT_EQ(keys.at("background_red"), "0.7529412");
    EXPECT_EQ(keys.at("adaptive_grid"), "1");
    EXPECT_EQ(keys.at("max_undo_levels"), "16");
    EXPECT_FALSE(fs::exists(path_ + ".tmp"));
}

TEST_F(SettingsFile, RoundTripIsExact) {
    rgState s;
    s.maxUndoLevels = 3;
    s.backgroundColour = {0.1f, 1.0f / 3.0f, 0.999f};
    s.gridColour = {0, 0, 0};
    s.majorGridColour = {1, 0.5f, 0.25f};
    s.gridSize = 1e-3f;
    s.majorLines = 12;
    s.adaptiveGrid = false;
    s.vertexColour = {0.2f, 0.3f, 0.4f};
    s.selectedVertexColour = {0.7f, 0.8f, 0.9f};
    s.ikMaxIterations = 250;
    s.ikThreshold = 1.2345678e-5f;
    s.currentFrame = 30;  // not persisted
    ASSERT_TRUE(SaveSettings(s, path_));

    rgState back;
    const auto r = LoadSettings(back, path_);
    EXPECT_TRUE(r.fileFound);
    EXPECT_EQ(r.keysRead, 21);
    ExpectPersistedEqual(back, s);
    EXPECT_EQ(back.currentFrame, 1);
}

TEST_F(SettingsFile, DamagedValuesFallBackPerKey) {
    struct Case {
        std::string line;
        bool parsed;
    } cases[] = {
        {"grid_size=0.5", true},
        {"GRID_SIZE = 0.5 ", true},  // keys are case-insensitive, spaces trimmed
        {"grid_size=", false},
        {"grid_size=abc", false},
        {"grid_size=0,5", false},  // a locale comma is not a decimal point
        {"grid_size=0.5x", false},
        {"major_lines=2.5", false},  // not an integer
        {"major_lines=-3", true},
        {"adaptive_grid=yes", false},
        {"adaptive_grid=0", true},
        {"max_undo_levels=99999999999999", false},  // out of range
    };
    for (const auto& c : cases) {
        Write("[default]\r\n" + c.line + "\r\n");
        rgState s;
        const auto r = LoadSettings(s, path_);
        EXPECT_EQ(r.keysRead, c.parsed ? 1 : 0) << c.line;
        EXPECT_EQ(r.keysDefaulted, c.parsed ? 20 : 21) << c.line;
        if (!c.parsed) ExpectPersistedEqual(s, rgState{});
    }
    Write("[default]\ngrid_size=0.5\nmajor_lines=-3\nadaptive_grid=0\n");
    rgState s;
    LoadSettings(s, path_);
    EXPECT_EQ(s.gridSize, 0.5f);
    EXPECT_EQ(s.majorLines, -3);
    EXPECT_FALSE(s.adaptiveGrid);
}

TEST_F(SettingsFile, OnlySectionDefaultCountsAndOtherContentSurvivesASave) {
    Write(
        "; user "
        "notes\n[other]\ngrid_size=9\n\n[Default]\nmajor_lines=4\nmy_key=kept\nmajor_lines=5\n");
    rgState s;
    const auto r = LoadSettings(s, path_);
    EXPECT_EQ(r.keysRead, 1);
    EXPECT_EQ(s.gridSize, 0.25f);
    EXPECT_EQ(s.majorLines, 4);  // first occurrence wins

    s.majorLines = 6;
    ASSERT_TRUE(SaveSettings(s, path_));
    const std::string text = Read();
    EXPECT_NE(text.find("; user notes\n[other]\ngrid_size=9\n"), std::string::npos) << text;
    EXPECT_NE(text.find("my_key=kept"), std::string::npos);
    EXPECT_EQ(text.find("major_lines=4"), std::string::npos);
    EXPECT_EQ(text.find("major_lines=5"), std::string::npos);
    rgState back;
    EXPECT_EQ(LoadSettings(back, path_).keysRead, 21);
    EXPECT_EQ(back.majorLines, 6);
    EXPECT_EQ(back.gridSize, 0.25f);
}

TEST_F(SettingsFile, UnwritableTargetReportsAndKeepsTheOldFile) {
    rgState s;
    std::string error;
    const std::string inMissingDir = (dir_ / "no" / "such" / "default.cfg").string();
    EXPECT_FALSE(SaveSettings(s, inMissingDir, &error));
    EXPECT_NE(error.find("cannot"), std::string::npos);

    // A directory in the way of the rename: the save fails, nothing is lost.
    fs::create_directories(dir_ / "blocked.cfg" / "x");
    EXPECT_FALSE(SaveSettings(s, (dir_ / "blocked.cfg").string(), &error));
    EXPECT_TRUE(fs::exists(dir_ / "blocked.cfg" / "x"));
}

TEST_F(SettingsFile, DecimalPointWhateverTheLocale) {
    const char* commaLocales[] = {"de_DE.UTF-8", "de_DE.utf8", "fr_FR.UTF-8",
                                  "fr_FR.utf8",  "de_DE",      "fr_FR"};
    const char* found = nullptr;
    for (const char* name : commaLocales) {
        if (std::setlocale(LC_ALL, name)) {
            found = name;
            break;
        }
    }
    if (!found) GTEST_SKIP() << "no locale with a decimal comma is installed on this machine";
    std::locale previous = std::locale::global(std::locale(found));
    ASSERT_STREQ(std::localeconv()->decimal_point, ",");

    rgState s;
    s.gridSize = 0.75f;
    ASSERT_TRUE(SaveSettings(s, path_));
    EXPECT_EQ(DefaultSection().at("grid_size"), "0.75");
    rgState back;
    EXPECT_EQ(LoadSettings(back, path_).keysRead, 21);
    EXPECT_EQ(back.gridSize, 0.75f);

    std::locale::global(previous);
    std::setlocale(LC_ALL, "C");
}

}  // namespace

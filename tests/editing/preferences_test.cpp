#include <gtest/gtest.h>

#include <filesystem>

#include "editing/preferences.h"
#include "state/rg_state.h"
#include "state/settings_file.h"

namespace fs = std::filesystem;

namespace {

void ExpectSame(const rgPreferences& a, const rgPreferences& b) {
    EXPECT_EQ(a.maxUndoLevels, b.maxUndoLevels);
    EXPECT_EQ(a.ikMaxIterations, b.ikMaxIterations);
    EXPECT_EQ(a.ikThreshold, b.ikThreshold);
    for (auto field : {&rgPreferences::backgroundColour, &rgPreferences::gridColour,
                       &rgPreferences::majorGridColour, &rgPreferences::vertexColour,
                       &rgPreferences::selectedVertexColour}) {
        EXPECT_EQ((a.*field).x, (b.*field).x);
        EXPECT_EQ((a.*field).y, (b.*field).y);
        EXPECT_EQ((a.*field).z, (b.*field).z);
    }
    EXPECT_EQ(a.gridSize, b.gridSize);
    EXPECT_EQ(a.majorLines, b.majorLines);
    EXPECT_EQ(a.adaptiveGrid, b.adaptiveGrid);
}

// Every field of the dialog reaches "default.cfg" and comes back unchanged.
TEST(Preferences, EveryFieldRoundTripsThroughTheSettingsFile) {
    rgPreferences chosen;
    chosen.maxUndoLevels = 3;
    chosen.ikMaxIterations = 7;
    chosen.ikThreshold = 0.0123f;
    chosen.backgroundColour = {ByteToColourChannel(1), ByteToColourChannel(2),
                               ByteToColourChannel(3)};
    chosen.gridColour = {ByteToColourChannel(10), ByteToColourChannel(20), ByteToColourChannel(30)};
    chosen.majorGridColour = {ByteToColourChannel(40), ByteToColourChannel(50),
                              ByteToColourChannel(60)};
    chosen.gridSize = 2.5f;
    chosen.majorLines = 5;
    chosen.adaptiveGrid = false;
    chosen.vertexColour = {ByteToColourChannel(70), ByteToColourChannel(80),
                           ByteToColourChannel(90)};
    chosen.selectedVertexColour = {ByteToColourChannel(255), ByteToColourChannel(0),
                                   ByteToColourChannel(128)};
    rgState state;
    chosen.StoreInto(state);
    const fs::path path =
        fs::temp_directory_path() / ("kinemo_prefs_" + std::to_string(::getpid()) + ".cfg");
    ASSERT_TRUE(SaveSettings(state, path.string()));
    rgState reread;
    LoadSettings(reread, path.string());
    fs::remove(path);
    ExpectSame(rgPreferences::From(reread), chosen);
}

TEST(Preferences, OkRaisesValuesBelowTheirLowest) {
    const struct {
        int undo;
        float grid;
        int major;
        int undoAfter;
        float gridAfter;
        int majorAfter;
    } cases[] = {
        {0, 0.0f, 0, 2, 0.01f, 2},    {1, 0.009f, 1, 2, 0.01f, 2},
        {-5, -3.0f, -1, 2, 0.01f, 2}, {2, 0.01f, 2, 2, 0.01f, 2},
        {100, 1.0f, 9, 100, 1.0f, 9}, {2, std::nanf(""), 2, 2, 0.01f, 2},
    };
    for (const auto& c : cases) {
        rgPreferences p;
        p.maxUndoLevels = c.undo;
        p.gridSize = c.grid;
        p.majorLines = c.major;
        p.Clamp();
        EXPECT_EQ(p.maxUndoLevels, c.undoAfter) << c.undo;
        EXPECT_EQ(p.gridSize, c.gridAfter) << c.grid;
        EXPECT_EQ(p.majorLines, c.majorAfter) << c.major;
    }
}

TEST(Preferences, AutosaveAndReaderLimitsStayInTheirRanges) {
    const struct {
        int minutes;
        double seconds;
        int minutesAfter;
        double secondsAfter;
    } cases[] = {
        {-1, 0.0, 0, 1.0}, {0, 0.5, 0, 1.0}, {5, 30.0, 5, 30.0},
        {2, 1e9, 2, 3600.0}, {2, std::nan(""), 2, 1.0},
    };
    for (const auto& c : cases) {
        rgPreferences p;
        p.autosaveMinutes = c.minutes;
        p.readerSeconds = c.seconds;
        p.Clamp();
        EXPECT_EQ(p.autosaveMinutes, c.minutesAfter) << c.minutes;
        EXPECT_EQ(p.readerSeconds, c.secondsAfter) << c.seconds;
        rgState state;
        p.StoreInto(state);
        EXPECT_EQ(rgPreferences::From(state).readerSeconds, c.secondsAfter);
    }
}

TEST(Preferences, PickersShowTruncatedBytesThatReadBackExactly) {
    for (int byte = 0; byte <= 255; ++byte)
        EXPECT_EQ(ColourChannelToByte(ByteToColourChannel(byte)), byte);
    EXPECT_EQ(ColourChannelToByte(0.999f), 254);  // truncated, not rounded
    EXPECT_EQ(ColourChannelToByte(2.0f), 255);    // a hand-edited file out of range
    EXPECT_EQ(ColourChannelToByte(-1.0f), 0);
    EXPECT_EQ(ColourChannelToByte(std::nanf("")), 0);
    // The state's first-run colours show as the dialog's reset values.
    const rgPreferences fresh = rgPreferences::From(rgState{});
    const rgPreferences reset = rgPreferences::ResetValues();
    EXPECT_EQ(ColourChannelToByte(fresh.majorGridColour.x),
              ColourChannelToByte(reset.majorGridColour.x));
    EXPECT_EQ(ColourChannelToByte(fresh.backgroundColour.y), 192);
    EXPECT_EQ(reset.gridSize, 10.0f);
    EXPECT_EQ(fresh.gridSize, 0.25f);
}

}  // namespace

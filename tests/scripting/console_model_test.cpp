#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <vector>

#include "scripting/console_model.h"

namespace fs = std::filesystem;

namespace {

std::string ReadAll(const fs::path& p) {
    std::ifstream in(p);
    std::stringstream ss;
    ss << in.rdbuf();
    return ss.str();
}

fs::path LogPath() { return fs::temp_directory_path() / ("kinemo_console_" + std::to_string(::getpid()) + ".log"); }

TEST(ConsoleModel, GreetingLogAndEcho) {
    const fs::path log = LogPath();
    {
        rgConsoleModel console(log.string(), "Lua 5.1");
        EXPECT_EQ(console.Lines().front(), "Welcome to Lua 5.1");
        EXPECT_EQ(console.Lines().at(1), "");
        std::string ran;
        console.Submit("print(1)", [&](const std::string& c) {
            ran = c;
            console.Write("1");
        });
        EXPECT_EQ(ran, "print(1)");
        // Written and flushed per line: the file has it while the console is open.
        EXPECT_EQ(ReadAll(log), "Welcome to Lua 5.1\n\nprint(1)\n1\n");
    }
    fs::remove(log);
    rgConsoleModel noLog("/no/such/folder/console.log", "Lua 5.1");
    EXPECT_FALSE(noLog.HasLog());
    noLog.Write("still works");
    EXPECT_EQ(noLog.Lines().back(), "still works");
}

TEST(ConsoleModel, HistoryWalk) {
    rgConsoleModel console(LogPath().string(), "Lua 5.1");
    EXPECT_EQ(console.Up(), std::nullopt);  // empty history
    EXPECT_EQ(console.Down(), std::nullopt);
    for (const char* c : {"a", "b", "c"}) console.Submit(c, nullptr);
    std::string ups;
    for (int i = 0; i < 4; ++i) ups += console.Up().value_or("-");
    EXPECT_EQ(ups, "cbaa");
    std::string downs;
    for (int i = 0; i < 3; ++i) downs += console.Down().value_or("-");
    EXPECT_EQ(downs, "bcc");
    console.Submit("d", nullptr);
    EXPECT_EQ(console.Up().value_or("-"), "d");  // a fresh command starts at the newest
    fs::remove(LogPath());
}

TEST(ConsoleModel, TrimsTo450LinesOnlyAfterEnter) {
    rgConsoleModel console(LogPath().string(), "Lua 5.1");
    for (int i = 0; i < 600; ++i) console.Write("line " + std::to_string(i));
    EXPECT_EQ(console.Lines().size(), 602u);  // a long script may fill more
    console.Submit("x", nullptr);
    EXPECT_EQ(console.Lines().size(), 450u);
    EXPECT_EQ(console.Lines().back(), "x");
    fs::remove(LogPath());
}

TEST(ConsoleModel, TextWithLineBreaksIsSeveralLinesAndEndlessOutputIsCapped) {
    rgConsoleModel console(LogPath().string(), "Lua 5.1");
    std::vector<std::string> shown;
    console.onLine = [&](const std::string& line) { shown.push_back(line); };
    console.Write("a\r\nb\n");
    EXPECT_EQ(shown, (std::vector<std::string>{"a", "b", ""}));
    // A script that prints without end keeps memory bounded; the log has it all.
    for (int i = 0; i < 12000; ++i) console.Write("n" + std::to_string(i));
    EXPECT_EQ(console.Lines().size(), rgConsoleModel::kMaxKeptLines);
    EXPECT_EQ(console.Lines().back(), "n11999");
    const std::string log = ReadAll(LogPath());
    EXPECT_NE(log.find("a\r\nb\n\nn0\n"), std::string::npos);
    EXPECT_NE(log.find("n11999\n"), std::string::npos);
    fs::remove(LogPath());
}

}  // namespace

#include <gtest/gtest.h>

#include <lua.hpp>

#include <atomic>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <string>
#include <thread>
#include <vector>

#include "editing/rg_editor.h"
#include "scene/rg_bone.h"
#include "scripting/console_sink.h"
#include "scripting/document_commands.h"
#include "scripting/script_environment.h"
#include "scripting/script_ui.h"
#include "viewport/viewport_host.h"

namespace fs = std::filesystem;

namespace {

class RecordingConsole : public rgConsoleSink {
public:
    void Write(const std::string& line) override { lines.push_back(line); }
    void WriteError(const std::string& line) override { lines.push_back("!" + line); }
    std::vector<std::string> lines;
};

class CountingUi : public rgScriptUi {
public:
    void ShowConsole() override { ++consoleShown; }
    void HideProgress() override { ++progressHidden; }
    int consoleShown = 0;
    int progressHidden = 0;
};

class ScriptServerTest : public ::testing::Test {
protected:
    void SetUp() override {
        folder_ = fs::temp_directory_path() / ("kinemo_scripts_" + std::to_string(::getpid()));
        fs::create_directories(folder_ / "sub");
        env_ = std::make_unique<rgScriptEnvironment>(editor_, viewports_, console_, ui_, folder_.string());
    }
    void TearDown() override {
        env_.reset();
        fs::remove_all(folder_);
    }
    void WriteFile(const std::string& relative, const std::string& text) {
        std::ofstream(folder_ / relative) << text;
    }
    rgScriptServer& server() { return env_->server(); }

    fs::path folder_;
    rgEditor editor_;
    rgStateOnlyViewports viewports_{editor_.state()};
    RecordingConsole console_;
    CountingUi ui_;
    std::unique_ptr<rgScriptEnvironment> env_;
};

TEST_F(ScriptServerTest, PrintWritesEachArgumentOnItsOwnLine) {
    EXPECT_TRUE(server().RunString("print(1, 'a', nil)"));
    EXPECT_EQ(console_.lines, (std::vector<std::string>{"1", "a", "nil"}));
    EXPECT_EQ(ui_.progressHidden, 1);  // after every run
    EXPECT_EQ(ui_.consoleShown, 0);

    console_.lines.clear();
    EXPECT_FALSE(server().RunString("tostring = function() return {} end print(1)"));
    ASSERT_FALSE(console_.lines.empty());
    EXPECT_NE(console_.lines[0].find("`tostring' must return a string to `print'"), std::string::npos);
}

TEST_F(ScriptServerTest, ErrorsReachAlertAndBringTheConsoleForward) {
    struct Case {
        const char* chunk;
        const char* expected;  // part of the first error line
    } cases[] = {
        {"this is not lua", "'=' expected"},
        {"local x = nil; x()", "attempt to call local 'x'"},
        {"error('custom failure')", "custom failure"},
        {"error({})", "(error object is a table value)"},
        {"error(newproxy())", "(error object is a userdata value)"},
        {"error(setmetatable({}, {__tostring = function() return 'told' end}))", "told"},
        {"error(setmetatable({}, {__tostring = function() error('inner') end}))",
         "(error object is a table value whose __tostring failed)"},
    };
    for (const auto& c : cases) {
        console_.lines.clear();
        const int shown = ui_.consoleShown;
        EXPECT_FALSE(server().RunString(c.chunk)) << c.chunk;
        ASSERT_FALSE(console_.lines.empty()) << c.chunk;
        EXPECT_EQ(console_.lines[0].rfind("!", 0), 0u) << c.chunk;
        EXPECT_NE(console_.lines[0].find(c.expected), std::string::npos) << console_.lines[0];
        EXPECT_EQ(ui_.consoleShown, shown + 1);
    }
    // A script can still run afterwards, and _ALERT splits lines.
    console_.lines.clear();
    EXPECT_TRUE(server().RunString("_ALERT('one\\ntwo\\n')"));
    EXPECT_EQ(console_.lines, (std::vector<std::string>{"!one", "!two"}));
    EXPECT_EQ(server().ErrorCount(), 7);
}

TEST_F(ScriptServerTest, RelativePathsAreTakenFromTheProgramFolder) {
    WriteFile("sub/hello.lua", "print('hello from sub')");
    const fs::path elsewhere = fs::current_path();
    fs::current_path(fs::temp_directory_path());
    EXPECT_TRUE(server().RunFile("sub/hello.lua"));
    fs::current_path(elsewhere);
    EXPECT_EQ(console_.lines.back(), "hello from sub");
    EXPECT_EQ(server().ResolvePath("C:/scenes/a.rig"), "C:/scenes/a.rig");
    EXPECT_EQ(server().ResolvePath("/abs/a.rig"), "/abs/a.rig");
    EXPECT_EQ(server().ResolvePath("a"), "a");  // shorter than two characters

    EXPECT_FALSE(server().RunFile("sub/missing.lua"));
    EXPECT_NE(console_.lines.back().find("cannot open"), std::string::npos);
    EXPECT_FALSE(server().RunFile(std::string(600, 'x')));
    EXPECT_NE(console_.lines.back().find("longer than 511"), std::string::npos);
}

TEST_F(ScriptServerTest, SceneFilesRunRestricted) {
    struct Case {
        const char* body;
        const char* blocked;  // empty: the file runs through
    } cases[] = {
        {"io.open('x', 'w')", "'io' is not available in scene files"},
        {"os.execute('true')", "'os' is not available in scene files"},
        {"dofile('x')", "'dofile' is not available in scene files"},
        {"loadstring('return 1')()", "'loadstring' is not available in scene files"},
        {"writeto('x')", "'writeto' is not available in scene files"},
        {"getfenv(0).io.open('x')", "'getfenv' is not available in scene files"},
        {"RegisterPlugin('Mesh', 'x', 'os.exit()')", "'RegisterPlugin' is not available"},
        {"local v = vector3:new(1, 2, 3) print(string.format('%g', math.sqrt(v:len_squared()))) v:delete()", ""},
        {"print(undefined_name == nil)", ""},
    };
    for (const auto& c : cases) {
        WriteFile("scene.rig", c.body);
        console_.lines.clear();
        const bool ok = server().RunSceneFile((folder_ / "scene.rig").string());
        if (*c.blocked) {
            EXPECT_FALSE(ok) << c.body;
            ASSERT_FALSE(console_.lines.empty()) << c.body;
            EXPECT_NE(console_.lines[0].find(c.blocked), std::string::npos) << console_.lines[0];
        } else {
            EXPECT_TRUE(ok) << c.body;
        }
    }
    // Globals a scene file sets stay in its own environment.
    WriteFile("scene.rig", "leaked = 1");
    EXPECT_TRUE(server().RunSceneFile((folder_ / "scene.rig").string()));
    EXPECT_TRUE(server().RunString("assert(leaked == nil)"));
}

TEST_F(ScriptServerTest, SceneFilesRunWithinTheirBudgets) {
    constexpr size_t kMB = 1024 * 1024;
    struct Case {
        rgScriptLimits limits;
        const char* body;
        const char* message;
    } cases[] = {
        {{1e4, 1'000'000, 1024 * kMB},
         "while true do end",
         "it ran more than 1000000 instructions"},
        {{0.25, 1'000'000'000'000, 1024 * kMB},
         "while true do end",
         "it ran longer than 0.25 seconds"},
        {{1e4, 1'000'000'000'000, 32 * kMB},
         "local t = {} for i = 1, 1e9 do t[i] = i end",
         "more memory than the interpreter's limit of 32 MB"},
    };
    for (const auto& c : cases) {
        server().guard().SetLimits(c.limits);
        WriteFile("scene.rig", c.body);
        console_.lines.clear();
        EXPECT_FALSE(server().RunSceneFile((folder_ / "scene.rig").string())) << c.message;
        ASSERT_FALSE(console_.lines.empty());
        EXPECT_NE(console_.lines[0].find(c.message), std::string::npos) << console_.lines[0];
        // Other scripts have no budget, and the interpreter carries on.
        EXPECT_TRUE(server().RunString("for i = 1, 3e6 do end"));
    }
}

TEST_F(ScriptServerTest, AStopEndsTheRunningScriptOnly) {
    // As the console's Stop or Ctrl+C would, from outside the running script.
    std::atomic<bool> finished{false};
    std::thread stopper([&] {
        while (!finished) {
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
            server().RequestStop();
        }
    });
    EXPECT_FALSE(server().RunString("while true do pcall(function() while true do end end) end"));
    finished = true;
    stopper.join();
    ASSERT_FALSE(console_.lines.empty());
    EXPECT_NE(console_.lines[0].find("the script was stopped"), std::string::npos)
        << console_.lines[0];
    server().RequestStop();  // with nothing running: nothing to stop
    EXPECT_TRUE(server().RunString("for i = 1, 1e5 do end"));
}

TEST_F(ScriptServerTest, OsExitIsRefusedInTheEditor) {
    // Both names: the Lua 4.0 alias must not reach the C library's exit either.
    for (const char* chunk : {"os.exit(0)", "exit(3)"}) {
        console_.lines.clear();
        EXPECT_FALSE(server().RunString(chunk)) << chunk;
        ASSERT_FALSE(console_.lines.empty()) << chunk;
        EXPECT_NE(console_.lines[0].find("os.exit is not available in the editor"),
                  std::string::npos)
            << console_.lines[0];
    }
    // A refusal is an ordinary error: pcall catches it and the script goes on.
    EXPECT_TRUE(server().RunString("assert(not pcall(os.exit, 1))"));
    EXPECT_FALSE(server().guard().ExitRequested());
}

// The window's way to stay alive during a long script: the busy callback
// comes while a script works, not in a short one, and it may stop the script.
TEST_F(ScriptServerTest, BusyCallbackComesDuringLongScriptsAndMayStopThem) {
    int calls = 0;
    bool runningSeen = true;
    server().guard().SetBusyCallback(
        [&] {
            ++calls;
            runningSeen = runningSeen && server().guard().Running();
            if (calls == 3) server().RequestStop();
        },
        std::chrono::milliseconds(10));
    EXPECT_TRUE(server().RunString("local x = 0 for i = 1, 10 do x = x + i end"));
    EXPECT_EQ(calls, 0);
    EXPECT_FALSE(server().guard().Running());
    EXPECT_FALSE(server().RunString("while true do end"));
    EXPECT_EQ(calls, 3);
    EXPECT_TRUE(runningSeen);
    EXPECT_NE(server().LastError().find("the script was stopped"), std::string::npos);
    server().guard().SetBusyCallback(nullptr, std::chrono::milliseconds(0));
    EXPECT_TRUE(server().RunString("for i = 1, 1e5 do end"));
    EXPECT_EQ(calls, 3);
}

TEST_F(ScriptServerTest, AFailedMergeLeavesTheSceneAsItWas) {
    WriteFile("half.rig",
              "local s = GetScene() s:GetRootNode():AttachChild(s:CreateBone())\n"
              "s:GetFirstNode():SetName('renamed') error('half way')");
    for (int undoLevels : {16, 0}) {  // 0: the undo stack keeps nothing to go back to
        editor_.state().maxUndoLevels = undoLevels;
        editor_.scene().Clear();
        editor_.scene().GetRootNode()->AttachChild(editor_.scene().CreateBone());
        const int nextJoint = editor_.context.nextJointNumber;
        EXPECT_FALSE(MergeSceneFile(env_->context(), (folder_ / "half.rig").string()));
        rgSceneNode* only = editor_.scene().GetFirstNode();
        ASSERT_NE(only, nullptr);
        EXPECT_EQ(only->GetName(), "Joint1") << undoLevels;
        EXPECT_EQ(editor_.scene().GetNextNode(), nullptr) << undoLevels;
        EXPECT_EQ(editor_.context.nextJointNumber, nextJoint) << undoLevels;
    }
}

TEST_F(ScriptServerTest, Lua4NamesAreThere) {
    EXPECT_TRUE(server().RunString(
        "local t = {} tinsert(t, 'a') tinsert(t, 'b') assert(getn(t) == 2)"
        "assert(strsub('kinemo', 1, 3) == 'kin') assert(format('%d', 7) == '7')"
        "assert(abs(sin(90) - 1) < 1e-12)"));  // trigonometry in degrees, as then
}

TEST(LuaQuoted, PathsCannotInjectCode) {
    struct Case {
        const char* text;
        const char* quoted;
    } cases[] = {
        {"/a/b.rig", "\"/a/b.rig\""},
        {"it's.rig", "\"it's.rig\""},
        {"x\")os.exit(\"", "\"x\\\")os.exit(\\\"\""},
        {"back\\slash", "\"back\\\\slash\""},
        {"line\nbreak", "\"line\\nbreak\""},
        {"\x01", "\"\\001\""},
    };
    for (const auto& c : cases) EXPECT_EQ(LuaQuoted(c.text), c.quoted);
}

}  // namespace

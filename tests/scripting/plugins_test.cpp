#include <gtest/gtest.h>

#include <lua.hpp>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "editing/rg_editor.h"
#include "editing/tool_manager.h"
#include "scene/rg_mesh.h"
#include "scene/user_messages.h"
#include "scripting/console_sink.h"
#include "scripting/import_export.h"
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

class ProgressUi : public rgScriptUi {
public:
    void ShowProgress() override { shown = true; }
    void HideProgress() override { shown = false; }
    void SetProgressRange(int a, int b) override { range = {a, b}; }
    bool shown = false;
    std::pair<int, int> range;
};

// A program folder of its own: a start-up script and a plugins folder with
// good and broken plug-ins of both kinds.
class PluginsTest : public ::testing::Test {
protected:
    void SetUp() override {
        folder_ = fs::temp_directory_path() / ("kinemo_plugins_" + std::to_string(::getpid()));
        fs::create_directories(folder_ / "system");
        fs::create_directories(folder_ / "plugins");
        Write("system/startup.lua", "calls = {}\n");
        Write("plugins/a_formats.lua", R"lua(
RegisterImporter("Mesh text", "*.msh;*.txt", "ImportMesh")
RegisterImporter("Other", "*.oth", "ImportOther")
RegisterExporter("Frames", "*.frm", "ExportFrames", 1)
RegisterExporter("Whole", "*.who", "ExportWhole")
RegisterExporter("Two files", "*.two", "ExportTwo")
function ImportMesh(path)
  tinsert(calls, path)
  local mesh = GetScene():CreateMesh()
  GetScene():GetRootNode():AttachChild(mesh)
  mesh:SetName(path)
  mesh:AddVertices({ 0, 50, 0, 0, 0, 0, 1, 0, 0, -1, -1, -1, -1, 0, 0, 0, 0,
                     0, 54, 0, 0, 0, 0, 1, 0, 0, -1, -1, -1, -1, 0, 0, 0, 0 })
  if strfind(path, "broken") then error("broken half-way") end
end
function ExportFrames(path) tinsert(calls, path) end
function ExportWhole(path) tinsert(calls, path .. "@" .. GetFrame()) end
function ExportTwo(path)
  for _, ext in ipairs({".two", ".skel"}) do local f = io.open(path .. ext, "w") f:write("x") f:close() end
end
)lua");
        Write("plugins/b_syntax.lua", "RegisterImporter('x', '*.x' 'y')\n");
        Write("plugins/not_a_library.so", "this is text\n");
        fs::copy_file(KINEMO_FIXTURE_GOOD, folder_ / "plugins/good_native.so");
        fs::copy_file(KINEMO_FIXTURE_NO_ENTRY, folder_ / "plugins/no_entry.so");
        fs::copy_file(KINEMO_FIXTURE_RAISING, folder_ / "plugins/raising.so");
        env_ = std::make_unique<rgScriptEnvironment>(editor_, viewports_, console_, ui_,
                                                     folder_.string() + "/");
        env_->RunStartupScripts(true);
    }
    void TearDown() override {
        env_.reset();
        fs::remove_all(folder_);
    }
    void Write(const std::string& relative, const std::string& text) {
        std::ofstream(folder_ / relative) << text;
    }
    std::vector<std::string> Calls() {
        std::vector<std::string> out;
        env_->server().RunString("result = table.concat(calls, ',') calls = {}");
        lua_State* L = env_->server().GetState();
        lua_getglobal(L, "result");
        std::string text = lua_tostring(L, -1) ? lua_tostring(L, -1) : "";
        lua_pop(L, 1);
        size_t start = 0;
        while (!text.empty() && start <= text.size()) {
            const size_t comma = text.find(',', start);
            out.push_back(text.substr(start, comma == std::string::npos ? comma : comma - start));
            if (comma == std::string::npos) break;
            start = comma + 1;
        }
        return out;
    }
    rgScriptContext& context() { return env_->context(); }
    int Meshes() {
        int n = 0;
        editor_.scene().ForEach([&](rgSceneNode* node) { n += node->IsMesh(); });
        return n;
    }

    fs::path folder_;
    rgEditor editor_;
    rgStateOnlyViewports viewports_{editor_.state()};
    RecordingConsole console_;
    ProgressUi ui_;
    std::unique_ptr<rgScriptEnvironment> env_;
};

bool Has(const std::vector<std::string>& lines, const std::string& start) {
    for (const std::string& l : lines)
        if (l.rfind(start, 0) == 0) return true;
    return false;
}

TEST_F(PluginsTest, NativePluginsLoadFirstAndBrokenOnesAreReportedWithoutStoppingStartUp) {
    const std::vector<std::string>& lines = console_.lines;
    ASSERT_GE(lines.size(), 3u);
    EXPECT_EQ(lines[0], "Loading Plugins:");
    EXPECT_EQ(lines[1], "   good_native.so");
    EXPECT_TRUE(Has(lines, "!   no_entry.so was not loaded: it exports neither InitPlugin"));
    EXPECT_TRUE(Has(lines, "!   not_a_library.so was not loaded: not a loadable library"));
    EXPECT_TRUE(Has(lines, "!   raising.so was not loaded: InitPlugin failed: this plug-in needs"));
    EXPECT_TRUE(Has(lines, "   a_formats.lua"));
    EXPECT_TRUE(Has(lines, "   b_syntax.lua"));
    bool syntaxReported = false;
    for (const std::string& l : lines)
        syntaxReported |= l.find("b_syntax.lua:1:") != std::string::npos;
    EXPECT_TRUE(syntaxReported);
    EXPECT_EQ(lines.back(), "");
    // What loaded registered: the Lua formats in order, then the native one.
    ASSERT_EQ(context().importers.size(), 3u);
    EXPECT_EQ(context().importers[0].description, "Native format");
    EXPECT_EQ(context().importers[1].description, "Mesh text");
    EXPECT_EQ(env_->plugins().Count(), 3u);  // loaded libraries stay loaded
}

TEST_F(PluginsTest, ImportingSeveralFilesIsOneStepAndAFailingFileTakesBackOnlyItself) {
    const std::vector<std::string> paths = {"C:\\models\\a.msh", "/tmp/broken.msh", "/tmp/c'.msh"};
    std::string error;
    EXPECT_FALSE(ImportFiles(context(), 1, paths, &error));
    EXPECT_EQ(Calls(),
              (std::vector<std::string>{"C:/models/a.msh", "/tmp/broken.msh", "/tmp/c'.msh"}));
    EXPECT_NE(error.find("/tmp/broken.msh: "), std::string::npos);
    EXPECT_NE(error.find("broken half-way"), std::string::npos);
    EXPECT_EQ(Meshes(), 2);  // the broken file added nothing that stays
    EXPECT_EQ(editor_.undo.Count(), 1);
    EXPECT_EQ(editor_.undo.TopLabel(), "Import");
    EXPECT_TRUE(editor_.state().modified);
    editor_.Undo();
    EXPECT_EQ(Meshes(), 0);
}

TEST_F(PluginsTest, AnImportIsFramedInEveryView) {
    const int frontId = viewports_.Create(), perspectiveId = viewports_.Create();
    rgViewportState& front = *viewports_.Find(frontId);
    rgViewportState& perspective = *viewports_.Find(perspectiveId);
    front.projection = kProjFront;
    EXPECT_TRUE(ImportFiles(context(), 1, {"/tmp/a.msh"}));  // "Mesh text"
    EXPECT_FLOAT_EQ(front.orthoView.x, -52);  // vertices at x 50 and 54
    EXPECT_FLOAT_EQ(front.orthoView.z, 0.5f);
    EXPECT_FLOAT_EQ(perspective.perspOffset.x, -52);
}

TEST_F(PluginsTest, FrameRangeExportsNameEachFrame) {
    editor_.state().totalFrames = 20;
    editor_.state().currentFrame = 3;
    const struct {
        const char* name;
        rgExportOptions options;
        std::vector<std::string> calls;
    } cases[] = {
        {"frames 8 to 12",
         {true, 8, 12},
         {"/out/walk_08", "/out/walk_09", "/out/walk_10", "/out/walk_11", "/out/walk_12"}},
        {"0 to beyond the end", {true, 0, 99}, {}},
        {"swapped", {true, 10, 9}, {"/out/walk_09", "/out/walk_10"}},
        {"no range: the current frame", {false, 8, 12}, {"/out/walk"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        editor_.state().currentFrame = 3;
        EXPECT_TRUE(ExportFile(context(), 0, "/out/walk.x", c.options));
        const std::vector<std::string> calls = Calls();
        if (c.calls.empty()) {
            ASSERT_EQ(calls.size(), 20u);
            EXPECT_EQ(calls.front(), "/out/walk_01");
            EXPECT_EQ(calls.back(), "/out/walk_20");
        } else {
            EXPECT_EQ(calls, c.calls);
        }
        EXPECT_FALSE(ui_.shown);
        EXPECT_EQ(editor_.state().editLevel, kEditObjects);  // the level is put back
    }
    EXPECT_TRUE(ExportFile(context(), 1, "/a.b/plain", {}));
    EXPECT_EQ(Calls(), (std::vector<std::string>{"/a.b/plain@3"}));
}

class RecordingStatus : public rgUserMessages {
public:
    void ShowStatus(const std::string& text) override { status.push_back(text); }
    std::vector<std::string> status;
};

// An export says what it wrote and leaves the user's tool and selection.
TEST_F(PluginsTest, ExportReportsItsFilesAndKeepsTheTool) {
    RecordingStatus messages;
    editor_.context.SetMessages(&messages);
    rgMesh* mesh = editor_.scene().CreateMesh();
    editor_.scene().GetRootNode()->AttachChild(mesh);
    mesh->SetSelected(true);
    editor_.tools().Click(rgToolButton::EditTranslate);
    fs::create_directories(folder_ / "out");
    EXPECT_TRUE(ExportFile(context(), 2, (folder_ / "out/walk.two").string(), {}));
    ASSERT_EQ(messages.status.size(), 1u);
    EXPECT_EQ(messages.status[0],
              "Exported 2 files to " + (folder_ / "out/walk.skel").string() + " \u2026");
    EXPECT_EQ(editor_.tools().ActiveButton(), rgToolButton::EditTranslate);
    EXPECT_TRUE(mesh->GetSelected());
    EXPECT_EQ(editor_.state().editLevel, kEditObjects);
    EXPECT_TRUE(ExportFile(context(), 1, (folder_ / "out/plain").string(), {}));
    EXPECT_EQ(messages.status.back(),
              "Export finished; the exporter wrote no file beside the name given");
    editor_.context.SetMessages(nullptr);
}

TEST(ImportExportNames, ExtensionsFrameNumbersAndPatterns) {
    EXPECT_EQ(WithoutExtension("/a/walk.x"), "/a/walk");
    EXPECT_EQ(WithoutExtension("/a.b/walk"), "/a.b/walk");
    EXPECT_EQ(WithoutExtension("C:\\a.b\\walk"), "C:\\a.b\\walk");
    EXPECT_EQ(WithoutExtension("walk.mesh.xml"), "walk.mesh");
    EXPECT_EQ(FrameFileName("w", 8, 12), "w_08");
    EXPECT_EQ(FrameFileName("w", 100, 100), "w_100");
    EXPECT_EQ(FrameFileName("w", 7, 1000), "w_0007");
    EXPECT_TRUE(MatchesPattern("Model.OBJ", "*.obj"));
    EXPECT_TRUE(MatchesPattern("model.txt", "*.msh;*.txt"));
    EXPECT_FALSE(MatchesPattern("model.objx", "*.obj"));
    EXPECT_EQ(PluginCall("Import", "C:\\x\\it's \"here\".obj"),
              "Import(\"C:/x/it's \\\"here\\\".obj\")");
}

}  // namespace

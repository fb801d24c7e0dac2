#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "editing/rg_editor.h"
#include "scene/rg_bone.h"
#include "scene/rg_mesh.h"
#include "scripting/document_commands.h"
#include "scripting/autosave.h"
#include "scripting/console_sink.h"
#include "scripting/document_session.h"
#include "scripting/file_commands.h"
#include "scripting/script_environment.h"
#include "scripting/script_ui.h"
#include "viewport/viewport_host.h"

namespace fs = std::filesystem;

namespace {

class QuietConsole : public rgConsoleSink {
public:
    void Write(const std::string&) override {}
};

class RecordingMessages : public rgUserMessages {
public:
    void ShowMessage(const std::string& text) override { shown.push_back(text); }
    std::vector<std::string> shown;
};

// Answers as a user would, recording what was asked.
class ScriptedDialogs : public rgCommandDialogs {
public:
    rgAnswer AskSaveChanges(const std::string& caption) override {
        asked.push_back(caption);
        return answer;
    }
    std::string AskOpenScene() override { return openPath; }
    std::string AskSaveScene() override {
        asked.push_back("save as");
        return savePath;
    }
    rgAnswer answer = rgAnswer::Cancel;
    std::string openPath;
    std::string savePath;
    std::vector<std::string> asked;
};

class MemoryStore : public rgRecentFilesStore {
public:
    std::vector<std::string> Load() override { return stored; }
    void Save(const std::vector<std::string>& paths) override { stored = paths; }
    std::vector<std::string> stored;
};

// The real start-up script (it defines `save`) and a scratch folder.
class DocumentSessionTest : public ::testing::Test {
protected:
    void SetUp() override {
        scratch_ = fs::temp_directory_path() / ("kinemo_documents_" + std::to_string(::getpid()));
        fs::create_directories(scratch_);
        editor_.SetDialogs(&dialogs_);
        editor_.context.SetMessages(&messages_);
        env_ = std::make_unique<rgScriptEnvironment>(editor_, viewports_, console_, ui_,
                                                     KINEMO_SOURCE_DIR "/");
        env_->RunStartupScripts(false);
        session_ = std::make_unique<rgDocumentSession>(env_->context(), recent_);
        RegisterFileCommands(env_->context(), *session_);
        const fs::path startDir = fs::current_path();
        startDir_ = startDir;
    }
    void TearDown() override {
        fs::current_path(startDir_);
        session_.reset();
        env_.reset();
        editor_.SetDialogs(nullptr);
        editor_.context.SetMessages(nullptr);
        fs::permissions(scratch_, fs::perms::owner_all);
        fs::remove_all(scratch_);
    }
    std::string Path(const std::string& name) { return (scratch_ / name).string(); }
    void Edit() {
        editor_.PushUndo("Create Joint");
        rgBone* joint = editor_.scene().CreateBone();
        editor_.scene().GetRootNode()->AttachChild(joint);
    }
    static std::string Read(const std::string& path) {
        std::ifstream in(path);
        std::stringstream s;
        s << in.rdbuf();
        return s.str();
    }
    int Nodes() {
        int n = 0;
        editor_.scene().ForEach([&](rgSceneNode*) { ++n; });
        return n;
    }
    rgState& state() { return editor_.state(); }

    fs::path scratch_, startDir_;
    rgEditor editor_;
    rgStateOnlyViewports viewports_{editor_.state()};
    QuietConsole console_;
    rgScriptUi ui_;
    RecordingMessages messages_;
    ScriptedDialogs dialogs_;
    MemoryStore store_;
    rgRecentFiles recent_{&store_};
    std::unique_ptr<rgScriptEnvironment> env_;
    std::unique_ptr<rgDocumentSession> session_;
};

TEST_F(DocumentSessionTest, UnsavedChangesAreAskedAboutBeforeTheSceneGoes) {
    // Cancel keeps everything, the undo steps too.
    Edit();
    editor_.commands.Run("File.New");
    EXPECT_EQ(dialogs_.asked, (std::vector<std::string>{"New Character"}));
    EXPECT_EQ(Nodes(), 1);
    EXPECT_TRUE(editor_.undo.HasSteps());
    EXPECT_FALSE(session_->CanClose());

    // Yes on a never-saved document goes through Save as; its cancel saves nothing.
    dialogs_.answer = rgAnswer::Yes;
    dialogs_.asked.clear();
    EXPECT_TRUE(session_->CanClose());
    EXPECT_EQ(dialogs_.asked, (std::vector<std::string>{"Exit", "save as"}));
    EXPECT_FALSE(state().named);

    dialogs_.savePath = Path("walk.rig");
    editor_.commands.Run("File.New");
    EXPECT_EQ(Read(Path("walk.rig")).substr(0, 15), "-- Kinemo scene");
    EXPECT_EQ(Nodes(), 0);
    EXPECT_FALSE(editor_.undo.HasSteps());
    EXPECT_EQ(state().fileName, "unnamed.rig");
    EXPECT_FALSE(state().modified);
    EXPECT_EQ(viewports_.Count(), 1);

    // A clean document asks nothing.
    dialogs_.asked.clear();
    EXPECT_TRUE(session_->CanClose());
    EXPECT_TRUE(dialogs_.asked.empty());
}

TEST_F(DocumentSessionTest, OpenSaveAndTheRecentFilesList) {
    Edit();
    dialogs_.savePath = Path("a.rig");
    ASSERT_TRUE(editor_.commands.Run("File.Save"));
    EXPECT_TRUE(state().named);
    EXPECT_FALSE(state().modified);
    fs::copy_file(Path("a.rig"), Path("b.rig"));
    dialogs_.openPath = Path("b.rig");
    editor_.commands.Run("File.Open");
    EXPECT_EQ(state().fileName, Path("b.rig"));
    EXPECT_EQ(Nodes(), 1);
    EXPECT_EQ(recent_.Items(), (std::vector<std::string>{Path("b.rig")}));
    for (const char* name : {"a.rig", "b.rig", "a.rig"}) session_->Load(Path(name));
    EXPECT_EQ(recent_.Items(), (std::vector<std::string>{Path("a.rig"), Path("b.rig")}));
    EXPECT_EQ(store_.stored, recent_.Items());

    // A recent file deleted since: the entry says so and goes.
    fs::remove(Path("b.rig"));
    editor_.commands.Run("File.Reopen.2");
    EXPECT_EQ(messages_.shown.back(), "File not found!");
    EXPECT_EQ(recent_.Items(), (std::vector<std::string>{Path("a.rig")}));
    EXPECT_FALSE(editor_.commands.IsEnabled("File.Reopen.2"));
}

// Opening a document frames it in the user's views; views the document
// brings keep the cameras it saved.
TEST_F(DocumentSessionTest, OpenedScenesAreFramedInTheUsersViews) {
    rgMesh* mesh = editor_.scene().CreateMesh();
    editor_.scene().GetRootNode()->AttachChild(mesh);
    rgVertex v;
    v.position.set(100, 0, 0);
    mesh->AddVertex(v);
    v.position.set(104, 0, 0);
    mesh->AddVertex(v);  // centre (102, 0, 0), radius 2
    viewports_.CloseAll();
    ASSERT_TRUE(SaveSceneFile(env_->context(), Path("no_views.rig")));
    rgViewportState& front = *viewports_.Find(viewports_.Create());
    front.projection = kProjFront;
    ASSERT_TRUE(session_->Load(Path("no_views.rig")));
    EXPECT_FLOAT_EQ(front.orthoView.x, -102);
    EXPECT_FLOAT_EQ(front.orthoView.z, 0.5f);

    front.orthoView.set(3, 4, 0.25f);
    ASSERT_TRUE(SaveSceneFile(env_->context(), Path("with_view.rig")));
    ASSERT_TRUE(session_->Load(Path("with_view.rig")));
    ASSERT_EQ(viewports_.Count(), 1);
    const rgViewportState& saved = *viewports_.Find(viewports_.IdAt(0));
    EXPECT_FLOAT_EQ(saved.orthoView.x, 3);
    EXPECT_FLOAT_EQ(saved.orthoView.z, 0.25f);
}

TEST_F(DocumentSessionTest, AFailedSaveLeavesTheFileAndTheDocumentAsTheyWere) {
    Edit();
    dialogs_.savePath = Path("keep.rig");
    ASSERT_TRUE(session_->SaveAs());
    const std::string saved = Read(Path("keep.rig"));
    Edit();

    // A read-only file.
    fs::permissions(Path("keep.rig"), fs::perms::owner_read);
    if (::geteuid() != 0) {  // root writes anyway
        EXPECT_FALSE(session_->Save());
        EXPECT_TRUE(state().modified);
        EXPECT_EQ(Read(Path("keep.rig")), saved);
    }
    fs::permissions(Path("keep.rig"), fs::perms::owner_read | fs::perms::owner_write);

    // A save that fails half-way through writing.
    env_->server().RunString(
        "realCount = GetTextureCount GetTextureCount = function() error('disk gone') end");
    EXPECT_FALSE(session_->Save());
    env_->server().RunString("GetTextureCount = realCount");
    EXPECT_TRUE(state().modified);
    EXPECT_EQ(Read(Path("keep.rig")), saved);
    EXPECT_FALSE(fs::exists(Path("keep.rig.saving")));
}

TEST_F(DocumentSessionTest, ScenesThatCannotBeOpenedLeaveTheSceneAlone) {
    Edit();
    std::ofstream(Path("text.rig")) << "this is not a scene\n";
    fs::create_directories(Path("folder.rig"));
    const struct {
        const char* name;
        const char* message;  // shown, or empty when the console reports it
    } cases[] = {
        {"missing.rig", "File not found!"}, {"folder.rig", "Not a scene file: "}, {"text.rig", ""}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        messages_.shown.clear();
        EXPECT_FALSE(session_->Load(Path(c.name)));
        EXPECT_EQ(Nodes(), 1);
        EXPECT_TRUE(state().modified);
        if (*c.message) {
            ASSERT_EQ(messages_.shown.size(), 1u);
            EXPECT_EQ(messages_.shown[0].rfind(c.message, 0), 0u);
        }
    }
    EXPECT_TRUE(recent_.Items().empty());
}

}  // namespace

namespace {

TEST_F(DocumentSessionTest, AutosavesKeepTheDocumentAsItIsAndComeBackUnnamed) {
    rgAutosave autosave(env_->context(), scratch_ / "autosave", 4242);
    EXPECT_FALSE(autosave.Save());  // nothing to keep yet
    EXPECT_FALSE(fs::exists(autosave.OwnPath()));
    Edit();
    dialogs_.savePath = Path("doc.rig");
    ASSERT_TRUE(session_->SaveAs());
    Edit();
    ASSERT_TRUE(autosave.Save());
    EXPECT_TRUE(fs::exists(autosave.OwnPath()));
    EXPECT_EQ(state().fileName, Path("doc.rig"));  // the document keeps its name and changes
    EXPECT_TRUE(state().modified);
    EXPECT_EQ(Nodes(), 2);
    EXPECT_EQ(Read(Path("doc.rig")).find("Joint2"),
              std::string::npos);  // the user's file untouched

    // Copies of editors that are gone come back; this one's own and running ones do not.
    fs::copy_file(autosave.OwnPath(), scratch_ / "autosave" / "autosave-999999999.rig");
    fs::copy_file(autosave.OwnPath(),
                  scratch_ / "autosave" / ("autosave-" + std::to_string(::getpid()) + ".rig"));
    std::ofstream(scratch_ / "autosave" / "notes.txt") << "x";
    const auto left = autosave.Leftovers();
    ASSERT_EQ(left.size(), 1u);
    EXPECT_EQ(left[0].path.filename(), "autosave-999999999.rig");

    editor_.commands.Run("File.New");
    ASSERT_TRUE(autosave.Restore(left[0].path));
    EXPECT_EQ(Nodes(), 2);
    EXPECT_EQ(state().fileName, "unnamed.rig");
    EXPECT_FALSE(state().named);
    EXPECT_TRUE(state().modified);
    EXPECT_FALSE(fs::exists(left[0].path));
    autosave.RemoveOwn();
    EXPECT_FALSE(fs::exists(autosave.OwnPath()));
}

}  // namespace

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "rigmend/fix_run.h"
#include "rigmend/text_lines.h"
#include "tests/rigmend/rigmend_fixture.h"

namespace rigmend {
namespace {

namespace fs = std::filesystem;
using rigmend_test::FirstLines;
using rigmend_test::ReadFile;
using rigmend_test::WriteFile;

// An export folder with hero.skeleton.xml (bones 3, 7, 9) and hero.mesh.xml,
// and a separate working folder for "Rigmend Temp".
class FixRun : public ::testing::Test {
protected:
    void SetUp() override {
        exports_ = temp_.Path() / "exports";
        work_ = temp_.Path() / "work";
        fs::create_directories(exports_);
        fs::create_directories(work_);
        skeleton_ = exports_ / "hero.skeleton.xml";
        mesh_ = exports_ / "hero.mesh.xml";
        skeletonText_ = rigmend_test::SkeletonText({{"3", "Root"}, {"7", "Bone7"}, {"9", "Hand"}},
                                                   "2.0", rigmend_test::FrameRange(1, 24));
        meshText_ = rigmend_test::MeshText({"9", "3", "7"}, "C:\\exports\\hero.skeleton.xml");
        WriteFile(skeleton_, skeletonText_);
        WriteFile(mesh_, meshText_);
    }

    FixResult Run(const fs::path& skeleton,
                  std::vector<std::string> clips = {"Walk,1,12", "Run,13,24"}) {
        started_ = 0;
        return RunFix({skeleton, std::move(clips), work_}, [this] { ++started_; });
    }

    void ExpectInputsUnchanged() {
        EXPECT_EQ(ReadFile(skeleton_), skeletonText_);
        EXPECT_EQ(ReadFile(mesh_), meshText_);
    }

    // Nothing of a run may stay behind: no work folder, no staged copies.
    void ExpectNoLeftovers() {
        EXPECT_FALSE(fs::exists(work_ / "Rigmend Temp"));
        size_t files = 0;
        for (const auto& entry : fs::directory_iterator(exports_)) {
            (void)entry;
            ++files;
        }
        EXPECT_EQ(files, 2u);
    }

    rigmend_test::TempFolder temp_;
    fs::path exports_, work_, skeleton_, mesh_;
    std::string skeletonText_, meshText_;
    int started_ = 0;
};

TEST_F(FixRun, RewritesBothFilesAndCleansUp) {
    const FixResult result = Run(skeleton_);
    ASSERT_EQ(result.outcome, FixOutcome::kDone) << result.detail;
    EXPECT_EQ(started_, 1);
    EXPECT_EQ(MessageFor(result), (Message{"Done!", "Your files have been fixed!"}));

    const auto skeleton = rigmend_test::CrlfLines(ReadFile(skeleton_));
    const auto animations = rigmend_test::Animations(skeleton);
    ASSERT_EQ(animations.size(), 2u);
    EXPECT_EQ(animations[1].name, "Run");
    EXPECT_EQ(animations[1].tracks.size(), 3u);
    EXPECT_EQ(skeleton[3], "    <bone id='0' name='Root'>");

    const std::string mesh = ReadFile(mesh_);
    const auto meshLines = rigmend_test::CrlfLines(mesh);
    EXPECT_EQ(meshLines.at(8),
              "        <vertexboneassignment vertexindex='0' boneindex='2' weight='1.0' />  ");
    EXPECT_EQ(meshLines.at(9),
              "        <vertexboneassignment vertexindex='1' boneindex='0' weight='1.0' />  ");
    EXPECT_EQ(meshLines.at(14), " <skeletonlink name='hero.skeleton.xml' />");
    ExpectNoLeftovers();
}

TEST_F(FixRun, ChecksTheDropBeforeWritingAnything) {
    fs::create_directories(temp_.Path() / "old.skeleton.xml");
    const fs::path lonely = temp_.Path() / "old.skeleton.xml" / "lonely.skeleton.xml";
    WriteFile(lonely, skeletonText_);
    WriteFile(exports_ / "hero.SKELETON.XML", skeletonText_);
    WriteFile(exports_ / "hero.MESH.XML", meshText_);

    const struct {
        const char* why;
        fs::path skeleton;
        std::vector<std::string> clips;
        FixOutcome outcome;
        const char* text;
    } cases[] = {
        {"name check is case-sensitive",
         exports_ / "hero.SKELETON.XML",
         {"Walk,1,12"},
         FixOutcome::kNotSkeletonFile,
         "Only drag and drop '*.skeleton.xml' files that were exported from Kinemo."},
        {"not a skeleton file",
         mesh_,
         {"Walk,1,12"},
         FixOutcome::kNotSkeletonFile,
         "Only drag and drop '*.skeleton.xml' files that were exported from Kinemo."},
        {"mesh missing, folder named like a skeleton",
         lonely,
         {"Walk,1,12"},
         FixOutcome::kMeshMissing,
         "The '*.mesh.xml' need to be in the same directory as the '*.skeleton.xml' in order to "
         "fix them."},
        {"empty clip list",
         skeleton_,
         {},
         FixOutcome::kNoClips,
         "Before dropping a skeleton file, you need to add animation names and frames."},
    };
    for (const auto& c : cases) {
        const FixResult result = Run(c.skeleton, c.clips);
        EXPECT_EQ(result.outcome, c.outcome) << c.why;
        EXPECT_EQ(MessageFor(result), (Message{"Error!", c.text})) << c.why;
        EXPECT_EQ(started_, 0) << c.why;
    }
    ExpectInputsUnchanged();
    EXPECT_EQ(ReadFile(lonely), skeletonText_);
    EXPECT_FALSE(fs::exists(work_ / "Rigmend Temp"));
}

TEST_F(FixRun, DamagedInputLeavesBothFilesUntouched) {
    const std::string skeleton = skeletonText_;
    const std::string mesh = meshText_;
    const size_t skeletonLines = SplitLines(skeleton).size();
    const size_t meshLines = SplitLines(mesh).size();
    const struct {
        const char* why;
        std::string skeleton;
        std::string mesh;
    } cases[] = {
        {"skeleton without animations", FirstLines(skeleton, 25), mesh},
        {"skeleton ends inside a track", FirstLines(skeleton, skeletonLines - 30), mesh},
        {"skeleton without its closing lines", FirstLines(skeleton, skeletonLines - 2), mesh},
        {"mesh without assignments", skeleton, FirstLines(mesh, 7)},
        {"mesh ends inside the assignments", skeleton, FirstLines(mesh, 9)},
        {"mesh ends before its link", skeleton, FirstLines(mesh, meshLines - 2)},
        {"empty mesh", skeleton, ""},
    };
    for (const auto& c : cases) {
        skeletonText_ = c.skeleton;
        meshText_ = c.mesh;
        WriteFile(skeleton_, skeletonText_);
        WriteFile(mesh_, meshText_);
        const FixResult result = Run(skeleton_);
        EXPECT_EQ(result.outcome, FixOutcome::kFailed) << c.why;
        const Message message = MessageFor(result);
        EXPECT_EQ(message.title, "Error!") << c.why;
        EXPECT_NE(message.text.find("left unchanged"), std::string::npos) << message.text;
        ExpectInputsUnchanged();
        ExpectNoLeftovers();
    }
}

TEST_F(FixRun, UnwritableWorkingFolderLeavesBothFilesUntouched) {
    // Running as root ignores access rights, so block the folder with files instead.
    const fs::path notAFolder = temp_.Path() / "plain-file";
    WriteFile(notAFolder, "x");
    WriteFile(work_ / "Rigmend Temp", "someone's file");
    for (const fs::path& workDir : {notAFolder, work_}) {
        const FixResult result = RunFix({skeleton_, {"Walk,1,12"}, workDir});
        EXPECT_EQ(result.outcome, FixOutcome::kFailed) << workDir;
        EXPECT_NE(result.detail.find("Rigmend Temp"), std::string::npos) << result.detail;
        ExpectInputsUnchanged();
    }
    EXPECT_EQ(ReadFile(work_ / "Rigmend Temp"), "someone's file");
}

TEST_F(FixRun, KeepsForeignFilesInAnExistingWorkFolder) {
    fs::create_directories(work_ / "Rigmend Temp");
    WriteFile(work_ / "Rigmend Temp" / "notes.txt", "mine");
    ASSERT_EQ(Run(skeleton_).outcome, FixOutcome::kDone);
    EXPECT_EQ(ReadFile(work_ / "Rigmend Temp" / "notes.txt"), "mine");
    EXPECT_FALSE(fs::exists(work_ / "Rigmend Temp" / "skeleton.temp"));
    EXPECT_FALSE(fs::exists(work_ / "Rigmend Temp" / "mesh.temp"));
}

}  // namespace
}  // namespace rigmend

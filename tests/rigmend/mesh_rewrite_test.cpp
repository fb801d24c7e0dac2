#include <gtest/gtest.h>

#include <sstream>
#include <string>

#include "rigmend/mesh_rewrite.h"
#include "rigmend/text_lines.h"
#include "tests/rigmend/rigmend_fixture.h"

namespace rigmend {
namespace {

BoneIdMap Bones379() {
    BoneIdMap bones;
    bones.Set("3", "0");
    bones.Set("7", "1");
    bones.Set("9", "2");
    bones.Set("Hip", "3");
    return bones;
}

TEST(RewriteMesh, WritesTheExpectedFile) {
    const std::string input =
        "<mesh>\n"
        "  <submeshes>\n"
        "    <submesh material='Skin'>\n"
        "      <faces count='1'>  \n"
        "      </faces>\n"
        "      <boneassignments>\n"
        "        <vertexboneassignment vertexindex='0' boneindex='9' weight='1.0' />\n"
        "        <vertexboneassignment vertexindex='1' boneindex='3' weight='0.5' />\r\n"
        "      </boneassignments>\n"
        "    </submesh>\n"
        "  </submeshes>\n"
        "  <skeletonlink name='C:\\exports\\hero.skeleton.xml' />\n"
        "</mesh>\n"
        "trailing text\n";
    const std::string expected =
        "<mesh>\r\n"
        "  <submeshes>\r\n"
        "    <submesh material='Skin'>\r\n"
        "      <faces count='1'>  \r\n"
        "      </faces>\r\n"
        "      <boneassignments>\r\n"
        "        <vertexboneassignment vertexindex='0' boneindex='2' weight='1.0' />  \r\n"
        "        <vertexboneassignment vertexindex='1' boneindex='0' weight='0.5' />  \r\n"
        "      </boneassignments>\r\n"
        "    </submesh>\r\n"
        "  </submeshes>\r\n"
        " <skeletonlink name='hero.skeleton.xml' />\r\n"
        "</mesh>\r\n";
    std::ostringstream out;
    LineWriter writer(out);
    std::string error;
    ASSERT_TRUE(RewriteMesh(SplitLines(input), Bones379(), writer, &error)) << error;
    EXPECT_EQ(out.str(), expected);
}

TEST(RewriteAssignment, PadsToFifteenFieldsAndMapsTheBoneIndex) {
    const struct {
        const char* why;
        const char* line;
        const char* written;
    } cases[] = {
        {"exporter's line", "        <vba v='0' boneindex='9' w='1.0' />",
         "        <vba v='0' boneindex='2' w='1.0' />  "},
        {"bone id case ignored", "        <vba v='0' boneindex='HIP' w='1.0' />",
         "        <vba v='0' boneindex='3' w='1.0' />  "},
        {"unknown bone written empty", "        <vba v='0' boneindex='4' w='1.0' />",
         "        <vba v='0' boneindex='' w='1.0' />  "},
        {"double spaces keep their empty field", "<vba  boneindex='7'",
         "<vba  boneindex='1'            "},
        {"fields after the fifteenth dropped", "            <vba v='0' boneindex='7' w='1.0' />",
         "            <vba v='0' boneindex='1'"},
        {"empty line", "", "              "},
    };
    const BoneIdMap bones = Bones379();
    for (const auto& c : cases) EXPECT_EQ(RewriteAssignment(c.line, bones), c.written) << c.why;
}

TEST(RewriteSkeletonLink, KeepsOnlyTheFileName) {
    const struct {
        const char* line;
        const char* written;
    } cases[] = {
        {"  <skeletonlink name='C:\\exports\\hero.skeleton.xml' />",
         " <skeletonlink name='hero.skeleton.xml' />"},
        {"  <skeletonlink name='/home/me/exports/hero.skeleton.xml' />",
         " <skeletonlink name='hero.skeleton.xml' />"},
        {"  <skeletonlink name='C:\\a/b\\hero.skeleton.xml' />",
         " <skeletonlink name='hero.skeleton.xml' />"},
        {"  <skeletonlink name='hero.skeleton.xml' />",
         " <skeletonlink name='hero.skeleton.xml' />"},
        {"  <!-- no link -->", "  <!-- no link -->"},
    };
    for (const auto& c : cases) EXPECT_EQ(RewriteSkeletonLink(c.line), c.written) << c.line;
}

TEST(RewriteMesh, StopsOnTextWithoutTheExpectedLayout) {
    const std::string good = rigmend_test::MeshText({"9", "3"}, "C:\\x\\hero.skeleton.xml");
    const size_t lineCount = SplitLines(good).size();
    const struct {
        const char* why;
        std::string text;
        const char* error;
    } cases[] = {
        {"no assignments", rigmend_test::FirstLines(good, 7), "no line '      <boneassignments>'"},
        {"assignments never closed", rigmend_test::FirstLines(good, 10),
         "no line '      </boneassignments>'"},
        {"ends before the link", rigmend_test::FirstLines(good, lineCount - 2), "ends early"},
        {"lacks the closing line", rigmend_test::FirstLines(good, lineCount - 1), "ends early"},
    };
    for (const auto& c : cases) {
        std::ostringstream out;
        LineWriter writer(out);
        std::string error;
        EXPECT_FALSE(RewriteMesh(SplitLines(c.text), Bones379(), writer, &error)) << c.why;
        EXPECT_NE(error.find(c.error), std::string::npos) << c.why << ": " << error;
    }
}

}  // namespace
}  // namespace rigmend

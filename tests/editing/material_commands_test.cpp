#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "editing/material_commands.h"
#include "editing/rg_editor.h"
#include "scene/image_decoder.h"
#include "scene/rg_bone.h"
#include "scene/rg_mesh.h"
#include "scene/rg_scene.h"
#include "tests/editing/tool_fixture.h"

namespace fs = std::filesystem;

namespace {

// Reads the one kind of image these tests write: binary PPM, 8 bits.
class PpmDecoder : public rgImageDecoder {
public:
    bool Decode(const std::string& path, rgDecodedImage& image, std::string& why) override {
        std::ifstream in(path, std::ios::binary);
        std::string magic;
        int max = 0;
        if (!(in >> magic >> image.width >> image.height >> max) || magic != "P6" ||
            image.width <= 0 || image.height <= 0 || max != 255) {
            why = "not a PPM file";
            return false;
        }
        in.get();
        image.rgb.resize(static_cast<size_t>(image.width) * static_cast<size_t>(image.height) * 3);
        in.read(reinterpret_cast<char*>(image.rgb.data()), static_cast<std::streamsize>(image.rgb.size()));
        if (!in) why = "the file ends too soon";
        return static_cast<bool>(in);
    }
};

// A selected joint and mesh, an unselected mesh, and image files to load.
class MaterialCommands : public ::testing::Test {
protected:
    MaterialCommands() {
        editor.SetDocumentView(&view);
        editor.context.textures.SetDecoder(&decoder);
        dir = fs::temp_directory_path() / ("kinemo_materials_" + std::to_string(::getpid()));
        fs::create_directories(dir);
        rgSceneNode* root = editor.scene().GetRootNode();
        joint = editor.scene().CreateBone();
        mesh = editor.scene().CreateMesh();
        other = editor.scene().CreateMesh();
        for (rgSceneNode* n : {static_cast<rgSceneNode*>(joint), static_cast<rgSceneNode*>(mesh),
                               static_cast<rgSceneNode*>(other)})
            root->AttachChild(n);
        joint->SetSelected(true);
        mesh->SetSelected(true);
        other->SetMaterial(7);
    }
    ~MaterialCommands() override {
        editor.context.textures.Clear();
        editor.SetDocumentView(nullptr);
        fs::remove_all(dir);
    }
    // A 2 x 1 binary PPM.
    std::string Image(const std::string& name) {
        const std::string path = (dir / name).string();
        std::ofstream f(path, std::ios::binary);
        f << "P6\n2 1\n255\n";
        const unsigned char px[] = {255, 0, 0, 0, 0, 255};
        f.write(reinterpret_cast<const char*>(px), sizeof(px));
        return path;
    }
    rgTextureLibrary& textures() { return editor.context.textures; }

    PpmDecoder decoder;
    rgEditor editor;
    RedrawCounter view;
    fs::path dir;
    rgBone* joint = nullptr;
    rgMesh* mesh = nullptr;
    rgMesh* other = nullptr;
};

TEST_F(MaterialCommands, AddAndDeleteChangeTheLibraryWithoutUndoSteps) {
    // A file that cannot be loaded changes nothing, not even the flag.
    std::ofstream(dir / "text.png") << "not an image";
    EXPECT_EQ(AddMaterial(editor, (dir / "text.png").string()), nullptr);
    EXPECT_FALSE(editor.state().modified);
    EXPECT_EQ(textures().GetTextureCount(), 0);

    rgTexture* a = AddMaterial(editor, Image("a.ppm"));
    ASSERT_NE(a, nullptr);
    EXPECT_TRUE(editor.state().modified);
    EXPECT_EQ(textures().Selected(), a);
    rgTexture* b = AddMaterial(editor, Image("b.ppm"));
    rgTexture* c = AddMaterial(editor, Image("c.ppm"));
    ASSERT_TRUE(b && c);
    EXPECT_FALSE(editor.undo.HasSteps());

    // The middle one goes; the one that moved into its place is current.
    textures().Select(1);
    editor.state().modified = false;
    DeleteMaterial(editor);
    EXPECT_TRUE(editor.state().modified);
    EXPECT_EQ(textures().GetTextureCount(), 2);
    EXPECT_EQ(textures().Selected(), c);
    DeleteMaterial(editor);
    EXPECT_EQ(textures().Selected(), a);  // past the end: the last
    DeleteMaterial(editor);
    EXPECT_EQ(textures().Selected(), nullptr);
    editor.state().modified = false;
    DeleteMaterial(editor);  // nothing current: nothing happens
    EXPECT_FALSE(editor.state().modified);
    EXPECT_FALSE(editor.undo.HasSteps());
}

TEST_F(MaterialCommands, AssignAndUnassignActOnSelectedNodesAsUndoSteps) {
    UnassignMaterial(editor);  // works without a current texture
    EXPECT_EQ(editor.undo.TopLabel(), "Unassign Material");
    EXPECT_EQ(joint->GetMaterial(), -1);
    EXPECT_EQ(other->GetMaterial(), 7);

    AssignMaterial(editor);  // does nothing without one
    EXPECT_EQ(editor.undo.Count(), 1);

    rgTexture* t = AddMaterial(editor, Image("a.ppm"));
    ASSERT_NE(t, nullptr);
    const int redraws = view.redraws;
    editor.state().modified = false;
    AssignMaterial(editor);
    EXPECT_EQ(editor.undo.TopLabel(), "Assign Material");
    EXPECT_TRUE(editor.state().modified);
    EXPECT_GT(view.redraws, redraws);
    EXPECT_EQ(joint->GetMaterial(), t->GetId());
    EXPECT_EQ(mesh->GetMaterial(), t->GetId());
    EXPECT_EQ(other->GetMaterial(), 7);

    // Undo gives the nodes their materials back; the texture stays.
    editor.Undo();
    int materials = 0;
    editor.scene().ForEach([&](rgSceneNode* n) { materials += n->GetMaterial() == t->GetId(); });
    EXPECT_EQ(materials, 0);
    EXPECT_EQ(textures().GetTextureCount(), 1);

    // With nothing selected the step is still recorded.
    editor.scene().ForEach([](rgSceneNode* n) { n->SetSelected(false); });
    AssignMaterial(editor);
    EXPECT_EQ(editor.undo.TopLabel(), "Assign Material");
}

}  // namespace

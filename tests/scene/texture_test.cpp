#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <vector>

#include "scene/scene_context.h"

namespace fs = std::filesystem;

namespace {

// Reads exactly the images WriteImage writes: the scene's side of textures,
// without any image library.
class FixtureDecoder : public rgImageDecoder {
public:
    bool Decode(const std::string& path, rgDecodedImage& image, std::string& why) override {
        std::ifstream f(path, std::ios::binary);
        std::string bytes((std::istreambuf_iterator<char>(f)), std::istreambuf_iterator<char>());
        const std::string header = "P6\n2 1\n255\n";
        if (bytes.size() != header.size() + 6 || bytes.compare(0, header.size(), header) != 0) {
            why = "not an image";
            return false;
        }
        image.width = 2;
        image.height = 1;
        image.rgb.assign(bytes.begin() + static_cast<long>(header.size()), bytes.end());
        return true;
    }
};

class TextureTest : public ::testing::Test {
protected:
    void SetUp() override {
        dir_ = fs::temp_directory_path() / ("kinemo_tex_" + std::to_string(::getpid()));
        fs::create_directories(dir_);
        context.textures.SetDecoder(&decoder_);
    }
    void TearDown() override { fs::remove_all(dir_); }

    // A 2 x 1 binary PPM: red, then blue.
    std::string WriteImage(const std::string& name) {
        const std::string path = (dir_ / name).string();
        std::ofstream f(path, std::ios::binary);
        f << "P6\n2 1\n255\n";
        const unsigned char px[] = {255, 0, 0, 0, 0, 255};
        f.write(reinterpret_cast<const char*>(px), sizeof(px));
        return path;
    }
    std::string WriteText(const std::string& name) {
        const std::string path = (dir_ / name).string();
        std::ofstream(path) << "not an image at all\n";
        return path;
    }

    fs::path dir_;
    FixtureDecoder decoder_;
    rgSceneContext context;
};

TEST_F(TextureTest, LoadsRgbAndNumbersSuccessfulLoadsOnly) {
    rgTextureLibrary& library = context.textures;
    rgTexture* first = library.AddTexture(WriteImage("a.ppm"));
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(first->GetWidth(), 2);
    EXPECT_EQ(first->GetHeight(), 1);
    EXPECT_EQ(first->GetBpp(), 3);
    ASSERT_EQ(first->Pixels().size(), 6u);
    EXPECT_EQ(first->Pixels()[0], 255);  // red first
    EXPECT_EQ(first->Pixels()[5], 255);

    EXPECT_EQ(library.AddTexture(WriteText("b.png")), nullptr);
    EXPECT_EQ(library.LastError(),
              "Could not load " + (dir_ / "b.png").string() + ": not an image");
    EXPECT_EQ(library.AddTexture((dir_ / "missing.png").string()), nullptr);
    EXPECT_EQ(library.GetTextureCount(), 1);

    rgTexture* second = library.AddTexture(WriteImage("c.ppm"));
    ASSERT_NE(second, nullptr);
    EXPECT_EQ(second->GetId(), first->GetId() + 1);  // failed loads used no id
    EXPECT_EQ(library.SelectedIndex(), 1);
    second->SetId(5);
    EXPECT_EQ(library.FindById(5), second);
    first->SetId(5);
    EXPECT_EQ(library.FindById(5), first);  // the first in list order wins
    EXPECT_EQ(library.GetTexture(2), nullptr);
    EXPECT_EQ(library.GetTexture(-1), nullptr);
}

TEST_F(TextureTest, DeletingMovesTheSelection) {
    rgTextureLibrary& library = context.textures;
    for (const char* name : {"a.ppm", "b.ppm", "c.ppm"}) library.AddTexture(WriteImage(name));
    library.Select(1);
    const rgTexture* third = library.GetTexture(2);
    library.DeleteSelected();
    EXPECT_EQ(library.SelectedIndex(), 1);  // the one that took its index
    EXPECT_EQ(library.Selected(), third);
    library.DeleteSelected();
    EXPECT_EQ(library.SelectedIndex(), 0);  // the last one
    library.DeleteSelected();
    EXPECT_EQ(library.SelectedIndex(), -1);
    library.DeleteSelected();  // nothing selected: nothing happens
    EXPECT_EQ(library.GetTextureCount(), 0);
}

TEST(TexturePaths, RelativeAndAbsoluteNames) {
    struct Case {
        const char* stored;
        const char* document;
        const char* relative;
        const char* absolute;
    } cases[] = {
        {"/work/scenes/tex/skin.png", "/work/scenes/hero.rig", "tex/skin.png",
         "/work/scenes/tex/skin.png"},
        {"/work/tex/skin.png", "/work/scenes/hero.rig", "../tex/skin.png", "/work/tex/skin.png"},
        {"../tex/skin.png", "/work/scenes/hero.rig", "../tex/skin.png", "/work/tex/skin.png"},
        {"..\\..\\tex\\skin.png", "/a/b/c/hero.rig", "../../tex/skin.png", "/a/tex/skin.png"},
        {"tex/skin.png", "/work/scenes/hero.rig", "tex/skin.png", "/work/scenes/tex/skin.png"},
        {"/work/tex/skin.png", "unnamed.rig", "/work/tex/skin.png", "/work/tex/skin.png"},
        {"tex/skin.png", "unnamed.rig", "tex/skin.png",
         "tex/skin.png"},  // no folder to resolve against
    };
    for (const auto& c : cases) {
        EXPECT_EQ(RelativeToDocument(c.stored, c.document), c.relative) << c.stored;
        EXPECT_EQ(ResolveAgainstDocument(c.stored, c.document), c.absolute) << c.stored;
    }
}

TEST_F(TextureTest, TheObjectWatcherHearsOfDestroyedTextures) {
    struct Recorder : rgObjectWatcher {
        void ObjectDestroyed(const void* object) override { destroyed.push_back(object); }
        std::vector<const void*> destroyed;
    } watcher;
    context.SetObjectWatcher(&watcher);
    rgTextureLibrary& library = context.textures;
    rgTexture* a = library.AddTexture(WriteImage("a.ppm"));
    rgTexture* b = library.AddTexture(WriteImage("b.ppm"));
    library.DeleteSelected();
    EXPECT_EQ(watcher.destroyed, (std::vector<const void*>{b}));
    std::vector<std::unique_ptr<rgTexture>> taken;
    library.TakeAll(taken);
    EXPECT_EQ(watcher.destroyed.size(), 1u);  // moved out, still alive
    library.Discard(taken);
    EXPECT_EQ(watcher.destroyed, (std::vector<const void*>{b, a}));
    context.SetObjectWatcher(nullptr);
}

}  // namespace

#include <gtest/gtest.h>

#include <QAction>
#include <QBuffer>
#include <QFile>
#include <QPainter>
#include <QScrollArea>
#include <QToolButton>

#include "app/main_menus.h"
#include "app/material_form.h"
#include "scene/rg_mesh.h"
#include "scene/rg_scene.h"
#include "scene/texture_library.h"
#include "tests/app/editor_windows_fixture.h"

namespace {

// The PNG checksum of a chunk's type and data.
quint32 Crc32(const QByteArray& bytes) {
    quint32 crc = 0xFFFFFFFFu;
    for (const char c : bytes) {
        crc ^= static_cast<quint8>(c);
        for (int k = 0; k < 8; ++k) crc = (crc >> 1) ^ (0xEDB88320u & (0u - (crc & 1u)));
    }
    return ~crc;
}

class MaterialEditor : public EditorWindowsTest {
protected:
    MaterialEditor() {
        form().chooseTextureFile = [this] { return chosen; };
        form().show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(&form()));
    }
    TMaterialForm& form() { return *windows.MaterialForm; }
    rgTextureLibrary& textures() { return editor.context.textures; }
    // Adds through the button, as if the file had been chosen in the dialog.
    void Add(const QString& path) {
        chosen = path;
        form().AddMaterialBtn->click();
    }
    QImage Strip() {
        Settle();
        return form().Thumbnails->grab().toImage();
    }
    QString chosen;
};

TEST_F(MaterialEditor, TheWindowAndItsButtons) {
    EXPECT_EQ(form().windowTitle(), "Material Editor");
    EXPECT_TRUE(form().isFloating());
    EXPECT_EQ(form().height(), 215);
    EXPECT_EQ(form().minimumWidth(), 112);
    const struct {
        QToolButton* button;
        const char* hint;
    } buttons[] = {{form().AddMaterialBtn, "Add material"},
                   {form().DeleteMaterialBtn, "Delete material"},
                   {form().AssignMaterialBtn, "Assign material to selected objects"},
                   {form().UnassignMaterialBtn, "Unassign material from selected objects"}};
    for (const auto& b : buttons) {
        EXPECT_EQ(b.button->toolTip(), b.hint);
        EXPECT_EQ(b.button->size(), QSize(23, 22));
        EXPECT_FALSE(b.button->icon().isNull());
    }
    EXPECT_EQ(form().ScrollBox->verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOff);
    EXPECT_EQ(TMaterialForm::TextureFileFilters().size(), 14);
    SaveShot(form().grab().toImage(), "material_editor_empty");
}

// The current thumbnail sits on red, the others on black, inside a white frame.
TEST_F(MaterialEditor, AddingMakesTheNewTextureCurrentAndAClickSwapsTheBorders) {
    Add(WriteImage("green.png", Filled(16, 16, Qt::green)));
    Add(WriteImage("blue.png", Filled(8, 32, Qt::blue)));
    ASSERT_EQ(textures().GetTextureCount(), 2);
    EXPECT_TRUE(editor.state().modified);
    EXPECT_FALSE(editor.undo.HasSteps());
    EXPECT_EQ(form().Thumbnails->Count(), 2);

    QImage strip = Strip();
    EXPECT_EQ(strip.pixelColor(1, 1), QColor(Qt::white));
    EXPECT_EQ(strip.pixelColor(3, 3), QColor(Qt::black));  // first: not current
    EXPECT_EQ(strip.pixelColor(60, 60), QColor(Qt::green));
    EXPECT_EQ(strip.pixelColor(138 + 3, 3), QColor(Qt::red));  // second: current
    EXPECT_EQ(strip.pixelColor(138 + 60, 60), QColor(Qt::blue));
    EXPECT_EQ(strip.pixelColor(137, 60), QColor(Qt::black));  // between the cells
    SaveShot(strip, "material_editor_two");

    QTest::mouseClick(form().Thumbnails, Qt::LeftButton, {}, QPoint(40, 40));
    EXPECT_EQ(textures().SelectedIndex(), 0);
    strip = Strip();
    EXPECT_EQ(strip.pixelColor(3, 3), QColor(Qt::red));
    EXPECT_EQ(strip.pixelColor(138 + 3, 3), QColor(Qt::black));
    // Thumbnails are made once per texture, not per repaint.
    form().Thumbnails->repaint();
    form().Thumbnails->repaint();
    EXPECT_EQ(form().Thumbnails->ThumbnailsMade(), 2);
}

TEST_F(MaterialEditor, AnyImageShowsAt128By128Stretched) {
    QImage wide(256, 64, QImage::Format_RGB32);
    wide.fill(Qt::red);
    QPainter(&wide).fillRect(0, 32, 256, 32, Qt::blue);  // bottom half blue
    Add(WriteImage("wide.png", wide));
    const QImage strip = Strip();
    // The picture fills (5, 5) to (133, 133): red above, blue below, upright.
    EXPECT_EQ(strip.pixelColor(6, 6), QColor(Qt::red));
    EXPECT_EQ(strip.pixelColor(131, 6), QColor(Qt::red));
    EXPECT_EQ(strip.pixelColor(6, 131), QColor(Qt::blue));
    EXPECT_EQ(strip.pixelColor(131, 131), QColor(Qt::blue));
    EXPECT_EQ(strip.pixelColor(4, 60), QColor(Qt::red));  // the current border
    EXPECT_EQ(strip.pixelColor(134, 60), QColor(Qt::red));
}

TEST_F(MaterialEditor, DeleteMovesTheCurrentAndAssignNeedsOne) {
    for (const char* name : {"a.png", "b.png", "c.png"})
        Add(WriteImage(name, Filled(4, 4, Qt::gray)));
    rgTexture* c = textures().GetTexture(2);
    textures().Select(1);
    form().DeleteMaterialBtn->click();
    EXPECT_EQ(form().Thumbnails->Count(), 2);
    EXPECT_EQ(textures().Selected(), c);  // the one that moved into its place
    form().DeleteMaterialBtn->click();
    form().DeleteMaterialBtn->click();
    EXPECT_EQ(textures().GetTextureCount(), 0);
    EXPECT_EQ(textures().Selected(), nullptr);
    EXPECT_EQ(form().Thumbnails->Count(), 0);

    rgMesh* mesh = editor.scene().CreateMesh();
    editor.scene().GetRootNode()->AttachChild(mesh);
    mesh->SetSelected(true);
    mesh->SetMaterial(4);
    form().AssignMaterialBtn->click();  // nothing current: nothing happens
    EXPECT_FALSE(editor.undo.HasSteps());
    form().UnassignMaterialBtn->click();  // still works
    EXPECT_EQ(editor.undo.TopLabel(), "Unassign Material");
    EXPECT_EQ(mesh->GetMaterial(), -1);

    Add(WriteImage("d.png", Filled(4, 4, Qt::gray)));
    form().AssignMaterialBtn->click();
    EXPECT_EQ(editor.undo.TopLabel(), "Assign Material");
    EXPECT_EQ(mesh->GetMaterial(), textures().Selected()->GetId());
}

// Files that are not images, or damaged ones, add nothing, leave the
// current texture as it was, and say so.
TEST_F(MaterialEditor, FilesThatCannotBeLoadedChangeNothing) {
    Add(WriteImage("good.png", Filled(4, 4, Qt::yellow)));
    editor.state().modified = false;
    QByteArray png;
    {
        QBuffer buffer(&png);
        buffer.open(QIODevice::WriteOnly);
        Filled(64, 64, Qt::darkCyan).save(&buffer, "PNG");
    }
    const auto write = [this](const char* name, const QByteArray& bytes) {
        QFile file(scratch.filePath(name));
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
        return scratch.filePath(name);
    };
    QByteArray corrupt = png;
    for (int i = 40; i < corrupt.size(); i += 3) corrupt[i] = static_cast<char>(i * 7);
    // A header that claims 60000 x 60000 pixels (10 GB of RGB) over a few bytes.
    QByteArray huge = png;
    const char side[4] = {0, 0, static_cast<char>(0xEA), 0x60};
    huge.replace(16, 4, QByteArray(side, 4));
    huge.replace(20, 4, QByteArray(side, 4));
    const quint32 crc = Crc32(huge.mid(12, 17));
    const char crcBytes[4] = {static_cast<char>(crc >> 24), static_cast<char>(crc >> 16),
                              static_cast<char>(crc >> 8), static_cast<char>(crc)};
    huge.replace(29, 4, QByteArray(crcBytes, 4));
    const QString bad[] = {
        write("notes.png", "these are notes, not a picture\n"),
        write("empty.png", QByteArray()),
        write("truncated.png", png.left(png.size() / 2)),
        write("corrupt.png", corrupt),
        write("huge.png", huge),
        scratch.filePath("missing.png"),
        scratch.path(),  // a folder
    };
    for (const QString& path : bad) {
        Add(path);
        EXPECT_EQ(textures().GetTextureCount(), 1) << path.toStdString();
    }
    EXPECT_EQ(textures().SelectedIndex(), 0);
    EXPECT_EQ(form().Thumbnails->Count(), 1);
    EXPECT_FALSE(editor.state().modified);
    ASSERT_EQ(messages.shown.size(), std::size(bad));
    EXPECT_NE(messages.shown[0].find("notes.png cannot be loaded as a texture"), std::string::npos);

    chosen.clear();  // the dialog cancelled
    form().AddMaterialBtn->click();
    EXPECT_EQ(messages.shown.size(), std::size(bad));
}

// A texture keeps its decoded image: its thumbnail, drawing and deleting do
// not need the file any more.
TEST_F(MaterialEditor, ATextureWhoseFileDisappears) {
    const QString path = WriteImage("gone.png", Filled(8, 8, Qt::magenta));
    Add(path);
    ASSERT_TRUE(QFile::remove(path));
    form().hide();
    form().show();
    form().Thumbnails->update();
    EXPECT_EQ(Strip().pixelColor(60, 60), QColor(Qt::magenta));
    rgMesh* mesh = editor.scene().CreateMesh();
    editor.scene().GetRootNode()->AttachChild(mesh);
    mesh->SetSelected(true);
    form().AssignMaterialBtn->click();
    main.RedrawAll();
    Settle();
    form().DeleteMaterialBtn->click();
    EXPECT_EQ(textures().GetTextureCount(), 0);
    EXPECT_EQ(form().Thumbnails->Count(), 0);
}

// Textures that scripts and scene files add, and a cleared library, show
// without the window being asked.
TEST_F(MaterialEditor, FollowsTheLibraryWhoeverChangesIt) {
    const QString path = WriteImage("script.png", Filled(4, 4, Qt::cyan));
    ASSERT_TRUE(Run("assert(AddTexture('" + path.toStdString() + "'))"));
    EXPECT_EQ(form().Thumbnails->Count(), 1);
    EXPECT_FALSE(editor.state().modified);  // scripts' adds leave the flag
    ASSERT_TRUE(Run("assert(AddTexture('" + path.toStdString() + "'))"));
    EXPECT_EQ(form().Thumbnails->Count(), 2);
    EXPECT_EQ(form().Thumbnails->ThumbnailsMade(), 2);
    textures().Clear();  // what New and Open do
    EXPECT_EQ(form().Thumbnails->Count(), 0);
    ASSERT_TRUE(Run("assert(AddTexture('" + path.toStdString() + "'))"));
    EXPECT_EQ(form().Thumbnails->Count(), 1);
    EXPECT_EQ(Strip().pixelColor(60, 60), QColor(Qt::cyan));
}

TEST_F(MaterialEditor, TheMenuItemShowsAndHidesItWithACheckMark) {
    QAction* item = main.Menus().commands().Action("Windows.MaterialEditor");
    ASSERT_NE(item, nullptr);
    form().hide();
    main.Menus().Refresh();
    EXPECT_TRUE(item->isEnabled());
    EXPECT_FALSE(item->isChecked());
    item->trigger();
    EXPECT_TRUE(form().isVisible());
    main.Menus().Refresh();
    EXPECT_TRUE(item->isChecked());
    Add(WriteImage("kept.png", Filled(4, 4, Qt::gray)));
    form().close();  // the close box only hides it
    main.Menus().Refresh();
    EXPECT_FALSE(form().isVisible());
    EXPECT_FALSE(item->isChecked());
    EXPECT_EQ(textures().GetTextureCount(), 1);
    item->trigger();
    EXPECT_EQ(form().Thumbnails->Count(), 1);
}

}  // namespace

#pragma once

#include <QDockWidget>
#include <QPixmap>
#include <QString>
#include <functional>
#include <vector>

class QScrollArea;
class QToolButton;
class rgEditor;
class rgTexture;
class rgTextureLibrary;

// The row of thumbnails in the material editor: one 138-pixel cell per
// texture of the library, in library order, the current one on red. Each
// thumbnail is made once, when its texture first appears.
class TThumbnailStrip : public QWidget {
    Q_OBJECT
public:
    static constexpr int kCellWidth = 138;
    static constexpr int kThumbnailSize = 128;

    explicit TThumbnailStrip(rgTextureLibrary& textures, QWidget* parent = nullptr);

    // Follows the library: thumbnails for textures new to it, none for
    // textures gone from it. Called whenever the library changed.
    void Sync();
    int Count() const { return static_cast<int>(entries_.size()); }
    // Thumbnails made since the strip was created (none per repaint).
    int ThumbnailsMade() const { return made_; }
    // The cell a point of the strip lies in; -1 when none.
    int CellAt(const QPoint& point) const;

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;

private:
    struct Entry {
        const rgTexture* texture;
        QPixmap thumbnail;
    };
    QPixmap MakeThumbnail(const rgTexture& texture);

    rgTextureLibrary& textures_;
    std::vector<Entry> entries_;
    int made_ = 0;
};

// "Material Editor": the texture library as thumbnails. Add loads an image
// file as a texture, Delete removes the current one, Assign gives the
// selected nodes the current texture as their material, Unassign takes it
// from them. A click on a thumbnail makes its texture current.
class TMaterialForm : public QDockWidget {
    Q_OBJECT
public:
    TMaterialForm(rgEditor& editor, QWidget* parent = nullptr);
    ~TMaterialForm() override;

    void AddMaterialBtnClick();
    void DeleteMaterialBtnClick();
    void AssignMaterialBtnClick();
    void UnassignMaterialBtnClick();

    // The image file Add loads; empty cancels. By default the file dialog
    // "Open Texture File".
    std::function<QString()> chooseTextureFile;
    // The filters of that dialog, in order.
    static QStringList TextureFileFilters();

    QToolButton* AddMaterialBtn = nullptr;
    QToolButton* DeleteMaterialBtn = nullptr;
    QToolButton* AssignMaterialBtn = nullptr;
    QToolButton* UnassignMaterialBtn = nullptr;
    QScrollArea* ScrollBox = nullptr;
    TThumbnailStrip* Thumbnails = nullptr;

private:
    QToolButton* ToolButton(const char* name, const char* hint, int glyph);

    rgEditor& editor_;
};

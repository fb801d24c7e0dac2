#include "app/material_form.h"

#include <QFileDialog>
#include <QHBoxLayout>
#include <QImage>
#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>
#include <QScrollArea>
#include <QToolButton>
#include <QVBoxLayout>
#include <algorithm>

#include "editing/material_commands.h"
#include "editing/rg_editor.h"
#include "scene/texture_library.h"

namespace {

enum Glyph { kAddGlyph, kDeleteGlyph, kAssignGlyph, kUnassignGlyph };

// A small picture: a framed square with a sun and a hill.
void Picture(QPainter& p, QRectF r) {
    p.setPen(QPen(QColor(40, 40, 40), 1));
    p.setBrush(QColor(150, 200, 255));
    p.drawRect(r);
    p.setBrush(QColor(255, 210, 0));
    p.setPen(Qt::NoPen);
    p.drawEllipse(QPointF(r.left() + r.width() * 0.3, r.top() + r.height() * 0.3), 1.6, 1.6);
    QPainterPath hill;
    hill.moveTo(r.left() + 0.5, r.bottom() - 0.5);
    hill.lineTo(r.left() + r.width() * 0.45, r.top() + r.height() * 0.45);
    hill.lineTo(r.right() - 0.5, r.bottom() - 0.5);
    hill.closeSubpath();
    p.fillPath(hill, QColor(40, 140, 40));
}

// A cube seen from above, the selected node the material goes to.
void Cube(QPainter& p, QPointF o) {
    p.setPen(QPen(QColor(40, 40, 40), 1));
    p.setBrush(QColor(200, 200, 200));
    QPolygonF top({o + QPointF(0, 3), o + QPointF(4, 0), o + QPointF(9, 0), o + QPointF(5, 3)});
    p.drawPolygon(top);
    p.drawRect(QRectF(o + QPointF(0, 3), QSizeF(5, 5)));
    QPolygonF side({o + QPointF(5, 3), o + QPointF(9, 0), o + QPointF(9, 5), o + QPointF(5, 8)});
    p.setBrush(QColor(150, 150, 150));
    p.drawPolygon(side);
}

QIcon GlyphIcon(int glyph) {
    QPixmap pixmap(16, 16);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    switch (glyph) {
        case kAddGlyph:
            Picture(p, QRectF(0.5, 3.5, 11, 9));
            p.setPen(QPen(QColor(0, 120, 0), 2.2));
            p.drawLine(QPointF(12.5, 8), QPointF(12.5, 15));
            p.drawLine(QPointF(9, 11.5), QPointF(16, 11.5));
            break;
        case kDeleteGlyph:
            Picture(p, QRectF(0.5, 3.5, 11, 9));
            p.setPen(QPen(QColor(200, 0, 0), 2.2));
            p.drawLine(QPointF(9.5, 8.5), QPointF(15, 14));
            p.drawLine(QPointF(15, 8.5), QPointF(9.5, 14));
            break;
        case kAssignGlyph:
        case kUnassignGlyph:
            Picture(p, QRectF(0.5, 0.5, 8, 7));
            Cube(p, QPointF(6.5, 7.5));
            p.setPen(QPen(glyph == kAssignGlyph ? QColor(0, 90, 200) : QColor(200, 0, 0), 1.6));
            if (glyph == kAssignGlyph) {
                p.drawLine(QPointF(3, 9), QPointF(3, 13));
                p.drawLine(QPointF(3, 13), QPointF(6, 13));
            } else {
                p.drawLine(QPointF(1, 10), QPointF(5, 14));
                p.drawLine(QPointF(5, 10), QPointF(1, 14));
            }
            break;
        default:
            break;
    }
    return QIcon(pixmap);
}

}  // namespace

TThumbnailStrip::TThumbnailStrip(rgTextureLibrary& textures, QWidget* parent)
    : QWidget(parent), textures_(textures) {
    setObjectName("Thumbnails");
    setAutoFillBackground(true);
    QPalette black = palette();
    black.setColor(QPalette::Window, Qt::black);
    setPalette(black);
    Sync();
}

QPixmap TThumbnailStrip::MakeThumbnail(const rgTexture& texture) {
    ++made_;
    QPixmap thumbnail(kThumbnailSize, kThumbnailSize);
    thumbnail.fill(Qt::black);
    const int w = texture.GetWidth(), h = texture.GetHeight();
    const std::vector<uint8_t>& rgb = texture.Pixels();
    if (w <= 0 || h <= 0 || rgb.size() < static_cast<size_t>(w) * static_cast<size_t>(h) * 3)
        return thumbnail;
    // The texture's bytes as they are: RGB rows, bottom row first.
    const QImage image(rgb.data(), w, h, static_cast<qsizetype>(w) * 3, QImage::Format_RGB888);
    const QImage scaled =
        image
            .scaled(kThumbnailSize, kThumbnailSize, Qt::IgnoreAspectRatio, Qt::SmoothTransformation)
            .mirrored(false, true);
    thumbnail.convertFromImage(scaled);
    return thumbnail;
}

void TThumbnailStrip::Sync() {
    std::vector<Entry> entries;
    for (int i = 0; i < textures_.GetTextureCount(); ++i) {
        const rgTexture* texture = textures_.GetTexture(i);
        // Textures are told of as they go, so a known address is the same texture.
        const auto known = std::find_if(entries_.begin(), entries_.end(),
                                        [texture](const Entry& e) { return e.texture == texture; });
        entries.push_back(
            {texture, known != entries_.end() ? known->thumbnail : MakeThumbnail(*texture)});
    }
    entries_ = std::move(entries);
    setMinimumWidth(kCellWidth * Count());
    update();
}

int TThumbnailStrip::CellAt(const QPoint& point) const {
    if (point.x() < 0 || point.y() < 0) return -1;
    const int cell = point.x() / kCellWidth;
    return cell < Count() ? cell : -1;
}

void TThumbnailStrip::paintEvent(QPaintEvent* event) {
    QPainter p(this);
    p.fillRect(event->rect(), Qt::black);
    const int selected = textures_.SelectedIndex();
    for (int i = 0; i < Count(); ++i) {
        const int x = i * kCellWidth;
        if (!event->rect().intersects(QRect(x, 0, kCellWidth, height()))) continue;
        // A white frame, a red (current) or black border and the picture.
        p.setPen(Qt::white);
        p.setBrush(Qt::NoBrush);
        p.drawRect(QRect(x + 1, 1, 135, 135));
        p.fillRect(QRect(x + 2, 2, 134, 134), i == selected ? Qt::red : Qt::black);
        p.drawPixmap(QRect(x + 5, 5, kThumbnailSize, kThumbnailSize),
                     entries_[static_cast<size_t>(i)].thumbnail);
    }
}

void TThumbnailStrip::mousePressEvent(QMouseEvent* event) {
    const int cell = CellAt(event->position().toPoint());
    if (cell >= 0) textures_.Select(cell);
}

QStringList TMaterialForm::TextureFileFilters() {
    return {
        "All known formats (*.bmp *.cut *.jpg *.jpe *.jpeg *.lbm *.pcd *.pcx *.pic *.pbm "
        "*.pgm *.ppm *.png *.sgi *.bw *.rgb *.rgba *.tga *.tif *.tiff)",
        "Bitmap (*.bmp)",
        "JPEG (*.jpg *.jpe *.jpeg)",
        "ZSoft PC Paintbrush (*.pcx)",
        "Portable Network Graphics (*.png)",
        "Dr. Halo (*.cut)",
        "Deluxe Paint (*.lbm)",
        "TrueVision Targa (*.tga)",
        "Tag Image File Format (*.tif *.tiff)",
        "Portable Bitmap (*.pbm)",
        "Portable Pixmap (*.ppm)",
        "Portable Graymap (*.pgm)",
        "SGI (*.sgi *.bw *.rgb *.rgba)",
        "Kodak Photo CD (*.pcd)"};
}

TMaterialForm::TMaterialForm(rgEditor& editor, QWidget* parent)
    : QDockWidget("Material Editor", parent), editor_(editor) {
    setObjectName("TMaterialForm");
    auto* content = new QWidget(this);
    auto* column = new QVBoxLayout(content);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(0);
    auto* bar = new QHBoxLayout;
    bar->setContentsMargins(2, 2, 2, 2);
    bar->setSpacing(0);
    AddMaterialBtn = ToolButton("AddMaterialBtn", "Add material", kAddGlyph);
    DeleteMaterialBtn = ToolButton("DeleteMaterialBtn", "Delete material", kDeleteGlyph);
    AssignMaterialBtn =
        ToolButton("AssignMaterialBtn", "Assign material to selected objects", kAssignGlyph);
    UnassignMaterialBtn = ToolButton("UnassignMaterialBtn",
                                     "Unassign material from selected objects", kUnassignGlyph);
    bar->addWidget(AddMaterialBtn);
    bar->addWidget(DeleteMaterialBtn);
    bar->addSpacing(8);
    bar->addWidget(AssignMaterialBtn);
    bar->addWidget(UnassignMaterialBtn);
    bar->addStretch();
    column->addLayout(bar);

    ScrollBox = new QScrollArea(content);
    ScrollBox->setObjectName("ScrollBox");
    ScrollBox->setFrameShape(QFrame::NoFrame);
    ScrollBox->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    ScrollBox->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    ScrollBox->setWidgetResizable(true);
    QPalette black = ScrollBox->palette();
    black.setColor(QPalette::Window, Qt::black);
    ScrollBox->setPalette(black);
    ScrollBox->setBackgroundRole(QPalette::Window);
    Thumbnails = new TThumbnailStrip(editor_.context.textures);
    ScrollBox->setWidget(Thumbnails);
    column->addWidget(ScrollBox, 1);
    setWidget(content);

    setMinimumSize(112, 215);
    setMaximumHeight(215);
    resize(204, 215);

    connect(AddMaterialBtn, &QToolButton::clicked, this, &TMaterialForm::AddMaterialBtnClick);
    connect(DeleteMaterialBtn, &QToolButton::clicked, this, &TMaterialForm::DeleteMaterialBtnClick);
    connect(AssignMaterialBtn, &QToolButton::clicked, this, &TMaterialForm::AssignMaterialBtnClick);
    connect(UnassignMaterialBtn, &QToolButton::clicked, this,
            &TMaterialForm::UnassignMaterialBtnClick);
    chooseTextureFile = [this] {
        QFileDialog dialog(this, "Open Texture File");
        dialog.setNameFilters(TextureFileFilters());
        dialog.setFileMode(QFileDialog::ExistingFile);
        return dialog.exec() ? dialog.selectedFiles().value(0) : QString();
    };
    editor_.context.textures.SetChangeListener([this] { Thumbnails->Sync(); });
}

TMaterialForm::~TMaterialForm() {
    editor_.context.textures.SetChangeListener(nullptr);
}

QToolButton* TMaterialForm::ToolButton(const char* name, const char* hint, int glyph) {
    auto* button = new QToolButton(this);
    button->setObjectName(name);
    button->setFixedSize(23, 22);
    button->setIconSize(QSize(16, 16));
    button->setIcon(GlyphIcon(glyph));
    button->setAutoRaise(true);
    button->setToolTip(hint);
    button->setStatusTip(hint);
    return button;
}

void TMaterialForm::AddMaterialBtnClick() {
    const QString path = chooseTextureFile ? chooseTextureFile() : QString();
    if (path.isEmpty()) return;
    if (!AddMaterial(editor_, path.toStdString()))
        editor_.context.messages().ShowMessage("The file " + path.toStdString() +
                                               " cannot be loaded as a texture.");
}

void TMaterialForm::DeleteMaterialBtnClick() {
    DeleteMaterial(editor_);
}

void TMaterialForm::AssignMaterialBtnClick() {
    AssignMaterial(editor_);
}

void TMaterialForm::UnassignMaterialBtnClick() {
    UnassignMaterial(editor_);
}

#include "app/key_timeline_view.h"

#include <QMenu>
#include <QMouseEvent>
#include <QPainter>
#include <QScrollBar>
#include <QStyledItemDelegate>
#include <algorithm>
#include <map>

#include "editing/key_timeline.h"
#include "editing/rg_editor.h"
#include "scene/rg_bone.h"

namespace {

// Every row 16 pixels high, so rows line up with the time line's cells.
class RowHeightDelegate : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;
    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override {
        return {QStyledItemDelegate::sizeHint(option, index).width(), TJointTreeView::kRowHeight};
    }
};

const QColor kRangeGreen(144, 176, 144);
const QColor kMarkerGreen(0, 128, 0);
const QColor kSilver(192, 192, 192);
const QColor kGray(128, 128, 128);

}  // namespace

QFont TimelineNumberFont() {
    QFont font("Courier New");
    font.setStyleHint(QFont::TypeWriter);
    font.setPointSize(7);
    return font;
}

// ---------------------------------------------------------------- joint tree

TJointTreeView::TJointTreeView(QWidget* parent) : QTreeWidget(parent) {
    setObjectName("TreeView");
    setHeaderHidden(true);
    setColumnCount(1);
    setSelectionMode(QAbstractItemView::ExtendedSelection);
    setUniformRowHeights(true);
    setVerticalScrollMode(QAbstractItemView::ScrollPerItem);
    setEditTriggers(QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed);
    setItemDelegate(new RowHeightDelegate(this));
    QFont font("Courier New");
    font.setStyleHint(QFont::TypeWriter);
    setFont(font);
    setContextMenuPolicy(Qt::CustomContextMenu);
    connect(this, &QWidget::customContextMenuRequested, this, [this](const QPoint& at) {
        QMenu menu(this);
        menu.addAction("Expand All", this, [this] { expandAll(); });
        menu.addAction("Collapse All", this, [this] { collapseAll(); });
        menu.exec(viewport()->mapToGlobal(at));
    });
    connect(this, &QTreeWidget::itemSelectionChanged, this, [this] {
        if (!suspended_ && quiet_ == 0 && onSelectionChanged) onSelectionChanged(SelectedJoints());
    });
    connect(this, &QTreeWidget::itemChanged, this, [this](QTreeWidgetItem* item, int) {
        rgBone* joint = JointOf(item);
        if (joint && !suspended_ && quiet_ == 0 && onRenamed)
            onRenamed(joint, item->text(0).toStdString());
    });
    connect(this, &QTreeWidget::itemExpanded, this, [this] { RowsChanged(); });
    connect(this, &QTreeWidget::itemCollapsed, this, [this] { RowsChanged(); });
    Reset();
}

void TJointTreeView::RowsChanged() {
    if (onRowsChanged) onRowsChanged();
}

void TJointTreeView::Reset() {
    ++quiet_;
    clear();
    items_.clear();
    root_ = new QTreeWidgetItem(this, QStringList{"Scene"});
    root_->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable);
    root_->setExpanded(true);
    --quiet_;
    RowsChanged();
}

void TJointTreeView::Forget(QTreeWidgetItem* item) {
    if (rgBone* joint = JointOf(item)) items_.erase(joint);
    for (int i = 0; i < item->childCount(); ++i) Forget(item->child(i));
}

void TJointTreeView::RemoveAllItems() {
    ++quiet_;
    for (QTreeWidgetItem* child : root_->takeChildren()) {
        Forget(child);
        delete child;
    }
    --quiet_;
    RowsChanged();
}

void TJointTreeView::AddItem(rgBone* joint, rgBone* parentJoint, const std::string& caption,
                             bool selected) {
    if (!joint) return;
    ++quiet_;
    if (QTreeWidgetItem* old = ItemOf(joint)) {  // a joint has one row
        Forget(old);
        delete old;
    }
    QTreeWidgetItem* parent = ItemOf(parentJoint);
    auto* item =
        new QTreeWidgetItem(parent ? parent : root_, QStringList{QString::fromStdString(caption)});
    item->setData(0, Qt::UserRole, QVariant::fromValue(reinterpret_cast<quintptr>(joint)));
    item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsEditable);
    items_[joint] = item;
    item->setSelected(selected);
    // A joint an edit adds shows in the tree; a rebuild (undo) restores the
    // user's folding instead.
    if (!suspended_)
        for (QTreeWidgetItem* up = item->parent(); up && !up->isExpanded(); up = up->parent())
            up->setExpanded(true);
    --quiet_;
    RowsChanged();
}

void TJointTreeView::RemoveItem(const rgSceneNode* joint) {
    QTreeWidgetItem* item = ItemOf(joint);
    if (!item) return;
    ++quiet_;
    Forget(item);
    delete item;
    --quiet_;
    RowsChanged();
}

bool TJointTreeView::HasItem(const rgSceneNode* joint) const {
    return ItemOf(joint) != nullptr;
}

QTreeWidgetItem* TJointTreeView::ItemOf(const rgSceneNode* joint) const {
    if (!joint) return nullptr;
    const auto it = items_.find(joint);
    return it != items_.end() ? it->second : nullptr;
}

rgBone* TJointTreeView::JointOf(const QTreeWidgetItem* item) {
    return item ? reinterpret_cast<rgBone*>(item->data(0, Qt::UserRole).value<quintptr>())
                : nullptr;
}

void TJointTreeView::SetItemCaption(const rgSceneNode* joint, const std::string& caption) {
    if (QTreeWidgetItem* item = ItemOf(joint)) {
        ++quiet_;
        item->setText(0, QString::fromStdString(caption));
        --quiet_;
    }
}

void TJointTreeView::SetItemSelected(const rgSceneNode* joint, bool selected) {
    if (QTreeWidgetItem* item = ItemOf(joint)) {
        ++quiet_;
        item->setSelected(selected);
        --quiet_;
        RowsChanged();  // the time line outlines selected joints' rows
    }
}

bool TJointTreeView::IsItemExpanded(const rgSceneNode* joint) const {
    const QTreeWidgetItem* item = ItemOf(joint);
    return item && item->isExpanded();
}

void TJointTreeView::ExpandItem(const rgSceneNode* joint) {
    if (QTreeWidgetItem* item = ItemOf(joint)) item->setExpanded(true);
}

void TJointTreeView::ExpandRootItem() {
    root_->setExpanded(true);
}

void TJointTreeView::SetChangeHandlingSuspended(bool suspended) {
    suspended_ = suspended;
    if (!suspended) RowsChanged();
}

std::vector<rgBone*> TJointTreeView::ShownRows() const {
    std::vector<rgBone*> rows;
    QTreeWidgetItem* item = itemAt(0, 0);
    if (!item) item = root_;
    for (; item; item = itemBelow(item)) rows.push_back(JointOf(item));
    return rows;
}

std::vector<rgBone*> TJointTreeView::SelectedJoints() const {
    std::vector<rgBone*> joints;
    for (QTreeWidgetItem* item : selectedItems())
        if (rgBone* joint = JointOf(item)) joints.push_back(joint);
    return joints;
}

void TJointTreeView::mouseReleaseEvent(QMouseEvent* event) {
    QTreeWidget::mouseReleaseEvent(event);
    if (onRowReleased) onRowReleased(JointOf(itemAt(event->position().toPoint())));
}

void TJointTreeView::scrollContentsBy(int dx, int dy) {
    QTreeWidget::scrollContentsBy(dx, dy);
    if (dy != 0) RowsChanged();
}

// ---------------------------------------------------------------- time line

namespace {

using namespace keytimeline;

// One cell as an 8 x 16 tile: a rectangle over pixels 1..6 x 1..14 outlined
// in `outline` and filled silver, on the button face.
const QPixmap& CellTile(const QColor& face, const QColor& outline) {
    static std::map<std::pair<QRgb, QRgb>, QPixmap> tiles;
    QPixmap& tile = tiles[{face.rgb(), outline.rgb()}];
    if (tile.isNull()) {
        QImage image(kCellWidth, kRowHeight, QImage::Format_RGB32);
        image.fill(face);
        QPainter p(&image);
        p.fillRect(1, 1, 6, 14, outline);
        p.fillRect(2, 2, 4, 12, kSilver);
        p.end();
        tile = QPixmap::fromImage(image);
    }
    return tile;
}

// An outline over pixels x1..x2-1, y1..y2-1.
void Frame(QPainter& p, int x1, int y1, int x2, int y2, const QColor& colour) {
    if (x2 <= x1 || y2 <= y1) return;
    p.setPen(colour);
    p.setBrush(Qt::NoBrush);
    p.drawRect(x1, y1, x2 - x1 - 1, y2 - y1 - 1);
}

void PaintRuler(QPainter& p, const QRect& area, int top, int width, const rgState& state,
                const QColor& face, const QFont& font) {
    const int first = state.segmentStart, last = state.segmentEnd;
    const int barLeft = first * kCellWidth, barRight = (last - 1) * kCellWidth;
    if (barRight > barLeft) p.fillRect(barLeft, top + 2, barRight - barLeft, 12, kRangeGreen);

    p.setFont(font);
    const QFontMetrics metrics(font);
    p.setPen(Qt::black);
    const int lowest = std::max(5, (FrameAt(area.left()) - 4) / 5 * 5);
    for (int f = lowest; f <= state.totalFrames; f += 5) {
        const QString text = QString::number(f);
        const int w = metrics.horizontalAdvance(text), h = metrics.height();
        const int centre = 4 + (f - 1) * kCellWidth;
        const QRect box(centre - w / 2, top + 8 - h / 2, w, h);
        if (box.right() >= width) break;  // it would cross the right end
        if (box.left() > area.right()) break;
        p.fillRect(box, first < f && f < last ? kRangeGreen : face);
        p.drawText(box, Qt::AlignCenter, text);
    }

    p.setPen(kMarkerGreen);
    p.setBrush(kMarkerGreen);
    const int x0 = (first - 1) * kCellWidth, x1 = (last - 1) * kCellWidth;
    const QPoint start[3] = {{x0 + 4, top + 4}, {x0, top + 8}, {x0 + 4, top + 12}};
    const QPoint end[3] = {{x1 + 4, top + 4}, {x1 + 8, top + 8}, {x1 + 4, top + 12}};
    p.drawPolygon(start, 3);
    p.drawPolygon(end, 3);
}

// Each clip as a band along the ruler's foot, its name at its start.
void PaintClips(QPainter& p, int top, int width, const std::vector<rgClip>& clips,
                const QFont& font) {
    static const QColor kBands[] = {QColor(70, 110, 200), QColor(200, 120, 40), QColor(120, 70, 170),
                                    QColor(40, 150, 130)};
    p.setFont(font);
    const QFontMetrics metrics(font);
    for (size_t i = 0; i < clips.size(); ++i) {
        const rgClip& clip = clips[i];
        const int left = (clip.first - 1) * kCellWidth, right = std::min(clip.last * kCellWidth, width);
        if (right <= left) continue;
        const QColor colour = kBands[i % 4];
        p.fillRect(left, top + kRowHeight - 4, right - left, 4, colour);
        const QString name = QString::fromStdString(clip.name);
        const int w = std::min(metrics.horizontalAdvance(name) + 4, right - left);
        const QRect label(left, top + 1, w, kRowHeight - 5);
        p.fillRect(label, colour);
        p.setPen(Qt::white);
        p.drawText(label.adjusted(2, 0, 0, 0), Qt::AlignVCenter | Qt::AlignLeft, name);
    }
}

void PaintCells(QPainter& p, int top, int firstFrame, int lastFrame, rgBone& joint,
                const rgState& state, const QColor& face) {
    const int left = CellLeft(firstFrame);
    const int right = CellLeft(lastFrame + 1);
    p.drawTiledPixmap(QRect(left, top, right - left, kRowHeight),
                      CellTile(face, joint.GetSelected() ? Qt::blue : kGray), QPoint(0, 0));
    for (int i = 0; i < joint.GetKeyCount(); ++i) {
        const int f = joint.GetKey(i)->frame;
        if (f >= firstFrame && f <= lastFrame) p.fillRect(CellLeft(f) + 2, top + 2, 4, 12, Qt::red);
    }
    const int current = state.currentFrame;
    if (state.editLevel == kEditAnimation && current >= firstFrame && current <= lastFrame)
        Frame(p, CellLeft(current) + 1, top + 1, CellLeft(current) + 7, top + 15, Qt::white);
}

}  // namespace

void PaintKeyTimeline(QPainter& p, const QRect& area, const rgKeyTimeline& timeline,
                      const rgState& state, const QColor& buttonFace, const QFont& numberFont,
                      const std::vector<rgClip>& clips) {
    p.fillRect(area, buttonFace);
    const std::vector<rgBone*>& rows = timeline.Rows();
    const int width = timeline.Width();
    const int firstFrame = std::max(1, FrameAt(area.left()));
    const int lastFrame = std::min(state.totalFrames, FrameAt(area.right()));
    const int firstRow = std::max(0, RowAt(area.top()));
    const int lastRow = std::min(static_cast<int>(rows.size()) - 1, RowAt(area.bottom()));
    p.setClipRect(area.intersected(QRect(0, 0, width, timeline.Height())));
    for (int row = firstRow; row <= lastRow; ++row) {
        const int top = row * kRowHeight;
        if (rgBone* joint = rows[static_cast<size_t>(row)]) {
            if (firstFrame <= lastFrame)
                PaintCells(p, top, firstFrame, lastFrame, *joint, state, buttonFace);
        } else {
            PaintRuler(p, area, top, width, state, buttonFace, numberFont);
            PaintClips(p, top, width, clips, numberFont);
        }
    }
    p.setClipping(false);

    const rgKeyTimeline::Rect& sel = timeline.Selection();
    switch (timeline.DragState()) {
        case rgKeyTimeline::Drag::Selecting: {
            const rgKeyTimeline::Rect band = timeline.Band();
            Frame(p, band.x1, band.y1, band.x2, band.y2, Qt::yellow);
            break;
        }
        case rgKeyTimeline::Drag::Moving: {
            const int dx = timeline.MoveShift() * kCellWidth;
            Frame(p, sel.x1, sel.y1, sel.x2, sel.y2, Qt::yellow);
            Frame(p, sel.x1 + dx, sel.y1, sel.x2 + dx, sel.y2, Qt::blue);
            break;
        }
        default:
            if (timeline.HasSelection()) Frame(p, sel.x1, sel.y1, sel.x2, sel.y2, Qt::yellow);
    }
}

TKeyTimelineWidget::TKeyTimelineWidget(rgEditor& editor, rgKeyTimeline& timeline, QWidget* parent)
    : QWidget(parent), editor_(editor), timeline_(timeline) {
    setObjectName("KeyTimeline");
    setMouseTracking(true);
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void TKeyTimelineWidget::TakeRows() {
    if (rows) timeline_.SetRows(rows());
}

void TKeyTimelineWidget::FitTo(int visibleHeight) {
    resize(std::max(timeline_.Width(), 1), std::max(visibleHeight, 1));
}

void TKeyTimelineWidget::paintEvent(QPaintEvent* event) {
    TakeRows();
    if (width() != std::max(timeline_.Width(), 1) && onStaleWidth) onStaleWidth();
    QPainter p(this);
    PaintKeyTimeline(p, event->rect(), timeline_, editor_.state(),
                     palette().color(QPalette::Button), TimelineNumberFont(),
                     editor_.scene().Clips());
}

void TKeyTimelineWidget::ShowCursorAt(int x, int y) {
    setCursor(timeline_.CursorAt(x, y) == rgKeyTimeline::Cursor::SizeHorizontal ? Qt::SizeHorCursor
                                                                                : Qt::ArrowCursor);
}

void TKeyTimelineWidget::mousePressEvent(QMouseEvent* event) {
    TakeRows();
    const QPoint at = event->position().toPoint();
    timeline_.MouseDown(event->button() == Qt::LeftButton, at.x(), at.y());
    update();
}

void TKeyTimelineWidget::mouseMoveEvent(QMouseEvent* event) {
    const QPoint at = event->position().toPoint();
    if (timeline_.DragState() != rgKeyTimeline::Drag::Idle) {
        timeline_.MouseMove(at.x(), at.y());
        update();
    } else {
        TakeRows();
        ShowCursorAt(at.x(), at.y());
    }
}

void TKeyTimelineWidget::mouseReleaseEvent(QMouseEvent* event) {
    const QPoint at = event->position().toPoint();
    timeline_.MouseUp(event->button() == Qt::LeftButton, at.x(), at.y());
    ShowCursorAt(at.x(), at.y());
    update();
}

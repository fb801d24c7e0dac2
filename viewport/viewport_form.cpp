#include "viewport/viewport_form.h"

#include <QActionGroup>
#include <QCloseEvent>
#include <QFileDialog>
#include <QHBoxLayout>
#include <QImage>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QPixmap>
#include <QToolBar>
#include <QToolButton>
#include <QVBoxLayout>
#include <QWheelEvent>

#include "viewport/coordinate_readout.h"
#include "viewport/gl_viewport.h"
#include "viewport/nav_icons.h"
#include "viewport/navigation.h"

namespace {

constexpr int kWheelTurn = 120;  // angle delta of one wheel notch

QLabel* MakeCoordinateLabel(QWidget* parent, const char* hint) {
    auto* label = new QLabel("000.000", parent);
    label->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    label->setToolTip(hint);
    label->setStatusTip(hint);
    label->setMinimumWidth(label->fontMetrics().horizontalAdvance("-0000.00000") + 6);
    label->setFrameShape(QFrame::StyledPanel);
    label->setFrameShadow(QFrame::Sunken);
    return label;
}

}  // namespace

TViewportForm::TViewportForm(int id, const rgState& editor, TGLSharedLists& shared,
                             TViewportOwner& owner, QWidget* parent)
    : QMdiSubWindow(parent), id_(id), owner_(owner) {
    setAttribute(Qt::WA_DeleteOnClose);
    // A close box and nothing else in the frame.
    setWindowFlags(Qt::SubWindow | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowCloseButtonHint);
    setWindowTitle(" ");
    QPixmap noIcon(1, 1);  // a tool window's caption carries no icon
    noIcon.fill(Qt::transparent);
    setWindowIcon(QIcon(noIcon));

    auto* content = new QWidget(this);
    auto* layout = new QVBoxLayout(content);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    auto* menuBar = new QMenuBar(content);
    layout->setMenuBar(menuBar);
    auto* row = new QWidget(content);
    viewport_ = new TGLViewport(editor, shared, content);
    viewport_->setObjectName("GLViewport");
    BuildMenus();
    menuBar->addMenu(ViewportMenu);
    menuBar->addMenu(ConfigureMenu);
    BuildToolBars(row);
    layout->addWidget(row);
    layout->addWidget(viewport_, 1);
    setWidget(content);
    resize(kDefaultWidth, kDefaultHeight);

    viewport_->OnMouseDown = [this](int button, int shift, int x, int y) {
        if (toolHandlers.mouseDown) toolHandlers.mouseDown(button, shift, x, y, *viewport_);
    };
    viewport_->OnMouseUp = [this](int button, int shift, int x, int y) {
        if (toolHandlers.mouseUp) toolHandlers.mouseUp(button, shift, x, y, *viewport_);
    };
    viewport_->OnMouseMove = [this](int shift, int x, int y) {
        if (toolHandlers.mouseMove) toolHandlers.mouseMove(shift, x, y, *viewport_);
        ShowCoordinates(x, y);
    };
    connect(this, &QMdiSubWindow::windowStateChanged, this, &TViewportForm::OnWindowStateChanged);
    ShowToolBarOf(viewport_->state.projection);
}

TViewportForm::~TViewportForm() {
    // The base class still reports state changes while it is torn down.
    disconnect(this, &QMdiSubWindow::windowStateChanged, this, nullptr);
    if (!closing_) owner_.ViewportClosing(*this);
}

std::string TViewportForm::Title() const {
    return windowTitle().toStdString();
}

void TViewportForm::BuildMenus() {
    ViewportMenu = new QMenu("&Viewport", this);
    CloneViewport = ViewportMenu->addAction("Clone", this, &TViewportForm::CloneViewportClick);
    ResetViewport = ViewportMenu->addAction("Reset", this, &TViewportForm::ResetViewportClick);
    // The key is the main window's, for the active viewport: shown here, not bound twice.
    FrameSelected1 =
        ViewportMenu->addAction("Frame Selected\tF", this, &TViewportForm::FrameSelectedClick);
    Maximized1 = ViewportMenu->addAction("Maximized", this, &TViewportForm::Maximized1Click);
    Maximized1->setCheckable(true);
    SaveSnapshot1 =
        ViewportMenu->addAction("Save Snapshot", this, &TViewportForm::SaveSnapshot1Click);
    ViewportMenu->addSeparator();
    Close1 = ViewportMenu->addAction("Close", this, &TViewportForm::Close1Click);

    ConfigureMenu = new QMenu("&Configure", this);
    projectionGroup_ = new QActionGroup(this);
    projectionGroup_->setExclusionPolicy(QActionGroup::ExclusionPolicy::ExclusiveOptional);
    void (TViewportForm::*projectionHandlers[8])() = {
        &TViewportForm::Configure_TopClick,         &TViewportForm::Configure_BottomClick,
        &TViewportForm::Configure_LeftClick,        &TViewportForm::Configure_RightClick,
        &TViewportForm::Configure_FrontClick,       &TViewportForm::Configure_BackClick,
        &TViewportForm::Configure_PerspectiveClick, &TViewportForm::Configure_CameraClick};
    for (int p = 0; p < 8; ++p) {
        Configure_Projection[p] =
            ConfigureMenu->addAction(ProjectionCaption(p), this, projectionHandlers[p]);
        Configure_Projection[p]->setCheckable(true);
        projectionGroup_->addAction(Configure_Projection[p]);
    }
    Configure_Projection[viewport_->state.projection]->setChecked(true);
    ConfigureMenu->addSeparator();
    drawModeGroup_ = new QActionGroup(this);
    drawModeGroup_->setExclusionPolicy(QActionGroup::ExclusionPolicy::ExclusiveOptional);
    void (TViewportForm::*drawModeHandlers[6])() = {
        &TViewportForm::Configure_PointsClick,       &TViewportForm::Configure_WireframeClick,
        &TViewportForm::Configure_LitWireframeClick, &TViewportForm::Configure_FlatShadedClick,
        &TViewportForm::Configure_SmoothShadedClick, &TViewportForm::Configure_TexturedClick};
    for (int m = 0; m < 6; ++m) {
        Configure_DrawMode[m] =
            ConfigureMenu->addAction(DrawModeCaption(m), this, drawModeHandlers[m]);
        Configure_DrawMode[m]->setCheckable(true);
        drawModeGroup_->addAction(Configure_DrawMode[m]);
    }
    Configure_DrawMode[viewport_->state.drawMode]->setChecked(true);
    ConfigureMenu->addSeparator();
    Configure_ShowGrid =
        ConfigureMenu->addAction("Show Grid", this, &TViewportForm::Configure_ShowGridClick);
    Configure_ShowGrid->setCheckable(true);
    Configure_ShowGrid->setChecked(viewport_->state.showGrid);
    Configure_DrawBackfaces = ConfigureMenu->addAction(
        "Draw Backfaces", this, &TViewportForm::Configure_DrawBackfacesClick);
    Configure_DrawBackfaces->setCheckable(true);
    Configure_DrawBackfaces->setChecked(viewport_->state.drawBackfaces);
    ConfigureMenu->addSeparator();
    Configure_Advanced =
        ConfigureMenu->addAction("Advanced ...", this, &TViewportForm::Configure_AdvancedClick);
}

QAction* TViewportForm::AddNavButton(QToolBar* bar, int mode, const char* hint, const char* status,
                                     int icon) {
    QAction* button = bar->addAction(NavIcon(static_cast<rgNavIcon>(icon)), hint);
    button->setCheckable(true);
    button->setToolTip(hint);
    button->setStatusTip(hint);
    button->setData(mode);
    const QString statusText = status;
    connect(button, &QAction::triggered, this,
            [this, button, mode, statusText] { NavButtonClick(button, mode, statusText); });
    return button;
}

void TViewportForm::BuildToolBars(QWidget* row) {
    auto* rowLayout = new QHBoxLayout(row);
    rowLayout->setContentsMargins(2, 1, 2, 1);
    rowLayout->setSpacing(2);
    auto makeBar = [&](const char* name) {
        auto* bar = new QToolBar(name, row);
        bar->setObjectName(name);
        bar->setIconSize(QSize(18, 18));
        bar->setFloatable(false);
        bar->setMovable(false);
        rowLayout->addWidget(bar);
        return bar;
    };
    using I = rgNavIcon;
    Perspective_Toolbar = makeBar("Perspective_Toolbar");
    PerspectiveMoveXZBtn =
        AddNavButton(Perspective_Toolbar, kNavPerspMoveXZ, "Move camera in X and Z direction",
                     "Drag to move camera in X and Z direction", int(I::MoveFourWays));
    PerspectiveMoveYBtn =
        AddNavButton(Perspective_Toolbar, kNavPerspMoveY, "Move camera in Y direction",
                     "Drag to move camera in Y direction", int(I::MoveVertical));
    PerspectiveRotateBtn = AddNavButton(Perspective_Toolbar, kNavPerspRotate, "Rotate camera",
                                        "Drag to rotate camera", int(I::Rotate));
    Camera_Toolbar = makeBar("Camera_Toolbar");
    CameraMoveXYBtn =
        AddNavButton(Camera_Toolbar, kNavCameraMoveXY, "Move camera in X and Y direction",
                     "Drag to move camera in X and Y direction", int(I::MoveFourWays));
    CameraMoveZBtn = AddNavButton(Camera_Toolbar, kNavCameraMoveZ, "Move camera in  Z direction",
                                  "Drag to move camera in Z direction", int(I::MoveDepth));
    CameraRotateBtn = AddNavButton(Camera_Toolbar, kNavCameraRotate, "Rotate camera",
                                   "Drag to rotate camera", int(I::Rotate));
    Ortho_Toolbar = makeBar("Ortho_Toolbar");
    OrthoMoveBtn = AddNavButton(Ortho_Toolbar, kNavOrthoPan, "Pan viewport", "Drag to pan viewport",
                                int(I::MoveFourWays));
    OrthoZoomBtn = AddNavButton(Ortho_Toolbar, kNavOrthoZoom, "Zoom viewport",
                                "Drag to zoom viewport", int(I::Zoom));

    ZoomAllBtn = new QToolButton(row);
    ZoomAllBtn->setObjectName("ZoomAllBtn");
    ZoomAllBtn->setIcon(NavIcon(I::ZoomAll));
    ZoomAllBtn->setIconSize(QSize(18, 18));
    ZoomAllBtn->setAutoRaise(true);
    ZoomAllBtn->setToolTip("Zoom All");
    ZoomAllBtn->setStatusTip("Zoom All");
    connect(ZoomAllBtn, &QToolButton::clicked, this, &TViewportForm::ZoomAllBtnClick);
    rowLayout->addWidget(ZoomAllBtn);
    rowLayout->addStretch(1);
    XLabel = MakeCoordinateLabel(row, "X coordinate");
    YLabel = MakeCoordinateLabel(row, "Y coordinate");
    ZLabel = MakeCoordinateLabel(row, "Z coordinate");
    rowLayout->addWidget(XLabel);
    rowLayout->addWidget(YLabel);
    rowLayout->addWidget(ZLabel);
}

void TViewportForm::NavButtonClick(QAction* button, int mode, const QString& statusText) {
    const bool down = button->isChecked();
    owner_.DeactivateOtherTools(button);
    viewport_->SetNavMode(down ? mode : kNavNone);
    owner_.SetToolStatusText(down ? statusText : QString());
}

void TViewportForm::PerspectiveMoveXZBtnClick() {
    PerspectiveMoveXZBtn->trigger();
}
void TViewportForm::PerspectiveMoveYBtnClick() {
    PerspectiveMoveYBtn->trigger();
}
void TViewportForm::PerspectiveRotateBtnClick() {
    PerspectiveRotateBtn->trigger();
}
void TViewportForm::CameraMoveXYBtnClick() {
    CameraMoveXYBtn->trigger();
}
void TViewportForm::CameraMoveZBtnClick() {
    CameraMoveZBtn->trigger();
}
void TViewportForm::CameraRotateBtnClick() {
    CameraRotateBtn->trigger();
}
void TViewportForm::OrthoMoveBtnClick() {
    OrthoMoveBtn->trigger();
}
void TViewportForm::OrthoZoomBtnClick() {
    OrthoZoomBtn->trigger();
}

void TViewportForm::ReleaseNavButtons(QAction* except) {
    for (QAction* b :
         {PerspectiveMoveXZBtn, PerspectiveMoveYBtn, PerspectiveRotateBtn, CameraMoveXYBtn,
          CameraMoveZBtn, CameraRotateBtn, OrthoMoveBtn, OrthoZoomBtn})
        if (b != except) b->setChecked(false);
    viewport_->SetNavMode(kNavNone);
}

void TViewportForm::ShowToolBarOf(int projection) {
    Perspective_Toolbar->setVisible(projection == kProjPerspective);
    Camera_Toolbar->setVisible(projection == kProjCamera);
    Ortho_Toolbar->setVisible(IsOrthographic(projection));
}

void TViewportForm::SelectProjection(int p) {
    viewport_->SetProjection(p);
    ReleaseNavButtons(nullptr);
    ShowToolBarOf(p);
    Retitle();
    viewport_->update();
}

void TViewportForm::SelectProjectionItem(int p) {
    Configure_Projection[p]->setChecked(true);
    SelectProjection(p);
}

void TViewportForm::SelectDrawModeItem(int m) {
    Configure_DrawMode[m]->setChecked(true);
    viewport_->SetDrawMode(m);
    viewport_->update();
}

void TViewportForm::Configure_ShowGridClick() {
    viewport_->state.showGrid = Configure_ShowGrid->isChecked();
    viewport_->update();
}

void TViewportForm::Configure_DrawBackfacesClick() {
    viewport_->state.drawBackfaces = Configure_DrawBackfaces->isChecked();
    viewport_->update();
}

void TViewportForm::Retitle() {
    setWindowTitle(QString::fromStdString(owner_.ViewportTitleFor(*this)));
    titledProjection_ = viewport_->state.projection;
    owner_.ViewportRetitled(*this);
}

void TViewportForm::SyncFromState() {
    const rgViewportState& s = viewport_->state;
    for (int p = 0; p < 8; ++p) Configure_Projection[p]->setChecked(p == s.projection);
    for (int m = 0; m < 6; ++m) Configure_DrawMode[m]->setChecked(m == s.drawMode);
    Configure_ShowGrid->setChecked(s.showGrid);
    Configure_DrawBackfaces->setChecked(s.drawBackfaces);
    ShowToolBarOf(s.projection);
    // A mode's button is down only on the tool bar the projection shows.
    const bool perspective = s.projection == kProjPerspective, camera = s.projection == kProjCamera;
    for (QAction* b : {PerspectiveMoveXZBtn, PerspectiveMoveYBtn, PerspectiveRotateBtn})
        b->setChecked(perspective && b->data().toInt() == s.navMode);
    for (QAction* b : {CameraMoveXYBtn, CameraMoveZBtn, CameraRotateBtn})
        b->setChecked(camera && b->data().toInt() == s.navMode);
    for (QAction* b : {OrthoMoveBtn, OrthoZoomBtn})
        b->setChecked(IsOrthographic(s.projection) && b->data().toInt() == s.navMode);
    if (s.projection != titledProjection_) Retitle();
    ApplyStateRect();
}

void TViewportForm::ResetViewportClick() {
    viewport_->ResetView();
    viewport_->update();
}

void TViewportForm::FrameSelectedClick() {
    if (!owner_.FrameSelectedIn(viewport_->state)) {
        owner_.SetToolStatusText("Frame Selected: nothing is selected");
        return;
    }
    viewport_->update();
}

void TViewportForm::CloneViewportClick() {
    TViewportForm* copy = owner_.NewViewportWindow();
    if (!copy) return;
    viewport_->CopySettingsTo(*copy->viewport_);
    copy->Retitle();
    copy->SelectProjection(copy->viewport_->state.projection);
    for (int p = 0; p < 8; ++p)
        copy->Configure_Projection[p]->setChecked(Configure_Projection[p]->isChecked());
    for (int m = 0; m < 6; ++m)
        copy->Configure_DrawMode[m]->setChecked(Configure_DrawMode[m]->isChecked());
    copy->Configure_DrawBackfaces->setChecked(Configure_DrawBackfaces->isChecked());
    copy->Configure_ShowGrid->setChecked(Configure_ShowGrid->isChecked());
}

void TViewportForm::ZoomAllBtnClick() {
    vector3 centre;
    float radius = 0;
    const bool hasScene = owner_.SceneBoundingSphere(centre, radius);
    ZoomAll(viewport_->state, hasScene, centre, radius);
    viewport_->update();
}

void TViewportForm::FormMouseWheelUp() {
    viewport_->ZoomWheel(kWheelStep);
}

void TViewportForm::FormMouseWheelDown() {
    viewport_->ZoomWheel(-kWheelStep);
}

void TViewportForm::wheelEvent(QWheelEvent* e) {
    wheelRemainder_ += e->angleDelta().y();
    for (; wheelRemainder_ >= kWheelTurn; wheelRemainder_ -= kWheelTurn) FormMouseWheelUp();
    for (; wheelRemainder_ <= -kWheelTurn; wheelRemainder_ += kWheelTurn) FormMouseWheelDown();
    e->accept();
}

void TViewportForm::ShowCoordinates(int x, int y) {
    vector3 p;
    viewport_->ScreenToWorld(x, y, p);
    XLabel->setText(QString::fromStdString(FormatCoordinate(p.x)));
    YLabel->setText(QString::fromStdString(FormatCoordinate(p.y)));
    ZLabel->setText(QString::fromStdString(FormatCoordinate(p.z)));
}

void TViewportForm::Maximized1Click() {
    if (Maximized1->isChecked()) {
        savedGeometry_ = geometry();
        setGeometry(owner_.FittedGeometry());
    } else {
        setGeometry(savedGeometry_);
    }
}

void TViewportForm::ClearMaximized() {
    Maximized1->setChecked(false);
}

bool TViewportForm::IsMaximizedMarked() const {
    return Maximized1->isChecked();
}

bool TViewportForm::WriteSnapshot(const QString& path) {
    const QImage image = viewport_->grabFramebuffer();
    if (path.endsWith(".png", Qt::CaseInsensitive)) return image.save(path, "PNG");
    // A 32-bit image is written as a 24-bit Windows bitmap.
    return image.convertToFormat(QImage::Format_RGB32).save(path, "BMP");
}

void TViewportForm::SaveSnapshot1Click() {
    raise();
    viewport_->update();
    QString path;
    if (chooseSnapshotFile) {
        path = chooseSnapshotFile(*this);
    } else {
        QFileDialog dialog(this, "Save Snapshot");
        dialog.setAcceptMode(QFileDialog::AcceptSave);
        dialog.setFileMode(QFileDialog::AnyFile);
        dialog.setNameFilters({"Bitmap (*.bmp)", "PNG image (*.png)"});
        dialog.setDefaultSuffix("bmp");
        connect(&dialog, &QFileDialog::filterSelected, &dialog, [&dialog](const QString& filter) {
            dialog.setDefaultSuffix(filter.contains("png") ? "png" : "bmp");
        });
        if (dialog.exec() == QDialog::Accepted && !dialog.selectedFiles().isEmpty())
            path = dialog.selectedFiles().front();
    }
    if (!path.isEmpty()) WriteSnapshot(path);
}

void TViewportForm::Close1Click() {
    owner_.ClearActiveViewport();
    close();
}

void TViewportForm::closeEvent(QCloseEvent* e) {
    if (!closing_) {
        closing_ = true;
        viewport_->EndPendingPress();
        owner_.ViewportClosing(*this);
        viewport_->Retire();
    }
    QMdiSubWindow::closeEvent(e);
}

void TViewportForm::OnWindowStateChanged(Qt::WindowStates oldState, Qt::WindowStates newState) {
    const bool was = oldState.testFlag(Qt::WindowActive), is = newState.testFlag(Qt::WindowActive);
    if (is && !was && !closing_) owner_.ViewportActivated(*this);
    if (was && !is) viewport_->EndPendingPress();  // no drag survives a change of window
}

void TViewportForm::StoreRectInState() {
    rgViewportState& s = viewport_->state;
    const QRect g = geometry();
    s.left = g.x();
    s.top = g.y();
    s.width = g.width();
    s.height = g.height();
}

void TViewportForm::ApplyStateRect() {
    const rgViewportState& s = viewport_->state;
    const QRect wanted(s.left, s.top, s.width, s.height);
    if (geometry() != wanted) setGeometry(wanted);
}

void TViewportForm::moveEvent(QMoveEvent* e) {
    QMdiSubWindow::moveEvent(e);
    StoreRectInState();
}

void TViewportForm::resizeEvent(QResizeEvent* e) {
    QMdiSubWindow::resizeEvent(e);
    StoreRectInState();
}

#include "app/main_form.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QComboBox>
#include <QToolButton>
#include <QGuiApplication>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QScreen>
#include <QStatusBar>
#include <QStatusTipEvent>
#include <QToolBar>
#include <algorithm>

#include "app/animation_menu.h"
#include "app/arrange_dialog.h"
#include "app/background_form.h"
#include "app/main_menus.h"
#include "app/playback_timer.h"
#include "app/tool_bar_panels.h"
#include "app/tool_window_keeper.h"
#include "viewport/framing.h"
#include "app/tool_windows.h"
#include "editing/animation_control.h"
#include "editing/rg_editor.h"
#include "editing/tool_manager.h"
#include "viewport/gl_node_painter.h"
#include "viewport/gl_viewport.h"
#include "viewport/scene_draw.h"
#include "viewport/window_layout.h"

namespace {
constexpr int kHintPanelWidth = 255;
}

TMainForm::TMainForm(rgEditor& editor, QWidget* parent)
    : QMainWindow(parent), editor_(editor), shared_(editor.context.textures) {
    // A fresh document, as after File > New.
    rgState& state = editor_.state();
    state.SetFileName("unnamed.rig");
    state.modified = false;
    state.named = false;
    setMinimumWidth(570);
    QSize size(1024, 768);
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        size = size.boundedTo(screen->availableGeometry().size());
    resize(size);

    backdrop_ = new TBackgroundForm(this);
    backdrop_->onResized = [this](const QRect& oldArea) { BackdropResized(oldArea); };
    setCentralWidget(backdrop_);
    toolBar_ = addToolBar("ToolBar");
    toolBar_->setObjectName("ToolBar");
    toolBar_->setMovable(false);
    BuildMenus();
    BuildDocumentButtons();
    panels_ = new TToolBarPanels(*toolBar_, editor_);
    panels_->onCoordSystemChanged = [this] { RefreshGizmoOptions(); };
    BuildStatusBar();

    editor_.context.SetMessages(&messages_);
    editor_.SetDocumentView(this);
    editor_.tools().SetView(this);
    playback_ = new TPlaybackTimer(editor_.animation(), this);
    // While the animation plays the edit level stays as it is.
    playback_->onPlayingChanged = [this](bool playing) {
        panels_->LevelCombo->setEnabled(!playing);
    };
    windowKeeper_ = new TToolWindowKeeper(*this);
    toolWindows_ = std::make_unique<TToolWindows>(*this, editor_, *playback_, *windowKeeper_);
    toolWindows_->AdoptWindowItems(menus_->commands());
    UpdateTitle();

    // The first viewport window fills the work area; it keeps filling it
    // while the backdrop settles to its size.
    FitViewport(*NewViewport());
}

TMainForm::~TMainForm() {
    // Viewport windows go first: their contexts release the shared lists.
    const std::vector<TViewportForm*> windows = viewports_;
    for (TViewportForm* form : windows) delete form;
    editor_.animation().Stop();
    editor_.animation().SetView(nullptr);
    editor_.tools().SetView(nullptr);
    editor_.SetDocumentView(nullptr);
    editor_.context.SetMessages(nullptr);
}

void TMainForm::BuildMenus() {
    editor_.commands.Add({"File.Exit", "E&xit", "", "", [this] { close(); }, nullptr, nullptr});
    menus_ = new TMainMenus(*menuBar(), editor_);
    windowsMenu_ = menus_->WindowsMenu;
    windowsMenu_->addAction("&New Viewport", this, &TMainForm::NewViewport1Click);
    windowsMenu_->addAction("&Arrange Viewports", this, &TMainForm::ArrangeViewports1Click);
    windowsMenu_->addAction("&Close All Viewports", this, &TMainForm::CloseAllViewports1Click);
    windowsMenu_->addSeparator();
    // F frames the selection in the viewport the user worked in last.
    auto* frameSelected = new QAction("Frame Selected", this);
    frameSelected->setObjectName("FrameSelectedAction");
    frameSelected->setShortcut(QKeySequence(Qt::Key_F));
    connect(frameSelected, &QAction::triggered, this, [this] {
        TViewportForm* form = active_ ? active_ : (viewports_.empty() ? nullptr : viewports_.front());
        if (form) form->FrameSelectedClick();
    });
    addAction(frameSelected);
}

void TMainForm::BuildDocumentButtons() {
    const struct {
        const char* name;
        const char* hint;
        const char* command;
        QStyle::StandardPixmap icon;
    } buttons[] = {
        {"NewSceneBtn", "New scene", "File.New", QStyle::SP_FileIcon},
        {"OpenSceneBtn", "Open scene", "File.Open", QStyle::SP_DialogOpenButton},
        {"SaveSceneBtn", "Save scene", "File.Save", QStyle::SP_DialogSaveButton},
    };
    for (const auto& b : buttons) {
        auto* button = new QToolButton(toolBar_);
        button->setObjectName(b.name);
        button->setIcon(style()->standardIcon(b.icon));
        button->setAutoRaise(true);
        button->setStatusTip(b.hint);
        const std::string command = b.command;
        connect(button, &QToolButton::clicked, this,
                [this, command] { editor_.commands.Run(command); });
        toolBar_->addWidget(button);
    }
}

TAnimationMenu& TMainForm::AnimationMenu() const {
    return *menus_->Animation;
}

void TMainForm::closeEvent(QCloseEvent* e) {
    if (canClose && !canClose()) {
        e->ignore();
        return;
    }
    QMainWindow::closeEvent(e);
    if (!e->isAccepted()) return;
    // The editor ends with this window: the tool windows close with it, so
    // no window of ours keeps the program running.
    windowKeeper_->StorePlaces();
    for (QWidget* window : QApplication::topLevelWidgets())
        if (window != this && window->isVisible()) window->close();
}

void TMainForm::BuildStatusBar() {
    hintPanel_ = new QLabel(this);
    hintPanel_->setObjectName("HintPanel");
    hintPanel_->setFixedWidth(kHintPanelWidth);
    statusPanel_ = new QLabel(this);
    statusPanel_->setObjectName("ToolStatusPanel");
    statusBar()->addWidget(hintPanel_);
    statusBar()->addWidget(statusPanel_, 1);
}

bool TMainForm::event(QEvent* e) {
    // Hints of the control under the pointer go to the first panel; the
    // second keeps the active tool's usage text.
    if (e->type() == QEvent::StatusTip) {
        hintPanel_->setText(static_cast<QStatusTipEvent*>(e)->tip());
        return true;
    }
    return QMainWindow::event(e);
}

void TMainForm::SetUndoItem(bool, const std::string& caption) {
    menus_->commands().SetText("Edit.Undo", QString::fromStdString(caption));
    menus_->Refresh();
}

void TMainForm::SetTitle(const std::string& title) {
    setWindowTitle(QString::fromStdString(title));
}

void TMainForm::UpdateTitle() {
    SetTitle(WindowTitle(editor_.state()));
}

TViewportForm* TMainForm::NewViewport() {
    auto* form = new TViewportForm(nextViewportId_++, editor_.state(), shared_, *this);
    TGLViewport* viewport = form->Viewport();
    viewport->SetMessages(&messages_);
    viewport->gizmoOptions = &gizmoOptions;
    viewport->OnDrawScene = [this](TGLViewport& v, int drawMode) { DrawSceneInto(v, drawMode); };
    backdrop_->addSubWindow(form);
    viewports_.push_back(form);
    QAction* item = windowsMenu_->addAction(" ");
    connect(item, &QAction::triggered, this, [this, form] {
        form->show();
        backdrop_->setActiveSubWindow(form);
    });
    menuItems_[form] = item;
    form->Retitle();
    InstallToolHandlers(toolHandlers_);
    form->show();
    return form;
}

void TMainForm::DrawSceneInto(TGLViewport& viewport, int drawMode) {
    rgGLPainter::Settings settings;
    settings.textures = &editor_.context.textures;
    settings.editor = &editor_.state();
    settings.gizmo = gizmoOptions;
    settings.weights = weightView;
    settings.fontBase = TGLSharedLists::kFontBase;
    settings.errors = &viewport.Errors();
    settings.pixelRatio = static_cast<float>(viewport.devicePixelRatioF());
    rgGLPainter painter(viewport.state.viewMatrix, settings);
    DrawScene(editor_.scene(), painter, drawMode, showVertices);
}

void TMainForm::InstallToolHandlers(const rgToolHandlers& handlers) {
    toolHandlers_ = handlers;
    for (TViewportForm* form : viewports_) form->toolHandlers = handlers;
}

void TMainForm::ForEachViewport(const std::function<void(TViewportForm&)>& fn) {
    const std::vector<TViewportForm*> windows = viewports_;  // fn may close windows
    for (TViewportForm* form : windows)
        if (std::find(viewports_.begin(), viewports_.end(), form) != viewports_.end()) fn(*form);
}

QRect TMainForm::FittedGeometry() const {
    return backdrop_->FittedGeometry();
}

void TMainForm::FitViewport(TViewportForm& form) {
    form.setGeometry(FittedGeometry());
    fitted_ = &form;
    fittedAs_ = form.geometry();
}

void TMainForm::BackdropResized(const QRect&) {
    if (fitted_ && fitted_->geometry() == fittedAs_) FitViewport(*fitted_);
}

void TMainForm::ArrangeViewports1Click() {
    const int n = Count();
    if (n == 0) return;
    int choice = 1;
    if (const int choices = ArrangeChoiceCount(n)) {
        choice = chooseArrangement ? chooseArrangement(n, choices) : TArrangeForm::Ask(n, this);
        if (choice <= 0) return;  // "Cancel" changes nothing
    }
    const QRect area = FittedGeometry();
    const std::vector<rgWindowRect> rects = ArrangeWindows(n, choice, area.width(), area.height());
    for (size_t i = 0; i < rects.size() && i < viewports_.size(); ++i) {
        viewports_[i]->ClearMaximized();
        viewports_[i]->setGeometry(rects[i].left, rects[i].top, rects[i].width, rects[i].height);
    }
}

void TMainForm::CloseAllViewports1Click() {
    // Closing the first window until none is left; a window that refused to
    // close is dropped from the list all the same.
    while (!viewports_.empty()) {
        TViewportForm* first = viewports_.front();
        first->close();
        if (!viewports_.empty() && viewports_.front() == first) ViewportClosing(*first);
    }
}

TViewportForm* TMainForm::FindViewportForm(int id) const {
    for (TViewportForm* form : viewports_)
        if (form->Id() == id) return form;
    return nullptr;
}

int TMainForm::IdAt(int index) const {
    return index >= 0 && index < Count() ? viewports_[static_cast<size_t>(index)]->Id() : -1;
}

rgViewportState* TMainForm::Find(int id) {
    TViewportForm* form = FindViewportForm(id);
    return form ? &form->Viewport()->state : nullptr;
}

int TMainForm::Create() {
    return NewViewport()->Id();
}

int TMainForm::BackdropWidth() const {
    return FittedGeometry().width();
}

int TMainForm::BackdropHeight() const {
    return FittedGeometry().height();
}

void TMainForm::Changed(int id, bool redraw) {
    TViewportForm* form = FindViewportForm(id);
    if (!form) return;
    form->SyncFromState();
    if (redraw) form->Viewport()->update();
}

void TMainForm::RedrawAll() {
    for (TViewportForm* form : viewports_) form->Viewport()->update();
}

void TMainForm::DeactivateOtherTools(QAction* exceptButton) {
    for (TViewportForm* form : viewports_) form->ReleaseNavButtons(exceptButton);
    editor_.tools().NavigationChosen();
    RedrawAll();
}

void TMainForm::SetToolStatusText(const QString& text) {
    statusPanel_->setText(text);
}

void TMainForm::SetToolStatusText(const std::string& text) {
    SetToolStatusText(QString::fromStdString(text));
}

void TMainForm::ShowToolButton(rgToolButton button, bool down) {
    if (button == rgToolButton::AttachJoints)
        menus_->Refresh();
    else
        panels_->ShowButton(button, down);
    RefreshGizmoOptions();
}

void TMainForm::ReleaseNavigationButtons() {
    for (TViewportForm* form : viewports_) form->ReleaseNavButtons(nullptr);
}

void TMainForm::ShowVertices(bool show) {
    showVertices = show;
    RedrawAll();
}

void TMainForm::ShowWeights(int jointId, bool normalized) {
    weightView.jointId = jointId;
    weightView.normalized = normalized;
    RedrawAll();
}

void TMainForm::ShowEditLevel(int level) {
    panels_->ShowLevel(level);
    menus_->ShowLevel(level);
    if (toolWindows_) toolWindows_->ShowEditLevel(level);
}

void TMainForm::ShowToolPages(unsigned pages) {
    if (toolWindows_) toolWindows_->ShowToolPages(pages);
}

void TMainForm::ShowToolOptionsWindow() {
    if (toolWindows_) toolWindows_->ShowToolOptionsWindow();
}

void TMainForm::ShowObjectProperties(const rgObjectProperties& properties) {
    if (toolWindows_) toolWindows_->ShowObjectProperties(properties);
}

void TMainForm::RefreshGizmoOptions() {
    gizmoOptions = editor_.tools().GizmoOptions();
}

std::string TMainForm::ViewportTitleFor(const TViewportForm& form) const {
    std::vector<int> projections;
    projections.reserve(viewports_.size());
    for (const TViewportForm* f : viewports_)
        projections.push_back(f->Viewport()->state.projection);
    return ViewportTitle(form.Viewport()->state.projection, projections);
}

void TMainForm::ViewportRetitled(TViewportForm& form) {
    const auto it = menuItems_.find(&form);
    if (it != menuItems_.end()) it->second->setText(form.windowTitle());
}

bool TMainForm::SceneBoundingSphere(vector3& centre, float& radius) {
    return editor_.scene().GetBoundingSphere(centre, radius);
}

bool TMainForm::FrameSelectedIn(rgViewportState& view) {
    return FrameSelected(view, editor_.scene());
}

void TMainForm::OpenViewportPreferences() {
    editor_.commands.Run("Viewport.Advanced");
}

void TMainForm::ViewportClosing(TViewportForm& form) {
    viewports_.erase(std::remove(viewports_.begin(), viewports_.end(), &form), viewports_.end());
    const auto it = menuItems_.find(&form);
    if (it != menuItems_.end()) {
        windowsMenu_->removeAction(it->second);
        delete it->second;
        menuItems_.erase(it);
    }
    if (active_ == &form) active_ = nullptr;
    if (fitted_ == &form) fitted_ = nullptr;
}

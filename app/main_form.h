#pragma once

#include <QMainWindow>
#include <functional>
#include <map>
#include <memory>
#include <vector>

#include "app/message_box.h"
#include "editing/document_view.h"
#include "editing/tool_view.h"
#include "viewport/gizmo_shape.h"
#include "viewport/gl_shared_lists.h"
#include "viewport/tool_viewport.h"
#include "viewport/vertex_display.h"
#include "viewport/viewport_form.h"
#include "viewport/viewport_host.h"

class QLabel;
class QMenu;
class QToolBar;
class TAnimationMenu;
class TBackgroundForm;
class TMainMenus;
class TPlaybackTimer;
class TToolBarPanels;
class TToolWindows;
class TToolWindowKeeper;
class rgEditor;

// The editor's main window: menu bar, tool bar and a two-panel status bar
// around the black backdrop that holds the viewport windows. It keeps the
// viewport window list (creation order) that drives redraws, tool handler
// installation, texture sharing, the "&Windows" menu and the script view of
// viewports, and shows the tool manager's state in its tool bar.
class TMainForm : public QMainWindow,
                  public rgDocumentView,
                  public rgToolView,
                  public rgViewportHost,
                  public TViewportOwner {
    Q_OBJECT
public:
    explicit TMainForm(rgEditor& editor, QWidget* parent = nullptr);
    ~TMainForm() override;

    // rgDocumentView
    void SetUndoItem(bool enabled, const std::string& caption) override;
    void SetTitle(const std::string& title) override;
    void RedrawViewports() override { RedrawAll(); }

    // rgToolView
    void InstallToolHandlers(const rgToolHandlers& handlers) override;
    void SetToolStatusText(const std::string& text) override;
    void ShowToolButton(rgToolButton button, bool down) override;
    void ReleaseNavigationButtons() override;
    bool HasActiveViewport() const override { return active_ != nullptr; }
    void ShowVertices(bool show) override;
    void ShowWeights(int jointId, bool normalized) override;
    void ShowEditLevel(int level) override;
    void ShowToolPages(unsigned pages) override;
    void ShowToolOptionsWindow() override;
    void ShowObjectProperties(const rgObjectProperties& properties) override;

    // Shows the document name, with "*" once the document is modified.
    void UpdateTitle();

    // Viewport windows.
    TViewportForm* NewViewport();
    void NewViewport1Click() { NewViewport(); }
    void ArrangeViewports1Click();
    void CloseAllViewports1Click();
    // Gives the window the whole work area.
    void FitViewport(TViewportForm& form);
    const std::vector<TViewportForm*>& Viewports() const { return viewports_; }
    TViewportForm* ActiveViewportForm() const { return active_; }
    TViewportForm* FindViewportForm(int id) const;
    void ForEachViewport(const std::function<void(TViewportForm&)>& fn);
    TBackgroundForm* Backdrop() const { return backdrop_; }
    TGLSharedLists& SharedLists() { return shared_; }

    const rgToolHandlers& CurrentToolHandlers() const { return toolHandlers_; }
    TToolBarPanels& ToolPanels() const { return *panels_; }
    TMainMenus& Menus() const { return *menus_; }
    TAnimationMenu& AnimationMenu() const;
    // Asked before the window closes; false keeps it open. None: it closes.
    std::function<bool()> canClose;
    TPlaybackTimer& Playback() const { return *playback_; }
    TToolWindows& ToolWindows() const { return *toolWindows_; }
    // Keeps the floating tool windows above this window and in their places.
    TToolWindowKeeper& WindowKeeper() const { return *windowKeeper_; }

    // What scene drawing shows besides the scene: vertices while the vertex
    // tool is active, the weight greys and the gizmo choices.
    bool showVertices = false;
    rgWeightView weightView;
    rgGizmoOptions gizmoOptions;

    // The layout chosen for n windows with `choices` layouts (0: cancel); by
    // default the "Arrange" dialog.
    std::function<int(int windowCount, int choices)> chooseArrangement;

    QLabel* HintPanel() const { return hintPanel_; }
    QLabel* ToolStatusPanel() const { return statusPanel_; }
    QMenu* WindowsMenu() const { return windowsMenu_; }
    QToolBar* ToolBar() const { return toolBar_; }

    // rgViewportHost
    int Count() const override { return static_cast<int>(viewports_.size()); }
    int IdAt(int index) const override;
    rgViewportState* Find(int id) override;
    int Create() override;
    void CloseAll() override { CloseAllViewports1Click(); }
    int BackdropWidth() const override;
    int BackdropHeight() const override;
    void Changed(int id, bool redraw) override;
    void RedrawAll() override;

    // TViewportOwner
    void DeactivateOtherTools(QAction* exceptButton) override;
    void SetToolStatusText(const QString& text) override;
    std::string ViewportTitleFor(const TViewportForm& form) const override;
    void ViewportRetitled(TViewportForm& form) override;
    TViewportForm* NewViewportWindow() override { return NewViewport(); }
    bool SceneBoundingSphere(vector3& centre, float& radius) override;
    bool FrameSelectedIn(rgViewportState& view) override;
    void ViewportActivated(TViewportForm& form) override { active_ = &form; }
    void ViewportClosing(TViewportForm& form) override;
    void ClearActiveViewport() override { active_ = nullptr; }
    QRect FittedGeometry() const override;
    void OpenViewportPreferences() override;

protected:
    bool event(QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void BuildMenus();
    void BuildDocumentButtons();
    void BuildStatusBar();
    // Gizmos and handle picks follow the coordinate system and the active tool.
    void RefreshGizmoOptions();
    void DrawSceneInto(TGLViewport& viewport, int drawMode);
    void BackdropResized(const QRect& oldArea);

    rgEditor& editor_;
    TMessageBoxes messages_{this};
    TGLSharedLists shared_;
    TBackgroundForm* backdrop_ = nullptr;
    QToolBar* toolBar_ = nullptr;
    TToolBarPanels* panels_ = nullptr;
    TMainMenus* menus_ = nullptr;
    TPlaybackTimer* playback_ = nullptr;
    TToolWindowKeeper* windowKeeper_ = nullptr;  // a child of this window
    std::unique_ptr<TToolWindows> toolWindows_;
    QMenu* windowsMenu_ = nullptr;
    QLabel* hintPanel_ = nullptr;
    QLabel* statusPanel_ = nullptr;
    std::vector<TViewportForm*> viewports_;
    std::map<TViewportForm*, QAction*> menuItems_;
    TViewportForm* active_ = nullptr;
    int nextViewportId_ = 1;
    rgToolHandlers toolHandlers_;
    // The window last fitted and the rectangle it got: it keeps filling the
    // work area while the backdrop settles, until it is moved or resized.
    TViewportForm* fitted_ = nullptr;
    QRect fittedAs_;
};

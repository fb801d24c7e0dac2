#pragma once

#include <QMdiSubWindow>
#include <QRect>
#include <functional>
#include <string>

#include "core/vector3.h"
#include "viewport/tool_viewport.h"

struct rgViewportState;

class QAction;
class QActionGroup;
class QLabel;
class QMenu;
class QToolBar;
class QToolButton;
class TGLSharedLists;
class TGLViewport;
class TViewportForm;
struct rgState;

// What a viewport window needs from the window that owns the viewport list.
class TViewportOwner {
public:
    virtual ~TViewportOwner() = default;
    // A navigation button was clicked: every tool goes off and every other
    // navigation button of every viewport window is released.
    virtual void DeactivateOtherTools(QAction* exceptButton) = 0;
    // The usage text panel of the status bar.
    virtual void SetToolStatusText(const QString& text) = 0;
    // The title of the window from its projection and the list.
    virtual std::string ViewportTitleFor(const TViewportForm& form) const = 0;
    // The window's title changed (the "&Windows" menu entry follows it).
    virtual void ViewportRetitled(TViewportForm& form) = 0;
    // Opens one more viewport window, as "&New Viewport" does.
    virtual TViewportForm* NewViewportWindow() = 0;
    // The scene's bounding sphere; false for an empty scene.
    virtual bool SceneBoundingSphere(vector3& centre, float& radius) = 0;
    // "Frame Selected" in a view of the window: false when nothing is selected.
    virtual bool FrameSelectedIn(rgViewportState& view) { (void)view; return false; }
    virtual void ViewportActivated(TViewportForm& form) = 0;
    // The window leaves the list (it is closing).
    virtual void ViewportClosing(TViewportForm& form) = 0;
    virtual void ClearActiveViewport() = 0;
    // The work area in backdrop coordinates.
    virtual QRect FittedGeometry() const = 0;
    // "Advanced ...": the Preferences dialog on its "Viewports" page.
    virtual void OpenViewportPreferences() {}
};

// A viewport window: an MDI sub-window with a tool-window frame and only a
// close box, holding the "&Viewport" and "&Configure" menus, the three
// navigation tool bars (one visible, by projection), "Zoom All", the X/Y/Z
// read-out and the TGLViewport. Mouse events of the viewport go to the three
// tool handlers the main window installs.
class TViewportForm : public QMdiSubWindow {
    Q_OBJECT
public:
    static constexpr int kDefaultWidth = 524;
    static constexpr int kDefaultHeight = 327;

    TViewportForm(int id, const rgState& editor, TGLSharedLists& shared, TViewportOwner& owner,
                  QWidget* parent = nullptr);
    ~TViewportForm() override;

    int Id() const { return id_; }
    TGLViewport* Viewport() const { return viewport_; }
    std::string Title() const;

    // Handlers of the active tool; the main window copies its current ones in.
    rgToolHandlers toolHandlers;
    // The file the snapshot goes to; empty cancels. By default a save dialog.
    std::function<QString(TViewportForm&)> chooseSnapshotFile;

    // Shows the state again after it was changed from outside: menu check
    // marks, tool bars and navigation buttons, the window rectangle; the
    // title when the projection changed.
    void SyncFromState();
    // Retitles from the owner's list rule.
    void Retitle();
    // Releases every navigation button but `except`; their mode goes to 0.
    void ReleaseNavButtons(QAction* except);
    // Drops the "Maximized" mark without moving the window (arrangements).
    void ClearMaximized();
    bool IsMaximizedMarked() const;
    // Writes the viewport's picture; the format follows the suffix (".png"
    // PNG, otherwise a 24-bit Windows bitmap). False when writing failed.
    bool WriteSnapshot(const QString& path);

    // The window's controls, named as the form names them.
    QToolBar* Perspective_Toolbar = nullptr;
    QToolBar* Camera_Toolbar = nullptr;
    QToolBar* Ortho_Toolbar = nullptr;
    QAction* PerspectiveMoveXZBtn = nullptr;
    QAction* PerspectiveMoveYBtn = nullptr;
    QAction* PerspectiveRotateBtn = nullptr;
    QAction* CameraMoveXYBtn = nullptr;
    QAction* CameraMoveZBtn = nullptr;
    QAction* CameraRotateBtn = nullptr;
    QAction* OrthoMoveBtn = nullptr;
    QAction* OrthoZoomBtn = nullptr;
    QToolButton* ZoomAllBtn = nullptr;
    QLabel* XLabel = nullptr;
    QLabel* YLabel = nullptr;
    QLabel* ZLabel = nullptr;
    QMenu* ViewportMenu = nullptr;
    QMenu* ConfigureMenu = nullptr;
    QAction* Configure_Projection[8] = {};  // "Top" ... "Camera"
    QAction* Configure_DrawMode[6] = {};    // "Points" ... "Textured"
    QAction* Configure_ShowGrid = nullptr;
    QAction* Configure_DrawBackfaces = nullptr;
    QAction* Configure_Advanced = nullptr;
    QAction* CloneViewport = nullptr;
    QAction* ResetViewport = nullptr;
    QAction* FrameSelected1 = nullptr;
    QAction* Maximized1 = nullptr;
    QAction* SaveSnapshot1 = nullptr;
    QAction* Close1 = nullptr;

    // Handlers.
    void PerspectiveMoveXZBtnClick();
    void PerspectiveMoveYBtnClick();
    void PerspectiveRotateBtnClick();
    void CameraMoveXYBtnClick();
    void CameraMoveZBtnClick();
    void CameraRotateBtnClick();
    void OrthoMoveBtnClick();
    void OrthoZoomBtnClick();
    void Configure_TopClick() { SelectProjectionItem(0); }
    void Configure_BottomClick() { SelectProjectionItem(1); }
    void Configure_LeftClick() { SelectProjectionItem(2); }
    void Configure_RightClick() { SelectProjectionItem(3); }
    void Configure_FrontClick() { SelectProjectionItem(4); }
    void Configure_BackClick() { SelectProjectionItem(5); }
    void Configure_PerspectiveClick() { SelectProjectionItem(6); }
    void Configure_CameraClick() { SelectProjectionItem(7); }
    void Configure_PointsClick() { SelectDrawModeItem(0); }
    void Configure_WireframeClick() { SelectDrawModeItem(1); }
    void Configure_LitWireframeClick() { SelectDrawModeItem(2); }
    void Configure_FlatShadedClick() { SelectDrawModeItem(3); }
    void Configure_SmoothShadedClick() { SelectDrawModeItem(4); }
    void Configure_TexturedClick() { SelectDrawModeItem(5); }
    void Configure_ShowGridClick();
    void Configure_DrawBackfacesClick();
    void Configure_AdvancedClick() { owner_.OpenViewportPreferences(); }
    void ResetViewportClick();
    // Frames the selected nodes (the main window's F does it in the active viewport).
    void FrameSelectedClick();
    void CloneViewportClick();
    void ZoomAllBtnClick();
    void Maximized1Click();
    void SaveSnapshot1Click();
    void Close1Click();
    void FormMouseWheelUp();
    void FormMouseWheelDown();

    // Selecting projection p as the "&Configure" menu does: navigation off,
    // the projection's tool bar shown, title recomputed, redraw.
    void SelectProjection(int p);

protected:
    void closeEvent(QCloseEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void moveEvent(QMoveEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void BuildMenus();
    void BuildToolBars(QWidget* row);
    QAction* AddNavButton(QToolBar* bar, int mode, const char* hint, const char* status, int icon);
    void NavButtonClick(QAction* button, int mode, const QString& statusText);
    void SelectProjectionItem(int p);
    void SelectDrawModeItem(int m);
    void ShowToolBarOf(int projection);
    void ShowCoordinates(int x, int y);
    void ApplyStateRect();
    void StoreRectInState();
    void OnWindowStateChanged(Qt::WindowStates oldState, Qt::WindowStates newState);

    int id_;
    TViewportOwner& owner_;
    TGLViewport* viewport_ = nullptr;
    QActionGroup* projectionGroup_ = nullptr;
    QActionGroup* drawModeGroup_ = nullptr;
    int titledProjection_ = -1;
    QRect savedGeometry_;
    int wheelRemainder_ = 0;
    bool closing_ = false;
};

#pragma once

#include <QObject>
#include <array>
#include <functional>

#include "editing/tool_ids.h"

class QAction;
class QComboBox;
class QToolBar;
class QToolButton;
class QWidget;
class rgEditor;

// The tool bar's editing controls: the coordinate-system and level boxes
// and the two panels of tool buttons (Objects and Animation, one visible at
// a time). A click runs the button's command ("Tool." + its name); the
// buttons show the tool manager's state.
class TToolBarPanels : public QObject {
    Q_OBJECT
public:
    TToolBarPanels(QToolBar& bar, rgEditor& editor);

    QToolButton* Button(rgToolButton button) const;
    // The button shows whether its tool is on.
    void ShowButton(rgToolButton button, bool down);
    // Panels and level box of an edit level.
    void ShowLevel(int level);

    QComboBox* CoordSystemCombo = nullptr;
    QComboBox* LevelCombo = nullptr;
    QWidget* ObjectPanel = nullptr;
    QWidget* AnimationPanel = nullptr;

    // Runs after the coordinate system changed (the gizmos follow it).
    std::function<void()> onCoordSystemChanged;

private:
    QWidget* BuildPanel(QToolBar& bar, int level);

    rgEditor& editor_;
    std::array<QToolButton*, kToolButtonCount> buttons_{};
    std::array<QAction*, 2> panelActions_{};
};

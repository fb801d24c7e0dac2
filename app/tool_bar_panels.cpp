#include "app/tool_bar_panels.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QSignalBlocker>
#include <QToolBar>
#include <QToolButton>

#include "app/tool_icons.h"
#include "editing/rg_editor.h"
#include "editing/tool_manager.h"
#include "editing/tool_table.h"

TToolBarPanels::TToolBarPanels(QToolBar& bar, rgEditor& editor) : QObject(&bar), editor_(editor) {
    CoordSystemCombo = new QComboBox(&bar);
    CoordSystemCombo->setObjectName("CoordSystemCombo");
    CoordSystemCombo->addItems({"Local", "Global"});
    CoordSystemCombo->setStatusTip("Select reference coordinate system");
    bar.addWidget(CoordSystemCombo);
    connect(CoordSystemCombo, &QComboBox::currentIndexChanged, this, [this](int index) {
        editor_.tools().SetCoordSystem(index);
        if (onCoordSystemChanged) onCoordSystemChanged();
    });

    LevelCombo = new QComboBox(&bar);
    LevelCombo->setObjectName("LevelCombo");
    LevelCombo->addItems({"Objects", "Animation"});
    LevelCombo->setStatusTip("Edit Level");
    bar.addWidget(LevelCombo);
    connect(LevelCombo, &QComboBox::currentIndexChanged, this,
            [this](int index) { editor_.tools().ChangeLevel(index); });

    ObjectPanel = BuildPanel(bar, 0);
    ObjectPanel->setObjectName("ObjectPanel");
    AnimationPanel = BuildPanel(bar, 1);
    AnimationPanel->setObjectName("AnimationPanel");
    ShowLevel(0);
}

QWidget* TToolBarPanels::BuildPanel(QToolBar& bar, int level) {
    auto* panel = new QWidget(&bar);
    auto* row = new QHBoxLayout(panel);
    row->setContentsMargins(0, 0, 0, 0);
    row->setSpacing(1);
    for (int i = 0; i < kToolButtonCount; ++i) {
        const auto id = static_cast<rgToolButton>(i);
        const rgToolSpec& spec = *ToolSpec(id);
        if (spec.level != level) continue;
        auto* button = new QToolButton(panel);
        button->setObjectName(spec.name);
        button->setCheckable(true);
        button->setIcon(ToolIcon(id));
        button->setIconSize(QSize(20, 20));
        button->setAutoRaise(true);
        // Hints go to the status bar; the buttons show no pop-ups.
        button->setStatusTip(spec.hint);
        // A tool of a later part of the editor cannot be switched on yet.
        button->setEnabled(editor_.tools().IsAvailable(id));
        button->setContextMenuPolicy(Qt::CustomContextMenu);
        const std::string command = std::string("Tool.") + spec.name;
        connect(button, &QToolButton::clicked, this, [this, id, command] {
            editor_.commands.Run(command);
            ShowButton(id, editor_.tools().IsDown(id));
        });
        connect(button, &QToolButton::customContextMenuRequested, this,
                [this, id] { editor_.tools().RightClick(id); });
        row->addWidget(button);
        buttons_[i] = button;
    }
    panelActions_[level] = bar.addWidget(panel);
    return panel;
}

QToolButton* TToolBarPanels::Button(rgToolButton button) const {
    const int i = static_cast<int>(button);
    return i >= 0 && i < kToolButtonCount ? buttons_[i] : nullptr;
}

void TToolBarPanels::ShowButton(rgToolButton button, bool down) {
    if (QToolButton* b = Button(button)) {
        const QSignalBlocker quiet(b);
        b->setChecked(down);
    }
}

void TToolBarPanels::ShowLevel(int level) {
    {
        const QSignalBlocker quiet(LevelCombo);
        LevelCombo->setCurrentIndex(level);
    }
    // One panel at a time, in the same place.
    panelActions_[0]->setVisible(level != 1);
    panelActions_[1]->setVisible(level == 1);
}

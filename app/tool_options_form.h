#pragma once

#include <QDockWidget>
#include <array>
#include <functional>

#include "editing/object_properties.h"

class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QToolButton;
class TColorPickerButton;
class TFloatSpinEdit;
class TPageControl;
class rgEditor;

// "Tool Options": the settings and numeric entry of the active tool, one
// page each, pages coming and going as tools go on and off ("Select" is
// always there). It floats above the main window; closing it hides it.
// Every control calls the engine operation of its tool.
class TToolOptionsForm : public QDockWidget {
    Q_OBJECT
public:
    // Pages in order, as the rgToolPage bits number them.
    enum Page {
        kSelect,
        kMove,
        kRotate,
        kAssign,
        kScale,
        kWeight,
        kIK,
        kHierarchy,
        kGeneral,
        kJoint
    };

    TToolOptionsForm(rgEditor& editor, QWidget* parent);

    // The pages visible now (rgToolPage bits); a page that appears becomes
    // the current one.
    void ShowPages(unsigned pages);
    // "Meshes" takes part only at the Objects level.
    void ShowLevel(int level);
    // The "General" and "Joint" pages show the properties tool's node.
    void ShowObjectProperties(const rgObjectProperties& properties);
    // Puts the window where it first appears, beside `owner`.
    void PlaceBeside(const QWidget& owner);

    TPageControl* PageControl = nullptr;
    QWidget* SelectSheet = nullptr;
    QWidget* TranslateTab = nullptr;
    QWidget* RotateTab = nullptr;
    QWidget* AssignTab = nullptr;
    QWidget* ScaleTab = nullptr;
    QWidget* WeightsTab = nullptr;
    QWidget* IKTab = nullptr;
    QWidget* HierarchyTab = nullptr;
    QWidget* GeneralTab = nullptr;
    QWidget* JointTab = nullptr;

    QCheckBox* SelectMeshesCheckBox = nullptr;
    QCheckBox* SelectJointsCheckBox = nullptr;
    QCheckBox* SelectVerticesCheckBox = nullptr;
    TFloatSpinEdit *TranslateXEdit = nullptr, *TranslateYEdit = nullptr, *TranslateZEdit = nullptr;
    QPushButton* TranslateBtn = nullptr;
    TFloatSpinEdit *RotateXEdit = nullptr, *RotateYEdit = nullptr, *RotateZEdit = nullptr;
    QPushButton* RotateBtn = nullptr;
    TFloatSpinEdit *ScaleXEdit = nullptr, *ScaleYEdit = nullptr, *ScaleZEdit = nullptr;
    QPushButton* ScaleBtn = nullptr;
    QPushButton* AssignBtn = nullptr;
    QPushButton* SelectAssignedBtn = nullptr;
    QPushButton* UnassignBtn = nullptr;
    QPushButton* SelectUnassignedBtn = nullptr;
    std::array<QToolButton*, 11> WeightButtons{};  // SpeedButton1 .. SpeedButton11
    TFloatSpinEdit* WeightEdit = nullptr;
    QLabel* WeightPanel = nullptr;
    QPushButton* NormalizeBtn = nullptr;
    QCheckBox* ShowNormalized = nullptr;
    QCheckBox* EnableJointConstraintsBox = nullptr;
    QCheckBox* AffectChildsBox = nullptr;
    QLineEdit* NameEdit = nullptr;
    TColorPickerButton* ObjColor = nullptr;
    QLineEdit *PosX = nullptr, *PosY = nullptr, *PosZ = nullptr;
    QLineEdit *RotX = nullptr, *RotY = nullptr, *RotZ = nullptr;
    TFloatSpinEdit* IKWeight = nullptr;
    QCheckBox* IKCT = nullptr;
    QPushButton* JointLimitsBtn = nullptr;
    QPushButton* KeyInfoBtn = nullptr;

    // "Joint Limits" and "Key Info" (each does nothing without a current node).
    std::function<void()> onJointLimits;
    std::function<void()> onKeyInfo;
    // The weight display changed ("Show normalized"): the time line repaints too.
    std::function<void()> onWeightDisplayChanged;

private:
    QWidget* BuildSelectPage();
    QWidget* BuildNumericPage(const char* name, const char* prefix, const char* hints[3],
                              double step, double value, const char* button,
                              std::array<TFloatSpinEdit*, 3>& fields, QPushButton*& apply);
    QWidget* BuildAssignPage();
    QWidget* BuildWeightPage();
    QWidget* BuildCheckPage(const char* name, QCheckBox*& box, const char* boxName,
                            const char* caption, bool ticked,
                            const std::function<void(bool)>& clicked);
    QWidget* BuildGeneralPage();
    QWidget* BuildJointPage();
    void ConnectNumericEntry();
    // The current weight shows as the grey of the panel.
    void ShowWeight(double weight);
    // The vertex tool's controls are on exactly while it is on.
    void ShowVertexTool();

    rgEditor& editor_;
    unsigned pages_ = 0;
    bool filling_ = false;
};

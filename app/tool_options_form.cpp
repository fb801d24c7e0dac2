#include "app/tool_options_form.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalBlocker>
#include <QToolButton>
#include <QVBoxLayout>

#include "editing/rg_editor.h"
#include "editing/rg_object_prop.h"
#include "editing/rg_vertex_assign.h"
#include "editing/tool_manager.h"
#include "scene/rg_scene_node.h"
#include "widgets/color_picker_button.h"
#include "widgets/float_spin_edit.h"
#include "widgets/page_control.h"

namespace {

constexpr int kClientWidth = 153;
constexpr int kHeight = 172;
// The numeric entry fields take any number a user would type.
constexpr double kNoLimit = 1e9;

void Hint(QWidget* w, const char* hint) {
    w->setToolTip(hint);
    w->setStatusTip(hint);
}

TFloatSpinEdit* NumberField(QWidget* parent, const char* name, const char* hint, double min,
                            double max, double step, double value) {
    auto* field = new TFloatSpinEdit(parent);
    field->setObjectName(name);
    field->setRange(min, max);
    field->setSingleStep(step);
    field->setValue(value);
    field->setMinimumWidth(40);
    if (hint) Hint(field, hint);
    return field;
}

QPushButton* PushButton(QWidget* parent, const char* name, const char* caption, const char* hint) {
    auto* button = new QPushButton(caption, parent);
    button->setObjectName(name);
    if (hint) Hint(button, hint);
    return button;
}

QCheckBox* CheckBox(QWidget* parent, const char* name, const char* caption, const char* hint,
                    bool ticked) {
    auto* box = new QCheckBox(caption, parent);
    box->setObjectName(name);
    box->setChecked(ticked);
    if (hint) Hint(box, hint);
    return box;
}

QColor Grey(double weight) {
    const int g = static_cast<int>(weight * 255);
    return {g, g, g};
}

}  // namespace

TToolOptionsForm::TToolOptionsForm(rgEditor& editor, QWidget* parent)
    : QDockWidget("Tool Options", parent), editor_(editor) {
    setObjectName("TToolOptionsForm");
    setFeatures(QDockWidget::DockWidgetClosable | QDockWidget::DockWidgetMovable |
                QDockWidget::DockWidgetFloatable);
    setAllowedAreas(Qt::NoDockWidgetArea);
    auto* content = new QWidget(this);
    QFont font = content->font();
    font.setPointSize(8);
    content->setFont(font);
    auto* column = new QVBoxLayout(content);
    column->setContentsMargins(2, 2, 2, 2);
    PageControl = new TPageControl(content);
    PageControl->setObjectName("PageControl");
    column->addWidget(PageControl);

    static const char* moveHints[3] = {"Translate along X axis", "Translate along Y axis",
                                       "Translate along Z axis"};
    static const char* rotateHints[3] = {"Rotate around X axis", "Rotate around Y axis",
                                         "Rotate around Z axis"};
    static const char* scaleHints[3] = {"Scale in X direction", "Scale in Y direction",
                                        "Scale in Z direction"};
    std::array<TFloatSpinEdit*, 3> move{}, rotate{}, scale{};
    SelectSheet = BuildSelectPage();
    TranslateTab = BuildNumericPage("TranslateTab", "Translate", moveHints, 0.1, 0.0, "Translate",
                                    move, TranslateBtn);
    RotateTab =
        BuildNumericPage("RotateTab", "Rotate", rotateHints, 5.0, 0.0, "Rotate", rotate, RotateBtn);
    AssignTab = BuildAssignPage();
    ScaleTab =
        BuildNumericPage("ScaleTab", "Scale", scaleHints, 0.1, 1.0, "Scale", scale, ScaleBtn);
    WeightsTab = BuildWeightPage();
    // "Use Joint Limits" is ticked when first built; it shows the setting
    // from the first time the IK page comes up.
    IKTab = BuildCheckPage("IKTab", EnableJointConstraintsBox, "EnableJointConstraintsBox",
                           "Use Joint Limits", true,
                           [this](bool on) { editor_.state().useJointLimits = on; });
    HierarchyTab = BuildCheckPage("HierarchyTab", AffectChildsBox, "AffectChildsBox",
                                  "Affect Children", editor_.toolOptions.affectChildren,
                                  [this](bool on) { editor_.toolOptions.affectChildren = on; });
    GeneralTab = BuildGeneralPage();
    JointTab = BuildJointPage();
    TranslateXEdit = move[0], TranslateYEdit = move[1], TranslateZEdit = move[2];
    RotateXEdit = rotate[0], RotateYEdit = rotate[1], RotateZEdit = rotate[2];
    ScaleXEdit = scale[0], ScaleYEdit = scale[1], ScaleZEdit = scale[2];

    const std::pair<QWidget*, const char*> pages[] = {
        {SelectSheet, "Select"}, {TranslateTab, "Move"},      {RotateTab, "Rotate"},
        {AssignTab, "Assign"},   {ScaleTab, "Scale"},         {WeightsTab, "Weight"},
        {IKTab, "IK"},           {HierarchyTab, "Hierarchy"}, {GeneralTab, "General"},
        {JointTab, "Joint"}};
    for (const auto& [page, caption] : pages) PageControl->AddPage(page, caption);
    ConnectNumericEntry();

    setWidget(content);
    ShowPages(editor_.tools().VisiblePages());
    ShowLevel(editor_.state().editLevel);
    ShowObjectProperties(editor_.tools().objectProp().Properties());
    resize(kClientWidth, kHeight);
}

QWidget* TToolOptionsForm::BuildSelectPage() {
    auto* page = new QWidget;
    page->setObjectName("SelectSheet");
    auto* column = new QVBoxLayout(page);
    const rgToolOptions& o = editor_.toolOptions;
    SelectMeshesCheckBox = CheckBox(page, "SelectMeshesCheckBox", "Meshes",
                                    "Check to enable mesh selection", o.selectMeshes);
    SelectJointsCheckBox = CheckBox(page, "SelectJointsCheckBox", "Joints",
                                    "Check to enable joint selection", o.selectJoints);
    SelectVerticesCheckBox = CheckBox(page, "SelectVerticesCheckBox", "Vertices",
                                      "Check to enable vertex selection", o.selectVertices);
    for (QCheckBox* box : {SelectMeshesCheckBox, SelectJointsCheckBox, SelectVerticesCheckBox})
        column->addWidget(box);
    column->addStretch(1);
    rgToolOptions& options = editor_.toolOptions;
    connect(SelectMeshesCheckBox, &QCheckBox::toggled, this,
            [&options](bool on) { options.selectMeshes = on; });
    connect(SelectJointsCheckBox, &QCheckBox::toggled, this,
            [&options](bool on) { options.selectJoints = on; });
    connect(SelectVerticesCheckBox, &QCheckBox::toggled, this,
            [&options](bool on) { options.selectVertices = on; });
    return page;
}

QWidget* TToolOptionsForm::BuildNumericPage(const char* name, const char* prefix,
                                            const char* hints[3], double step, double value,
                                            const char* button,
                                            std::array<TFloatSpinEdit*, 3>& fields,
                                            QPushButton*& apply) {
    auto* page = new QWidget;
    page->setObjectName(name);
    auto* grid = new QGridLayout(page);
    grid->setVerticalSpacing(2);
    const char* axes[3] = {"X", "Y", "Z"};
    for (int i = 0; i < 3; ++i) {
        const std::string fieldName = std::string(prefix) + axes[i] + "Edit";
        fields[static_cast<size_t>(i)] =
            NumberField(page, fieldName.c_str(), hints[i], -kNoLimit, kNoLimit, step, value);
        grid->addWidget(new QLabel(QString(axes[i]) + ":", page), i, 0);
        grid->addWidget(fields[static_cast<size_t>(i)], i, 1);
    }
    apply = PushButton(page, (std::string(prefix) + "Btn").c_str(), button, button);
    grid->addWidget(apply, 3, 0, 1, 2);
    grid->setRowStretch(4, 1);
    return page;
}

void TToolOptionsForm::ConnectNumericEntry() {
    rgToolManager& tools = editor_.tools();
    // Enter in one field applies that axis alone and starts the field afresh.
    const auto onEnter = [this](TFloatSpinEdit* field, double reset, auto apply) {
        connect(field, &TFloatSpinEdit::returnPressed, this, [field, reset, apply] {
            apply(field->value());
            field->setValue(reset);
            field->selectAll();
        });
    };
    onEnter(TranslateXEdit, 0, [&tools](double v) { tools.TranslateSelection(float(v), 0, 0); });
    onEnter(TranslateYEdit, 0, [&tools](double v) { tools.TranslateSelection(0, float(v), 0); });
    onEnter(TranslateZEdit, 0, [&tools](double v) { tools.TranslateSelection(0, 0, float(v)); });
    onEnter(RotateXEdit, 0, [&tools](double v) { tools.RotateSelection(float(v), 0, 0); });
    onEnter(RotateYEdit, 0, [&tools](double v) { tools.RotateSelection(0, float(v), 0); });
    onEnter(RotateZEdit, 0, [&tools](double v) { tools.RotateSelection(0, 0, float(v)); });
    // Factors of 0 or less are no scale at all.
    onEnter(ScaleXEdit, 1, [&tools](double v) {
        if (v > 0) tools.ScaleSelection(float(v), 1, 1);
    });
    onEnter(ScaleYEdit, 1, [&tools](double v) {
        if (v > 0) tools.ScaleSelection(1, float(v), 1);
    });
    onEnter(ScaleZEdit, 1, [&tools](double v) {
        if (v > 0) tools.ScaleSelection(1, 1, float(v));
    });

    const auto onButton = [this](QPushButton* button, std::array<TFloatSpinEdit*, 3> fields,
                                 double reset, auto apply) {
        connect(button, &QPushButton::clicked, this, [fields, reset, apply] {
            apply(float(fields[0]->value()), float(fields[1]->value()), float(fields[2]->value()));
            for (TFloatSpinEdit* f : fields) f->setValue(reset);
        });
    };
    onButton(TranslateBtn, {TranslateXEdit, TranslateYEdit, TranslateZEdit}, 0,
             [&tools](float x, float y, float z) { tools.TranslateSelection(x, y, z); });
    onButton(RotateBtn, {RotateXEdit, RotateYEdit, RotateZEdit}, 0,
             [&tools](float x, float y, float z) { tools.RotateSelection(x, y, z); });
    onButton(ScaleBtn, {ScaleXEdit, ScaleYEdit, ScaleZEdit}, 1,
             [&tools](float x, float y, float z) {
                 if (x > 0 && y > 0 && z > 0) tools.ScaleSelection(x, y, z);
             });
}

QWidget* TToolOptionsForm::BuildAssignPage() {
    auto* page = new QWidget;
    page->setObjectName("AssignTab");
    auto* column = new QVBoxLayout(page);
    column->setSpacing(2);
    AssignBtn =
        PushButton(page, "AssignBtn", "Assign", "Assign selected vertices to current joint");
    SelectAssignedBtn = PushButton(page, "SelectAssignedBtn", "Select Assigned",
                                   "Select vertices assigned to current joint");
    UnassignBtn = PushButton(page, "UnassignBtn", "Unassign", "Unassign selected vertices");
    SelectUnassignedBtn =
        PushButton(page, "SelectUnassignedBtn", "Select Unassigned", "Select unassigned vertices");
    for (QPushButton* b : {AssignBtn, SelectAssignedBtn, UnassignBtn, SelectUnassignedBtn})
        column->addWidget(b);
    column->addStretch(1);
    rgVertexAssign& tool = editor_.tools().vertexAssign();
    connect(AssignBtn, &QPushButton::clicked, this, [&tool] { tool.Assign(); });
    connect(SelectAssignedBtn, &QPushButton::clicked, this, [&tool] { tool.SelectAssigned(); });
    connect(UnassignBtn, &QPushButton::clicked, this, [&tool] { tool.Unassign(); });
    connect(SelectUnassignedBtn, &QPushButton::clicked, this, [&tool] { tool.SelectUnassigned(); });
    return page;
}

QWidget* TToolOptionsForm::BuildWeightPage() {
    auto* page = new QWidget;
    page->setObjectName("WeightsTab");
    auto* column = new QVBoxLayout(page);
    column->setSpacing(3);
    auto* swatches = new QHBoxLayout;
    swatches->setSpacing(0);
    for (int i = 0; i <= 10; ++i) {
        const double weight = i / 10.0;
        auto* button = new QToolButton(page);
        button->setObjectName(QString("SpeedButton%1").arg(i + 1));
        button->setFixedSize(13, 22);
        button->setAutoRaise(true);
        QPixmap swatch(7, 14);
        swatch.fill(Grey(weight));
        button->setIcon(QIcon(swatch));
        button->setIconSize(swatch.size());
        const std::string hint =
            "Set current weight to " + QString::number(weight, 'f', 1).toStdString();
        Hint(button, hint.c_str());
        connect(button, &QToolButton::clicked, this,
                [this, weight] { WeightEdit->setValue(weight); });
        WeightButtons[static_cast<size_t>(i)] = button;
        swatches->addWidget(button);
    }
    swatches->addStretch(1);
    column->addLayout(swatches);

    auto* row = new QHBoxLayout;
    WeightEdit = NumberField(page, "WeightEdit", "Current weight", 0, 1, 0.1,
                             editor_.toolOptions.currentWeight);
    WeightEdit->SetMaxLength(7);
    WeightPanel = new QLabel(page);
    WeightPanel->setObjectName("WeightPanel");
    Hint(WeightPanel, "Current weight");
    WeightPanel->setFixedSize(22, 22);
    WeightPanel->setFrameShape(QFrame::Panel);
    WeightPanel->setFrameShadow(QFrame::Sunken);
    WeightPanel->setAutoFillBackground(true);
    row->addWidget(WeightEdit, 1);
    row->addWidget(WeightPanel);
    column->addLayout(row);
    NormalizeBtn = PushButton(page, "NormalizeBtn", "Normalize", "Normalize weights");
    ShowNormalized = CheckBox(page, "ShowNormalized", "Show normalized", nullptr,
                              editor_.toolOptions.showNormalized);
    column->addWidget(NormalizeBtn);
    column->addWidget(ShowNormalized);
    column->addStretch(1);
    ShowWeight(editor_.toolOptions.currentWeight);

    rgVertexAssign& tool = editor_.tools().vertexAssign();
    connect(WeightEdit, &TFloatSpinEdit::valueChanged, this, [this](double weight) {
        editor_.toolOptions.currentWeight = static_cast<float>(weight);
        ShowWeight(weight);
    });
    connect(NormalizeBtn, &QPushButton::clicked, this, [&tool] { tool.Normalize(); });
    connect(ShowNormalized, &QCheckBox::toggled, this, [this, &tool](bool on) {
        tool.SetShowNormalized(on);
        if (onWeightDisplayChanged) onWeightDisplayChanged();
    });
    return page;
}

void TToolOptionsForm::ShowWeight(double weight) {
    QPalette palette = WeightPanel->palette();
    palette.setColor(QPalette::Window, Grey(weight));
    WeightPanel->setPalette(palette);
}

QWidget* TToolOptionsForm::BuildCheckPage(const char* name, QCheckBox*& box, const char* boxName,
                                          const char* caption, bool ticked,
                                          const std::function<void(bool)>& clicked) {
    auto* page = new QWidget;
    page->setObjectName(name);
    auto* column = new QVBoxLayout(page);
    box = CheckBox(page, boxName, caption, nullptr, ticked);
    column->addWidget(box);
    column->addStretch(1);
    connect(box, &QCheckBox::clicked, this, clicked);
    return page;
}

QWidget* TToolOptionsForm::BuildGeneralPage() {
    auto* page = new QWidget;
    page->setObjectName("GeneralTab");
    auto* grid = new QGridLayout(page);
    grid->setContentsMargins(3, 3, 3, 3);
    grid->setSpacing(2);
    NameEdit = new QLineEdit(page);
    NameEdit->setObjectName("NameEdit");
    NameEdit->setMaxLength(static_cast<int>(rgSceneNode::kMaxName));
    Hint(NameEdit, "Object name");
    ObjColor = new TColorPickerButton(page);
    ObjColor->setObjectName("ObjColor");
    Hint(ObjColor, "Object color");
    grid->addWidget(NameEdit, 0, 0, 1, 2);
    grid->addWidget(ObjColor, 0, 2);

    const auto readOnly = [page](const char* name, const char* hint) {
        auto* field = new QLineEdit("0", page);
        field->setObjectName(name);
        field->setReadOnly(true);
        field->setMinimumWidth(20);
        // Three across a narrow window: a smaller face and no inner margin.
        QFont small = field->font();
        small.setPointSize(7);
        field->setFont(small);
        field->setTextMargins(0, 0, 0, 0);
        field->setStyleSheet("QLineEdit { padding: 0px; }");
        Hint(field, hint);
        return field;
    };
    const char* axes[3] = {"X", "Y", "Z"};
    for (int i = 0; i < 3; ++i) {
        auto* caption = new QLabel(axes[i], page);
        caption->setAlignment(Qt::AlignCenter);
        grid->addWidget(caption, 1, i);
    }
    grid->addWidget(new QLabel("Position", page), 2, 0, 1, 3);
    PosX = readOnly("PosX", "Object Position");
    PosY = readOnly("PosY", "Object Position");
    PosZ = readOnly("PosZ", "Object Position");
    grid->addWidget(new QLabel("Rotation", page), 4, 0, 1, 3);
    RotX = readOnly("RotX", "Object Rotation");
    RotY = readOnly("RotY", "Object Rotation");
    RotZ = readOnly("RotZ", "Object Rotation");
    for (int i = 0; i < 3; ++i) {
        grid->addWidget(std::array{PosX, PosY, PosZ}[static_cast<size_t>(i)], 3, i);
        grid->addWidget(std::array{RotX, RotY, RotZ}[static_cast<size_t>(i)], 5, i);
    }
    grid->setRowStretch(6, 1);

    rgObjectProp& tool = editor_.tools().objectProp();
    connect(NameEdit, &QLineEdit::textEdited, this, [this, &tool](const QString& text) {
        if (!filling_) tool.SetName(text.toStdString());
    });
    connect(NameEdit, &QLineEdit::returnPressed, NameEdit, &QLineEdit::selectAll);
    connect(ObjColor, &TColorPickerButton::ColorChosen, this,
            [&tool](const QColor& c) { tool.SetColour(c.red(), c.green(), c.blue()); });
    return page;
}

QWidget* TToolOptionsForm::BuildJointPage() {
    auto* page = new QWidget;
    page->setObjectName("JointTab");
    auto* grid = new QGridLayout(page);
    grid->setVerticalSpacing(2);
    IKWeight = NumberField(page, "IKWeight", nullptr, 0, 1, 0.1, 1.0);
    IKWeight->SetMaxLength(5);
    grid->addWidget(new QLabel("IK Weight:", page), 0, 0);
    grid->addWidget(IKWeight, 0, 1);
    IKCT = CheckBox(page, "IKCT", "IK Chain Terminator", nullptr, false);
    grid->addWidget(IKCT, 1, 0, 1, 2);
    JointLimitsBtn = PushButton(page, "JointLimitsBtn", "Joint Limits", nullptr);
    KeyInfoBtn = PushButton(page, "KeyInfoBtn", "Key Info", nullptr);
    grid->addWidget(JointLimitsBtn, 2, 0, 1, 2);
    grid->addWidget(KeyInfoBtn, 3, 0, 1, 2);
    grid->setRowStretch(4, 1);

    rgObjectProp& tool = editor_.tools().objectProp();
    connect(IKWeight, &TFloatSpinEdit::valueChanged, this, [this, &tool](double w) {
        if (!filling_) tool.SetIKWeight(static_cast<float>(w));
    });
    connect(IKCT, &QCheckBox::clicked, this, [&tool](bool on) { tool.SetIKChainEnd(on); });
    connect(JointLimitsBtn, &QPushButton::clicked, this, [this] {
        if (onJointLimits) onJointLimits();
    });
    connect(KeyInfoBtn, &QPushButton::clicked, this, [this] {
        if (onKeyInfo) onKeyInfo();
    });
    return page;
}

void TToolOptionsForm::ShowPages(unsigned pages) {
    // The first page a tool brings comes to the front, unless another
    // tool page is there already.
    int appeared = -1;
    for (int i = 0; i < PageControl->Count(); ++i) {
        const bool visible = (pages >> i) & 1u;
        if (visible && !((pages_ >> i) & 1u) && i != kSelect && appeared < 0) appeared = i;
        PageControl->SetPageVisible(i, visible);
    }
    if (appeared >= 0 && PageControl->CurrentIndex() <= kSelect)
        PageControl->SetCurrentIndex(appeared);
    pages_ = pages;
    // The box shows the setting whenever its page comes up.
    if (pages & (1u << kIK)) {
        const QSignalBlocker quiet(EnableJointConstraintsBox);
        EnableJointConstraintsBox->setChecked(editor_.state().useJointLimits);
    }
    ShowVertexTool();
}

void TToolOptionsForm::ShowVertexTool() {
    const bool on = editor_.tools().IsDown(rgToolButton::EditVertexAssign);
    AssignTab->setEnabled(on);
    for (QWidget* w :
         std::initializer_list<QWidget*>{SelectVerticesCheckBox, AssignBtn, SelectAssignedBtn,
                                         UnassignBtn, SelectUnassignedBtn})
        w->setEnabled(on);
}

void TToolOptionsForm::ShowLevel(int level) {
    SelectMeshesCheckBox->setEnabled(level == 0);
}

void TToolOptionsForm::ShowObjectProperties(const rgObjectProperties& p) {
    filling_ = true;
    NameEdit->setText(QString::fromStdString(p.name));
    NameEdit->setEnabled(p.hasNode);
    ObjColor->SetColor(QColor(p.colour[0], p.colour[1], p.colour[2]));
    ObjColor->setEnabled(p.hasNode);
    QLineEdit* const fields[6] = {PosX, PosY, PosZ, RotX, RotY, RotZ};
    for (int i = 0; i < 3; ++i) {
        fields[i]->setText(QString::fromStdString(p.position[i]));
        fields[i + 3]->setText(QString::fromStdString(p.rotation[i]));
    }
    IKCT->setChecked(p.ikChainEnd);
    IKWeight->setValue(p.ikWeight);
    filling_ = false;
}

void TToolOptionsForm::PlaceBeside(const QWidget& owner) {
    const QRect frame = owner.frameGeometry();
    move(frame.right() - width() - 24, frame.top() + 120);
}

#include "app/options_form.h"

#include <QCheckBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QSpinBox>
#include <QTabWidget>
#include <QVBoxLayout>

#include "app/dialog_placement.h"
#include "state/rg_state.h"
#include "widgets/color_picker_button.h"
#include "widgets/float_spin_edit.h"

namespace {

// Whole numbers typed into a box without arrows.
QSpinBox* IntegerEdit(const char* name, int maximum, QWidget* parent) {
    auto* edit = new QSpinBox(parent);
    edit->setObjectName(name);
    edit->setButtonSymbols(QAbstractSpinBox::NoButtons);
    edit->setRange(0, maximum);
    return edit;
}

TColorPickerButton* Picker(const char* name, QWidget* parent) {
    auto* picker = new TColorPickerButton(parent);
    picker->setObjectName(name);
    return picker;
}

QColor ToColor(const vector3& c) {
    return QColor(ColourChannelToByte(c.x), ColourChannelToByte(c.y), ColourChannelToByte(c.z));
}

vector3 ToChannels(const QColor& c) {
    return {ByteToColourChannel(c.red()), ByteToColourChannel(c.green()),
            ByteToColourChannel(c.blue())};
}

}  // namespace

TOptionsForm::TOptionsForm(rgState& state, QWidget* parent)
    : QDialog(parent, Qt::Tool | Qt::WindowStaysOnTopHint), state_(state) {
    setObjectName("TOptionsForm");
    setWindowTitle("Preferences");
    auto* column = new QVBoxLayout(this);
    PageControl = new QTabWidget(this);
    PageControl->setObjectName("PageControl");
    PageControl->addTab(BuildGeneralPage(), "General");
    PageControl->addTab(BuildViewportsPage(), "Viewports");
    PageControl->addTab(BuildColorsPage(), "Colors");
    column->addWidget(PageControl);

    auto* buttons = new QHBoxLayout;
    ResetBtn = new QPushButton("Reset", this);
    ResetBtn->setObjectName("ResetBtn");
    ResetBtn->setAutoDefault(false);
    OkBtn = new QPushButton("OK", this);
    OkBtn->setObjectName("OkBtn");
    OkBtn->setDefault(true);
    CancelBtn = new QPushButton("Cancel", this);
    CancelBtn->setObjectName("CancelBtn");
    CancelBtn->setAutoDefault(false);
    buttons->addWidget(ResetBtn);
    buttons->addStretch();
    buttons->addWidget(OkBtn);
    buttons->addWidget(CancelBtn);
    column->addLayout(buttons);
    connect(OkBtn, &QPushButton::clicked, this, &QDialog::accept);
    connect(CancelBtn, &QPushButton::clicked, this, &QDialog::reject);
    connect(ResetBtn, &QPushButton::clicked, this, &TOptionsForm::ResetBtnClick);
    connect(AdaptiveBox, &QCheckBox::clicked, this, &TOptionsForm::AdaptiveBoxClick);
}

QWidget* TOptionsForm::BuildGeneralPage() {
    auto* page = new QWidget;
    auto* column = new QVBoxLayout(page);
    auto* undo = new QGroupBox("Undo", page);
    auto* undoRows = new QFormLayout(undo);
    UndoEdit = IntegerEdit("UndoEdit", 9999, undo);
    undoRows->addRow("Max Undo Levels:", UndoEdit);
    column->addWidget(undo);

    auto* ik = new QGroupBox("Inverse Kinematics", page);
    auto* ikRows = new QFormLayout(ik);
    MaxIterationsEdit = new QSpinBox(ik);
    MaxIterationsEdit->setObjectName("MaxIterationsEdit");
    MaxIterationsEdit->setRange(0, 1000000);
    MaxIterationsEdit->setSingleStep(1);
    IKThresholdEdit = new TFloatSpinEdit(ik);
    IKThresholdEdit->setObjectName("IKThresholdEdit");
    IKThresholdEdit->setDecimals(7);
    IKThresholdEdit->setRange(0.0, 1000000.0);
    IKThresholdEdit->setSingleStep(0.01);
    IKThresholdEdit->SetMaxLength(10);
    ikRows->addRow("Max Iterations:", MaxIterationsEdit);
    ikRows->addRow("IK Threshold:", IKThresholdEdit);
    column->addWidget(ik);

    auto* files = new QGroupBox("Files", page);
    auto* fileRows = new QFormLayout(files);
    AutosaveEdit = IntegerEdit("AutosaveEdit", 1440, files);
    AutosaveEdit->setToolTip("How often a modified scene is copied to the autosave folder; 0: never");
    ReaderTimeEdit = IntegerEdit("ReaderTimeEdit", static_cast<int>(rgPreferences::kMaxReaderSeconds), files);
    ReaderTimeEdit->setToolTip("How long an image or model reader may take over one file");
    fileRows->addRow("Autosave Every (minutes):", AutosaveEdit);
    fileRows->addRow("Reader Time Limit (seconds):", ReaderTimeEdit);
    column->addWidget(files);
    column->addStretch();
    return page;
}

QWidget* TOptionsForm::BuildViewportsPage() {
    auto* page = new QWidget;
    auto* column = new QVBoxLayout(page);
    auto* colours = new QGroupBox("Colors", page);
    auto* colourRows = new QFormLayout(colours);
    BackgroundBtn = Picker("BackgroundBtn", colours);
    GridColorBtn = Picker("GridColorBtn", colours);
    MajorGridColorBtn = Picker("MajorGridColorBtn", colours);
    colourRows->addRow("Background Color:", BackgroundBtn);
    colourRows->addRow("Grid Lines Color:", GridColorBtn);
    colourRows->addRow("Major Grid Lines Color:", MajorGridColorBtn);
    column->addWidget(colours);

    auto* grid = new QGroupBox("Grid", page);
    auto* gridRows = new QFormLayout(grid);
    GridSizeEdit = new TFloatSpinEdit(grid);
    GridSizeEdit->setObjectName("GridSizeEdit");
    GridSizeEdit->setRange(0.0, 1000000.0);
    GridSizeEdit->setSingleStep(1.0);
    MajorGridLinesEdit = IntegerEdit("MajorGridLinesEdit", 9999, grid);
    AdaptiveBox = new QCheckBox("Adaptive Grid", grid);
    AdaptiveBox->setObjectName("AdaptiveBox");
    gridRows->addRow("Grid Spacing:", GridSizeEdit);
    gridRows->addRow("Major Grid Lines Every:", MajorGridLinesEdit);
    gridRows->addRow(AdaptiveBox);
    column->addWidget(grid);
    column->addStretch();
    return page;
}

QWidget* TOptionsForm::BuildColorsPage() {
    auto* page = new QWidget;
    auto* column = new QVBoxLayout(page);
    auto* vertices = new QGroupBox("Vertices", page);
    auto* rows = new QFormLayout(vertices);
    VertexColorBtn = Picker("VertexColorBtn", vertices);
    SelVertexColorBtn = Picker("SelVertexColorBtn", vertices);
    rows->addRow("Vertex Color:", VertexColorBtn);
    rows->addRow("Selected Vertex Color:", SelVertexColorBtn);
    column->addWidget(vertices);

    auto* handles = new QGroupBox("Handles", page);
    auto* handleRows = new QVBoxLayout(handles);
    HandlesFollowBox = new QCheckBox("Handles follow the pointer", handles);
    HandlesFollowBox->setObjectName("HandlesFollowBox");
    HandlesFollowBox->setToolTip(
        "A dragged arrow keeps the point you grabbed under the pointer; off, the pointer's "
        "sideways travel sets how far the node moves");
    handleRows->addWidget(HandlesFollowBox);
    column->addWidget(handles);
    column->addStretch();
    return page;
}

void TOptionsForm::Show(const rgPreferences& p) {
    UndoEdit->setValue(p.maxUndoLevels);
    MaxIterationsEdit->setValue(p.ikMaxIterations);
    AutosaveEdit->setValue(p.autosaveMinutes);
    ReaderTimeEdit->setValue(static_cast<int>(p.readerSeconds));
    IKThresholdEdit->setValue(p.ikThreshold);
    BackgroundBtn->SetColor(ToColor(p.backgroundColour));
    GridColorBtn->SetColor(ToColor(p.gridColour));
    MajorGridColorBtn->SetColor(ToColor(p.majorGridColour));
    GridSizeEdit->setValue(p.gridSize);
    MajorGridLinesEdit->setValue(p.majorLines);
    AdaptiveBox->setChecked(p.adaptiveGrid);
    VertexColorBtn->SetColor(ToColor(p.vertexColour));
    SelVertexColorBtn->SetColor(ToColor(p.selectedVertexColour));
    HandlesFollowBox->setChecked(p.handlesFollowPointer);
    AdaptiveBoxClick();
}

rgPreferences TOptionsForm::Values() const {
    // Text typed but not yet confirmed in a box counts.
    for (QAbstractSpinBox* box : std::initializer_list<QAbstractSpinBox*>{
             UndoEdit, MaxIterationsEdit, IKThresholdEdit, GridSizeEdit, MajorGridLinesEdit,
             AutosaveEdit, ReaderTimeEdit})
        box->interpretText();
    rgPreferences p;
    p.maxUndoLevels = UndoEdit->value();
    p.ikMaxIterations = MaxIterationsEdit->value();
    p.autosaveMinutes = AutosaveEdit->value();
    p.readerSeconds = ReaderTimeEdit->value();
    p.ikThreshold = static_cast<float>(IKThresholdEdit->value());
    p.backgroundColour = ToChannels(BackgroundBtn->Color());
    p.gridColour = ToChannels(GridColorBtn->Color());
    p.majorGridColour = ToChannels(MajorGridColorBtn->Color());
    p.gridSize = static_cast<float>(GridSizeEdit->value());
    p.majorLines = MajorGridLinesEdit->value();
    p.adaptiveGrid = AdaptiveBox->isChecked();
    p.vertexColour = ToChannels(VertexColorBtn->Color());
    p.selectedVertexColour = ToChannels(SelVertexColorBtn->Color());
    p.handlesFollowPointer = HandlesFollowBox->isChecked();
    return p;
}

void TOptionsForm::ResetBtnClick() {
    Show(rgPreferences::ResetValues());
}

void TOptionsForm::AdaptiveBoxClick() {
    GridSizeEdit->setEnabled(!AdaptiveBox->isChecked());
}

bool TOptionsForm::Execute(Page page) {
    PageControl->setCurrentIndex(page);
    Show(rgPreferences::From(state_));
    CentreOnScreen(*this);
    if (exec() != QDialog::Accepted) return false;
    rgPreferences chosen = Values();
    chosen.Clamp();
    Show(chosen);  // the next opening shows what was stored
    chosen.StoreInto(state_);
    return true;
}

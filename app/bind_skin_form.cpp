#include "app/bind_skin_form.h"

#include "app/dialog_placement.h"

#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QSpinBox>
#include <QVBoxLayout>

#include "widgets/float_spin_edit.h"
#include "widgets/ok_cancel_row.h"

TBindSkinForm::TBindSkinForm(QWidget* parent)
    : QDialog(parent, Qt::Tool | Qt::WindowStaysOnTopHint) {
    setObjectName("TBindSkinForm");
    setWindowTitle("Bind Skin");
    auto* column = new QVBoxLayout(this);

    auto* typeRow = new QHBoxLayout;
    Label1 = new QLabel("Skin Type:", this);
    SkinTypeDropDown = new QComboBox(this);
    SkinTypeDropDown->setObjectName("SkinTypeDropDown");
    SkinTypeDropDown->addItems({"deformable", "rigid", "geodesic"});
    typeRow->addWidget(Label1);
    typeRow->addWidget(SkinTypeDropDown, 1);
    column->addLayout(typeRow);

    GroupBox = new QGroupBox("Deformable Skin Parameters", this);
    auto* grid = new QGridLayout(GroupBox);
    Label2 = new QLabel("Falloff Radius:", GroupBox);
    FalloffEdit = new TFloatSpinEdit(GroupBox);
    FalloffEdit->setObjectName("FalloffEdit");
    FalloffEdit->setRange(rgBindSkinSettings::kMinFalloff, rgBindSkinSettings::kMaxFalloff);
    FalloffEdit->setSingleStep(0.01);
    FalloffEdit->SetMaxLength(5);
    FalloffEdit->setValue(5.0);
    Label4 = new QLabel("Max Distance:", GroupBox);
    DistanceEdit = new TFloatSpinEdit(GroupBox);
    DistanceEdit->setObjectName("DistanceEdit");
    DistanceEdit->setRange(rgBindSkinSettings::kMinDistance, rgBindSkinSettings::kMaxDistance);
    DistanceEdit->setSingleStep(0.01);
    DistanceEdit->setValue(15.0);
    Label3 = new QLabel("Joints Per Vertex:", GroupBox);
    JointsDropDown = new QComboBox(GroupBox);
    JointsDropDown->setObjectName("JointsDropDown");
    JointsDropDown->addItems({"2", "3", "4"});
    grid->addWidget(Label2, 0, 0);
    grid->addWidget(FalloffEdit, 0, 1);
    grid->addWidget(Label4, 1, 0);
    grid->addWidget(DistanceEdit, 1, 1);
    grid->addWidget(Label3, 2, 0);
    grid->addWidget(JointsDropDown, 2, 1);
    column->addWidget(GroupBox);

    GeodesicBox = new QGroupBox("Geodesic Skin Parameters", this);
    auto* geodesic = new QGridLayout(GeodesicBox);
    ResolutionEdit = new QSpinBox(GeodesicBox);
    ResolutionEdit->setObjectName("ResolutionEdit");
    ResolutionEdit->setRange(rgGeodesicBindSettings::kMinResolution,
                             rgGeodesicBindSettings::kMaxResolution);
    ResolutionEdit->setValue(rgGeodesicBindSettings().resolution);
    ResolutionEdit->setToolTip("Voxels along the longest side of the meshes");
    GeodesicFalloffEdit = new TFloatSpinEdit(GeodesicBox);
    GeodesicFalloffEdit->setObjectName("GeodesicFalloffEdit");
    GeodesicFalloffEdit->setRange(0, 1);
    GeodesicFalloffEdit->setSingleStep(0.05);
    GeodesicFalloffEdit->setValue(rgGeodesicBindSettings().falloff);
    GeodesicFalloffEdit->setToolTip("0 blends widely, 1 gives each vertex to its nearest joint");
    GeodesicJointsDropDown = new QComboBox(GeodesicBox);
    GeodesicJointsDropDown->setObjectName("GeodesicJointsDropDown");
    GeodesicJointsDropDown->addItems({"1", "2", "3", "4"});
    GeodesicJointsDropDown->setCurrentIndex(rgGeodesicBindSettings().jointsPerVertex - 1);
    geodesic->addWidget(new QLabel("Resolution:", GeodesicBox), 0, 0);
    geodesic->addWidget(ResolutionEdit, 0, 1);
    geodesic->addWidget(new QLabel("Falloff:", GeodesicBox), 1, 0);
    geodesic->addWidget(GeodesicFalloffEdit, 1, 1);
    geodesic->addWidget(new QLabel("Joints Per Vertex:", GeodesicBox), 2, 0);
    geodesic->addWidget(GeodesicJointsDropDown, 2, 1);
    column->addWidget(GeodesicBox);

    AddOkCancelRow(*this, *column, Button2, Button1);
    connect(SkinTypeDropDown, &QComboBox::currentIndexChanged, this,
            &TBindSkinForm::SkinTypeDropDownChange);
    SkinTypeDropDownChange();
}

void TBindSkinForm::SkinTypeDropDownChange() {
    const bool deformable = SkinTypeDropDown->currentIndex() == 0;
    for (QWidget* w : std::initializer_list<QWidget*>{FalloffEdit, DistanceEdit, JointsDropDown,
                                                      Label2, Label3, Label4})
        w->setEnabled(deformable);
    GeodesicBox->setEnabled(SkinTypeDropDown->currentIndex() == 2);
}

rgBindSkinSettings TBindSkinForm::Settings() const {
    rgBindSkinSettings s;
    s.rigid = SkinTypeDropDown->currentIndex() == 1;
    s.jointsPerVertex = JointsDropDown->currentIndex() + 2;
    s.falloffRadius = static_cast<float>(FalloffEdit->value());
    s.maxDistance = static_cast<float>(DistanceEdit->value());
    s.geodesic = SkinTypeDropDown->currentIndex() == 2;
    s.geodesicSettings.resolution = ResolutionEdit->value();
    s.geodesicSettings.falloff = static_cast<float>(GeodesicFalloffEdit->value());
    s.geodesicSettings.jointsPerVertex = GeodesicJointsDropDown->currentIndex() + 1;
    return s;
}

bool TBindSkinForm::Ask(rgBindSkinSettings& settings) {
    CentreOnScreen(*this);
    if (exec() != QDialog::Accepted) return false;
    settings = Settings();
    return true;
}

#pragma once

#include <QDialog>

#include "skinning/bind_skin_job.h"

class QComboBox;
class QGroupBox;
class QLabel;
class QPushButton;
class QSpinBox;
class TFloatSpinEdit;

// "Bind Skin": the skin type and, for a deformable skin, the falloff radius,
// the max distance and the joints per vertex; for a geodesic skin (distances
// through the body), the resolution, the falloff and the joints per vertex.
// Made once; it keeps its values between uses. Each type enables only its
// own parameters.
class TBindSkinForm : public QDialog {
    Q_OBJECT
public:
    explicit TBindSkinForm(QWidget* parent = nullptr);

    // The settings the controls show.
    rgBindSkinSettings Settings() const;
    // Shows the dialog modally; true with the settings when confirmed with "Ok".
    bool Ask(rgBindSkinSettings& settings);

    QLabel* Label1 = nullptr;
    QComboBox* SkinTypeDropDown = nullptr;
    QGroupBox* GroupBox = nullptr;
    QLabel* Label2 = nullptr;
    TFloatSpinEdit* FalloffEdit = nullptr;
    QLabel* Label4 = nullptr;
    TFloatSpinEdit* DistanceEdit = nullptr;
    QLabel* Label3 = nullptr;
    QComboBox* JointsDropDown = nullptr;
    QGroupBox* GeodesicBox = nullptr;
    QSpinBox* ResolutionEdit = nullptr;
    TFloatSpinEdit* GeodesicFalloffEdit = nullptr;
    QComboBox* GeodesicJointsDropDown = nullptr;
    QPushButton* Button2 = nullptr;  // "Ok"
    QPushButton* Button1 = nullptr;  // "Cancel"

    void SkinTypeDropDownChange();
};

#pragma once

// The tool buttons of the main window (and the "Attach Joints" tick item,
// which counts as a tool button), in the order of the tool table. Both select
// buttons drive the same select tool.
enum class rgToolButton : int {
    None = -1,
    EditSelect = 0,        // Edit_SelectBtn
    EditTranslate,         // Edit_TranslateBtn
    EditRotate,            // Edit_RotateBtn
    EditScale,             // Edit_ScaleBtn
    EditCreateBone,        // Edit_CreateBoneBtn
    EditVertexAssign,      // Edit_EditBoneBtn
    EditObjectProperties,  // Edit_JointsBtn
    AttachJoints,          // AttachJointsMenu
    AnimateSelect,         // Animate_SelectBtn
    AnimateTranslate,      // Animate_TranslateBtn
    AnimateRotate,         // Animate_RotateBtn
    AnimateIK,             // Animate_IKBtn
    Count
};

constexpr int kToolButtonCount = static_cast<int>(rgToolButton::Count);

// Pages of the Tool Options window, as bits of a visibility mask.
enum rgToolPage : unsigned {
    kPageSelect = 1u << 0,
    kPageMove = 1u << 1,
    kPageRotate = 1u << 2,
    kPageAssign = 1u << 3,
    kPageScale = 1u << 4,
    kPageWeight = 1u << 5,
    kPageIK = 1u << 6,
    kPageHierarchy = 1u << 7,
    kPageGeneral = 1u << 8,
    kPageJoint = 1u << 9,
};

// The coordinate-system selector of the main window.
enum rgCoordSystem : int { kCoordLocal = 0, kCoordGlobal = 1 };

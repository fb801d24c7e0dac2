#pragma once

#include <memory>
#include <vector>

#include "scene/rg_keyframe.h"
#include "scene/rg_scene_node.h"

// Rotation limit modes of one axis.
enum rgLimitMode : int { kLimitFree = 0, kLimitLimited = 1, kLimitLocked = 2 };

// A skeleton joint. Three matrices separate rest pose and animation:
// - local:   rest placement relative to the parent (edited at the Objects level);
// - offset:  animated pose delta on top of it (keys, pose tools, IK), rotation
//            about the joint's own pivot plus a translation in the parent's axes;
// - relaxed: rest pose accumulated over the chain of joint ancestors, ignoring
//            offsets: the bind pose skinning measures deformation against.
// At the Animation level the global matrix includes the offset; at the
// Objects level it does not.
class rgBone : public rgSceneNode {
public:
    static constexpr int kNoNextKey = 1000000;

    explicit rgBone(rgScene* scene);
    ~rgBone() override;

    void SetSelected(bool selected) override;
    matrix44& GetMatrix() override;
    void Translate(const vector3& d, const matrix44& frame) override;
    void Rotate(const vector3& angles, const matrix44& frame) override;
    void Scale(float x, float y, float z) override;
    void UpdateMatrix(const matrix44& parentGlobal) override;
    void Hide() override;
    rgSceneNode* Clone(rgSceneNode* parent, rgScene* scene) override;
    void AddToTree() override;
    rgSceneNode* Duplicate(rgSceneNode* parent) override;
    void Mirror(bool x, bool y, bool z) override;
    void GetBoundingSphere(vector3& centre, float& radius) override;

    // Joint-specific virtual operations, continuing the slot order.
    virtual void TranslateOffset(const vector3& d, const matrix44& frame);                // 31
    virtual void RotateOffset(const vector3& angles, const matrix44& frame, bool applyLimits = false);  // 32
    virtual void ResetOffset();                                                            // 33
    virtual matrix44& GetLocalMatrix() { return local_; }                                  // 34
    virtual matrix44& GetOffsetMatrix() { return offset_; }                                // 35
    virtual matrix44& GetRelaxedMatrix() { return relaxed_; }                              // 36

    const matrix44& GetInverseRelaxedMatrix() const { return inverseRelaxed_; }
    // Replaces the offset (keys, IK) and marks every skin stale.
    void SetOffsetMatrix(const matrix44& offset);

    // Sets the joint number (shifted while a merge runs) and keeps the
    // application's counter above it.
    void SetId(int id);
    int GetId() const { return number_; }
    // The number read and written as a plain field (no merge offset, counter untouched).
    int get_number() const { return number_; }
    void set_number(int n) { number_ = n; }
    // True when an ancestor joint below the scene root is selected.
    bool CheckParentSelection() const;
    bool parentselected = false;

    int IsIKChainEnd() const { return ikChainEnd_ ? 1 : 0; }
    void SetIKChainEnd(int n) { ikChainEnd_ = n != 0; }
    float GetIKWeight() const { return ikWeight_; }
    void SetIKWeight(float w) { ikWeight_ = w; }

    // Limits in degrees, in either order; axis 0 = x, 1 = y, 2 = z.
    void GetConstraints(int axis, int& mode, float& first, float& second) const;
    void SetConstraints(int axis, int mode, float first, float second);
    void GetXConstraints(int& m, float& a, float& b) const { GetConstraints(0, m, a, b); }
    void GetYConstraints(int& m, float& a, float& b) const { GetConstraints(1, m, a, b); }
    void GetZConstraints(int& m, float& a, float& b) const { GetConstraints(2, m, a, b); }
    void SetXConstraints(int m, float a, float b) { SetConstraints(0, m, a, b); }
    void SetYConstraints(int m, float a, float b) { SetConstraints(1, m, a, b); }
    void SetZConstraints(int m, float a, float b) { SetConstraints(2, m, a, b); }
    // Clamps the offset rotation, seen in the joint's own frame, to the limits.
    void ApplyConstraints();

    // Keys, sorted by frame; frames are unique in normal use.
    int GetKeyCount() const { return static_cast<int>(keys_.size()); }
    // Null when i is out of range.
    rgKeyframe* GetKey(int i) const;
    // Overwrites the key at `frame` or adds one.
    void SetKey(int frame, const matrix44& matrix, float tt = 0, float tc = 0, float tb = 0,
                float rt = 0, float rc = 0, float rb = 0);
    // A key at `frame` holding the current offset, spline parameters zero; an
    // existing key at that frame is replaced in place.
    void SetKeyFromOffset(int frame);
    void DeleteKeyIndex(int i);
    // Deletes the last key with that frame.
    void DeleteKey(int frame);
    bool HasKey(int frame) const { return GetKeyAt(frame) != nullptr; }
    rgKeyframe* GetKeyAt(int frame) const;
    matrix44* GetKeyMatrix(int frame) const;
    // Smallest key frame above `frame`, or kNoNextKey.
    int NextKeyFrame(int frame) const;
    // Largest key frame below `frame` and above 0, or 0.
    int PrevKeyFrame(int frame) const;
    // Stable sort by frame.
    void SortKeys();
    // Bulk edits for the keyframer's blocks of keys, one pass each.
    // Deletes every key with first <= frame <= last; returns how many.
    int DeleteKeysInRange(int first, int last);
    // Adds each key as SetKey would (an existing key at its frame is
    // overwritten in place, the others are inserted), sorting once.
    void SetKeys(const std::vector<rgKeyframe>& keys);

protected:
    void DrawSelf(rgNodePainter& painter, int drawMode, bool flag) override;
    bool PickSelf(rgNodePicker& picker, int a, int b) override;

private:
    // Runs a move of the local matrix; with "Affect Children" off, child
    // joints are parked at the scene root meanwhile so they keep their world
    // placement, then re-attached.
    template <typename Move>
    void MoveKeepingChildren(Move&& move);
    void CopyJointDataTo(rgBone& copy) const;

    matrix44 offset_;
    matrix44 matrixCache_;
    std::vector<rgBone*> detachedChildren_;
    matrix44 inverseRelaxed_;
    bool ikChainEnd_ = false;
    float ikWeight_ = 1.0f;
    float limits_[3][2] = {{0, 0}, {0, 0}, {0, 0}};
    int limitModes_[3] = {kLimitFree, kLimitFree, kLimitFree};
    int number_ = 0;
    matrix44 relaxed_;
    std::vector<std::unique_ptr<rgKeyframe>> keys_;
};

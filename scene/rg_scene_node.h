#pragma once

#include <string>
#include <vector>

#include "core/matrix44.h"
#include "core/vector3.h"

class rgScene;
class rgMesh;
class rgBone;
class rgNodePainter;
class rgNodePicker;

// Base of every scene node: place in the hierarchy, local and global
// matrices, selection, visibility, colour, material, name. The base class
// itself serves as the scene's invisible root and as free script nodes.
//
// Node kinds are told apart by their class-name string ("rgSceneNode",
// "rgBone", "rgMesh"), compared case-insensitively.
//
// Matrices: local is relative to the parent; global = local x parent global,
// valid after the last scene-wide UpdateMatrix.
class rgSceneNode {
public:
    static constexpr size_t kMaxName = 63;

    explicit rgSceneNode(rgScene* scene);
    rgSceneNode(const rgSceneNode&) = delete;
    rgSceneNode& operator=(const rgSceneNode&) = delete;

    // The virtual interface, in its fixed slot order.
    virtual ~rgSceneNode();                                                       // 0
    virtual void SetSelected(bool selected);                                      // 1
    virtual bool GetSelected() { return selected_; }                              // 2
    virtual void GetPosition(vector3& out) { out = global_.pos_component(); }     // 3
    virtual matrix44& GetMatrix() { return local_; }                              // 4
    virtual matrix44& GetGlobalMatrix() { return global_; }                       // 5
    virtual void Translate(const vector3& d, const matrix44& frame);              // 6
    virtual void Rotate(const vector3& angles, const matrix44& frame);            // 7
    virtual void ResetScale() { pendingScale_.set(1, 1, 1); }                     // 8
    virtual void Scale(float x, float y, float z);                                // 9
    virtual void ApplyScale() {}                                                  // 10
    virtual int GetChildCount() { return static_cast<int>(children_.size()); }    // 11
    // Null when i is out of range.
    virtual rgSceneNode* GetChild(int i);                                         // 12
    virtual void AttachChild(rgSceneNode* child);                                 // 13
    virtual void DetachChild(rgSceneNode* child);                                 // 14
    virtual rgSceneNode* GetParent() { return parent_; }                          // 15
    // Sets the parent pointer only; the children lists stay as they are.
    virtual void SetParent(rgSceneNode* parent) { parent_ = parent; }             // 16
    virtual void UpdateMatrix(const matrix44& parentGlobal);                      // 17
    virtual void Deform() {}                                                      // 18
    virtual void Draw(rgNodePainter& painter, int drawMode, bool flag);           // 19
    virtual void DrawAxes(rgNodePainter& painter);                                // 20
    virtual bool Pick(rgNodePicker& picker, int a, int b);                        // 21
    virtual bool PickAxis(rgNodePicker& picker);                                  // 22
    virtual void Show() { visible_ = true; }                                      // 23
    virtual void Hide();                                                          // 24
    virtual bool IsVisible() { return visible_; }                                 // 25
    // Deep copy for a scene copy; the copy belongs to `scene`, parent pointer set.
    virtual rgSceneNode* Clone(rgSceneNode* parent, rgScene* scene);              // 26
    virtual void AddToTree();                                                     // 27
    // Copy placed in the hierarchy by the Duplicate command; null for base nodes.
    virtual rgSceneNode* Duplicate(rgSceneNode* parent) { (void)parent; return nullptr; }  // 28
    virtual void Mirror(bool x, bool y, bool z) { (void)x, (void)y, (void)z; }    // 29
    virtual void GetBoundingSphere(vector3& centre, float& radius);               // 30

    const char* GetClassName() const { return className_; }
    // Case-insensitive comparison of the class-name string.
    bool IsClass(const char* className) const;
    bool IsMesh() const { return IsClass("rgMesh"); }
    bool IsBone() const { return IsClass("rgBone"); }

    const std::string& GetName() const { return name_; }
    // Keeps at most 63 characters; a null text is ignored.
    void SetName(const char* name);
    void SetName(const std::string& name) { SetName(name.c_str()); }
    void SetColor(float r, float g, float b) { colour_.set(r, g, b); }
    const vector3& GetColor() const { return colour_; }
    void SetMaterial(int material) { material_ = material; }
    int GetMaterial() const { return material_; }
    void SetMatrix(const matrix44& m);

    const std::vector<rgSceneNode*>& Children() const { return children_; }
    rgSceneNode* Parent() const { return parent_; }
    bool Selected() const { return selected_; }
    bool Visible() const { return visible_; }
    rgScene* GetScene() const { return scene_; }
    const vector3& GetPendingScale() const { return pendingScale_; }
    bool picked = false;  // result of the last hit test, written by the selection tools

protected:
    // Node-type drawing and hit test, run under the node's global matrix.
    virtual void DrawSelf(rgNodePainter&, int drawMode, bool flag) { (void)drawMode, (void)flag; }
    virtual bool PickSelf(rgNodePicker&, int a, int b) { (void)a, (void)b; return false; }
    // Deletes every child (each detaches itself). Node types call it first in
    // their destructors, while they are still whole, then mark themselves
    // plain nodes so walks during the rest of the teardown skip them.
    void DestroyChildren();
    // Copies what every node type's Clone shares, then clones the children.
    void CloneBaseInto(rgSceneNode* copy, rgSceneNode* parent, rgScene* scene);
    // Appends to the children list without a joint-tree item (the next tree
    // rebuild creates it).
    static void AppendChildWithoutTree(rgSceneNode* parent, rgSceneNode* child);
    // Tells the scene its hierarchy changed (cursor walks are rebuilt).
    void NoteStructureChange();
    void InvalidateSkins();
    // Tells the editor's object watcher (scripts' handles) that `object` goes.
    void NotifyDestroyed(const void* object) const;
    void SetClassName(const char* name) { className_ = name; }

    matrix44 local_;
    matrix44 global_;
    std::vector<rgSceneNode*> children_;  // owned
    rgSceneNode* parent_ = nullptr;
    int material_ = -1;
    bool selected_ = false;
    bool visible_ = true;
    rgScene* scene_;
    vector3 pendingScale_{1, 1, 1};
    vector3 colour_{1, 1, 1};
    std::string name_ = "Scene Node";

private:
    friend class rgScene;  // moves hierarchies between scenes
    const char* className_ = "rgSceneNode";
};

// The node as a mesh or joint when its class-name string says so, else null.
rgMesh* ToMesh(rgSceneNode* node);
rgBone* ToBone(rgSceneNode* node);

#pragma once

// What the scene model reads from, or tells, the editing tools and their
// option window. The application implements these; runs without a user
// interface use the defaults.

// Values of the tool options window that node operations depend on.
class rgToolOptionsValues {
public:
    virtual ~rgToolOptionsValues() = default;
    // "Affect Children": child joints move with a moved joint (ticked by default).
    virtual bool AffectChildren() const { return true; }
};

// The tools that keep pointers to nodes (current joint of the joint tools,
// weighting joint, IK joint, properties node).
class rgToolReferences {
public:
    virtual ~rgToolReferences() = default;
    // Drops every node pointer the tools hold; the hierarchy is about to go.
    virtual void ResetNodeReferences() {}
    // After undo swapped the scene: every active tool that holds nodes is
    // switched off and on again, taking its nodes afresh.
    virtual void ReactivateSceneTools() {}
};

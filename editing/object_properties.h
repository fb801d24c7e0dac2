#pragma once

#include <string>

class rgSceneNode;

// What the Tool Options "General" and "Joint" pages show of the
// object-properties tool's current node.
struct rgObjectProperties {
    bool hasNode = false;
    bool isJoint = false;
    std::string name;
    int colour[3] = {255, 255, 255};  // each channel x 255, truncated
    // Translation and rotation (degrees) of the node's own matrix as shown:
    // three significant digits, five decimals ("0" without a node).
    std::string position[3] = {"0", "0", "0"};
    std::string rotation[3] = {"0", "0", "0"};
    bool ikChainEnd = false;
    float ikWeight = 1.0f;

    static rgObjectProperties Of(rgSceneNode* node);
};

// A number as the property fields show it: rounded to three significant
// digits, then written with five decimals and "." whatever the locale.
std::string PropertyNumberText(double value);

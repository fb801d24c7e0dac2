#include "editing/preferences.h"

#include <algorithm>
#include <cmath>

#include "state/rg_state.h"

rgPreferences rgPreferences::From(const rgState& s) {
    rgPreferences p;
    p.maxUndoLevels = s.maxUndoLevels;
    p.ikMaxIterations = s.ikMaxIterations;
    p.ikThreshold = s.ikThreshold;
    p.backgroundColour = s.backgroundColour;
    p.gridColour = s.gridColour;
    p.majorGridColour = s.majorGridColour;
    p.gridSize = s.gridSize;
    p.majorLines = s.majorLines;
    p.adaptiveGrid = s.adaptiveGrid;
    p.vertexColour = s.vertexColour;
    p.selectedVertexColour = s.selectedVertexColour;
    p.autosaveMinutes = s.autosaveMinutes;
    p.readerSeconds = s.readerSeconds;
    p.handlesFollowPointer = s.handlesFollowPointer;
    return p;
}

void rgPreferences::Clamp() {
    maxUndoLevels = std::max(maxUndoLevels, kMinUndoLevels);
    // NaN is no spacing either.
    if (!(gridSize >= kMinGridSize)) gridSize = kMinGridSize;
    majorLines = std::max(majorLines, kMinMajorLines);
    autosaveMinutes = std::max(autosaveMinutes, 0);
    if (!(readerSeconds >= kMinReaderSeconds)) readerSeconds = kMinReaderSeconds;
    readerSeconds = std::min(readerSeconds, kMaxReaderSeconds);
}

void rgPreferences::StoreInto(rgState& s) const {
    s.maxUndoLevels = maxUndoLevels;
    s.ikMaxIterations = ikMaxIterations;
    s.ikThreshold = ikThreshold;
    s.backgroundColour = backgroundColour;
    s.gridColour = gridColour;
    s.majorGridColour = majorGridColour;
    s.gridSize = gridSize;
    s.majorLines = majorLines;
    s.adaptiveGrid = adaptiveGrid;
    s.vertexColour = vertexColour;
    s.selectedVertexColour = selectedVertexColour;
    s.autosaveMinutes = autosaveMinutes;
    s.readerSeconds = readerSeconds;
    s.handlesFollowPointer = handlesFollowPointer;
}

int ColourChannelToByte(float channel) {
    if (!(channel > 0.0f)) return 0;  // also NaN from a hand-edited file
    return std::min(255, static_cast<int>(channel * 255.0f));
}

float ByteToColourChannel(int byte) {
    return static_cast<float>(std::clamp(byte, 0, 255)) / 255.0f;
}

#include "viewport/viewport_host.h"

int rgStateOnlyViewports::Create() {
    entries_.push_back({nextId_, rgViewportState::FromEditorState(state_)});
    return nextId_++;
}

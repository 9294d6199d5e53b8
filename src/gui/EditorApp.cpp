#include "gui/EditorApp.h"

namespace sw::gui {

EditorApp::EditorApp()
    : platform_{windows_, windows_, windows_, settings_, images_, fileWatcher_}, shell_(platform_) {
}

bool EditorApp::start(const std::string& modelPath) {
    shell_.state.recovery.setFolder(recoveryFolder());
    if (!shell_.start())
        return false;
    // The view's context is still current from the start, as the model's textures need.
    if (!modelPath.empty())
        shell_.openFromCommandLine(modelPath);
    return true;
}

EditorApp::~EditorApp() {
    windows_.setEventSink(nullptr);
    fileWatcher_.setListener({});
}

} // namespace sw::gui

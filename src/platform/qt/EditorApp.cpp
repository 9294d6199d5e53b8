#include "platform/qt/EditorApp.h"

namespace sw::qt {

EditorApp::EditorApp() : platform_{windows_, windows_, windows_, settings_}, shell_(platform_) {}

EditorApp::~EditorApp() {
    windows_.setEventSink(nullptr);
}

} // namespace sw::qt

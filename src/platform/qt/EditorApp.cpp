#include "platform/qt/EditorApp.h"

namespace sw::qt {

namespace {

// Holds the place of the settings on disk until they are read at start-up: no key, so every
// preference keeps its default.
class NoSettings : public SettingsStore {
public:
    bool openOrCreate(bool& created) override {
        created = false;
        return false;
    }
    std::optional<std::string> readString(const std::string&) override { return std::nullopt; }
    void writeString(const std::string&, const std::string&) override {}
};

} // namespace

EditorApp::EditorApp()
    : settings_(std::make_unique<NoSettings>()), platform_{windows_, windows_, windows_,
                                                           *settings_},
      shell_(platform_) {}

EditorApp::~EditorApp() {
    windows_.setEventSink(nullptr);
}

} // namespace sw::qt

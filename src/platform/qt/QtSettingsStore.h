#pragma once

#include "platform/SettingsStore.h"

#include <QString>

#include <memory>

class QSettings;

namespace sw {

// The preferences key in the platform's native settings: the registry key
// HKEY_CURRENT_USER\Software\Skinweaver on Windows, the user's configuration file
// Skinweaver/Skinweaver.conf elsewhere (under QSettings' user path for the native format).
class QtSettingsStore : public SettingsStore {
public:
    QtSettingsStore();
    ~QtSettingsStore() override;
    QtSettingsStore(const QtSettingsStore&) = delete;
    QtSettingsStore& operator=(const QtSettingsStore&) = delete;

    // The key counts as made just now while it holds no value.
    bool openOrCreate(bool& created) override;
    std::optional<std::string> readString(const std::string& name) override;
    void writeString(const std::string& name, const std::string& value) override;
    std::optional<std::vector<std::string>> readStringList(const std::string& name) override;
    void writeStringList(const std::string& name, const std::vector<std::string>& values) override;

    // Where the values live: a registry path or a file name.
    QString location() const;

private:
    std::unique_ptr<QSettings> settings_;
};

// The folder for the unsaved changes the editor keeps: "recovery" in the user's folder for the
// program's own data (~/.local/share/Skinweaver on Linux).
std::string recoveryFolder();

} // namespace sw

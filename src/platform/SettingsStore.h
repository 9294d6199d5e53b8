#pragma once

#include <optional>
#include <string>
#include <vector>

namespace sw {

// The per-user key that holds the program's preferences ("Software\Skinweaver\" in the
// registry on Windows, a configuration file elsewhere).
class SettingsStore {
public:
    virtual ~SettingsStore() = default;
    // Opens the key, creating it when it does not exist yet. Returns false when the key can
    // be neither opened nor created; `created` tells whether it was made just now.
    virtual bool openOrCreate(bool& created) = 0;
    // A string value of the open key; nothing when the value is missing or not a string.
    virtual std::optional<std::string> readString(const std::string& name) = 0;
    virtual void writeString(const std::string& name, const std::string& value) = 0;
    // A list of strings of the open key (a multi-string value in the registry); nothing when
    // the value is missing or holds something else.
    virtual std::optional<std::vector<std::string>> readStringList(const std::string& name) = 0;
    virtual void writeStringList(const std::string& name,
                                 const std::vector<std::string>& values) = 0;
};

} // namespace sw

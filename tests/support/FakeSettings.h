#pragma once

#include "platform/SettingsStore.h"

#include <map>
#include <optional>
#include <string>
#include <vector>

namespace sw::test {

// Settings held in memory. A test fills `values` (and `lists`) to stand for a key that exists
// already.
class FakeSettings : public SettingsStore {
public:
    bool openOrCreate(bool& created) override {
        if (failOpen)
            return false;
        created = !exists;
        exists = true;
        return true;
    }
    std::optional<std::string> readString(const std::string& name) override {
        const auto it = values.find(name);
        return it == values.end() ? std::nullopt : std::optional(it->second);
    }
    void writeString(const std::string& name, const std::string& value) override {
        values[name] = value;
    }
    std::optional<std::vector<std::string>> readStringList(const std::string& name) override {
        const auto it = lists.find(name);
        return it == lists.end() ? std::nullopt : std::optional(it->second);
    }
    void writeStringList(const std::string& name, const std::vector<std::string>& values) override {
        lists[name] = values;
    }

    bool exists = false;
    bool failOpen = false;
    std::map<std::string, std::string> values;
    std::map<std::string, std::vector<std::string>> lists;
};

} // namespace sw::test

#include "platform/FileNames.h"

#include <filesystem>
#include <optional>
#include <string_view>

namespace sw {

#ifdef _WIN32

std::string resolveFileName(const std::string& path) {
    return path;
}

#else

namespace {

namespace fs = std::filesystem;

char lowerAscii(char c) {
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

bool equalIgnoringCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size())
        return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (lowerAscii(a[i]) != lowerAscii(b[i]))
            return false;
    }
    return true;
}

std::string join(const std::string& folder, std::string_view name) {
    if (folder.empty())
        return std::string(name);
    std::string joined = folder;
    if (joined.back() != '/')
        joined += '/';
    joined += name;
    return joined;
}

// The entry of `folder` whose name equals `name` but for letter case.
std::optional<std::string> findIgnoringCase(const std::string& folder, std::string_view name) {
    std::error_code error;
    std::optional<std::string> found;
    fs::directory_iterator it(folder.empty() ? fs::path(".") : fs::path(folder), error);
    for (; !error && it != fs::directory_iterator(); it.increment(error)) {
        std::string entry = it->path().filename().string();
        if (equalIgnoringCase(entry, name) && (!found || entry < *found))
            found = std::move(entry);
    }
    return found;
}

} // namespace

std::string resolveFileName(const std::string& path) {
    std::error_code error;
    if (path.empty() || fs::exists(fs::path(path), error))
        return path;

    std::string resolved = path.front() == '/' ? "/" : "";
    std::size_t start = 0;
    while (start <= path.size()) {
        std::size_t end = path.find_first_of("/\\", start);
        if (end == std::string::npos)
            end = path.size();
        const std::string_view component(path.data() + start, end - start);
        start = end + 1;
        if (component.empty())
            continue;
        std::string exact = join(resolved, component);
        if (component == "." || component == ".." || fs::exists(fs::path(exact), error)) {
            resolved = std::move(exact);
            continue;
        }
        const auto match = findIgnoringCase(resolved, component);
        if (!match)
            return path;
        resolved = join(resolved, *match);
    }
    return resolved;
}

#endif

std::string fileOnDisk(const std::string& path) {
    if (path.empty())
        return {};
    std::string found = resolveFileName(path);
    std::error_code error;
    return std::filesystem::is_regular_file(found, error) ? found : std::string();
}

} // namespace sw

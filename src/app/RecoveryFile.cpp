#include "app/RecoveryFile.h"

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <new>
#include <system_error>
#include <thread>
#include <utility>

namespace sw {

namespace {

namespace fs = std::filesystem;

// 64-bit FNV-1a: the same path always gives the same file, and different paths practically
// never one file.
std::uint64_t hashOf(const std::string& text) {
    std::uint64_t hash = 14695981039346656037ull;
    for (const char c : text) {
        hash ^= static_cast<unsigned char>(c);
        hash *= 1099511628211ull;
    }
    return hash;
}

void save(Model& model, const std::string& path) {
    std::error_code ignored;
    fs::create_directories(fs::path(path).parent_path(), ignored);
    model.save(path);
}

} // namespace

RecoveryFile::~RecoveryFile() {
    wait();
}

void RecoveryFile::setFolder(std::string folder) {
    folder_ = std::move(folder);
}

std::string RecoveryFile::pathFor(const std::string& modelPath) const {
    std::error_code error;
    fs::path absolute = fs::absolute(modelPath, error);
    if (error)
        absolute = modelPath;
    absolute = absolute.lexically_normal();
    char hash[17];
    std::snprintf(hash, sizeof hash, "%016llx",
                  static_cast<unsigned long long>(hashOf(absolute.string())));
    // The model's name first, so that a person looking into the folder finds their file.
    return (fs::path(folder_) / (absolute.filename().string() + "." + hash + ".3do")).string();
}

std::optional<std::chrono::system_clock::time_point>
RecoveryFile::newerThanModel(const std::string& modelPath) const {
    if (!enabled())
        return std::nullopt;
    std::error_code error;
    const fs::file_time_type kept = fs::last_write_time(pathFor(modelPath), error);
    if (error)
        return std::nullopt;
    const fs::file_time_type model = fs::last_write_time(modelPath, error);
    if (!error && model >= kept)
        return std::nullopt;
    return std::chrono::file_clock::to_sys(kept);
}

bool RecoveryFile::writeInBackground(const Model& model, const std::string& modelPath) {
    if (!enabled())
        return true;
    if (writing_)
        return false;
    wait();
    try {
        const auto start = std::chrono::steady_clock::now();
        auto copy = std::make_unique<Model>(model);
        lastCopy_ = std::chrono::steady_clock::now() - start;
        writing_ = true;
        writer_ = std::thread([this, copy = std::move(copy), path = pathFor(modelPath)] {
            save(*copy, path);
            writing_ = false;
        });
    } catch (const std::bad_alloc&) {
        // No memory for a copy: the next change tries again.
    } catch (const std::system_error&) {
        writing_ = false;
        writeNow(model, modelPath); // no thread to be had: the editor waits this once
    }
    return true;
}

void RecoveryFile::writeNow(const Model& model, const std::string& modelPath) {
    if (!enabled())
        return;
    wait();
    try {
        Model copy(model);
        save(copy, pathFor(modelPath));
    } catch (const std::bad_alloc&) {
    }
}

void RecoveryFile::remove(const std::string& modelPath) {
    if (!enabled())
        return;
    wait();
    const fs::path kept = pathFor(modelPath);
    std::error_code ignored;
    fs::remove(kept, ignored);
    // And what a write that was cut short (the program killed) left behind.
    const std::string unfinished = kept.filename().string() + ".saving-";
    for (fs::directory_iterator entry(kept.parent_path(), ignored), end; !ignored && entry != end;
         entry.increment(ignored))
        if (entry->path().filename().string().starts_with(unfinished))
            fs::remove(entry->path(), ignored);
}

int RecoveryFile::delayMilliseconds() const {
    constexpr std::chrono::milliseconds::rep kDelay = 1000;
    const auto copy = std::chrono::duration_cast<std::chrono::milliseconds>(lastCopy_).count();
    return static_cast<int>(std::min(std::max(kDelay, 50 * copy), 60 * kDelay));
}

void RecoveryFile::wait() {
    if (writer_.joinable())
        writer_.join();
}

} // namespace sw

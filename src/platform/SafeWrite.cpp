#include "platform/SafeWrite.h"

#include <cerrno>
#include <cstring>
#include <random>

#if defined(__unix__) || defined(__APPLE__)
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace sw {

TempFile::TempFile(const std::filesystem::path& target, std::string& error) {
    std::random_device random;
    for (int attempt = 0; attempt < 100 && !file_; ++attempt) {
        path_ = target;
        path_ += ".saving-" + std::to_string(random() % 1000000);
        errno = 0;
        // "x": never take over a file that is there already.
        file_ = std::fopen(path_.string().c_str(), "wbx");
        if (!file_ && errno != EEXIST)
            break;
    }
    if (file_)
        return;
    if (errno == ENOENT)
        error = "Its folder does not exist.";
    else if (errno == ENOTDIR)
        error = "The path before its name is a file, not a folder.";
    else
        error = std::string("No file can be made in its folder: ") + std::strerror(errno) + ".";
}

TempFile::~TempFile() {
    if (file_)
        std::fclose(file_);
    if (!committed_) {
        std::error_code ignored;
        std::filesystem::remove(path_, ignored);
    }
}

bool TempFile::commit(const std::filesystem::path& target, std::string& error) {
    takeOverAttributes(target);
    errno = 0;
    bool ok = std::fflush(file_) == 0;
#if defined(__unix__) || defined(__APPLE__)
    // On the disk before the rename, so that a crash leaves the old file or the new one.
    ok = ok && ::fsync(fileno(file_)) == 0;
#endif
    ok = std::fclose(file_) == 0 && ok;
    file_ = nullptr;
    if (!ok) {
        error = writeError();
        return false;
    }
    std::error_code failure;
    const auto status = std::filesystem::status(target, failure);
#if !defined(__unix__) && !defined(__APPLE__)
    if (!failure && std::filesystem::exists(status))
        std::filesystem::permissions(path_, status.permissions(), failure);
#endif
    if (std::filesystem::is_directory(status)) {
        error = "There is a folder of that name.";
        return false;
    }
    std::filesystem::rename(path_, target, failure);
    committed_ = !failure;
    if (failure)
        error = "The file could not take the place of the old one: " + failure.message() + ".";
    return committed_;
}

std::string TempFile::writeError() {
    return std::string("The file could not be written in full: ") +
           std::strerror(errno != 0 ? errno : EIO) + ".";
}

// The owner and group of the file that is there where the system lets us give them (an
// ordinary user may only choose among their own groups), then its mode, which a change of
// owner may have cut down.
void TempFile::takeOverAttributes(const std::filesystem::path& target) const {
#if defined(__unix__) || defined(__APPLE__)
    struct stat old {};
    if (::stat(target.c_str(), &old) != 0 || !S_ISREG(old.st_mode))
        return;
    const int fd = fileno(file_);
    if (::fchown(fd, old.st_uid, old.st_gid) != 0)
        static_cast<void>(::fchown(fd, static_cast<uid_t>(-1), old.st_gid));
    static_cast<void>(::fchmod(fd, old.st_mode & 07777));
#else
    static_cast<void>(target);
#endif
}

bool mayReplace(const std::filesystem::path& target, std::string& error) {
#if defined(__unix__) || defined(__APPLE__)
    // Not truncated, and without waiting for a reader should it be a pipe.
    const int fd = ::open(target.c_str(), O_WRONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (fd >= 0) {
        ::close(fd);
        return true;
    }
    if (errno == ENOENT || errno == ENOTDIR || errno == EISDIR)
        return true;
    error =
        std::string("The file there cannot be opened for writing: ") + std::strerror(errno) + ".";
    return false;
#else
    // Elsewhere the rename itself refuses to replace a file that is read-only.
    static_cast<void>(target);
    static_cast<void>(error);
    return true;
#endif
}

} // namespace sw

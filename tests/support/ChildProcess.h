#pragma once

#include <grp.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstddef>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <functional>
#include <string>

namespace sw::test {

// How a child process ended, and the text its body returned.
struct ChildResult {
    bool exited = false; // returned from its body; false when a signal (an abort) ended it
    int signal = 0;
    std::string output;
};

// Runs `body` in a child process, a copy of this one, and waits for it. What the body returns
// comes back as the output; the child then ends without this process's exit handlers.
inline ChildResult runInChild(const std::function<std::string()>& body) {
    ChildResult result;
    int channel[2];
    if (::pipe(channel) != 0)
        return result;
    // Output still buffered would be written twice, once by each process.
    std::fflush(nullptr);
    const pid_t pid = ::fork();
    if (pid == 0) {
        ::close(channel[0]);
        // A write to a pipe waits until all of it is taken.
        const std::string output = body();
        static_cast<void>(::write(channel[1], output.data(), output.size()));
        ::_exit(0);
    }
    ::close(channel[1]);
    char buffer[4096];
    for (ssize_t n; (n = ::read(channel[0], buffer, sizeof buffer)) != 0;) {
        if (n > 0)
            result.output.append(buffer, static_cast<std::size_t>(n));
        else if (errno != EINTR)
            break;
    }
    ::close(channel[0]);
    int status = 0;
    if (pid > 0 && ::waitpid(pid, &status, 0) == pid) {
        result.exited = WIFEXITED(status);
        result.signal = WIFSIGNALED(status) ? WTERMSIG(status) : 0;
    }
    return result;
}

// For a child: limits its address space to what it has mapped now plus `headroom` bytes, so
// that larger allocations fail. False when the limit cannot be set.
inline bool limitAddressSpace(std::size_t headroom) {
    std::ifstream statm("/proc/self/statm");
    std::size_t pages = 0;
    rlimit limit{};
    if (!(statm >> pages) || ::getrlimit(RLIMIT_AS, &limit) != 0)
        return false;
    const rlim_t wanted = pages * static_cast<rlim_t>(::sysconf(_SC_PAGESIZE)) + headroom;
    limit.rlim_cur = limit.rlim_max == RLIM_INFINITY ? wanted : std::min(wanted, limit.rlim_max);
    return ::setrlimit(RLIMIT_AS, &limit) == 0;
}

// Why an address-space limit cannot show an allocation failure in this build; null when it can.
#if defined(__SANITIZE_ADDRESS__)
inline constexpr const char* kNoAllocationFailures =
    "AddressSanitizer reserves terabytes of address space and ends the program itself when an "
    "allocation fails";
#else
inline constexpr const char* kNoAllocationFailures = nullptr;
#endif

// For a child run as root: becomes the user "nobody" (and its group), who may write only what
// everybody may. Returns why it could not; empty when it did, or when not running as root.
inline std::string becomeUnprivileged() {
    // The group first: without root's rights it could not be changed any more.
    if (::geteuid() == 0 &&
        (::setgroups(0, nullptr) != 0 || ::setgid(65534) != 0 || ::setuid(65534) != 0))
        return std::string("root cannot become the user nobody here: ") + std::strerror(errno);
    return {};
}

} // namespace sw::test

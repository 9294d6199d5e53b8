#include "support/ChildProcess.h"

#include <grp.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fstream>

namespace sw::test {

namespace {

constexpr uid_t kNobody = 65534;
constexpr gid_t kNogroup = 65534;

} // namespace

ChildResult runInChild(const std::function<std::string()>& body) {
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

bool limitAddressSpace(std::size_t headroom) {
    std::ifstream statm("/proc/self/statm");
    std::size_t pages = 0;
    if (!(statm >> pages))
        return false;
    rlimit limit{};
    if (::getrlimit(RLIMIT_AS, &limit) != 0)
        return false;
    const rlim_t wanted = pages * static_cast<rlim_t>(::sysconf(_SC_PAGESIZE)) + headroom;
    limit.rlim_cur = limit.rlim_max == RLIM_INFINITY ? wanted : std::min(wanted, limit.rlim_max);
    return ::setrlimit(RLIMIT_AS, &limit) == 0;
}

std::string becomeUnprivileged() {
    if (::geteuid() != 0)
        return {};
    // The group first: without root's rights it could not be changed any more.
    if (::setgroups(0, nullptr) != 0 || ::setgid(kNogroup) != 0 || ::setuid(kNobody) != 0)
        return std::string("root cannot become the user nobody here: ") + std::strerror(errno);
    return {};
}

} // namespace sw::test

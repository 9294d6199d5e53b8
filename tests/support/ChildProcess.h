#pragma once

#include <cstddef>
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
ChildResult runInChild(const std::function<std::string()>& body);

// For a child: limits its address space to what it has mapped now plus `headroom` bytes, so
// that larger allocations fail. False when the limit cannot be set.
bool limitAddressSpace(std::size_t headroom);

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
std::string becomeUnprivileged();

} // namespace sw::test

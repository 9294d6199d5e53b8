#include <stdexcept>
#include <string>

namespace sw::test {

std::string replaced(std::string text, const std::string& from, const std::string& to) {
    const auto at = text.find(from);
    if (at == std::string::npos)
        throw std::invalid_argument("text to replace not found: " + from);
    text.replace(at, from.size(), to);
    return text;
}

} // namespace sw::test

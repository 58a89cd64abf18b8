#include "client/windows_path.h"

#include <algorithm>
#include <vector>

namespace huevane::client {

std::string NormalizeWindowsPath(std::string_view path) {
    std::string slashed(path);
    std::replace(slashed.begin(), slashed.end(), '/', '\\');
    if (slashed.size() < 2 || slashed[1] != ':') {
        return slashed;
    }
    std::vector<std::string_view> components;
    std::string_view rest = std::string_view(slashed).substr(2);
    while (!rest.empty()) {
        const std::size_t end = rest.find('\\');
        const std::string_view component = rest.substr(0, end);
        rest.remove_prefix(end == std::string_view::npos ? rest.size() : end + 1);
        if (component == "..") {
            if (!components.empty()) {
                components.pop_back();
            }
        } else if (!component.empty() && component != ".") {
            components.push_back(component);
        }
    }
    std::string normalized = slashed.substr(0, 2);
    for (const std::string_view component : components) {
        normalized += '\\';
        normalized += component;
    }
    return components.empty() ? normalized + '\\' : normalized;
}

}  // namespace huevane::client

#include "network_namespace.h"

#include <filesystem>
#include <fstream>
#include <optional>
#include <string>
#include <system_error>

namespace instsim {
namespace {

std::optional<std::filesystem::path> namespace_of(const std::string& proc_entry) {
    std::error_code error;
    auto link = std::filesystem::read_symlink(proc_entry + "/ns/net", error);
    if (error) return std::nullopt;
    return link;
}

// PID 1's namespace, or, where PID 1 may not be inspected, that of the
// kernel thread daemon: kernel threads never leave the initial namespace.
std::optional<std::filesystem::path> initial_namespace() {
    if (auto ns = namespace_of("/proc/1")) return ns;
    std::string name;
    std::ifstream("/proc/2/comm") >> name;
    if (name != "kthreadd") return std::nullopt;
    return namespace_of("/proc/2");
}

}  // namespace

bool in_initial_network_namespace() {
    const auto own = namespace_of("/proc/self");
    const auto initial = initial_namespace();
    return !own || !initial || *own == *initial;
}

}  // namespace instsim

#include "tools/glimmora-picture/command_registry.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>

namespace glimmora::tool {

namespace {
std::vector<Command>& Registry() {
    static std::vector<Command> commands;  // function-local: safe during static initialisation
    return commands;
}
}  // namespace

const std::vector<Command>& Commands() { return Registry(); }

CommandRegistration::CommandRegistration(const Command& command) { Registry().push_back(command); }

bool ParseInt(const std::string& text, long min, long max, long& value) {
    if (text.empty()) return false;
    errno = 0;
    char* end = nullptr;
    long parsed = std::strtol(text.c_str(), &end, 10);
    if (errno != 0 || *end != '\0' || parsed < min || parsed > max) return false;
    value = parsed;
    return true;
}

int Fail(const std::string& file, const std::string& reason) {
    std::fprintf(stderr, "glimmora-picture: %s: %s\n", file.c_str(), reason.c_str());
    return kExitPictureFailed;
}

}  // namespace glimmora::tool

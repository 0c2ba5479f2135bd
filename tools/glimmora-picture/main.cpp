// glimmora-picture: previews what the handheld viewer and the desktop make of a picture.
#include <algorithm>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "tools/glimmora-picture/command_registry.h"

using glimmora::tool::Command;
using glimmora::tool::Commands;

namespace {

void PrintUsage(std::FILE* out) {
    std::vector<Command> commands = Commands();
    std::sort(commands.begin(), commands.end(),
              [](const Command& a, const Command& b) { return std::strcmp(a.name, b.name) < 0; });
    std::fprintf(out, "usage:\n");
    for (const Command& c : commands) {
        std::fprintf(out, "  glimmora-picture %s %s\n      %s\n", c.name, c.usage, c.summary);
    }
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        PrintUsage(stderr);
        return glimmora::tool::kExitUsage;
    }
    const std::string name = argv[1];
    if (name == "-h" || name == "--help" || name == "help") {
        PrintUsage(stdout);
        return glimmora::tool::kExitOk;
    }
    for (const Command& c : Commands()) {
        if (name == c.name) return c.run(std::vector<std::string>(argv + 2, argv + argc));
    }
    std::fprintf(stderr, "glimmora-picture: unknown command '%s'\n", name.c_str());
    PrintUsage(stderr);
    return glimmora::tool::kExitUsage;
}

// The glimmora-picture tool's commands. Each command lives in a file of its own and
// registers itself, so the tool grows by adding a file.
#pragma once

#include <string>
#include <vector>

namespace glimmora::tool {

// Exit statuses shared by every command.
enum ExitStatus : int {
    kExitOk = 0,
    kExitPictureFailed = 1,  // one line on stderr names the file and the reason
    kExitUsage = 2,
};

struct Command {
    const char* name;
    const char* usage;  // the arguments after the command's name
    const char* summary;
    int (*run)(const std::vector<std::string>& args);  // args exclude the command's name
};

const std::vector<Command>& Commands();

// Used at static initialisation by each command file.
struct CommandRegistration {
    explicit CommandRegistration(const Command& command);
};

// Parses a whole decimal number in [min, max]; false for anything else.
bool ParseInt(const std::string& text, long min, long max, long& value);

// Prints "glimmora-picture: FILE: REASON" on stderr; returns kExitPictureFailed.
int Fail(const std::string& file, const std::string& reason);

}  // namespace glimmora::tool

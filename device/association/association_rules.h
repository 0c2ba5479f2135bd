// The decisions of the .jpg association toggle, free of the registry: which key paths may be
// built, what the take-over writes, whether a command still names this program, which program
// a saved command names, and the platform's own defaults for the give-back.
#pragma once

#include <optional>
#include <string>

#include "device/settings/saved_association.h"

namespace glimmora::device::association {

// Registry names of the association.
inline constexpr wchar_t kJpegExtensionKey[] = L".jpg";
inline constexpr wchar_t kOpenCommandSubkey[] = L"\\Shell\\Open\\Command";
inline constexpr wchar_t kDefaultIconSubkey[] = L"\\DefaultIcon";

// Key paths are built in a buffer of this many UTF-16 characters, terminator included.
inline constexpr std::size_t kKeyPathChars = 272;
// The module path as the platform reports it, at most this many characters.
inline constexpr std::size_t kModulePathChars = 260;

// The class name followed by `subkey`, or nothing when the two with a terminator do not fit
// the key path buffer. An empty class name has no keys of its own.
std::optional<std::wstring> ClassKeyPath(const std::wstring& className, const wchar_t* subkey);

// True when both class key paths can be built: a class for which either one is too long is
// left alone by the check, the take-over and the give-back.
bool ClassNameFits(const std::wstring& className);

// What the take-over writes: "\"<module>\" %1" and "<module>,0".
std::wstring OpenCommandFor(const std::wstring& modulePath);
std::wstring IconFor(const std::wstring& modulePath);

// The association is kept while the open command contains the module path, compared without
// regard to case. An empty module path tells nothing, so the association counts as kept.
bool CommandNamesProgram(const std::wstring& command, const std::wstring& modulePath);

// The program a saved open command names: the command cut at its first blank, then trailing
// and leading blanks and double quotes removed (never the last remaining character). Empty
// when nothing is left before the first blank.
std::wstring ProgramOfCommand(const std::wstring& command);

// Only a program named with a backslash is looked for on disk; a bare name is left to the
// shell's search and restored as saved.
bool ProgramNeedsFileCheck(const std::wstring& program);

struct PlatformDefaults {
    const wchar_t* openCommand;
    const wchar_t* icon;
};

// The platform's own .jpg association by its major version; an unreadable version is taken
// as 3.
PlatformDefaults DefaultsForVersion(std::optional<unsigned long> majorVersion);

// What the settings dialog's OK does to the association.
enum class AssociationAction { None, TakeOver, GiveBack };
AssociationAction ReconcileAssociation(bool requested, bool inForce);

}  // namespace glimmora::device::association

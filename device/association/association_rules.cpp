#include "device/association/association_rules.h"

#include <cwctype>

namespace glimmora::device::association {

namespace {

wchar_t Lower(wchar_t c) { return static_cast<wchar_t>(std::towlower(static_cast<wint_t>(c))); }

std::wstring Lowered(std::wstring text) {
    for (wchar_t& c : text) c = Lower(c);
    return text;
}

bool IsBlankOrQuote(wchar_t c) { return c == L' ' || c == L'"'; }

}  // namespace

std::optional<std::wstring> ClassKeyPath(const std::wstring& className, const wchar_t* subkey) {
    if (className.empty()) return std::nullopt;
    std::wstring path = className + subkey;
    if (path.size() + 1 > kKeyPathChars) return std::nullopt;
    return path;
}

bool ClassNameFits(const std::wstring& className) {
    return ClassKeyPath(className, kOpenCommandSubkey) &&
           ClassKeyPath(className, kDefaultIconSubkey);
}

std::wstring OpenCommandFor(const std::wstring& modulePath) {
    return L"\"" + modulePath + L"\" %1";
}

std::wstring IconFor(const std::wstring& modulePath) { return modulePath + L",0"; }

bool CommandNamesProgram(const std::wstring& command, const std::wstring& modulePath) {
    if (modulePath.empty()) return true;
    return Lowered(command).find(Lowered(modulePath)) != std::wstring::npos;
}

std::wstring ProgramOfCommand(const std::wstring& command) {
    std::wstring program = command.substr(0, command.find(L' '));
    while (program.size() > 1 && IsBlankOrQuote(program.back())) program.pop_back();
    std::size_t first = 0;
    while (program.size() - first > 1 && IsBlankOrQuote(program[first])) ++first;
    return program.substr(first);
}

bool ProgramNeedsFileCheck(const std::wstring& program) {
    return program.find(L'\\') != std::wstring::npos;
}

PlatformDefaults DefaultsForVersion(std::optional<unsigned long> majorVersion) {
    if (majorVersion.value_or(3) >= 4) return {L"pimg.exe \"%1\"", L"pimg.exe,-101"};
    return {L"iexplore.exe file:%1", L"iexplore.exe,-1004"};
}

AssociationAction ReconcileAssociation(bool requested, bool inForce) {
    if (requested && !inForce) return AssociationAction::TakeOver;
    if (!requested && inForce) return AssociationAction::GiveBack;
    return AssociationAction::None;
}

}  // namespace glimmora::device::association

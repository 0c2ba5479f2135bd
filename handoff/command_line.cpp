#include "handoff/command_line.h"

#include <cstdint>

namespace glimmora::handoff {

namespace {

bool IsWhiteSpace(wchar_t c) {
    return c == L' ' || c == L'\t' || c == L'\n' || c == L'\v' || c == L'\f' || c == L'\r';
}

std::wstring_view TrimRight(std::wstring_view text, bool (*drop)(wchar_t)) {
    while (!text.empty() && drop(text.back())) text.remove_suffix(1);
    return text;
}

std::wstring_view TrimLeft(std::wstring_view text, bool (*drop)(wchar_t)) {
    while (!text.empty() && drop(text.front())) text.remove_prefix(1);
    return text;
}

bool IsQuote(wchar_t c) { return c == L'"'; }
bool IsSlash(wchar_t c) { return c == L'/'; }

bool EqualsIgnoringCase(std::wstring_view text, std::wstring_view lowerAscii) {
    if (text.size() != lowerAscii.size()) return false;
    for (std::size_t i = 0; i < text.size(); ++i) {
        wchar_t c = text[i];
        if (c >= L'A' && c <= L'Z') c = static_cast<wchar_t>(c - L'A' + L'a');
        if (c != lowerAscii[i]) return false;
    }
    return true;
}

}  // namespace

int ReadDecimal(std::wstring_view text) {
    text = TrimLeft(text, IsWhiteSpace);
    bool negative = false;
    if (!text.empty() && (text.front() == L'+' || text.front() == L'-')) {
        negative = text.front() == L'-';
        text.remove_prefix(1);
    }
    // Held one past INT32_MAX so that "-2147483648" still reads exactly.
    constexpr std::int64_t kLimit = std::int64_t{INT32_MAX} + 1;
    std::int64_t value = 0;
    for (wchar_t c : text) {
        if (c < L'0' || c > L'9') break;
        value = value * 10 + (c - L'0');
        if (value > kLimit) value = kLimit;
    }
    if (negative) return static_cast<int>(-value);
    return static_cast<int>(value > INT32_MAX ? INT32_MAX : value);
}

ViewerCommandLine ParseViewerCommandLine(std::wstring_view commandLine) {
    ViewerCommandLine result;
    std::wstring_view rest = commandLine;
    for (std::size_t slash = rest.rfind(L'/'); slash != std::wstring_view::npos;
         slash = rest.rfind(L'/')) {
        const std::wstring_view argument = TrimRight(rest.substr(slash), IsWhiteSpace);
        if (EqualsIgnoringCase(argument, L"/del")) {
            result.cmdDelete = true;
        } else {
            result.cmdIntervalSeconds = ReadDecimal(TrimLeft(argument, IsSlash));
        }
        rest = rest.substr(0, slash);
    }
    rest = TrimLeft(rest, IsWhiteSpace);
    rest = TrimLeft(rest, IsQuote);
    rest = TrimRight(rest, IsWhiteSpace);
    rest = TrimRight(rest, IsQuote);
    result.cmdFile.assign(rest);
    return result;
}

}  // namespace glimmora::handoff

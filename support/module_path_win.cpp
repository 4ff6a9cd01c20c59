#include "support/module_path.h"

namespace {

// The longest path Windows handles (UNICODE_STRING counts bytes in 16 bits).
constexpr DWORD kLongestPathChars = 32768;

} // namespace

std::wstring ReadModulePath(HMODULE module) {
    for (DWORD size = MAX_PATH; size <= 2 * kLongestPathChars; size *= 2) {
        std::wstring path(size, L'\0');
        const DWORD length = GetModuleFileNameW(module, &path[0], size);
        if (length == 0)
            return std::wstring();
        // A cut path fills the whole buffer (and has no terminator before
        // Vista); only a shorter answer is the whole path.
        if (length < size) {
            path.resize(length);
            return path;
        }
    }
    return std::wstring();
}

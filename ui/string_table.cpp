#include "ui/string_table.h"

#include "support/language.h"

namespace {

thread_local LANGID t_language = 0;

} // namespace

void SetUiLanguage(LANGID language) {
    SetThreadUILanguage(language);
    t_language = language;
}

LANGID GetUiLanguage() {
    return t_language != 0 ? t_language : GetThreadUILanguage();
}

std::wstring LoadStringForLanguage(UINT id, LANGID language, size_t maxChars) {
    HMODULE module = GetModuleHandleW(nullptr);
    HRSRC block = FindResourceExW(module, RT_STRING, MAKEINTRESOURCEW(id / 16 + 1), language);
    if (block == nullptr)
        return std::wstring();
    HGLOBAL loaded = LoadResource(module, block);
    const auto* data = static_cast<const WCHAR*>(LockResource(loaded));
    const DWORD bytes = SizeofResource(module, block);
    if (data == nullptr)
        return std::wstring();
    // A block is 16 counted strings: a length, then that many characters.
    const WCHAR* end = data + bytes / sizeof(WCHAR);
    const WCHAR* p = data;
    for (UINT index = 0; index < id % 16; ++index) {
        if (p >= end)
            return std::wstring();
        p += 1 + *p;
    }
    if (p >= end)
        return std::wstring();
    size_t length = *p;
    if (p + 1 + length > end)
        return std::wstring();
    if (length > maxChars)
        length = maxChars;
    return std::wstring(p + 1, length);
}

std::wstring LoadUiString(UINT id, size_t maxChars) {
    std::wstring text = LoadStringForLanguage(id, GetUiLanguage(), maxChars);
    if (text.empty())
        text = LoadStringForLanguage(id, LANGUAGES[LANGUAGE_ENGLISH].id, maxChars);
    return text;
}

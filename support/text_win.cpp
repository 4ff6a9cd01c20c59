// Windows conversions through the code-page API.
#include "support/text.h"

#include <windows.h>

std::string WideToGbk(const wchar_t* text)
{
    if (text == nullptr || *text == 0)
        return {};
    const int size = WideCharToMultiByte(936, 0, text, -1, nullptr, 0, nullptr, nullptr);
    if (size <= 1)
        return {};
    std::string out(static_cast<size_t>(size), '\0');
    WideCharToMultiByte(936, 0, text, -1, &out[0], size, nullptr, nullptr);
    out.resize(static_cast<size_t>(size - 1)); // drop the terminating zero
    return out;
}

std::wstring Utf8ToWide(const char* text)
{
    if (text == nullptr || *text == 0)
        return {};
    const int size = MultiByteToWideChar(CP_UTF8, 0, text, -1, nullptr, 0);
    if (size <= 1)
        return {};
    std::wstring out(static_cast<size_t>(size), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, text, -1, &out[0], size);
    out.resize(static_cast<size_t>(size - 1));
    return out;
}

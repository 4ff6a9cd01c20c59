#include "engine/name_rules.h"

#include "support/text.h"

#include <cwchar>
#include <string_view>

namespace {

// Position of the first occurrence of text in name; both texts end at their
// first zero. Not wcsstr: the Windows runtime finds nothing at all in an
// empty text, not even an empty entry.
size_t FindIn(const std::wstring& name, const wchar_t* text) {
    return std::wstring_view(name.c_str()).find(std::wstring_view(text));
}

// The character at pos, or zero at or beyond the end of the name: the end of
// the text is read as its terminating zero and never further.
wchar_t CharAt(const std::wstring& name, size_t pos) {
    return pos < name.size() ? name[pos] : L'\0';
}

bool IsLowEndDigit(wchar_t c) {
    return c >= L'4' && c <= L'7';
}

// The two characters at pos read as a decimal number the way _wtoi reads a
// text: leading white space, an optional sign, digits; no digit gives 0.
int TwoDigitNumber(const std::wstring& name, size_t pos) {
    const wchar_t text[3] = {CharAt(name, pos), CharAt(name, pos) ? CharAt(name, pos + 1) : L'\0',
                             L'\0'};
    return ReadLeadingInt(text);
}

} // namespace

bool NameContains(const std::wstring& name, const std::wstring& entry) {
    return FindIn(name, entry.c_str()) != std::wstring::npos;
}

bool IsCoreI3Name(const std::wstring& name) {
    return NameContains(name, L"I3");
}

bool MatchList(int& verdict, const NameList& list, const std::wstring& name, int value) {
    for (const auto& entry : list) {
        if (NameContains(name, entry)) {
            verdict = value;
            return true;
        }
    }
    return false;
}

bool IsLowEndGeForce(const std::wstring& name) {
    bool lowEnd = false;
    const size_t gtx = FindIn(name, L"GEFORCE GTX");
    if (gtx != std::wstring::npos && IsLowEndDigit(CharAt(name, gtx + 12)))
        lowEnd = true;
    // A "GT " model decides on its own, whatever the GTX test said.
    const size_t gt = FindIn(name, L"GEFORCE GT ");
    if (gt != std::wstring::npos)
        lowEnd = IsLowEndDigit(CharAt(name, gt + 11));
    return lowEnd;
}

bool IsLowEndGamePattern(const std::wstring& name) {
    if (NameContains(name, L"GTX 105") && !NameContains(name, L"TI"))
        return true;
    return NameContains(name, L"GTX") && !NameContains(name, L"10") && NameContains(name, L"M");
}

bool IsWeakIntelGraphics(const std::wstring& name) {
    // The number starts after the family text and its following space.
    struct Family {
        const wchar_t* text;
        bool hasNumber;
        int minimum;
    };
    static const Family families[] = {
        {L"INTEL(R) HD GRAPHICS", true, 64},
        {L"INTEL(R) IRIS(TM) GRAPHICS", true, 54},
        {L"INTEL(R) IRIS(TM) PRO GRAPHICS", false, 0},
        {L"INTEL(R) IRIS(TM) PLUS GRAPHICS", true, 64},
    };
    for (const auto& family : families) {
        const size_t at = FindIn(name, family.text);
        if (at == std::wstring::npos)
            continue;
        if (!family.hasNumber)
            return false;
        const size_t numberAt = at + std::wcslen(family.text) + 1;
        return TwoDigitNumber(name, numberAt) < family.minimum;
    }
    return true; // UHD and every other Intel name
}

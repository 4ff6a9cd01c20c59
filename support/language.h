// The three languages the program speaks, one row each. Every mapping of the
// language index (a code, a Windows language id, a skin folder, a web page
// suffix, a website) reads from this table.
#pragma once

#include <string>

enum LanguageIndex {
    LANGUAGE_CHINESE = 0,
    LANGUAGE_ENGLISH = 1,
    LANGUAGE_JAPANESE = 2,
};

struct Language {
    LanguageIndex index;
    // "cn", "en", "jp": in lang=, the settings file, the service's requests
    // and the web pages' addresses.
    const wchar_t* code;
    // The Windows language id of the string resources and the UI language.
    unsigned short id;
    // The skin folder beside the executable.
    const wchar_t* skinFolder;
    // The maker's website for readers of the language.
    const wchar_t* website;
};

constexpr Language LANGUAGES[] = {
    {LANGUAGE_CHINESE, L"cn", 2052, L"skin_tavolex_cn", L"http://www.tavolex.cn/"},
    {LANGUAGE_ENGLISH, L"en", 1033, L"skin_tavolex_en", L"http://www.tavolex.com/"},
    {LANGUAGE_JAPANESE, L"jp", 1041, L"skin_tavolex_jp", L"http://www.tavolex.co.jp/jp"},
};

static_assert(LANGUAGES[LANGUAGE_CHINESE].index == LANGUAGE_CHINESE &&
                  LANGUAGES[LANGUAGE_ENGLISH].index == LANGUAGE_ENGLISH &&
                  LANGUAGES[LANGUAGE_JAPANESE].index == LANGUAGE_JAPANESE,
              "a language's row is at its index");

// The row of an index; any index but Chinese's and Japanese's is English.
const Language& LanguageForIndex(int index);
// The row of a Windows language id; any other id is English.
const Language& LanguageForId(unsigned short id);
// The row of a code in any ASCII case; any other text is English.
const Language& LanguageForCode(const std::wstring& code);

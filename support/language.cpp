#include "support/language.h"

#include "support/text.h"

namespace {

const Language& English() {
    return LANGUAGES[LANGUAGE_ENGLISH];
}

} // namespace

const Language& LanguageForIndex(int index) {
    for (const Language& language : LANGUAGES)
        if (language.index == index)
            return language;
    return English();
}

const Language& LanguageForId(unsigned short id) {
    for (const Language& language : LANGUAGES)
        if (language.id == id)
            return language;
    return English();
}

const Language& LanguageForCode(const std::wstring& code) {
    for (const Language& language : LANGUAGES)
        if (AsciiEqualNoCase(code, language.code))
            return language;
    return English();
}

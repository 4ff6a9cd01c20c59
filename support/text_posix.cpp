// Native (Linux) conversions, used only by the portable test build. wchar_t is
// 32 bits here, so wide texts hold code points rather than UTF-16 units.
#include "support/text.h"

#include <cerrno>
#include <cstring>
#include <iconv.h>

std::string WideToGbk(const wchar_t* text)
{
    if (text == nullptr || *text == 0)
        return {};
    iconv_t cd = iconv_open("CP936", "WCHAR_T");
    if (cd == reinterpret_cast<iconv_t>(-1))
        return {};
    std::wstring in(text);
    char* src = reinterpret_cast<char*>(&in[0]);
    size_t srcLeft = in.size() * sizeof(wchar_t);
    std::string out(in.size() * 2 + 4, '\0');
    char* dst = &out[0];
    size_t dstLeft = out.size();
    while (srcLeft > 0) {
        if (iconv(cd, &src, &srcLeft, &dst, &dstLeft) != static_cast<size_t>(-1))
            break;
        if (errno != EILSEQ && errno != EINVAL)
            break;
        // Unmappable character: WideCharToMultiByte writes the default '?'.
        src += sizeof(wchar_t);
        srcLeft -= sizeof(wchar_t);
        if (dstLeft == 0)
            break;
        *dst++ = '?';
        --dstLeft;
    }
    iconv_close(cd);
    out.resize(out.size() - dstLeft);
    return out;
}

std::wstring Utf8ToWide(const char* text)
{
    std::wstring out;
    if (text == nullptr)
        return out;
    const auto* p = reinterpret_cast<const unsigned char*>(text);
    const wchar_t bad = 0xFFFD;
    while (*p) {
        unsigned c = *p;
        int extra = 0;
        unsigned cp = 0;
        if (c < 0x80) {
            out.push_back(static_cast<wchar_t>(c));
            ++p;
            continue;
        } else if ((c & 0xE0) == 0xC0) {
            extra = 1;
            cp = c & 0x1F;
        } else if ((c & 0xF0) == 0xE0) {
            extra = 2;
            cp = c & 0x0F;
        } else if ((c & 0xF8) == 0xF0) {
            extra = 3;
            cp = c & 0x07;
        } else {
            out.push_back(bad);
            ++p;
            continue;
        }
        int i = 1;
        for (; i <= extra; ++i) {
            if ((p[i] & 0xC0) != 0x80)
                break;
            cp = (cp << 6) | (p[i] & 0x3F);
        }
        const unsigned minimum[] = {0, 0x80, 0x800, 0x10000};
        if (i <= extra || cp < minimum[extra] || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) {
            out.push_back(bad);
            p += i; // skip the lead byte and the continuation bytes consumed
            continue;
        }
        out.push_back(static_cast<wchar_t>(cp));
        p += i;
    }
    return out;
}

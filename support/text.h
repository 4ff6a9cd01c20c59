// Text helpers shared by every subsystem. They are portable: the Windows build
// uses the Win32 conversions, the native build an equivalent with the same
// results for the texts this program handles.
#pragma once

#include <string>
#include <vector>

// Upper-cases the ASCII letters a..z only. Matching must not depend on the
// user's locale, so non-ASCII letters (including the Turkish dotless i, or
// full-width Latin) are left exactly as they are.
std::wstring AsciiUpper(std::wstring text);
std::string AsciiUpper(std::string text);

// Case-insensitive comparison over ASCII letters only.
bool AsciiEqualNoCase(const std::wstring& a, const std::wstring& b);

// Reads a decimal integer the way strtol does: leading white space, an
// optional sign, then digits up to the first non-digit; no digits give 0.
// A value outside the signed 32-bit range is clamped to INT_MIN / INT_MAX
// rather than wrapping, which would be undefined behaviour.
int ReadLeadingInt(const wchar_t* text);
int ReadLeadingInt(const char* text);

// Converts a zero-terminated wide text into code page 936 (GBK) bytes.
std::string WideToGbk(const wchar_t* text);

// Converts wide text to UTF-8. UTF-16 surrogate pairs (Windows) and 32-bit
// code points (native build) both encode; a lone surrogate becomes U+FFFD.
std::string WideToUtf8(const std::wstring& text);

// Converts zero-terminated UTF-8 into wide text. Invalid sequences become
// U+FFFD, as MultiByteToWideChar does without MB_ERR_INVALID_CHARS.
std::wstring Utf8ToWide(const char* text);

// Appends the pieces of text between separators to pieces. A trailing
// separator gives no empty last piece; adjacent separators give an empty one.
void SplitString(const std::wstring& text, std::vector<std::wstring>& pieces,
                 const std::wstring& separator);

// A fresh folder under the temporary folder for one Windows test, removed with
// everything in it when the test ends.
#pragma once

#include <windows.h>

#include <map>
#include <string>
#include <vector>

class TempDir {
public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    const std::wstring& path() const { return m_path; }
    std::wstring File(const std::wstring& name) const { return m_path + L"\\" + name; }

    // Writes raw bytes to a file in this folder; returns its full path.
    std::wstring Write(const std::wstring& name, const std::string& bytes) const;

private:
    std::wstring m_path;
};

// UTF-16 LE with a BOM, the form the profile API reads as Unicode.
std::string Utf16File(const std::wstring& text);

// The names in a folder, without "." and "..", in the order Windows lists them.
std::vector<std::wstring> NamesIn(const std::wstring& folder);

// Removes a folder with everything in it; nothing when it does not exist.
void DeleteFolderTree(const std::wstring& folder);

// Everything below a folder: relative names of files with their bytes, and of
// folders with "<folder>". For checking that a folder was left untouched.
std::map<std::wstring, std::string> TreeOf(const std::wstring& folder);

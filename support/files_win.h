// Reading whole files (Windows).
#pragma once

#include <windows.h>

#include <string>

// Reads an open file from its current position to its end. False when it is
// larger than maxBytes or a read fails; a file that shrinks while being read
// gives what it still had.
bool ReadOpenFile(HANDLE file, std::string& bytes, unsigned long long maxBytes);

// Opens the file for reading, shared for reading only (a half-written file is
// not read), and reads it whole. False when it cannot be opened or read, or
// is larger than maxBytes.
bool ReadWholeFile(const std::wstring& path, std::string& bytes, unsigned long long maxBytes);

// Which drive a registered path lies on, read from the text alone: the part
// of the decision "may this path be looked at?" that needs no Windows.
#pragma once

#include <optional>
#include <string>

// The root ("C:\") of the drive that a path names by its letter: "C:\...",
// "C:/..." (Steam writes forward slashes) and the long form "\\?\C:\...".
// Nothing for every other path: UNC ("\\server\share", "//server/share",
// "\\?\UNC\..."), WebDAV ("\\host@SSL\DavWWWRoot\..."), device paths
// ("\\.\..."), and paths relative to the current folder or drive, which may
// themselves lie on a network share.
std::optional<std::wstring> DriveLetterRoot(const std::wstring& path);

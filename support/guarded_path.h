// Files this program keeps below a trusted folder, and the rules that decide
// whether an elevated process may touch them. Portable: the Windows edge
// (folder_chain_win.cpp) gathers the facts, these functions judge them.
#pragma once

#include <string>
#include <vector>

// A file named by a trusted folder (the machine-wide application data), the
// folders below it and the file's own name: C:\ProgramData + ORMEX, Logs +
// Tavolex.log. Every folder from the root down is checked, the root too.
struct GuardedPath {
    std::wstring root;
    std::vector<std::wstring> folders;
    std::wstring file;

    // The folder after `depth` components below the root (0: the root).
    std::wstring FolderAt(size_t depth) const;
    std::wstring Folder() const { return FolderAt(folders.size()); }
    // A name in the last folder; Full() is the file's own.
    std::wstring InFolder(const std::wstring& name) const;
    std::wstring Full() const { return InFolder(file); }
};

// Splits `path` into folders and file name below `root` (compared ignoring
// ASCII case, "\" and "/" alike). False when the path does not lie strictly
// below the root, or when a component is empty, "." or "..": such a path
// could name something other than what it spells.
bool GuardedPathUnder(const std::wstring& root, const std::wstring& path, GuardedPath& out);

// Splits a full path into its volume's root folder ("C:" for "C:\...",
// "\\server\share" for a UNC path, either also in the "\\?\" form) and every
// folder from there down. False for any other form (a device path such as
// "\\.\...", a relative one) and wherever GuardedPathUnder would refuse the
// rest.
bool GuardedPathFromVolumeRoot(const std::wstring& path, GuardedPath& out);

// What the program found out about one folder or file through a handle to it.
struct ObjectFacts {
    bool opened = false;        // a handle could be opened
    bool directory = false;     // it is a folder
    bool reparsePoint = false;  // a junction or symbolic link (by handle or by name)
    unsigned long links = 0;    // hard links to it
    bool whereExpected = false; // the handle's final path is the path asked for
};

// A folder of the chain: a real folder, where it should be, no link.
bool FolderMayBeUsed(const ObjectFacts& facts);

// The file written, or read in place of the download: a plain file with one
// name only, where it should be. A second hard link would let the write land
// in a file somebody else chose.
bool FileMayBeUsed(const ObjectFacts& facts);

// True when the final path Windows reports for a handle (GetFinalPathNameBy-
// HandleW: "\\?\C:\..." or "\\?\UNC\server\...") names the same path as
// `expected`. Trailing separators and ASCII case do not count; any other
// difference does, so an 8.3 name or a path through a link never matches.
bool SameFinalPath(const std::wstring& expected, const std::wstring& final);

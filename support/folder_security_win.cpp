#include "support/folder_security.h"

#include <sddl.h>

#include <cstdio>

namespace {

// What Users may do to the folders themselves: add files, but no folders
// (one planted under a file's name would keep every run from using that
// file), no DELETE (delete, rename), no FILE_DELETE_CHILD, no WRITE_DAC /
// WRITE_OWNER, no attribute writes. The run that creates a folder makes its
// children through the handle it created it with, which keeps the access it
// asked for whatever the new list says.
constexpr DWORD kUsersOnFolders = FILE_LIST_DIRECTORY | FILE_ADD_FILE | FILE_READ_EA |
                                  FILE_TRAVERSE | FILE_READ_ATTRIBUTES | READ_CONTROL | SYNCHRONIZE;
// What Users may do to the files inside: read, write, and delete (replacing
// the configuration by a rename needs it).
constexpr DWORD kUsersOnFiles = FILE_GENERIC_READ | FILE_GENERIC_WRITE | DELETE;

struct Ace {
    const wchar_t* flags; // inheritance: OI objects, CI containers, IO inherit only
    DWORD rights;
    const wchar_t* sid;
};

// The one table of the folders' rights (see folder_security.h).
const Ace kAces[] = {
    {L"OICI", FILE_ALL_ACCESS, L"SY"},   {L"OICI", FILE_ALL_ACCESS, L"BA"},
    {L"CI", kUsersOnFolders, L"BU"},     {L"OIIO", kUsersOnFiles, L"BU"},
    {L"OICI", READ_CONTROL, L"S-1-3-4"}, // OWNER RIGHTS
};

} // namespace

std::wstring ProgramFolderSddl() {
    std::wstring sddl = L"D:P"; // P: protected, nothing inherited from the parent
    for (const Ace& ace : kAces) {
        wchar_t rights[16];
        swprintf(rights, 16, L"0x%lx", static_cast<unsigned long>(ace.rights));
        sddl += std::wstring(L"(A;") + ace.flags + L";" + rights + L";;;" + ace.sid + L")";
    }
    return sddl;
}

ProgramFolderSecurity::ProgramFolderSecurity() {
    PSECURITY_DESCRIPTOR descriptor = nullptr;
    if (!ConvertStringSecurityDescriptorToSecurityDescriptorW(
            ProgramFolderSddl().c_str(), SDDL_REVISION_1, &descriptor, nullptr))
        return;
    m_descriptor.reset(descriptor);
    m_attributes.nLength = sizeof m_attributes;
    m_attributes.lpSecurityDescriptor = descriptor;
    m_attributes.bInheritHandle = FALSE;
}

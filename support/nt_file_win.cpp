#include "support/nt_file_win.h"

#include "support/long_path.h"

#include <winternl.h>

#include <cstring>
#include <vector>

namespace {

// NtQueryDirectoryFile's FileDirectoryInformation entry, which winternl.h
// does not declare.
struct DirectoryEntry {
    ULONG NextEntryOffset;
    ULONG FileIndex;
    LARGE_INTEGER CreationTime;
    LARGE_INTEGER LastAccessTime;
    LARGE_INTEGER LastWriteTime;
    LARGE_INTEGER ChangeTime;
    LARGE_INTEGER EndOfFile;
    LARGE_INTEGER AllocationSize;
    ULONG FileAttributes;
    ULONG FileNameLength;
    WCHAR FileName[1];
};
constexpr ULONG kFileDirectoryInformation = 1;
constexpr NTSTATUS kStatusSuccess = 0;

using NtCreateFileFn = NTSTATUS(NTAPI*)(PHANDLE, ACCESS_MASK, POBJECT_ATTRIBUTES, PIO_STATUS_BLOCK,
                                        PLARGE_INTEGER, ULONG, ULONG, ULONG, ULONG, PVOID, ULONG);
using NtQueryDirectoryFileFn = NTSTATUS(NTAPI*)(HANDLE, HANDLE, PVOID, PVOID, PIO_STATUS_BLOCK,
                                                PVOID, ULONG, ULONG, BOOLEAN, PUNICODE_STRING,
                                                BOOLEAN);
using NtSetInformationFileFn = NTSTATUS(NTAPI*)(HANDLE, PIO_STATUS_BLOCK, PVOID, ULONG, ULONG);
using RtlNtStatusToDosErrorFn = ULONG(NTAPI*)(NTSTATUS);
constexpr ULONG kFileRenameInformation = 10;

// ntdll is in every process before the exe's first instruction and is never
// looked for on a search path, so asking it for its functions is safe.
template <typename Fn> Fn NtdllFunction(const char* name) {
    const HMODULE ntdll = GetModuleHandleW(L"ntdll.dll");
    return ntdll ? reinterpret_cast<Fn>(reinterpret_cast<void*>(GetProcAddress(ntdll, name)))
                 : nullptr;
}

constexpr NTSTATUS kStatusNameCollision = static_cast<NTSTATUS>(0xC0000035);

void SetErrorFrom(NTSTATUS status) {
    // CreateFileW's own word for a name that exists, which callers test for.
    if (status == kStatusNameCollision) {
        SetLastError(ERROR_FILE_EXISTS);
        return;
    }
    static const auto convert = NtdllFunction<RtlNtStatusToDosErrorFn>("RtlNtStatusToDosError");
    SetLastError(convert ? convert(status) : ERROR_GEN_FAILURE);
}

bool IsBareName(const std::wstring& name) {
    return name.find_first_of(L"\\/") == std::wstring::npos && name != L"." && name != L"..";
}

SECURITY_QUALITY_OF_SERVICE IdentificationOnly() {
    SECURITY_QUALITY_OF_SERVICE qos = {};
    qos.Length = sizeof qos;
    qos.ImpersonationLevel = SecurityIdentification;
    qos.ContextTrackingMode = SECURITY_STATIC_TRACKING;
    qos.EffectiveOnly = TRUE;
    return qos;
}

} // namespace

HandleOwner NtOpenIn(const NtOpenRequest& request) {
    static const auto create = NtdllFunction<NtCreateFileFn>("NtCreateFile");
    if (create == nullptr || request.folder == nullptr || !IsBareName(request.name)) {
        SetLastError(create == nullptr ? ERROR_PROC_NOT_FOUND : ERROR_INVALID_NAME);
        return HandleOwner();
    }
    UNICODE_STRING name = {};
    name.Buffer = const_cast<PWSTR>(request.name.c_str());
    name.Length = static_cast<USHORT>(request.name.size() * sizeof(wchar_t));
    name.MaximumLength = name.Length;
    SECURITY_QUALITY_OF_SERVICE qos = IdentificationOnly();
    OBJECT_ATTRIBUTES attributes = {};
    attributes.Length = sizeof attributes;
    attributes.RootDirectory = request.folder;
    attributes.ObjectName = &name;
    attributes.Attributes = OBJ_CASE_INSENSITIVE;
    attributes.SecurityDescriptor = request.security;
    attributes.SecurityQualityOfService = &qos;
    const bool folder = request.kind == NtKind::Folder;
    const ULONG options = FILE_OPEN_REPARSE_POINT | FILE_SYNCHRONOUS_IO_NONALERT |
                          (folder ? FILE_DIRECTORY_FILE : FILE_NON_DIRECTORY_FILE);
    const ULONG disposition =
        request.disposition == NtDisposition::CreateNew ? FILE_CREATE : FILE_OPEN;
    HANDLE handle = nullptr;
    IO_STATUS_BLOCK io = {};
    const NTSTATUS status =
        create(&handle, request.access | SYNCHRONIZE, &attributes, &io, nullptr,
               FILE_ATTRIBUTE_NORMAL, request.share, disposition, options, nullptr, 0);
    if (status != kStatusSuccess) {
        SetErrorFrom(status);
        return HandleOwner();
    }
    return HandleOwner(handle);
}

HandleOwner CreateFileNoImpersonation(const std::wstring& path, DWORD access, DWORD share,
                                      DWORD disposition, DWORD flags) {
    return HandleOwner(
        CreateFileW(ExtendedLengthPath(path).c_str(), access, share, nullptr, disposition,
                    flags | SECURITY_SQOS_PRESENT | SECURITY_IDENTIFICATION, nullptr));
}

DWORD EntryAttributes(HANDLE folder, const std::wstring& name) {
    static const auto query = NtdllFunction<NtQueryDirectoryFileFn>("NtQueryDirectoryFile");
    if (query == nullptr || name.empty())
        return INVALID_FILE_ATTRIBUTES;
    // A listing handle of its own: a folder handle remembers the first name
    // it was listed for, so the chain's own handle could answer for another.
    NtOpenRequest reopen;
    reopen.folder = folder;
    reopen.access = FILE_LIST_DIRECTORY;
    reopen.share = kShareAll;
    reopen.kind = NtKind::Folder;
    const HandleOwner listing = NtOpenIn(reopen);
    if (!listing)
        return INVALID_FILE_ATTRIBUTES;
    UNICODE_STRING mask = {};
    mask.Buffer = const_cast<PWSTR>(name.c_str());
    mask.Length = static_cast<USHORT>(name.size() * sizeof(wchar_t));
    mask.MaximumLength = mask.Length;
    std::vector<BYTE> buffer(sizeof(DirectoryEntry) + 2 * kClassicPathChars * sizeof(wchar_t));
    IO_STATUS_BLOCK io = {};
    if (query(listing.get(), nullptr, nullptr, nullptr, &io, buffer.data(),
              static_cast<ULONG>(buffer.size()), kFileDirectoryInformation, TRUE, &mask,
              TRUE) != kStatusSuccess)
        return INVALID_FILE_ATTRIBUTES;
    const auto* entry = reinterpret_cast<const DirectoryEntry*>(buffer.data());
    // The mask is a name without wildcards, but a short (8.3) name matches
    // too: only the entry of exactly this name counts.
    const std::wstring found(entry->FileName, entry->FileNameLength / sizeof(wchar_t));
    return CompareStringOrdinal(found.c_str(), -1, name.c_str(), -1, TRUE) == CSTR_EQUAL
               ? entry->FileAttributes
               : INVALID_FILE_ATTRIBUTES;
}

bool SetDeleteOnClose(HANDLE file, bool remove) {
    FILE_DISPOSITION_INFO disposition = {};
    disposition.DeleteFile = remove ? TRUE : FALSE;
    return SetFileInformationByHandle(file, FileDispositionInfo, &disposition,
                                      sizeof disposition) != FALSE;
}

DWORD RenameInto(HANDLE file, HANDLE folder, const std::wstring& name) {
    // Straight to NtSetInformationFile: SetFileInformationByHandle may turn
    // the bare name into a full path of the current directory (Wine does),
    // which would throw the folder handle away.
    static const auto set = NtdllFunction<NtSetInformationFileFn>("NtSetInformationFile");
    if (set == nullptr)
        return ERROR_PROC_NOT_FOUND;
    if (!IsBareName(name) || name.empty())
        return ERROR_INVALID_NAME;
    const size_t nameBytes = name.size() * sizeof(wchar_t);
    // FILE_RENAME_INFORMATION has FILE_RENAME_INFO's layout.
    std::vector<BYTE> buffer(sizeof(FILE_RENAME_INFO) + nameBytes);
    auto* rename = reinterpret_cast<FILE_RENAME_INFO*>(buffer.data());
    rename->ReplaceIfExists = TRUE;
    rename->RootDirectory = folder;
    rename->FileNameLength = static_cast<DWORD>(nameBytes);
    std::memcpy(rename->FileName, name.data(), nameBytes); // the buffer ends in a zero
    IO_STATUS_BLOCK io = {};
    const NTSTATUS status =
        set(file, &io, rename, static_cast<ULONG>(buffer.size()), kFileRenameInformation);
    if (status != kStatusSuccess) {
        SetErrorFrom(status);
        return GetLastError();
    }
    return ERROR_SUCCESS;
}

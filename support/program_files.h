// Every file this program reads or writes, in the words of what it wants
// (Windows). Callers say "append to the log", "store this configuration",
// "read this configuration file", "write the report here"; how is decided
// here once, for every run, elevated or not.
//
// The program's own files live below the machine-wide application data,
// which every user of the machine shares, so anyone may have planted a link
// there, and an elevated run (an installer's) would otherwise write through
// it with an administrator's rights. So every folder from the application
// data down is opened and checked through handles, created only inside its
// checked parent, and every file is opened, created and renamed only inside
// its held folder (folder_chain.h). A check that fails means that one file
// is not used: no log, no stored download, the next configuration in the
// fallback order.
#pragma once

#include "support/config_size.h"

#include <windows.h>

#include <cstdio>
#include <string>

// The log, ProgramData\ORMEX\Logs\Tavolex.log, with its folders made when
// missing, as a text stream appending to it, shared so that other programs
// may read and write the file meanwhile. Null when it cannot be opened or a
// check fails.
FILE* OpenLogForAppend();

// The path of the stored configuration,
// ProgramData\ORMEX\updates\tavolex\checkerconfig.json, with its folders made
// when missing. Empty when Windows names no application-data folder: a path
// relative to whatever drive is current would scatter files there.
std::wstring PrepareConfigurationPath();

// Replaces the stored configuration at path with these bytes in one step.
// ERROR_SUCCESS, or why not (ERROR_CANT_ACCESS_FILE: a check failed).
DWORD StoreConfiguration(const std::wstring& path, const std::string& bytes);

// Reads the stored configuration whole, opened exclusively: a download still
// being written is not read. False when it is missing, held open, over
// kMaxConfigurationBytes, or a check fails.
bool ReadStoredConfiguration(const std::wstring& path, std::string& bytes);

// Reads a configuration file shipped beside the program (a fallback), shared
// with any program that holds it open, an editor's writes included. False
// when it is missing, unreadable or over kMaxConfigurationBytes.
bool ReadConfigurationFile(const std::wstring& path, std::string& bytes);

// Whether a fallback location exists (a file or a folder).
bool ConfigurationLocationExists(const std::wstring& path);

// The temporary folder with its trailing backslash, or empty when Windows
// gives none that is a full path within the classic limit (a failure would
// otherwise turn a fallback into a path on the current drive's root).
std::wstring TemporaryFolder();

// Writes the report to path in one step (a link at the path itself is
// replaced, never written through). An elevated run checks every folder from
// the volume root down like the program's own and writes nothing when one
// fails (ERROR_CANT_ACCESS_FILE); a run that is not elevated writes wherever
// the user's own rights allow. ERROR_SUCCESS or the Win32 error.
DWORD WriteReport(const std::wstring& path, const std::string& bytes);

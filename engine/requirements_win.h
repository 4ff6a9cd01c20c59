// Where the requirements configuration is read from (Windows).
#pragma once

#include <string>

// The downloaded file when it is present, readable and parses as JSON; else
// "config\checkerconfig.json" beside the executable when that folder exists,
// else the one in the parent folder's "Tavolex\config"; and when the chosen
// one of those two does not exist, the temporary folder's
// "ORMEX\Tavolex\config\checkerconfig.json", whether it exists or not.
// exePath is the executable's full path; tempFolder ends in a backslash, as
// GetTempPathW gives it.
std::wstring ChooseRequirementsFile(const std::wstring& configPath, const std::wstring& exePath,
                                    const std::wstring& tempFolder);

// Appends the lists of the file at path to the report, writing the log line
// for a file that cannot be opened, does not parse, or whose root is not an
// object. This is CCheckReport::LoadRequirements after the file choice.
class CCheckReport;
void LoadRequirementsFrom(CCheckReport& report, const std::wstring& path);

// CCheckReport::LoadRequirements: the file choice, then the lists of the file
// chosen.
void LoadRequirementsInto(CCheckReport& report);

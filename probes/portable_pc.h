// Portable-PC detection: a present ACPI AC-adapter device (ACPI0003) is what
// battery-powered machines expose.
#pragma once

// True when a present device's first hardware identifier names the AC
// adapter. Logs nothing; any failure answers false.
bool IsPortablePc();

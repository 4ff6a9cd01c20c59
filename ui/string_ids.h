// Ids of the string table (ui/strings.rc), shared by the resource script and
// the code. Plain macros: the resource compiler reads them too.
#pragma once

#define IDS_MAKER 103                 // "Tavolex"
#define IDS_LABEL_MEMORY 104          // "Memory: "
#define IDS_LABEL_CPU 105             // "CPU: "
#define IDS_LABEL_SYSTEM 106          // "System: "
#define IDS_LABEL_GPU1 107            // "Display Card: "
#define IDS_LABEL_GPU2 108            // "Display Card 2: "
#define IDS_MAKER_CAPITALS 109        // "TAVOLEX"
#define IDS_UNIT_BIT 110              // "Bit", after the system's word size
#define IDS_STEAMVR_INSTALLED 111     // "Installed"
#define IDS_STEAMVR_NOT_INSTALLED 112 // "Not Installed"
#define IDS_OS_SUPPORTED 113          // "N5 HMD can run in the current system"
#define IDS_OS_UNSUPPORTED 114        // "N5 HMD cannot run in the current system"
#define IDS_LABEL_DRIVER 115          // "Display Driver: "
#define IDS_DRIVER_NEEDS_UPGRADE 116  // "(Needs Upgrade)"
#define IDS_RESULT_TITLE 117          // "Testing Result"
#define IDS_LABEL_STEAMVR 118         // "SteamVR: "
#define IDS_START_TITLE 119           // "ORMEX Assistant(Compatibility checking tool)"

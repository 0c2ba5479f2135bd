// The scripted stand-in for the remote API that the session tests load instead of rapi.dll:
// how a test tells it what the handheld does, and reads back every call it received. Plain C
// types only, since the DLL and the test program each have their own C++ runtime.
#pragma once

#include <windows.h>

namespace glimmora::fake_rapi {

// How a connection attempt goes.
enum ConnectBehaviour : int {
    kConnectSucceeds = 0,
    kConnectFails = 1,         // the record's event is signalled with a failure
    kConnectNeverAnswers = 2,  // the event is signalled only when CeRapiUninit gives up on it
    kConnectCallFails = 3,     // CeRapiInitEx itself returns a failure
};

enum WriteBehaviour : int {
    kWriteSucceeds = 0,
    kWriteCallFails = 1,    // CeWriteFile returns FALSE and writes nothing
    kWriteReportsZero = 2,  // TRUE, 0 bytes written, nothing written
    kWriteShort = 3,        // TRUE, half of the bytes written
};

struct Script {
    // The handheld's storage: a host folder (no trailing backslash); device path \X\y.jpg
    // is root\X\y.jpg. Folders named by the paths below are made there by Reset.
    wchar_t root[MAX_PATH];
    int connect;             // ConnectBehaviour after the first failingConnections
    int failingConnections;  // this many first connections fail (kConnectFails) first
    int stopAtConnection;    // from this connection on (1-based) the viewer reports a stop
                             // (RAPI_StopSlideshow = 1 when the application key exists); 0 never
    // The handheld's registry: HKLM and HKCU "Software\Kestrova\Glimmora".
    BOOL hasMachineKey;
    BOOL hasInstalledDir;
    wchar_t installedDir[MAX_PATH];
    BOOL hasUserKey;
    BOOL hasStopValue;
    DWORD stopValue;
    // Special folders: empty means the call fails.
    wchar_t personalFolder[MAX_PATH];
    wchar_t tempFolder[MAX_PATH];
    int screenWidth;
    int screenHeight;
    BOOL failCreateFile;
    int write;          // WriteBehaviour
    int writeFailures;  // only this many first writes behave as `write`; 0: all of them
    BOOL failCreateProcess;
    BOOL record;  // keep the call log (a long benchmark turns it off)
};

// A script for a docked handheld with the viewer installed in \Program Files\Glimmora,
// personal folder \My Documents, temp \Temp\, screen 240 x 320.
inline Script DefaultScript(const wchar_t* root) {
    Script s{};
    lstrcpynW(s.root, root, MAX_PATH);
    s.connect = kConnectSucceeds;
    s.hasMachineKey = TRUE;
    s.hasInstalledDir = TRUE;
    lstrcpynW(s.installedDir, L"\\Program Files\\Glimmora", MAX_PATH);
    s.hasUserKey = TRUE;
    lstrcpynW(s.personalFolder, L"\\My Documents", MAX_PATH);
    lstrcpynW(s.tempFolder, L"\\Temp\\", MAX_PATH);
    s.screenWidth = 240;
    s.screenHeight = 320;
    s.record = TRUE;
    return s;
}

// Exported by the fake, looked up with GetProcAddress.
// Replaces the whole state (registry, log, connection count) by the script's.
using PfnReset = void (*)(const Script* script);
// Copies the call log (one call a line: "<tick ms> <name>|<arg>|<arg>...") into buffer and
// gives the number of units it needs, terminator included.
using PfnLog = DWORD (*)(wchar_t* buffer, DWORD units);
// A REG_DWORD value of the application key (root 0 HKLM, 1 HKCU); FALSE when missing.
using PfnQueryDword = BOOL (*)(int root, const wchar_t* name, DWORD* value);
// The viewer's stop, as the handheld's user would give it, effective at once.
using PfnSetStop = void (*)(DWORD value);
// Connection attempts so far.
using PfnConnections = int (*)();

}  // namespace glimmora::fake_rapi

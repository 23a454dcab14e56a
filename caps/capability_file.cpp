#include "capability_file.h"

#include <windows.h>

#include <cstdio>

#include "source/source_context.h"

void MakeCapabilityFilePath()
{
    char windowsDirectory[MAX_PATH + 1] = "";
    GetWindowsDirectoryA(windowsDirectory, sizeof windowsDirectory);
    snprintf(g_source.capabilityFilePath, sizeof g_source.capabilityFilePath, "%s\\%s.src",
             windowsDirectory, g_source.baseName);
}

void RestoreXferMechAllowed()
{
    MakeCapabilityFilePath();
    char powerOn[80] = "";
    GetPrivateProfileStringA("ICAP_XFERMECH", "PowerON", "", powerOn, sizeof powerOn,
                             g_source.capabilityFilePath);
    WritePrivateProfileStringA("ICAP_XFERMECH", "Allowed", powerOn, g_source.capabilityFilePath);
}

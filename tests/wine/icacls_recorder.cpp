// Stands in for icacls.exe in the installer's tests: appends its command line
// to icacls.log in the temporary folder and ends with the exit code that the
// environment variable ICACLS_EXIT_CODE gives (0 when it is not set), saying
// why when that is a failure, as icacls does.
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <string>

int main()
{
    char folder[MAX_PATH] = "";
    GetTempPathA(sizeof folder, folder);
    if (FILE* log = fopen((std::string(folder) + "icacls.log").c_str(), "ab")) {
        fprintf(log, "%s\n", GetCommandLineA());
        fclose(log);
    }
    char code[16] = "0";
    GetEnvironmentVariableA("ICACLS_EXIT_CODE", code, sizeof code);
    const int exitCode = atoi(code);
    if (exitCode != 0) {
        printf("Access is denied.\n");
    }
    return exitCode;
}

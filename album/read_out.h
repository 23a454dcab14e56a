// The album window's commands that read objects out of the camera: the
// download of the selected stills into numbered transfer files for the
// application, and the saving of selected objects to a file of the user's
// choice. Both count the read-out's progress on the window's progress bar
// and show their own messages.
#pragma once

#include <windows.h>

#include <cstdint>
#include <vector>

// Starts a new progress count: the next read block sets the bar's range.
// The window calls it before each command that may read objects.
void ResetBlockCounter(HWND window);

// The bytes the coming read-outs count on the window's progress bar.
void SetReadOutTotal(HWND window, uint32_t byteTotal);

// Reads still `index` of the records just read (mode 0) into its transfer
// file in the source's directory. False when the library fails or no
// transfer file prefix could be formed.
bool ReadStillForTransfer(unsigned long index, std::vector<unsigned char>& records);

// Reads the selected stills out of the camera as transfer files and queues
// them for the application. True when the queue holds them; the window then
// announces them.
bool DownloadSelection(HWND window);

// Asks for a file name and writes every selected object through it
// unchanged. True when all were written.
bool SaveSelection(HWND window);

// Shows the save-file dialog with the name in the buffer as the proposal;
// on confirmation the chosen name replaces it (cut to the buffer's length).
bool AskSaveFileName(HWND owner, char* name, int length);

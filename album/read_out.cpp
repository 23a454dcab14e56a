#include "album/read_out.h"

#include <commctrl.h>
#include <commdlg.h>

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <vector>

#include "album/album_list.h"
#include "album/button_groups.h"
#include "album/camera_library.h"
#include "album/progress_steps.h"
#include "album/read_out_plan.h"
#include "resources/resource_ids.h"
#include "source/messages.h"
#include "source/transfer_queue.h"
#include "source/transfers.h"

namespace {

// The read-out in progress: the window whose bar shows it, the bytes about
// to be read and the progress calls counted since the last reset.
struct ReadOutProgress {
    HWND window;
    uint32_t byteTotal;
    unsigned long blockCounter;
};

ReadOutProgress g_readOut = {};

const char kNotification[] = "Notification";
const char kError[] = "Error";
const char kDefaultSaveName[] = "C:\\My Documents\\DSC_";
// Description and pattern of the dialog's one filter, the list ending in an
// empty text.
const char kSaveFilter[] = "*.jpg;*.wav;*.avi\0*.jpg;*.wav;*.avi\0";

HWND ProgressBar()
{
    return GetDlgItem(g_readOut.window, IDC_PROGRESS);
}

int __cdecl ProgressCallback(unsigned long, unsigned long, unsigned long)
{
    if (g_readOut.blockCounter == 0) {
        SendMessageA(ProgressBar(), PBM_SETRANGE, 0,
                     MAKELPARAM(0, ProgressRangeTop(g_readOut.byteTotal)));
    }
    ++g_readOut.blockCounter;
    SendMessageA(ProgressBar(), PBM_SETPOS, g_readOut.blockCounter, 0);
    return 0;
}

// The 0-based indices of the list's selected items that have a record in
// the camera's count, in ascending order.
std::vector<unsigned long> SelectedObjects(HWND window)
{
    HWND list = GetDlgItem(window, IDC_ALBUM_LIST);
    const int items = static_cast<int>(SendMessageA(list, LVM_GETITEMCOUNT, 0, 0));
    std::vector<unsigned long> selected;
    for (int item = 0; item < items && static_cast<unsigned long>(item) < g_album.objectCount;
         ++item) {
        if (SendMessageA(list, LVM_GETITEMSTATE, item, LVIS_SELECTED) & LVIS_SELECTED) {
            selected.push_back(static_cast<unsigned long>(item));
        }
    }
    return selected;
}

void ShowNotice(HWND window, const char* text, UINT icon)
{
    ShowPlainMessageBox(window, text, kNotification, MB_OK | icon);
}

bool ReadOut(unsigned long index, std::vector<unsigned char>& records, char* path, int mode)
{
    return Upload_DOSFAT_Object(static_cast<int>(index), records.data(), path, mode, kUploadFlag,
                                ProgressCallback) == 0;
}

// Reads each still into its transfer file.
bool ReadStillsForTransfer(HWND window, const std::vector<unsigned long>& stills,
                           std::vector<unsigned char>& records)
{
    for (unsigned long index : stills) {
        if (!ReadStillForTransfer(index, records)) {
            ShowPlainMessageBox(window, "Upload Failed!", kError, MB_OK);
            return false;
        }
    }
    return true;
}

// The transfer files of the stills, in ascending order, wait for the
// application; the first is offered first.
void QueueStills(const std::vector<unsigned long>& stills)
{
    std::vector<int> numbers;
    for (unsigned long index : stills) {
        numbers.push_back(static_cast<int>(index + 1));
    }
    DeleteWaitingFilesExcept(numbers);
    TransferQueue& queue = g_transferQueue;
    queue.pendingCount = static_cast<int>(numbers.size());
    std::copy(numbers.begin(), numbers.end(), queue.fileNumbers);
    queue.currentIndex = 0;
    FormTransferFileName(queue.currentFile, sizeof queue.currentFile, queue.filePrefix,
                         queue.fileNumbers[0]);
}

// Writes the selected objects unchanged through the chosen name.
bool WriteObjects(HWND window, const std::vector<unsigned long>& selected,
                  std::vector<unsigned char>& records, char* name)
{
    for (unsigned long index : selected) {
        const SaveChoice choice = SaveChoiceFor(FdbRecordAt(records.data(), index));
        if (choice == SaveChoice::Stop) {
            return false;
        }
        if (choice == SaveChoice::Write && !ReadOut(index, records, name, kUploadUnchanged)) {
            ShowPlainMessageBox(window, "Save Failed!", kError, MB_OK);
            ShowStep(window, 0);
            return false;
        }
    }
    return true;
}

// The platform's save-file dialog, from the common dialogs library loaded
// for it alone: imported, that library and the print spooler's it imports
// would be loaded and unloaded with the source each time a Source Manager
// loads it, and the spooler's leaves a handle behind at each unload.
bool ShowSaveDialog(OPENFILENAMEA& dialog)
{
    HMODULE library = LoadLibraryA("comdlg32.dll");
    if (library == nullptr) {
        return false;
    }
    const auto getSaveFileName = reinterpret_cast<BOOL(WINAPI*)(OPENFILENAMEA*)>(
        reinterpret_cast<void*>(GetProcAddress(library, "GetSaveFileNameA")));
    const bool chosen = getSaveFileName != nullptr && getSaveFileName(&dialog);
    FreeLibrary(library);
    return chosen;
}

}  // namespace

void ResetBlockCounter(HWND window)
{
    g_readOut.window = window;
    g_readOut.blockCounter = 0;
}

void SetReadOutTotal(HWND window, uint32_t byteTotal)
{
    g_readOut.window = window;
    g_readOut.byteTotal = byteTotal;
}

bool ReadStillForTransfer(unsigned long index, std::vector<unsigned char>& records)
{
    // An empty prefix would put the file into the current folder.
    return g_transferQueue.filePrefix[0] != '\0' &&
           ReadOut(index, records, g_transferQueue.filePrefix, kUploadAsBitmap);
}

bool DownloadSelection(HWND window)
{
    g_readOut.window = window;
    std::vector<unsigned char> records;
    if (!ReadFdbContext(g_album.objectCount, records)) {
        return false;
    }
    std::vector<unsigned long> stills;
    switch (PlanDownload(records.data(), g_album.objectCount, SelectedObjects(window), stills)) {
    case DownloadChoice::ClipSelected:
        ShowNotice(window, "Only Upload JPG File! ", MB_ICONINFORMATION);
        return false;
    case DownloadChoice::NoStillSelected:
        ShowNotice(window, "No select image to upload!", MB_ICONINFORMATION);
        return false;
    case DownloadChoice::Ready:
        break;
    }
    ShowStep(window, 0);
    SetReadOutTotal(window, SumObjectSizes(records.data(), stills));
    g_readOut.blockCounter = 0;
    if (!ReadStillsForTransfer(window, stills, records)) {
        return false;
    }
    if (!VendorRequest2000()) {
        ShowStep(window, 0);
        return false;
    }
    ShowStep(window, 0);
    QueueStills(stills);
    return true;
}

bool SaveSelection(HWND window)
{
    g_readOut.window = window;
    const std::vector<unsigned long> selected = SelectedObjects(window);
    if (selected.empty()) {
        ShowNotice(window, "No select file to save!", 0);
        return false;
    }
    char name[MAX_PATH] = {};
    lstrcpynA(name, kDefaultSaveName, sizeof name);
    if (!AskSaveFileName(window, name, sizeof name)) {
        WaitFWIdle();
        return false;
    }
    DisableAllButtons(window);
    UpdateWindow(window);
    std::vector<unsigned char> records;
    if (!ReadFdbContext(g_album.objectCount, records)) {
        return false;
    }
    SetReadOutTotal(window, SumObjectSizes(records.data(), selected));
    if (!WriteObjects(window, selected, records, name)) {
        return false;
    }
    ShowStep(window, 0);
    return true;
}

bool AskSaveFileName(HWND owner, char* name, int length)
{
    if (name == nullptr || length <= 0) {
        return false;
    }
    char chosen[MAX_PATH] = {};
    lstrcpynA(chosen, name, sizeof chosen);
    char directory[MAX_PATH] = {};
    const char* lastBackslash = strrchr(chosen, '\\');
    if (lastBackslash != nullptr) {
        lstrcpynA(directory, chosen, static_cast<int>(lastBackslash - chosen) + 2);
    }
    OPENFILENAMEA dialog = {};
    // The structure as Windows 95 and NT 4 lay it out.
    dialog.lStructSize = OPENFILENAME_SIZE_VERSION_400A;
    dialog.hwndOwner = owner;
    dialog.lpstrFilter = kSaveFilter;
    dialog.nFilterIndex = 0;
    dialog.lpstrFile = chosen;
    dialog.nMaxFile = sizeof chosen;
    dialog.lpstrInitialDir = directory;
    dialog.lpstrTitle = "Select Capture File";
    dialog.Flags = OFN_HIDEREADONLY | OFN_PATHMUSTEXIST | OFN_NOREADONLYRETURN;
    if (!ShowSaveDialog(dialog)) {
        return false;
    }
    lstrcpynA(name, chosen, length);
    return true;
}

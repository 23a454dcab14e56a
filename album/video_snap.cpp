#include "album/video_snap.h"

#include <vector>

#include "album/album_window_state.h"
#include "album/camera_library.h"
#include "album/clip_size_dialog.h"
#include "album/progress_steps.h"
#include "album/read_out.h"
#include "source/messages.h"
#include "source/transfer_queue.h"
#include "source/transfers.h"

namespace {

const int kSnapSteps = 3;
const DWORD kFileSettleTime = 300;

// The camera's newest object, a still, becomes transfer file "count".
bool ReadNewestForTransfer(HWND window)
{
    unsigned long count = 0;
    GetFDBCount(&count);
    std::vector<unsigned char> records;
    if (count == 0 || !ReadFdbContext(count, records)) {
        return false;
    }
    VendorRequest2000();
    const unsigned long newest = count - 1;
    const unsigned char* record = FdbRecordAt(records.data(), newest);
    if (!FdbExtensionIsAnyCase(record, "JPG")) {
        ShowPlainMessageBox(window, "Only Upload JPG File!", "Notification", MB_OK);
        return false;
    }
    SetReadOutTotal(window, FdbObjectSize(record));
    if (!ReadStillForTransfer(newest, records)) {
        ShowPlainMessageBox(window, "Upload Failed!", "Error", MB_OK);
        return false;
    }
    Sleep(kFileSettleTime);
    DeleteWaitingFilesExcept({static_cast<int>(count)});
    FormTransferFileName(g_transferQueue.currentFile, sizeof g_transferQueue.currentFile,
                         g_transferQueue.filePrefix, static_cast<int>(count));
    return true;
}

}  // namespace

VideoSnapResult VideoSnap(HWND window)
{
    StartSteps(window, kSnapSteps);
    ShowStep(window, 0);
    LeaveVideoMode(window);
    VendorRequest2000();
    ShowStep(window, 2);
    SetStillSize(g_clipSizeChoice == kClip640x480 ? kStillSize640 : kStillSizeFull);
    if (Capture_DOSFAT_DSC() != 0) {
        ShowStep(window, 0);
        ShowPlainMessageBox(window, "Video Snap Failed!", "Errror", MB_OK);
        return {false, false};
    }
    WaitFWIdle();
    ShowStep(window, 3);
    const bool produced = ReadNewestForTransfer(window);
    // The still is not to stay in the camera.
    DeleteFDBObject(kDeleteNewest);
    ShowStep(window, 0);
    return {true, produced};
}

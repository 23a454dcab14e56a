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

// The camera's object count (its result ignored: a failed read counts no
// object) and all its records, read after the capture.
bool ReadRecordsAfterCapture(unsigned long& count, std::vector<unsigned char>& records)
{
    count = 0;
    GetFDBCount(&count);
    return count != 0 && ReadFdbContext(count, records);
}

// The camera's newest object, a still, becomes transfer file "count".
bool ReadNewestForTransfer(HWND window, unsigned long count, std::vector<unsigned char>& records)
{
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
    PauseForCamera(kFileSettleTime);
    DeleteWaitingFilesExcept({static_cast<int>(count)});
    FormTransferFileName(g_transferQueue.currentFile, sizeof g_transferQueue.currentFile,
                         g_transferQueue.filePrefix, static_cast<int>(count));
    return true;
}

// The newest object is the still that the capture added: the camera holds
// more objects than before it, and the newest is a JPG.
bool NewestIsCapturedStill(unsigned long countBefore, unsigned long count,
                           const std::vector<unsigned char>& records)
{
    return count > countBefore &&
           FdbExtensionIsAnyCase(FdbRecordAt(records.data(), count - 1), "JPG");
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
    // The count before the capture tells the still it adds from the user's
    // objects.
    unsigned long countBefore = 0;
    const bool counted = GetFDBCount(&countBefore) == 0;
    if (Capture_DOSFAT_DSC() != 0) {
        ShowStep(window, 0);
        ShowPlainMessageBox(window, "Video Snap Failed!", "Errror", MB_OK);
        return {false, false};
    }
    WaitFWIdle();
    ShowStep(window, 3);
    unsigned long count = 0;
    std::vector<unsigned char> records;
    const bool listed = ReadRecordsAfterCapture(count, records);
    const bool produced = listed && ReadNewestForTransfer(window, count, records);
    // The still is not to stay in the camera; a newest object that the
    // capture did not add is the user's and stays.
    if (listed && counted && NewestIsCapturedStill(countBefore, count, records)) {
        DeleteFDBObject(kDeleteNewest);
    }
    ShowStep(window, 0);
    return {true, produced};
}

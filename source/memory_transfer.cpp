// Memory transfer: the current picture handed out in strips of whole rows,
// top row first, in red, green, blue order. Each call reads the buffer
// limits from the capability file, opens the transfer file and reads its
// headers and only the rows of the strip it delivers, so that a picture
// costs one pass over its file; nothing but the cursor is kept between
// calls.
#include <windows.h>

#include <vector>

#include "caps/capability_file.h"
#include "source/handlers.h"
#include "source/memory_strips.h"
#include "source/messages.h"
#include "source/transfer_queue.h"
#include "source/transfers.h"

namespace {

// Calls after which a memory transfer is given up.
const int kMaxMemXferCalls = 1000;

const char kMemXferText[] = "General failure in response to DAT_IMAGEMEMXFER.  ";
// The text that the memory transfer shares with the image information.
const char kImageInfoText[] = "General failure in response to DAT_IMAGEINFO.  ";

MemXferCursor g_cursor = {};

TW_UINT16 FinishPicture(TW_IMAGEMEMXFER& transfer)
{
    transfer.BytesWritten = 0;
    ResetMemXferCursor();
    return TWRC_XFERDONE;
}

struct MemXferSettingRow {
    const char* key;
    TW_UINT32 fallback;
};

// Keys and defaults in the order of MemXferSetting.
const MemXferSettingRow kMemXferSettings[] = {
    {"Min", 512},
    {"Max", 2048},
    {"Preferred", 1024},
};

bool BufferWithinLimits(TW_UINT32 length)
{
    return length >= ReadMemXferSetting(kMinBufSize) && length <= ReadMemXferSetting(kMaxBufSize);
}

// The current transfer file with the plan of its headers.
struct StripFile {
    HANDLE handle;
    DibReadPlan plan;
};

// Reads the headers of the open transfer file. Gives the condition code of
// the refusal, or TWCC_SUCCESS.
TW_UINT16 ReadStripHeaders(StripFile& file)
{
    LARGE_INTEGER size;
    if (!GetFileSizeEx(file.handle, &size)) {
        return TWCC_OPERATIONERROR;
    }
    unsigned char leading[kDibLeadingBytes];
    DWORD count = 0;
    const bool planned =
        ReadFile(file.handle, leading, sizeof leading, &count, nullptr) &&
        PlanDibRead(leading, count, static_cast<uint64_t>(size.QuadPart), file.plan) &&
        IsStripPicture(file.plan.header);
    return planned ? TWCC_SUCCESS : TWCC_BADVALUE;
}

// Reads the strip's rows as the file holds them. Bytes past the end of the
// file stay zero, as in a picture read whole.
std::vector<unsigned char> ReadStripRows(const StripFile& file, const StripPlan& strip)
{
    const uint64_t fileRowBytes = FileRowBytes(file.plan.header);
    std::vector<unsigned char> rows(strip.rows * fileRowBytes);
    LARGE_INTEGER at;
    at.QuadPart = static_cast<LONGLONG>(DibBitsStart(file.plan) + strip.firstFileRow * fileRowBytes);
    DWORD count = 0;
    if (!rows.empty() && SetFilePointerEx(file.handle, at, nullptr, FILE_BEGIN)) {
        ReadFile(file.handle, rows.data(), static_cast<DWORD>(rows.size()), &count, nullptr);
    }
    return rows;
}

// The application's buffer: a pointer, or a global memory handle to lock.
unsigned char* LockBuffer(const TW_MEMORY& memory)
{
    if ((memory.Flags & TWMF_HANDLE) != 0) {
        return static_cast<unsigned char*>(GlobalLock(static_cast<HGLOBAL>(memory.TheMem)));
    }
    return static_cast<unsigned char*>(memory.TheMem);
}

void UnlockBuffer(const TW_MEMORY& memory)
{
    if ((memory.Flags & TWMF_HANDLE) != 0) {
        GlobalUnlock(static_cast<HGLOBAL>(memory.TheMem));
    }
}

// Plans, reads and copies the next strip into the application's buffer.
TW_UINT16 DeliverStrip(const StripFile& file, TW_IMAGEMEMXFER& transfer)
{
    const DibInfoHeader& header = file.plan.header;
    transfer.Compression = TWCP_NONE;
    transfer.BytesPerRow = StripRowBytes(header);
    StripPlan strip;
    if (!PlanStrip(header, g_cursor.bytesDone, transfer.Memory.Length, strip)) {
        ShowPlainMessageBox(nullptr, "Buffer is too small for strip transfers", nullptr, MB_OK);
        return TWRC_FAILURE;
    }
    unsigned char* buffer = LockBuffer(transfer.Memory);
    if (buffer == nullptr) {
        return Refuse(TWCC_BADVALUE, kMemXferText);
    }
    transfer.BytesWritten = strip.rows * transfer.BytesPerRow;
    transfer.Columns = header.biWidth;
    transfer.Rows = strip.rows;
    transfer.XOffset = 0;
    transfer.YOffset = strip.rowsDone;
    Trace("Set structure\n");
    CopyStrip(header, strip, ReadStripRows(file, strip).data(), buffer);
    UnlockBuffer(transfer.Memory);
    g_cursor.bytesDone += transfer.BytesWritten;
    g_cursor.lastStripSent = strip.last;
    Trace("Copied memory\n");
    return TWRC_SUCCESS;
}

}  // namespace

TW_UINT32 ReadMemXferSetting(MemXferSetting setting)
{
    const MemXferSettingRow& row = kMemXferSettings[setting];
    return ReadCapabilityNumber("Setup Memory Transfer", row.key, row.fallback);
}

void ResetMemXferCursor()
{
    g_cursor = {};
}

TW_UINT16 ImageMemXferHandler(const TripletArgs& args)
{
    Trace("MemXfer Start\n");
    TW_IMAGEMEMXFER* transfer = static_cast<TW_IMAGEMEMXFER*>(args.pData);
    if (transfer == nullptr) {
        return Refuse(TWCC_BADVALUE, kMemXferText);
    }
    if (g_cursor.lastStripSent) {
        Trace("XferDone returned\n");
        return FinishPicture(*transfer);
    }
    if (++g_cursor.calls > kMaxMemXferCalls) {
        ShowSourceMessage(nullptr, "The source aborts a memory transfer", "Zc600a Source");
        return FinishPicture(*transfer);
    }
    if (args.MSG != MSG_GET) {
        return Refuse(TWCC_BADPROTOCOL, kImageInfoText);
    }
    Trace("MSG_GET\n");
    if (!BufferWithinLimits(transfer->Memory.Length)) {
        return TWRC_FAILURE;
    }
    StripFile file;
    file.handle = CreateFileA(g_transferQueue.currentFile, GENERIC_READ,
                              FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                              OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file.handle == INVALID_HANDLE_VALUE) {
        return Refuse(TWCC_OPERATIONERROR, kMemXferText);
    }
    const TW_UINT16 problem = ReadStripHeaders(file);
    TW_UINT16 result = TWRC_FAILURE;
    if (problem == TWCC_SUCCESS) {
        Trace("Incremented pointer\n");
        result = DeliverStrip(file, *transfer);
    }
    CloseHandle(file.handle);
    if (problem != TWCC_SUCCESS) {
        return Refuse(problem, kMemXferText);
    }
    if (result == TWRC_SUCCESS) {
        Trace("Mem Success\n");
    }
    return result;
}

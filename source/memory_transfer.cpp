// Memory transfer: the current picture handed out in strips of whole rows,
// top row first, in red, green, blue order. The first call of a picture
// reads its transfer file once, headers and rows, and closes it again; the
// following calls copy their strips from what was read, until the picture
// ends, is given up or is abandoned. The buffer limits come from the
// capability file at every call, read again whenever the file has changed.
#include <windows.h>

#include <memory>
#include <new>

#include "caps/capability_file.h"
#include "source/handlers.h"
#include "source/memory_strips.h"
#include "source/messages.h"
#include "source/source_context.h"
#include "source/transfer_queue.h"
#include "source/transfers.h"

namespace {

// Calls after which a memory transfer is given up.
const int kMaxMemXferCalls = 1000;

const char kMemXferText[] = "General failure in response to DAT_IMAGEMEMXFER.  ";
// The text that the memory transfer shares with the image information.
const char kImageInfoText[] = "General failure in response to DAT_IMAGEINFO.  ";

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

// File systems stamp writes with a coarse clock (FAT to 2 seconds), so a
// later write of the same size may get the write time of a recent one:
// limits read from a file written this shortly before are not kept.
const ULONGLONG kWriteTimeSettling = 2 * 10000000ull;

// The buffer limits as last read, with the write time and size that the
// capability file had then; they hold while the file keeps both.
struct BufferLimits {
    bool known;
    FILETIME written;
    DWORD sizeHigh;
    DWORD sizeLow;
    TW_UINT32 min;
    TW_UINT32 max;
};

// The picture of the memory transfer in progress: its header and its rows
// as the file holds them, bottom-up and padded to whole 32-bit words.
struct StripPicture {
    bool loaded;
    DibInfoHeader header;
    std::unique_ptr<unsigned char[]> rows;
};

MemXferCursor g_cursor = {};
StripPicture g_picture = {};
BufferLimits g_limits = {};

bool IsStamp(const WIN32_FILE_ATTRIBUTE_DATA& file, const BufferLimits& limits)
{
    return limits.known && CompareFileTime(&file.ftLastWriteTime, &limits.written) == 0 &&
           file.nFileSizeHigh == limits.sizeHigh && file.nFileSizeLow == limits.sizeLow;
}

ULONGLONG Ticks(const FILETIME& time)
{
    return static_cast<ULONGLONG>(time.dwHighDateTime) << 32 | time.dwLowDateTime;
}

const BufferLimits& CurrentBufferLimits()
{
    FILETIME now;
    GetSystemTimeAsFileTime(&now);
    WIN32_FILE_ATTRIBUTE_DATA file;
    const bool stamped =
        GetFileAttributesExA(g_source.capabilityFilePath, GetFileExInfoStandard, &file) != 0;
    if (stamped && IsStamp(file, g_limits)) {
        return g_limits;
    }
    g_limits.min = ReadMemXferSetting(kMinBufSize);
    g_limits.max = ReadMemXferSetting(kMaxBufSize);
    g_limits.known = stamped && Ticks(file.ftLastWriteTime) + kWriteTimeSettling <= Ticks(now);
    if (g_limits.known) {
        g_limits.written = file.ftLastWriteTime;
        g_limits.sizeHigh = file.nFileSizeHigh;
        g_limits.sizeLow = file.nFileSizeLow;
    }
    return g_limits;
}

bool BufferWithinLimits(TW_UINT32 length)
{
    const BufferLimits& limits = CurrentBufferLimits();
    return length >= limits.min && length <= limits.max;
}

// Reads the headers and every row of the open transfer file. Gives the
// condition code of the refusal, or TWCC_SUCCESS. Rows that the file lacks
// stay zero, as in a picture read whole.
TW_UINT16 ReadStripPicture(HANDLE file, StripPicture& picture)
{
    LARGE_INTEGER size;
    if (!GetFileSizeEx(file, &size)) {
        return TWCC_OPERATIONERROR;
    }
    unsigned char leading[kDibLeadingBytes];
    DWORD count = 0;
    DibReadPlan plan;
    if (!ReadFile(file, leading, sizeof leading, &count, nullptr) ||
        !PlanDibRead(leading, count, static_cast<uint64_t>(size.QuadPart), plan) ||
        !IsStripPicture(plan.header)) {
        return TWCC_BADVALUE;
    }
    // The plan bounds the rows by the largest pixel data a picture may have.
    const DWORD rowsSize = static_cast<DWORD>(FileRowBytes(plan.header) * plan.header.biHeight);
    picture.rows.reset(new (std::nothrow) unsigned char[rowsSize]());
    if (picture.rows == nullptr) {
        return TWCC_LOWMEMORY;
    }
    LARGE_INTEGER at;
    at.QuadPart = static_cast<LONGLONG>(DibBitsStart(plan));
    if (SetFilePointerEx(file, at, nullptr, FILE_BEGIN)) {
        ReadFile(file, picture.rows.get(), rowsSize, &count, nullptr);
    }
    picture.header = plan.header;
    picture.loaded = true;
    return TWCC_SUCCESS;
}

TW_UINT16 LoadCurrentPicture()
{
    HANDLE file = CreateFileA(g_transferQueue.currentFile, GENERIC_READ,
                              FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                              OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        return TWCC_OPERATIONERROR;
    }
    const TW_UINT16 problem = ReadStripPicture(file, g_picture);
    CloseHandle(file);
    if (problem != TWCC_SUCCESS) {
        g_picture = {};
    }
    return problem;
}

// The call that ends a picture carries no rows; the rest of the structure
// describes the picture as delivered.
TW_UINT16 FinishPicture(TW_IMAGEMEMXFER& transfer)
{
    if (!g_picture.loaded) {
        LoadCurrentPicture();
    }
    const DibInfoHeader& header = g_picture.header;
    const uint32_t rowBytes = StripRowBytes(header);
    transfer.Compression = TWCP_NONE;
    transfer.BytesPerRow = rowBytes;
    transfer.Columns = g_picture.loaded ? header.biWidth : 0;
    transfer.Rows = 0;
    transfer.XOffset = 0;
    transfer.YOffset = rowBytes != 0 ? g_cursor.bytesDone / rowBytes : 0;
    transfer.BytesWritten = 0;
    ResetMemXferCursor();
    return TWRC_XFERDONE;
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

// Plans and copies the next strip of the picture into the application's
// buffer.
TW_UINT16 DeliverStrip(TW_IMAGEMEMXFER& transfer)
{
    const DibInfoHeader& header = g_picture.header;
    transfer.Compression = TWCP_NONE;
    transfer.BytesPerRow = StripRowBytes(header);
    StripPlan strip;
    if (!PlanStrip(header, g_cursor.bytesDone, transfer.Memory.Length, strip)) {
        if (RefusalsShowBoxes()) {
            ShowPlainMessageBox(nullptr, "Buffer is too small for strip transfers", nullptr, MB_OK);
        }
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
    CopyStrip(header, strip, g_picture.rows.get() + strip.firstFileRow * FileRowBytes(header),
              buffer);
    UnlockBuffer(transfer.Memory);
    g_cursor.bytesDone += transfer.BytesWritten;
    g_cursor.lastStripSent = strip.last;
    Trace("Copied memory\n");
    Trace("Mem Success\n");
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
    g_picture = {};
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
        if (RefusalsShowBoxes()) {
            ShowSourceMessage(nullptr, "The source aborts a memory transfer", "Zc600a Source");
        }
        return FinishPicture(*transfer);
    }
    if (args.MSG != MSG_GET) {
        return Refuse(TWCC_BADPROTOCOL, kImageInfoText);
    }
    Trace("MSG_GET\n");
    if (!BufferWithinLimits(transfer->Memory.Length)) {
        return TWRC_FAILURE;
    }
    if (!g_picture.loaded) {
        const TW_UINT16 problem = LoadCurrentPicture();
        if (problem != TWCC_SUCCESS) {
            return Refuse(problem, kMemXferText);
        }
    }
    Trace("Incremented pointer\n");
    return DeliverStrip(*transfer);
}

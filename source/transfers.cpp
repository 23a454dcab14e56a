// Transfer triplets: pending transfers, transfer set-up and group, image
// information, native and file transfers.
#include <windows.h>

#include <string>

#include "caps/capability_file.h"
#include "source/dib_file.h"
#include "source/handlers.h"
#include "source/image_values.h"
#include "source/messages.h"
#include "source/source_context.h"
#include "source/text.h"
#include "source/transfer_prefix.h"
#include "source/transfer_queue.h"
#include "source/transfers.h"

namespace {

const DWORD kCopyBlock = 2040;

const char kPendingText[] = "General failure in response to DAT_PENDINGXFER.  ";
const char kSetupMemText[] = "General failure in response to DAT_SETUPMEMXFER, not supported.  ";
const char kSetupFileText[] = "General failure in response to DAT_SETUPFILEXFER, not supported.  ";
const char kCreateFileText[] = "Unable to create file <<DAT_SETUPFILEXFER>>";
const char kXferGroupText[] = "General failure in response to DAT_XFERGROUP, not supported.  ";
const char kTransferText[] = "General failure in transfer.  ";
const char kNativeText[] = "General failure in response to DAT_IMAGENATIVEXFER.  ";
// The text that the file transfer shares with the image information.
const char kImageInfoText[] = "General failure in response to DAT_IMAGEINFO.  ";
const char kFileXferText[] = "General failure in response to DAT_IMAGEFILEXFER.  ";
const char kWaitingFileText[] = "The file holds a picture waiting for transfer.  ";

TW_UINT16 EndTransfer(TW_PENDINGXFERS& pending)
{
    char finished[sizeof g_transferQueue.currentFile];
    const int left = EndCurrentTransfer(g_transferQueue, finished, sizeof finished);
    pending.Count = static_cast<TW_UINT16>(left);
    ResetMemXferCursor();
    if (finished[0] != '\0') {
        DeleteFileA(finished);
    }
    return TWRC_SUCCESS;
}

TW_UINT16 ResetTransfers(TW_PENDINGXFERS& pending)
{
    g_source.state = kStateSourceEnabled;
    pending.Count = 0;
    WriteCapabilityText("ADF", "PendingImages", "0");
    ResetMemXferCursor();
    return TWRC_SUCCESS;
}

// The file that the next file transfer writes: the application's
// destination once it has named one, else the default, the bare transfer
// file prefix. The pictures waiting for transfer are left as they are.
TW_UINT16 AnswerFileSetup(TW_UINT16 message, TW_SETUPFILEXFER& setup)
{
    if (message != MSG_GETDEFAULT && g_transferQueue.transferDestination[0] != '\0') {
        CopyText(setup.FileName, g_transferQueue.transferDestination);
    } else {
        char prefix[kTransferNameSize];
        MakeTransferPrefix(prefix, sizeof prefix);
        CopyText(setup.FileName, prefix);
    }
    setup.Format = TWFF_BMP;
    setup.VRefNum = 0;
    return TWRC_SUCCESS;
}

// What tells one file from another whatever name it is reached by.
struct FileIdentity {
    DWORD volume;
    DWORD indexHigh;
    DWORD indexLow;
};

bool ReadFileIdentity(const char* path, FileIdentity& identity)
{
    HANDLE file = CreateFileA(path, 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                              nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        return false;
    }
    BY_HANDLE_FILE_INFORMATION information;
    const bool known = GetFileInformationByHandle(file, &information) != 0;
    CloseHandle(file);
    if (known) {
        identity = {information.dwVolumeSerialNumber, information.nFileIndexHigh,
                    information.nFileIndexLow};
    }
    return known;
}

// Whether the file holds a picture waiting for transfer, under any of its
// names (relative, short, another case).
bool IsWaitingFile(const char* path)
{
    FileIdentity named;
    if (!ReadFileIdentity(path, named)) {
        return false;
    }
    for (const std::string& waiting : WaitingTransferFiles(g_transferQueue)) {
        FileIdentity identity;
        if (ReadFileIdentity(waiting.c_str(), identity) && identity.volume == named.volume &&
            identity.indexHigh == named.indexHigh && identity.indexLow == named.indexLow) {
            return true;
        }
    }
    return false;
}

bool IsExistingFile(const char* path)
{
    const DWORD attributes = GetFileAttributesA(path);
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
}

// Creates the file empty, or empties it.
HANDLE CreateDestination(const char* path)
{
    return CreateFileA(path, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL,
                       nullptr);
}

TW_UINT16 SetDestination(const TW_SETUPFILEXFER& setup)
{
    if (IsWaitingFile(setup.FileName)) {
        return Refuse(TWCC_BADVALUE, kWaitingFileText);
    }
    CopyText(g_transferQueue.transferDestination, setup.FileName);
    if (IsExistingFile(g_transferQueue.transferDestination)) {
        return TWRC_SUCCESS;
    }
    HANDLE file = CreateDestination(g_transferQueue.transferDestination);
    if (file == INVALID_HANDLE_VALUE) {
        return Refuse(TWCC_BADVALUE, kCreateFileText);
    }
    CloseHandle(file);
    return TWRC_SUCCESS;
}

// The file header and info header of the current transfer file, with the
// refusal that each problem gets.
TW_UINT16 ReadTransferHeaders(DibInfoHeader& header)
{
    OFSTRUCT info;
    const HFILE file = OpenFile(g_transferQueue.currentFile, &info, OF_READ);
    if (file == HFILE_ERROR) {
        return Refuse(TWCC_OPERATIONERROR, "General failure in transfer file open.  ");
    }
    BITMAPFILEHEADER fileHeader;
    const UINT fileHeaderRead = _lread(file, &fileHeader, sizeof fileHeader);
    const UINT headerRead = fileHeaderRead == sizeof fileHeader && fileHeader.bfType == kDibFileType
                                ? _lread(file, &header, sizeof header)
                                : 0;
    _lclose(file);
    if (fileHeaderRead != sizeof fileHeader) {
        return Refuse(TWCC_BUMMER, "General failure in transfer reading file header.  ");
    }
    if (fileHeader.bfType != kDibFileType) {
        return Refuse(TWCC_BADVALUE, "General failure in transfer file is wrong type.  ");
    }
    if (headerRead != sizeof header) {
        return Refuse(TWCC_BUMMER, "General failure in transfer reading file info header.  ");
    }
    if (header.biSize != kDibInfoHeaderSize) {
        return Refuse(TWCC_BADVALUE, "General failure in transfer bad info header info.  ");
    }
    return TWRC_SUCCESS;
}

}  // namespace

int CopyFileRaw(const char* source, const char* destination)
{
    OFSTRUCT info;
    const HFILE from = OpenFile(source, &info, OF_READ);
    if (from == HFILE_ERROR) {
        return 0;
    }
    HANDLE to = CreateDestination(destination);
    if (to == INVALID_HANDLE_VALUE) {
        _lclose(from);
        return 0;
    }
    char block[kCopyBlock];
    bool whole = true;
    UINT count;
    while (whole && (count = _lread(from, block, sizeof block)) != 0 &&
           count != static_cast<UINT>(HFILE_ERROR)) {
        DWORD written = 0;
        whole = WriteFile(to, block, count, &written, nullptr) && written == count;
    }
    CloseHandle(to);
    _lclose(from);
    return whole ? 1 : 0;
}

TW_UINT16 PendingXfersHandler(const TripletArgs& args)
{
    TW_PENDINGXFERS* pending = static_cast<TW_PENDINGXFERS*>(args.pData);
    switch (args.MSG) {
    case MSG_GET:
        if (!Accepted(args)) {
            return Refuse(TWCC_SEQERROR, kPendingText);
        }
        if (pending == nullptr) {
            return Refuse(TWCC_BADVALUE, kPendingText);
        }
        pending->Count = static_cast<TW_UINT16>(ReadCapabilityNumber("ADF", "PendingImages", 0));
        return TWRC_SUCCESS;
    case MSG_ENDXFER:
        if (pending == nullptr) {
            return Refuse(TWCC_BADVALUE, kPendingText);
        }
        return EndTransfer(*pending);
    case MSG_RESET:
        if (!Accepted(args)) {
            return Refuse(TWCC_SEQERROR, kPendingText);
        }
        if (pending == nullptr) {
            return Refuse(TWCC_BADVALUE, kPendingText);
        }
        return ResetTransfers(*pending);
    default:
        return Refuse(TWCC_BADPROTOCOL, kPendingText);
    }
}

TW_UINT16 SetupMemXferHandler(const TripletArgs& args)
{
    if (!Accepted(args)) {
        return Refuse(TWCC_SEQERROR, kSetupMemText);
    }
    if (args.MSG != MSG_GET) {
        return Refuse(TWCC_BADPROTOCOL, kSetupMemText);
    }
    TW_SETUPMEMXFER* setup = static_cast<TW_SETUPMEMXFER*>(args.pData);
    if (setup == nullptr) {
        return Refuse(TWCC_BADVALUE, kSetupMemText);
    }
    setup->MinBufSize = ReadMemXferSetting(kMinBufSize);
    setup->MaxBufSize = ReadMemXferSetting(kMaxBufSize);
    setup->Preferred = ReadMemXferSetting(kPreferredBufSize);
    return TWRC_SUCCESS;
}

TW_UINT16 SetupFileXferHandler(const TripletArgs& args)
{
    if (!Accepted(args)) {
        return Refuse(TWCC_SEQERROR, kSetupFileText);
    }
    TW_SETUPFILEXFER* setup = static_cast<TW_SETUPFILEXFER*>(args.pData);
    switch (args.MSG) {
    case MSG_GET:
    case MSG_GETCURRENT:
    case MSG_GETDEFAULT:
        if (setup == nullptr) {
            return Refuse(TWCC_BADVALUE, kSetupFileText);
        }
        return AnswerFileSetup(args.MSG, *setup);
    case MSG_SET:
        if (setup == nullptr) {
            return Refuse(TWCC_BADVALUE, kSetupFileText);
        }
        return SetDestination(*setup);
    default:
        return Refuse(TWCC_BADPROTOCOL, kSetupFileText);
    }
}

TW_UINT16 XferGroupHandler(const TripletArgs& args)
{
    if (!Accepted(args)) {
        return Refuse(TWCC_SEQERROR, kXferGroupText);
    }
    switch (args.MSG) {
    case MSG_GET:
    case MSG_GETCURRENT:
    case MSG_GETDEFAULT:
    case MSG_RESET:
        if (args.pData == nullptr) {
            return Refuse(TWCC_BADVALUE, kXferGroupText);
        }
        *static_cast<TW_UINT32*>(args.pData) = DG_IMAGE;
        return TWRC_SUCCESS;
    case MSG_SET:
        return TWRC_SUCCESS;
    default:
        return Refuse(TWCC_BADPROTOCOL, kXferGroupText);
    }
}

TW_UINT16 ImageInfoHandler(const TripletArgs& args)
{
    if (!Accepted(args)) {
        return Refuse(TWCC_SEQERROR, kTransferText);
    }
    if (args.MSG != MSG_GET) {
        return Refuse(TWCC_BADPROTOCOL, kTransferText);
    }
    TW_IMAGEINFO* info = static_cast<TW_IMAGEINFO*>(args.pData);
    if (info == nullptr) {
        return Refuse(TWCC_BADVALUE, kTransferText);
    }
    DibInfoHeader header;
    const TW_UINT16 result = ReadTransferHeaders(header);
    if (result == TWRC_SUCCESS) {
        FillImageInfo(header, *info);
    }
    return result;
}

TW_UINT16 ImageNativeXferHandler(const TripletArgs& args)
{
    if (!Accepted(args)) {
        return Refuse(TWCC_SEQERROR, kNativeText);
    }
    if (args.MSG != MSG_GET) {
        return Refuse(TWCC_BADPROTOCOL, kNativeText);
    }
    // The handle is as wide as a pointer: 32 bits on 32-bit Windows.
    TW_HANDLE* handle = static_cast<TW_HANDLE*>(args.pData);
    if (handle == nullptr) {
        return Refuse(TWCC_BADVALUE, kNativeText);
    }
    TW_HANDLE dib = ReadDibFile(g_transferQueue.currentFile);
    *handle = dib;
    if (dib == nullptr) {
        return Refuse(TWCC_OPERATIONERROR, kNativeText);
    }
    return TWRC_XFERDONE;
}

TW_UINT16 ImageFileXferHandler(const TripletArgs& args)
{
    if (args.MSG != MSG_GET) {
        return Refuse(TWCC_BADPROTOCOL, kImageInfoText);
    }
    if (g_transferQueue.transferDestination[0] == '\0') {
        return Refuse(TWCC_SEQERROR, kFileXferText);
    }
    if (IsWaitingFile(g_transferQueue.transferDestination)) {
        return Refuse(TWCC_BADVALUE, kWaitingFileText);
    }
    if (!CopyFileRaw(g_transferQueue.currentFile, g_transferQueue.transferDestination)) {
        return Refuse(TWCC_OPERATIONERROR, kFileXferText);
    }
    return TWRC_XFERDONE;
}

void DeleteWaitingFilesExcept(const std::vector<int>& keptNumbers)
{
    std::vector<std::string> kept;
    for (int number : keptNumbers) {
        char name[kTransferNameSize];
        if (FormTransferFileName(name, sizeof name, g_transferQueue.filePrefix, number)) {
            kept.push_back(name);
        }
    }
    for (const std::string& waiting : WaitingTransferFiles(g_transferQueue)) {
        bool keep = false;
        for (const std::string& name : kept) {
            keep = keep || lstrcmpiA(name.c_str(), waiting.c_str()) == 0;
        }
        if (!keep) {
            DeleteFileA(waiting.c_str());
        }
    }
}

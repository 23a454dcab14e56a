#include "linked_source.h"

#include "source/notifications.h"
#include "source/source_context.h"
#include "source/transfer_names.h"
#include "source/transfer_prefix.h"
#include "source/transfer_queue.h"
#include "source/transfers.h"

extern "C" BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID reserved);
extern "C" TW_UINT16 WINAPI DS_Entry(pTW_IDENTITY pOrigin, TW_UINT32 DG, TW_UINT16 DAT,
                                     TW_UINT16 MSG, TW_MEMREF pData);

namespace {

void EmptyQueue()
{
    g_transferQueue = {};
    ResetMemXferCursor();
}

}  // namespace

LinkedSource::LinkedSource() : application()
{
    // The program's own module stands in for the library's: it carries the
    // source's resources.
    DllMain(GetModuleHandleA(nullptr), DLL_PROCESS_ATTACH, nullptr);
    EmptyQueue();
    MakeTransferPrefix(g_transferQueue.filePrefix, sizeof g_transferQueue.filePrefix);
    application.Id = 5;
    TW_IDENTITY identity = g_source.dsIdentity;
    identity.Id = 6;
    Call(DG_CONTROL, DAT_IDENTITY, MSG_OPENDS, &identity);
}

LinkedSource::~LinkedSource()
{
    if (g_source.state != kStateManagerOpen) {
        TW_IDENTITY identity = g_source.dsIdentity;
        Call(DG_CONTROL, DAT_IDENTITY, MSG_CLOSEDS, &identity);
    }
    EmptyQueue();
}

TW_UINT16 LinkedSource::Call(TW_UINT32 DG, TW_UINT16 DAT, TW_UINT16 MSG, TW_MEMREF pData)
{
    return DS_Entry(&application, DG, DAT, MSG, pData);
}

TW_UINT16 LinkedSource::ConditionCode()
{
    TW_STATUS status = {0xEEEE, 0xEEEE};
    Call(DG_CONTROL, DAT_STATUS, MSG_GET, &status);
    return status.ConditionCode;
}

TwainState LinkedSource::State() const
{
    return g_source.state;
}

void LinkedSource::QueuePictures(const std::vector<int>& numbers)
{
    TransferQueue& queue = g_transferQueue;
    queue.pendingCount = static_cast<int>(numbers.size());
    for (size_t i = 0; i < numbers.size() && i < kTransferQueueSize; ++i) {
        queue.fileNumbers[i] = numbers[i];
    }
    queue.currentIndex = 0;
    FormTransferFileName(queue.currentFile, sizeof queue.currentFile, queue.filePrefix,
                         numbers.empty() ? 0 : numbers[0]);
    NotifyTransferReady();
}

TW_UINT16 TW_CALLINGSTYLE LinkedManagerEntry(pTW_IDENTITY pOrigin, pTW_IDENTITY, TW_UINT32 DG,
                                             TW_UINT16 DAT, TW_UINT16 MSG, TW_MEMREF pData)
{
    return DS_Entry(pOrigin, DG, DAT, MSG, pData);
}

std::string TransferFilePath(int number)
{
    char prefix[kTransferNameSize];
    char name[kTransferNameSize];
    MakeTransferPrefix(prefix, sizeof prefix);
    FormTransferFileName(name, sizeof name, prefix, number);
    return name;
}

// Session triplets: identity, open and close, and the condition code report.
#include <windows.h>

#include "handlers.h"
#include "messages.h"
#include "source_context.h"

namespace {

TW_UINT16 Refuse(TW_UINT16 conditionCode, const char* text)
{
    g_source.conditionCode = conditionCode;
    ReportError(text, conditionCode);
    return TWRC_FAILURE;
}

bool IsOpen()
{
    return g_source.state >= 4 && g_source.state <= 7;
}

TW_UINT16 OpenSource(const TripletArgs& args)
{
    OFSTRUCT info;
    OpenFile("c:\\tz600a.log", &info, OF_DELETE);
    if (g_source.state != 3) {
        return Refuse(TWCC_SEQERROR, "General failure in response to MSG_OPENDS.  ");
    }
    if (args.pOrigin == nullptr || args.pData == nullptr) {
        return Refuse(TWCC_BADVALUE, "General failure in response to MSG_OPENDS.  ");
    }
    g_source.appIdentity = *args.pOrigin;
    g_source.dsIdentity = *static_cast<const TW_IDENTITY*>(args.pData);
    g_source.state = 4;
    return TWRC_SUCCESS;
}

TW_UINT16 CloseSource()
{
    if (!IsOpen()) {
        return Refuse(TWCC_SEQERROR, "General failure in response to MSG_CLOSEDS.  ");
    }
    g_source.appIdentity.Id = 0;
    if (g_source.albumWindow != nullptr) {
        DestroyWindow(g_source.albumWindow);
        g_source.albumWindow = nullptr;
    }
    g_source.state = 3;
    return TWRC_SUCCESS;
}

}  // namespace

TW_UINT16 IdentityHandler(const TripletArgs& args)
{
    switch (args.MSG) {
    case MSG_GET:
        if (args.pData == nullptr) {
            return Refuse(TWCC_BADVALUE, "General failure in response to DAT_IDENTITY.  ");
        }
        *static_cast<TW_IDENTITY*>(args.pData) = g_source.dsIdentity;
        return TWRC_SUCCESS;
    case MSG_OPENDS:
        return OpenSource(args);
    case MSG_CLOSEDS:
        return CloseSource();
    default:
        return Refuse(TWCC_BADPROTOCOL, "General failure in response to DAT_IDENTITY.  ");
    }
}

TW_UINT16 StatusHandler(const TripletArgs& args)
{
    if (args.MSG != MSG_GET) {
        return Refuse(TWCC_BADPROTOCOL, "General failure in response to DAT_STATUS.  ");
    }
    if (args.pData == nullptr) {
        return Refuse(TWCC_BADVALUE, "General failure in response to DAT_STATUS.  ");
    }
    TW_STATUS* status = static_cast<TW_STATUS*>(args.pData);
    status->ConditionCode = g_source.conditionCode;
    status->Reserved = 0;
    g_source.conditionCode = TWCC_SUCCESS;
    return TWRC_SUCCESS;
}

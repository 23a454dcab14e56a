#include "dispatch.h"

#include "handlers.h"
#include "session_states.h"
#include "source_context.h"

// clang-format off
const DispatchEntry ControlDispatch[] = {
    {DAT_IDENTITY, IdentityHandler},
    {DAT_USERINTERFACE, UserInterfaceHandler},
    {DAT_CAPABILITY, HandleCapability},
    {DAT_STATUS, StatusHandler},
    {DAT_PENDINGXFERS, PendingXfersHandler},
    {DAT_SETUPMEMXFER, SetupMemXferHandler},
    {DAT_SETUPFILEXFER, SetupFileXferHandler},
    {DAT_XFERGROUP, XferGroupHandler},
    {DAT_ENTRYPOINT, EntryPointHandler},
    {DAT_STATUSUTF8, StatusUtf8Handler},
    {0, nullptr},
};
// clang-format on

const DispatchEntry ImageDispatch[] = {
    {DAT_IMAGEINFO, ImageInfoHandler},
    {DAT_IMAGELAYOUT, ImageLayoutHandler},
    {DAT_IMAGEMEMXFER, ImageMemXferHandler},
    {DAT_IMAGENATIVEXFER, ImageNativeXferHandler},
    {DAT_IMAGEFILEXFER, ImageFileXferHandler},
    {DAT_PALETTE8, Palette8Handler},
    {DAT_GRAYRESPONSE, GrayResponseHandler},
    {DAT_RGBRESPONSE, RgbResponseHandler},
    {DAT_CIECOLOR, CieColorHandler},
    {DAT_JPEGCOMPRESSION, JpegCompressionHandler},
    {0, nullptr},
};

TripletHandler FindHandler(const DispatchEntry* table, TW_UINT16 dat)
{
    for (const DispatchEntry* row = table; row->handler != nullptr; ++row) {
        if (row->dat == dat) {
            return row->handler;
        }
    }
    return nullptr;
}

bool Accepted(const TripletArgs& args)
{
    return AcceptedInState(args.DAT, args.MSG, g_source.state);
}

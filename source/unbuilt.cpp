// Handlers whose triplets the source does not serve yet: they refuse with
// TWCC_BADPROTOCOL, as for an unknown triplet.
#include "handlers.h"
#include "source_context.h"

namespace {

TW_UINT16 RefuseTriplet(const TripletArgs&)
{
    g_source.conditionCode = TWCC_BADPROTOCOL;
    return TWRC_FAILURE;
}

}  // namespace

TW_UINT16 PendingXfersHandler(const TripletArgs& args) { return RefuseTriplet(args); }
TW_UINT16 SetupMemXferHandler(const TripletArgs& args) { return RefuseTriplet(args); }
TW_UINT16 SetupFileXferHandler(const TripletArgs& args) { return RefuseTriplet(args); }
TW_UINT16 XferGroupHandler(const TripletArgs& args) { return RefuseTriplet(args); }
TW_UINT16 ImageInfoHandler(const TripletArgs& args) { return RefuseTriplet(args); }
TW_UINT16 ImageNativeXferHandler(const TripletArgs& args) { return RefuseTriplet(args); }
TW_UINT16 ImageMemXferHandler(const TripletArgs& args) { return RefuseTriplet(args); }
TW_UINT16 ImageFileXferHandler(const TripletArgs& args) { return RefuseTriplet(args); }
TW_UINT16 ImageLayoutHandler(const TripletArgs& args) { return RefuseTriplet(args); }
TW_UINT16 Palette8Handler(const TripletArgs& args) { return RefuseTriplet(args); }
TW_UINT16 GrayResponseHandler(const TripletArgs& args) { return RefuseTriplet(args); }
TW_UINT16 RgbResponseHandler(const TripletArgs& args) { return RefuseTriplet(args); }
TW_UINT16 CieColorHandler(const TripletArgs& args) { return RefuseTriplet(args); }
TW_UINT16 JpegCompressionHandler(const TripletArgs& args) { return RefuseTriplet(args); }

// Triplet handlers reached through the dispatch tables.
#pragma once

#include "dispatch.h"

// Session
TW_UINT16 IdentityHandler(const TripletArgs& args);
TW_UINT16 UserInterfaceHandler(const TripletArgs& args);
TW_UINT16 StatusHandler(const TripletArgs& args);
TW_UINT16 EntryPointHandler(const TripletArgs& args);
TW_UINT16 StatusUtf8Handler(const TripletArgs& args);

// Capability negotiation
TW_UINT16 HandleCapability(const TripletArgs& args);

// Transfers
TW_UINT16 PendingXfersHandler(const TripletArgs& args);
TW_UINT16 SetupMemXferHandler(const TripletArgs& args);
TW_UINT16 SetupFileXferHandler(const TripletArgs& args);
TW_UINT16 XferGroupHandler(const TripletArgs& args);
TW_UINT16 ImageInfoHandler(const TripletArgs& args);
TW_UINT16 ImageNativeXferHandler(const TripletArgs& args);
TW_UINT16 ImageMemXferHandler(const TripletArgs& args);
TW_UINT16 ImageFileXferHandler(const TripletArgs& args);

// Image description
TW_UINT16 ImageLayoutHandler(const TripletArgs& args);
TW_UINT16 Palette8Handler(const TripletArgs& args);
TW_UINT16 GrayResponseHandler(const TripletArgs& args);
TW_UINT16 RgbResponseHandler(const TripletArgs& args);
TW_UINT16 CieColorHandler(const TripletArgs& args);
TW_UINT16 JpegCompressionHandler(const TripletArgs& args);

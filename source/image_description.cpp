// Image description triplets: layout, palette, response curves, CIE colour
// and JPEG compression.
#include <windows.h>

#include "caps/capability_file.h"
#include "source/dib_file.h"
#include "source/handlers.h"
#include "source/image_values.h"
#include "source/messages.h"
#include "source/transfer_queue.h"

namespace {

const char kLayoutText[] = "General failure in response to DAT_IMAGEINFO.  ";
const char kPaletteText[] = "General failure in response to DAT_PALETTE8.  ";
const char kGrayResponseText[] = "General failure in response to DAT_GRAYRESPONSE.  ";
const char kRgbResponseText[] = "General failure in response to DAT_RGBRESPONSE.  ";
const char kCieColorText[] = "General failure in response to DAT_CIECOLOR.  ";

// The colour table of the current transfer file, read with its headers;
// false when they cannot be read or it has more colours than the palette
// holds.
bool ReadTransferPalette(TW_PALETTE8& palette)
{
    OFSTRUCT openInfo = {};
    const HFILE file = OpenFile(g_transferQueue.currentFile, &openInfo, OF_READ);
    HGLOBAL header = ReadDibHeader(file);
    if (file != HFILE_ERROR) {
        _lclose(file);
    }
    if (header == nullptr) {
        return false;
    }
    bool filled = false;
    const unsigned char* bytes = static_cast<const unsigned char*>(GlobalLock(header));
    if (bytes != nullptr) {
        filled = FillPalette8(bytes, GlobalSize(header), palette);
        GlobalUnlock(header);
    }
    GlobalFree(header);
    return filled;
}

// Writes the 16 entries of a response to its section of the capability
// file. Failed writes go unreported.
TW_UINT16 RecordResponse(const TripletArgs& args, const char* section, const char* text)
{
    const TW_ELEMENT8* entries = static_cast<const TW_ELEMENT8*>(args.pData);
    if (entries == nullptr) {
        return Refuse(TWCC_BADVALUE, text);
    }
    for (int i = 0; i < kResponseEntries; ++i) {
        char key[24];
        char value[24];
        FormatResponseEntry(i, entries[i], key, sizeof key, value, sizeof value);
        WriteCapabilityText(section, key, value);
    }
    return TWRC_SUCCESS;
}

}  // namespace

TW_UINT16 ImageLayoutHandler(const TripletArgs& args)
{
    switch (args.MSG) {
    case MSG_GET:
    case MSG_GETCURRENT:
    case MSG_GETDEFAULT:
        if (args.pData == nullptr) {
            return Refuse(TWCC_BADVALUE, kLayoutText);
        }
        FillImageLayout(*static_cast<TW_IMAGELAYOUT*>(args.pData));
        return TWRC_SUCCESS;
    case MSG_SET:
    case MSG_RESET:
        return TWRC_SUCCESS;
    default:
        return Refuse(TWCC_BADPROTOCOL, kLayoutText);
    }
}

TW_UINT16 Palette8Handler(const TripletArgs& args)
{
    if (!Accepted(args)) {
        return Refuse(TWCC_SEQERROR, kPaletteText);
    }
    switch (args.MSG) {
    case MSG_GET:
        if (args.pData == nullptr) {
            return Refuse(TWCC_BADVALUE, kPaletteText);
        }
        if (!ReadTransferPalette(*static_cast<TW_PALETTE8*>(args.pData))) {
            return Refuse(TWCC_OPERATIONERROR, kPaletteText);
        }
        return TWRC_SUCCESS;
    case MSG_GETDEFAULT:
    case MSG_SET:
    case MSG_RESET:
        return TWRC_SUCCESS;
    default:
        return Refuse(TWCC_BADPROTOCOL, kPaletteText);
    }
}

TW_UINT16 GrayResponseHandler(const TripletArgs& args)
{
    return RecordResponse(args, "GrayResponse", kGrayResponseText);
}

TW_UINT16 RgbResponseHandler(const TripletArgs& args)
{
    return RecordResponse(args, "RGBResponse", kRgbResponseText);
}

TW_UINT16 CieColorHandler(const TripletArgs& args)
{
    if (args.pData == nullptr) {
        return Refuse(TWCC_BADVALUE, kCieColorText);
    }
    FillCieColor(*static_cast<TW_CIECOLOR*>(args.pData));
    return TWRC_SUCCESS;
}

TW_UINT16 JpegCompressionHandler(const TripletArgs&)
{
    return TWRC_SUCCESS;
}

// TWAIN 1.8 declarations used by the data source, its stand-in Source Managers
// and our application, with what TWAIN 2 adds: the entry points, capability
// queries and the condition texts in UTF-8. Names and values are
// those of the TWAIN standard; structures are packed to 2 bytes on both
// architectures. The header needs no platform header: handles and memory
// references are plain pointers, so they are as wide as the architecture's.
#pragma once

#include <cstddef>
#include <cstdint>

typedef char TW_STR32[34];
typedef char TW_STR64[66];
typedef char TW_STR128[130];
typedef char TW_STR255[256];

typedef int8_t TW_INT8;
typedef int16_t TW_INT16;
typedef int32_t TW_INT32;
typedef uint8_t TW_UINT8;
typedef uint16_t TW_UINT16;
typedef uint32_t TW_UINT32;
typedef uint16_t TW_BOOL;
typedef void* TW_HANDLE;
typedef void* TW_MEMREF;

#pragma pack(push, 2)

struct TW_FIX32 {
    TW_INT16 Whole;
    TW_UINT16 Frac;
};

struct TW_FRAME {
    TW_FIX32 Left;
    TW_FIX32 Top;
    TW_FIX32 Right;
    TW_FIX32 Bottom;
};

struct TW_VERSION {
    TW_UINT16 MajorNum;
    TW_UINT16 MinorNum;
    TW_UINT16 Language;
    TW_UINT16 Country;
    TW_STR32 Info;
};

struct TW_IDENTITY {
    TW_UINT32 Id;
    TW_VERSION Version;
    TW_UINT16 ProtocolMajor;
    TW_UINT16 ProtocolMinor;
    TW_UINT32 SupportedGroups;
    TW_STR32 Manufacturer;
    TW_STR32 ProductFamily;
    TW_STR32 ProductName;
};
typedef TW_IDENTITY* pTW_IDENTITY;

struct TW_EVENT {
    TW_MEMREF pEvent;
    TW_UINT16 TWMessage;
};

struct TW_USERINTERFACE {
    TW_BOOL ShowUI;
    TW_BOOL ModalUI;
    TW_HANDLE hParent;
};

struct TW_STATUS {
    TW_UINT16 ConditionCode;
    TW_UINT16 Reserved;
};

// What DAT_STATUSUTF8 / MSG_GET answers: the text of the condition in Status
// in a block of the Source Manager's memory, which the application frees.
struct TW_STATUSUTF8 {
    TW_STATUS Status;
    TW_UINT32 Size;
    TW_HANDLE UTF8string;
};

struct TW_CAPABILITY {
    TW_UINT16 Cap;
    TW_UINT16 ConType;
    TW_HANDLE hContainer;
};

struct TW_ONEVALUE {
    TW_UINT16 ItemType;
    TW_UINT32 Item;
};

struct TW_ENUMERATION {
    TW_UINT16 ItemType;
    TW_UINT32 NumItems;
    TW_UINT32 CurrentIndex;
    TW_UINT32 DefaultIndex;
    TW_UINT8 ItemList[1];
};

struct TW_ARRAY {
    TW_UINT16 ItemType;
    TW_UINT32 NumItems;
    TW_UINT8 ItemList[1];
};

struct TW_RANGE {
    TW_UINT16 ItemType;
    TW_UINT32 MinValue;
    TW_UINT32 MaxValue;
    TW_UINT32 StepSize;
    TW_UINT32 DefaultValue;
    TW_UINT32 CurrentValue;
};

struct TW_PENDINGXFERS {
    TW_UINT16 Count;
    union {
        TW_UINT32 EOJ;
        TW_UINT32 Reserved;
    };
};

struct TW_SETUPMEMXFER {
    TW_UINT32 MinBufSize;
    TW_UINT32 MaxBufSize;
    TW_UINT32 Preferred;
};

struct TW_SETUPFILEXFER {
    TW_STR255 FileName;
    TW_UINT16 Format;
    TW_INT16 VRefNum;
};

struct TW_MEMORY {
    TW_UINT32 Flags;
    TW_UINT32 Length;
    TW_MEMREF TheMem;
};

struct TW_IMAGEINFO {
    TW_FIX32 XResolution;
    TW_FIX32 YResolution;
    TW_INT32 ImageWidth;
    TW_INT32 ImageLength;
    TW_INT16 SamplesPerPixel;
    TW_INT16 BitsPerSample[8];
    TW_INT16 BitsPerPixel;
    TW_BOOL Planar;
    TW_INT16 PixelType;
    TW_UINT16 Compression;
};

struct TW_IMAGEMEMXFER {
    TW_UINT16 Compression;
    TW_UINT32 BytesPerRow;
    TW_UINT32 Columns;
    TW_UINT32 Rows;
    TW_UINT32 XOffset;
    TW_UINT32 YOffset;
    TW_UINT32 BytesWritten;
    TW_MEMORY Memory;
};

struct TW_IMAGELAYOUT {
    TW_FRAME Frame;
    TW_UINT32 DocumentNumber;
    TW_UINT32 PageNumber;
    TW_UINT32 FrameNumber;
};

struct TW_ELEMENT8 {
    TW_UINT8 Index;
    TW_UINT8 Channel1;
    TW_UINT8 Channel2;
    TW_UINT8 Channel3;
};

struct TW_PALETTE8 {
    TW_UINT16 NumColors;
    TW_UINT16 PaletteType;
    TW_ELEMENT8 Colors[256];
};

struct TW_GRAYRESPONSE {
    TW_ELEMENT8 Response[1];
};

struct TW_RGBRESPONSE {
    TW_ELEMENT8 Response[1];
};

struct TW_DECODEFUNCTION {
    TW_FIX32 StartIn;
    TW_FIX32 BreakIn;
    TW_FIX32 EndIn;
    TW_FIX32 StartOut;
    TW_FIX32 BreakOut;
    TW_FIX32 EndOut;
    TW_FIX32 Gamma;
    TW_FIX32 SampleCount;
};

struct TW_TRANSFORMSTAGE {
    TW_DECODEFUNCTION Decode[3];
    TW_FIX32 Mix[3][3];
};

struct TW_CIEPOINT {
    TW_FIX32 X;
    TW_FIX32 Y;
    TW_FIX32 Z;
};

struct TW_CIECOLOR {
    TW_UINT16 ColorSpace;
    TW_INT16 LowEndian;
    TW_INT16 DeviceDependent;
    TW_INT32 VersionNumber;
    TW_TRANSFORMSTAGE StageABC;
    TW_TRANSFORMSTAGE StageLMN;
    TW_CIEPOINT WhitePoint;
    TW_CIEPOINT BlackPoint;
    TW_CIEPOINT WhitePaper;
    TW_CIEPOINT BlackInk;
    TW_FIX32 Samples[1];
};

struct TW_JPEGCOMPRESSION {
    TW_UINT16 ColorSpace;
    TW_UINT32 SubSampling;
    TW_UINT16 NumComponents;
    TW_UINT16 RestartFrequency;
    TW_UINT16 QuantMap[4];
    TW_MEMORY QuantTable[4];
    TW_UINT16 HuffmanMap[4];
    TW_MEMORY HuffmanDC[2];
    TW_MEMORY HuffmanAC[2];
};

#pragma pack(pop)

static_assert(sizeof(TW_IDENTITY) == 156, "TW_IDENTITY layout");
static_assert(sizeof(TW_ONEVALUE) == 6, "TW_ONEVALUE layout");
static_assert(offsetof(TW_ENUMERATION, ItemList) == 14, "TW_ENUMERATION layout");
static_assert(offsetof(TW_ARRAY, ItemList) == 6, "TW_ARRAY layout");
static_assert(sizeof(TW_RANGE) == 22, "TW_RANGE layout");
static_assert(sizeof(TW_IMAGEINFO) == 42, "TW_IMAGEINFO layout");
static_assert(sizeof(TW_STATUSUTF8) == 8 + sizeof(void*), "TW_STATUSUTF8 layout");

// Data groups
const TW_UINT32 DG_CONTROL = 0x0001;
const TW_UINT32 DG_IMAGE = 0x0002;
const TW_UINT32 DG_AUDIO = 0x0004;
// SupportedGroups flags of TWAIN 2: a Source Manager that hands out entry
// points, an application that takes them, a source that takes them.
const TW_UINT32 DF_DSM2 = 0x10000000;
const TW_UINT32 DF_APP2 = 0x20000000;
const TW_UINT32 DF_DS2 = 0x40000000;

// Data argument types
const TW_UINT16 DAT_NULL = 0x0000;
const TW_UINT16 DAT_CAPABILITY = 0x0001;
const TW_UINT16 DAT_EVENT = 0x0002;
const TW_UINT16 DAT_IDENTITY = 0x0003;
const TW_UINT16 DAT_PARENT = 0x0004;
const TW_UINT16 DAT_PENDINGXFERS = 0x0005;
const TW_UINT16 DAT_SETUPMEMXFER = 0x0006;
const TW_UINT16 DAT_SETUPFILEXFER = 0x0007;
const TW_UINT16 DAT_STATUS = 0x0008;
const TW_UINT16 DAT_USERINTERFACE = 0x0009;
const TW_UINT16 DAT_XFERGROUP = 0x000a;
const TW_UINT16 DAT_ENTRYPOINT = 0x0403;
const TW_UINT16 DAT_STATUSUTF8 = 0x0423;
const TW_UINT16 DAT_IMAGEINFO = 0x0101;
const TW_UINT16 DAT_IMAGELAYOUT = 0x0102;
const TW_UINT16 DAT_IMAGEMEMXFER = 0x0103;
const TW_UINT16 DAT_IMAGENATIVEXFER = 0x0104;
const TW_UINT16 DAT_IMAGEFILEXFER = 0x0105;
const TW_UINT16 DAT_CIECOLOR = 0x0106;
const TW_UINT16 DAT_GRAYRESPONSE = 0x0107;
const TW_UINT16 DAT_RGBRESPONSE = 0x0108;
const TW_UINT16 DAT_JPEGCOMPRESSION = 0x0109;
const TW_UINT16 DAT_PALETTE8 = 0x010a;

// Messages
const TW_UINT16 MSG_NULL = 0x0000;
const TW_UINT16 MSG_GET = 0x0001;
const TW_UINT16 MSG_GETCURRENT = 0x0002;
const TW_UINT16 MSG_GETDEFAULT = 0x0003;
const TW_UINT16 MSG_GETFIRST = 0x0004;
const TW_UINT16 MSG_GETNEXT = 0x0005;
const TW_UINT16 MSG_SET = 0x0006;
const TW_UINT16 MSG_RESET = 0x0007;
const TW_UINT16 MSG_QUERYSUPPORT = 0x0008;
const TW_UINT16 MSG_XFERREADY = 0x0101;
const TW_UINT16 MSG_CLOSEDSREQ = 0x0102;
const TW_UINT16 MSG_CLOSEDSOK = 0x0103;
const TW_UINT16 MSG_OPENDSM = 0x0301;
const TW_UINT16 MSG_CLOSEDSM = 0x0302;
const TW_UINT16 MSG_OPENDS = 0x0401;
const TW_UINT16 MSG_CLOSEDS = 0x0402;
const TW_UINT16 MSG_USERSELECT = 0x0403;
const TW_UINT16 MSG_DISABLEDS = 0x0501;
const TW_UINT16 MSG_ENABLEDS = 0x0502;
const TW_UINT16 MSG_ENABLEDSUIONLY = 0x0503;
const TW_UINT16 MSG_PROCESSEVENT = 0x0601;
const TW_UINT16 MSG_ENDXFER = 0x0701;
const TW_UINT16 MSG_RESETALL = 0x0a01;

// Return codes
const TW_UINT16 TWRC_SUCCESS = 0;
const TW_UINT16 TWRC_FAILURE = 1;
const TW_UINT16 TWRC_CHECKSTATUS = 2;
const TW_UINT16 TWRC_CANCEL = 3;
const TW_UINT16 TWRC_DSEVENT = 4;
const TW_UINT16 TWRC_NOTDSEVENT = 5;
const TW_UINT16 TWRC_XFERDONE = 6;
const TW_UINT16 TWRC_ENDOFLIST = 7;

// Condition codes
const TW_UINT16 TWCC_SUCCESS = 0;
const TW_UINT16 TWCC_BUMMER = 1;
const TW_UINT16 TWCC_LOWMEMORY = 2;
const TW_UINT16 TWCC_NODS = 3;
const TW_UINT16 TWCC_MAXCONNECTIONS = 4;
const TW_UINT16 TWCC_OPERATIONERROR = 5;
const TW_UINT16 TWCC_BADCAP = 6;
const TW_UINT16 TWCC_BADPROTOCOL = 9;
const TW_UINT16 TWCC_BADVALUE = 10;
const TW_UINT16 TWCC_SEQERROR = 11;
const TW_UINT16 TWCC_BADDEST = 12;
const TW_UINT16 TWCC_CAPUNSUPPORTED = 13;
const TW_UINT16 TWCC_CAPBADOPERATION = 14;
const TW_UINT16 TWCC_CAPSEQERROR = 15;

// What MSG_QUERYSUPPORT tells of a capability's operations
const TW_INT32 TWQC_GET = 0x0001;
const TW_INT32 TWQC_SET = 0x0002;
const TW_INT32 TWQC_GETDEFAULT = 0x0004;
const TW_INT32 TWQC_GETCURRENT = 0x0008;
const TW_INT32 TWQC_RESET = 0x0010;

// Container types
const TW_UINT16 TWON_ARRAY = 3;
const TW_UINT16 TWON_ENUMERATION = 4;
const TW_UINT16 TWON_ONEVALUE = 5;
const TW_UINT16 TWON_RANGE = 6;
const TW_UINT16 TWON_DONTCARE16 = 0xffff;
const TW_UINT32 TWON_DONTCARE32 = 0xffffffff;

// Item types
const TW_UINT16 TWTY_INT8 = 0x0000;
const TW_UINT16 TWTY_INT16 = 0x0001;
const TW_UINT16 TWTY_INT32 = 0x0002;
const TW_UINT16 TWTY_UINT8 = 0x0003;
const TW_UINT16 TWTY_UINT16 = 0x0004;
const TW_UINT16 TWTY_UINT32 = 0x0005;
const TW_UINT16 TWTY_BOOL = 0x0006;
const TW_UINT16 TWTY_FIX32 = 0x0007;
const TW_UINT16 TWTY_FRAME = 0x0008;
const TW_UINT16 TWTY_STR32 = 0x0009;
const TW_UINT16 TWTY_STR64 = 0x000a;
const TW_UINT16 TWTY_STR128 = 0x000b;
const TW_UINT16 TWTY_STR255 = 0x000c;

// Capabilities
const TW_UINT16 CAP_XFERCOUNT = 0x0001;
const TW_UINT16 ICAP_COMPRESSION = 0x0100;
const TW_UINT16 ICAP_PIXELTYPE = 0x0101;
const TW_UINT16 ICAP_UNITS = 0x0102;
const TW_UINT16 ICAP_XFERMECH = 0x0103;
const TW_UINT16 CAP_SUPPORTEDCAPS = 0x1005;
const TW_UINT16 CAP_AUTOFEED = 0x1007;
const TW_UINT16 CAP_INDICATORS = 0x100b;
const TW_UINT16 CAP_UICONTROLLABLE = 0x100e;
const TW_UINT16 CAP_DEVICEONLINE = 0x100f;
const TW_UINT16 ICAP_IMAGEFILEFORMAT = 0x110c;
const TW_UINT16 ICAP_PHYSICALWIDTH = 0x1111;
const TW_UINT16 ICAP_PHYSICALHEIGHT = 0x1112;
const TW_UINT16 ICAP_XRESOLUTION = 0x1118;
const TW_UINT16 ICAP_YRESOLUTION = 0x1119;
const TW_UINT16 ICAP_BITORDER = 0x111c;
const TW_UINT16 ICAP_PIXELFLAVOR = 0x111f;
const TW_UINT16 ICAP_PLANARCHUNKY = 0x1120;
const TW_UINT16 ICAP_BITDEPTH = 0x112b;

// Symbolic values
const TW_UINT16 TWLG_ENGLISH_USA = 13;
const TW_UINT16 TWCY_USA = 1;
const TW_UINT16 TWPT_BW = 0;
const TW_UINT16 TWPT_GRAY = 1;
const TW_UINT16 TWPT_RGB = 2;
const TW_UINT16 TWPT_PALETTE = 3;
const TW_UINT16 TWCP_NONE = 0;
const TW_UINT16 TWFF_TIFF = 0;
const TW_UINT16 TWFF_BMP = 2;
const TW_UINT16 TWSX_NATIVE = 0;
const TW_UINT16 TWSX_FILE = 1;
const TW_UINT16 TWSX_MEMORY = 2;
const TW_UINT16 TWPA_RGB = 0;
const TW_UINT16 TWPF_CHOCOLATE = 0;
const TW_UINT16 TWPC_CHUNKY = 0;
const TW_UINT16 TWBO_MSBFIRST = 1;
const TW_UINT32 TWMF_APPOWNS = 0x0001;
const TW_UINT32 TWMF_POINTER = 0x0008;
const TW_UINT32 TWMF_HANDLE = 0x0010;

// Entry points. PASCAL is __stdcall on 32-bit Windows.
#ifdef _WIN32
#define TW_CALLINGSTYLE __stdcall
#else
#define TW_CALLINGSTYLE
#endif

typedef TW_UINT16(TW_CALLINGSTYLE* DSENTRYPROC)(pTW_IDENTITY pOrigin, TW_UINT32 DG, TW_UINT16 DAT,
                                                TW_UINT16 MSG, TW_MEMREF pData);
typedef TW_UINT16(TW_CALLINGSTYLE* DSMENTRYPROC)(pTW_IDENTITY pOrigin, pTW_IDENTITY pDest,
                                                 TW_UINT32 DG, TW_UINT16 DAT, TW_UINT16 MSG,
                                                 TW_MEMREF pData);

typedef TW_HANDLE(TW_CALLINGSTYLE* DSM_MEMALLOCATE)(TW_UINT32 size);
typedef void(TW_CALLINGSTYLE* DSM_MEMFREE)(TW_HANDLE handle);
typedef TW_MEMREF(TW_CALLINGSTYLE* DSM_MEMLOCK)(TW_HANDLE handle);
typedef void(TW_CALLINGSTYLE* DSM_MEMUNLOCK)(TW_HANDLE handle);

// What a TWAIN 2 Source Manager gives a source with DAT_ENTRYPOINT / MSG_SET.
#pragma pack(push, 2)
struct TW_ENTRYPOINT {
    TW_UINT32 Size;
    DSMENTRYPROC DSM_Entry;
    DSM_MEMALLOCATE DSM_MemAllocate;
    DSM_MEMFREE DSM_MemFree;
    DSM_MEMLOCK DSM_MemLock;
    DSM_MEMUNLOCK DSM_MemUnlock;
};
#pragma pack(pop)

static_assert(sizeof(TW_ENTRYPOINT) == 4 + 5 * sizeof(void*), "TW_ENTRYPOINT layout");

// The preview graph: the capture filter of the camera, found among the video
// input devices, bound into a filter graph through the capture graph builder,
// its capture pin rendered into a child video window of the album's video
// frame. One process-wide record; every interface pointer in it is an owned
// reference, released once and cleared.
#define NO_DSHOW_STRSAFE
#include "video/preview_graph.h"

#include <dshow.h>
#include <olectl.h>

#include <cstring>

#include "video/video_platform.h"

namespace {

const char kCameraName[80] = "ZX600 Video Capture";
constexpr DWORD kFourccI420 = 0x30323449;
// The FOURCC subtype 'I420', missing from the platform headers.
const GUID kMediaSubtypeI420 = {
    0x30323449, 0x0000, 0x0010, {0x80, 0x00, 0x00, 0xaa, 0x00, 0x38, 0x9b, 0x71}};

const VideoPlatform kRealPlatform = {CoCreateInstance, OleCreatePropertyFrame};
const VideoPlatform* platform = &kRealPlatform;

struct VideoPreview {
    HWND frameWindow;
    UINT stopRunMessage;
    LONG deviceIndex;
    ICaptureGraphBuilder* builder;
    IGraphBuilder* graph;
    IBaseFilter* captureFilter;
    IAMStreamConfig* streamConfig;
    IVideoWindow* videoWindow;
    bool previewWanted;
    bool previewRendered;
    bool running;
    bool comInitialised;
    double frameRate;
};

VideoPreview preview;

template <class Interface>
void ReleaseAndClear(Interface*& pointer)
{
    if (pointer) {
        pointer->Release();
        pointer = nullptr;
    }
}

// A COM object from the platform; the pointer stays null on failure.
template <class Interface>
bool CreateObject(REFCLSID id, DWORD context, REFIID iid, Interface** object)
{
    *object = nullptr;
    if (SUCCEEDED(
            platform->createObject(id, nullptr, context, iid, reinterpret_cast<void**>(object))) &&
        *object)
        return true;
    *object = nullptr;
    return false;
}

template <class Interface>
bool QueryObject(IUnknown* from, REFIID iid, Interface** object)
{
    *object = nullptr;
    if (SUCCEEDED(from->QueryInterface(iid, reinterpret_cast<void**>(object))) && *object)
        return true;
    *object = nullptr;
    return false;
}

// FindInterface on the capture pin of the bound filter.
template <class Interface>
HRESULT FindOnCapturePin(REFIID iid, Interface** object)
{
    *object = nullptr;
    HRESULT result = preview.builder->FindInterface(&PIN_CATEGORY_CAPTURE, preview.captureFilter,
                                                    iid, reinterpret_cast<void**>(object));
    if (FAILED(result))
        *object = nullptr;
    return result;
}

void FreeMediaType(AM_MEDIA_TYPE* type)
{
    if (type->cbFormat != 0) {
        CoTaskMemFree(type->pbFormat);
        type->cbFormat = 0;
        type->pbFormat = nullptr;
    }
    ReleaseAndClear(type->pUnk);
    CoTaskMemFree(type);
}

// The video header of a media type, or null when its format block is not one.
VIDEOINFOHEADER* VideoHeader(AM_MEDIA_TYPE* type)
{
    if (type->formattype != FORMAT_VideoInfo || type->cbFormat < sizeof(VIDEOINFOHEADER) ||
        !type->pbFormat)
        return nullptr;
    return reinterpret_cast<VIDEOINFOHEADER*>(type->pbFormat);
}

REFERENCE_TIME FrameInterval()
{
    return static_cast<REFERENCE_TIME>(10000000.0 / preview.frameRate);
}

// The video input devices, or null when there are none or the platform fails.
IEnumMoniker* EnumerateVideoInputs()
{
    ICreateDevEnum* devices;
    if (!CreateObject(CLSID_SystemDeviceEnum, CLSCTX_INPROC_SERVER, IID_ICreateDevEnum, &devices))
        return nullptr;
    IEnumMoniker* monikers = nullptr;
    HRESULT result = devices->CreateClassEnumerator(CLSID_VideoInputDeviceCategory, &monikers, 0);
    devices->Release();
    if (result != S_OK)
        ReleaseAndClear(monikers);
    return monikers;
}

// Whether the device's friendly name, in the ANSI code page, begins with the
// camera's name (case-sensitive).
bool IsCameraDevice(IMoniker* moniker)
{
    IPropertyBag* bag = nullptr;
    if (FAILED(moniker->BindToStorage(nullptr, nullptr, IID_IPropertyBag,
                                      reinterpret_cast<void**>(&bag))) ||
        !bag)
        return false;
    // The string is null until the bag writes one, so that a failed read
    // leaves nothing to free.
    VARIANT name;
    VariantInit(&name);
    name.vt = VT_BSTR;
    name.bstrVal = nullptr;
    bool match = false;
    if (bag->Read(L"FriendlyName", &name, nullptr) == S_OK && name.vt == VT_BSTR) {
        // At most 40 characters, so that even a double-byte code page fills
        // no more than the 80-byte buffer, which keeps its terminator.
        char ansi[80] = {};
        UINT length = SysStringLen(name.bstrVal);
        WideCharToMultiByte(CP_ACP, 0, name.bstrVal, length < 40 ? length : 40, ansi,
                            sizeof ansi - 1, nullptr, nullptr);
        match = std::strncmp(ansi, kCameraName, std::strlen(kCameraName)) == 0;
    }
    VariantClear(&name);
    bag->Release();
    return match;
}

void ReleaseCaptureFilter()
{
    ReleaseAndClear(preview.graph);
    ReleaseAndClear(preview.builder);
    ReleaseAndClear(preview.captureFilter);
    ReleaseAndClear(preview.streamConfig);
}

// Binds the filter of the device at deviceIndex into a new graph.
bool BindCaptureFilter()
{
    if (!preview.builder && !CreateObject(CLSID_CaptureGraphBuilder, CLSCTX_INPROC,
                                          IID_ICaptureGraphBuilder, &preview.builder))
        return false;
    IEnumMoniker* monikers = EnumerateVideoInputs();
    if (!monikers)
        return false;
    monikers->Reset();
    preview.captureFilter = nullptr;
    IMoniker* moniker = nullptr;
    for (LONG position = 0; monikers->Next(1, &moniker, nullptr) == S_OK; ++position) {
        bool selected = position == preview.deviceIndex;
        if (selected && moniker &&
            FAILED(moniker->BindToObject(nullptr, nullptr, IID_IBaseFilter,
                                         reinterpret_cast<void**>(&preview.captureFilter))))
            preview.captureFilter = nullptr;
        ReleaseAndClear(moniker);
        if (selected)
            break;
    }
    monikers->Release();
    if (!preview.captureFilter ||
        !CreateObject(CLSID_FilterGraph, CLSCTX_INPROC, IID_IGraphBuilder, &preview.graph) ||
        FAILED(preview.builder->SetFiltergraph(preview.graph)) ||
        FAILED(preview.graph->AddFilter(preview.captureFilter, nullptr))) {
        ReleaseCaptureFilter();
        return false;
    }
    FindOnCapturePin(IID_IAMStreamConfig, &preview.streamConfig);
    return true;
}

// Writes the capture pin's current format back with `change` made to it; a
// pin without a video format, or one that refuses, keeps its own.
template <class Change>
void ChangeVideoFormat(Change change)
{
    AM_MEDIA_TYPE* type = nullptr;
    if (!preview.streamConfig || preview.streamConfig->GetFormat(&type) != S_OK || !type)
        return;
    if (VIDEOINFOHEADER* header = VideoHeader(type)) {
        change(type, header);
        preview.streamConfig->SetFormat(type);
    }
    FreeMediaType(type);
}

// Asks the capture pin for I420, 12 bits a pixel, at the frame rate; the
// frame size stays the pin's.
void ApplyStreamFormat()
{
    ChangeVideoFormat([](AM_MEDIA_TYPE* type, VIDEOINFOHEADER* header) {
        type->subtype = kMediaSubtypeI420;
        header->AvgTimePerFrame = FrameInterval();
        header->bmiHeader.biCompression = kFourccI420;
        header->bmiHeader.biBitCount = 12;
    });
}

void ApplyFrameInterval()
{
    ChangeVideoFormat(
        [](AM_MEDIA_TYPE*, VIDEOINFOHEADER* header) { header->AvgTimePerFrame = FrameInterval(); });
}

// Places the renderer's window as a child filling the frame's client area.
void AttachVideoWindow()
{
    IVideoWindow* window = preview.videoWindow;
    window->put_Owner(reinterpret_cast<OAHWND>(preview.frameWindow));
    window->put_WindowStyle(WS_CHILD);
    RECT client = {};
    GetClientRect(preview.frameWindow, &client);
    window->SetWindowPosition(0, 0, client.right, client.bottom);
    window->put_Visible(OATRUE);
}

bool RenderPreview()
{
    ApplyStreamFormat();
    if (preview.previewRendered)
        return true;
    if (preview.running || !preview.captureFilter)
        return false;
    preview.builder->RenderStream(&PIN_CATEGORY_CAPTURE, preview.captureFilter, nullptr, nullptr);
    if (FindOnCapturePin(IID_IVideoWindow, &preview.videoWindow) == S_OK && preview.videoWindow)
        AttachVideoWindow();
    ApplyFrameInterval();
    preview.previewRendered = true;
    return true;
}

// Removes every filter downstream of the given one from the graph, depth first.
void RemoveDownstream(IBaseFilter* filter)
{
    IEnumPins* pins = nullptr;
    if (FAILED(filter->EnumPins(&pins)) || !pins)
        return;
    pins->Reset();
    IPin* pin = nullptr;
    bool walking = true;
    while (walking && pins->Next(1, &pin, nullptr) == S_OK) {
        if (!pin)
            continue;
        IPin* peer = nullptr;
        if (SUCCEEDED(pin->ConnectedTo(&peer)) && peer) {
            PIN_INFO info = {};
            walking = SUCCEEDED(peer->QueryPinInfo(&info));
            if (walking && info.dir == PINDIR_INPUT && info.pFilter) {
                RemoveDownstream(info.pFilter);
                peer->Disconnect();
                pin->Disconnect();
                preview.graph->RemoveFilter(info.pFilter);
            }
            if (walking)
                ReleaseAndClear(info.pFilter);
            peer->Release();
        }
        ReleaseAndClear(pin);
    }
    pins->Release();
}

void UnrenderPreview(HWND repaintWindow)
{
    if (preview.videoWindow) {
        preview.videoWindow->put_Owner(0);
        preview.videoWindow->put_Visible(OAFALSE);
        ReleaseAndClear(preview.videoWindow);
    }
    if (repaintWindow)
        UpdateWindow(repaintWindow);
    if (preview.captureFilter)
        RemoveDownstream(preview.captureFilter);
    preview.previewRendered = false;
}

bool RunGraph()
{
    if (preview.running)
        return true;
    if (!preview.previewRendered)
        return false;
    IMediaControl* control;
    if (!QueryObject(preview.graph, IID_IMediaControl, &control))
        return false;
    HRESULT result = control->Run();
    if (FAILED(result))
        control->Stop();
    control->Release();
    if (FAILED(result))
        return false;
    preview.running = true;
    return true;
}

void RenderAndRun()
{
    RenderPreview();
    RunGraph();
}

// A modal property frame over one object, owned by the video frame.
void ShowPropertyFrame(IUnknown* object, ISpecifyPropertyPages* pages)
{
    CAUUID list = {};
    if (FAILED(pages->GetPages(&list)))
        return;
    IUnknown* objects[1] = {object};
    platform->showPropertyFrame(preview.frameWindow, 30, 30, nullptr, 1, objects, list.cElems,
                                list.pElems, 0, 0, nullptr);
    CoTaskMemFree(list.pElems);
}

}  // namespace

void SetVideoPlatform(const VideoPlatform* replacement)
{
    platform = replacement ? replacement : &kRealPlatform;
}

bool OpenVideo(HWND frameWindow)
{
    preview.comInitialised = SUCCEEDED(CoInitialize(nullptr));
    preview.frameWindow = frameWindow;
    preview.deviceIndex = -1;
    preview.previewWanted = true;
    preview.frameRate = 30.0;
    preview.stopRunMessage = RegisterWindowMessageA("STOPRUN");
    return true;
}

void FindCameraDevice(LONG* deviceIndex)
{
    IEnumMoniker* monikers = EnumerateVideoInputs();
    if (!monikers)
        return;
    monikers->Reset();
    IMoniker* moniker = nullptr;
    for (LONG position = 0; monikers->Next(1, &moniker, nullptr) == S_OK; ++position) {
        if (moniker && IsCameraDevice(moniker))
            *deviceIndex = position;
        ReleaseAndClear(moniker);
    }
    monikers->Release();
}

void SelectVideoDevice(LONG deviceIndex)
{
    if (deviceIndex == preview.deviceIndex)
        return;
    preview.deviceIndex = deviceIndex;
    if (preview.running)
        HaltPreview();
    if (preview.previewRendered)
        UnrenderPreview(nullptr);
    ReleaseCaptureFilter();
    BindCaptureFilter();
    if (preview.previewWanted)
        RenderAndRun();
}

bool ShowPreview()
{
    preview.previewWanted = true;
    RenderAndRun();
    return true;
}

void RestartPreview(int restart, HWND repaintWindow)
{
    if (preview.running)
        HaltPreview();
    UnrenderPreview(repaintWindow);
    if (restart && preview.previewWanted)
        RenderAndRun();
}

bool HaltPreview()
{
    if (!preview.running)
        return false;
    IMediaControl* control;
    if (!QueryObject(preview.graph, IID_IMediaControl, &control))
        return false;
    HRESULT result = control->Stop();
    control->Release();
    if (FAILED(result))
        return false;
    preview.running = false;
    InvalidateRect(preview.frameWindow, nullptr, TRUE);
    return true;
}

bool ShowFilterPages()
{
    ISpecifyPropertyPages* pages;
    if (!preview.captureFilter ||
        !QueryObject(preview.captureFilter, IID_ISpecifyPropertyPages, &pages))
        return true;
    ShowPropertyFrame(preview.captureFilter, pages);
    pages->Release();
    return true;
}

bool ShowFormatPages()
{
    if (preview.previewWanted) {
        HaltPreview();
        UnrenderPreview(nullptr);
    }
    IAMStreamConfig* config;
    if (preview.captureFilter && FindOnCapturePin(IID_IAMStreamConfig, &config) >= 0 && config) {
        ISpecifyPropertyPages* pages;
        if (QueryObject(config, IID_ISpecifyPropertyPages, &pages)) {
            ShowPropertyFrame(config, pages);
            pages->Release();
        }
        config->Release();
    }
    if (preview.previewWanted)
        RenderAndRun();
    return true;
}

bool CloseVideo()
{
    HaltPreview();
    UnrenderPreview(nullptr);
    ReleaseCaptureFilter();
    if (preview.comInitialised)
        CoUninitialize();
    UINT stopRunMessage = preview.stopRunMessage;
    preview = VideoPreview{};
    preview.stopRunMessage = stopRunMessage;
    return true;
}

UINT StopRunMessage()
{
    return preview.stopRunMessage;
}

// The preview graph over fake DirectShow objects put behind its platform
// calls: which device is chosen, the order of the graph calls, the forced
// stream format, and every reference given back, also when binding or
// running fails.
#define NO_DSHOW_STRSAFE
#include <windows.h>

#include <dshow.h>
#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "video/preview_graph.h"
#include "video/video_platform.h"

namespace {

const GUID kI420 = {0x30323449, 0x0000, 0x0010, {0x80, 0x00, 0x00, 0xaa, 0x00, 0x38, 0x9b, 0x71}};

std::vector<std::string> calls;
HWND frameWindow;

void Note(const std::string& call)
{
    calls.push_back(call);
}

// Reference counting of a fake: the test owns the object; the code under
// test must give back every reference it took.
struct Counted {
    explicit Counted(const char* name) : name(name) {}
    ULONG Take() { return ++refs; }
    ULONG Drop()
    {
        Note(std::string("Release ") + name);
        if (refs == 0)
            overReleased = true;
        else
            --refs;
        return refs;
    }
    template <class Interface>
    HRESULT Give(Interface* what, void** out)
    {
        *out = what;
        Take();
        return S_OK;
    }
    const char* name;
    ULONG refs = 0;
    bool overReleased = false;
};

#define FAKE_REFS                                                                                  \
    STDMETHODIMP_(ULONG) AddRef() override                                                         \
    {                                                                                              \
        return Take();                                                                             \
    }                                                                                              \
    STDMETHODIMP_(ULONG) Release() override                                                        \
    {                                                                                              \
        return Drop();                                                                             \
    }
#define NOT_USED(method, ...)                                                                      \
    STDMETHODIMP method(__VA_ARGS__) override                                                      \
    {                                                                                              \
        return E_NOTIMPL;                                                                          \
    }

class FakePin;

class FakeFilter : public IBaseFilter, public ISpecifyPropertyPages, public Counted {
public:
    explicit FakeFilter(const char* name) : Counted(name) {}
    FAKE_REFS
    STDMETHODIMP QueryInterface(REFIID iid, void** out) override
    {
        if (iid == IID_IUnknown || iid == IID_IBaseFilter)
            return Give(static_cast<IBaseFilter*>(this), out);
        if (iid == IID_ISpecifyPropertyPages && hasPages)
            return Give(static_cast<ISpecifyPropertyPages*>(this), out);
        *out = nullptr;
        return E_NOINTERFACE;
    }
    STDMETHODIMP EnumPins(IEnumPins** pins) override;
    STDMETHODIMP GetPages(CAUUID* pages) override
    {
        pages->cElems = 1;
        pages->pElems = static_cast<GUID*>(CoTaskMemAlloc(sizeof(GUID)));
        pages->pElems[0] = IID_IUnknown;
        return S_OK;
    }
    NOT_USED(GetClassID, CLSID*)
    NOT_USED(Stop)
    NOT_USED(Pause)
    NOT_USED(Run, REFERENCE_TIME)
    NOT_USED(GetState, DWORD, FILTER_STATE*)
    NOT_USED(SetSyncSource, IReferenceClock*)
    NOT_USED(GetSyncSource, IReferenceClock**)
    NOT_USED(FindPin, LPCWSTR, IPin**)
    NOT_USED(QueryFilterInfo, FILTER_INFO*)
    NOT_USED(JoinFilterGraph, IFilterGraph*, LPCWSTR)
    NOT_USED(QueryVendorInfo, LPWSTR*)

    FakePin* pin = nullptr;
    bool hasPages = true;
};

class FakePin : public IPin, public Counted {
public:
    FakePin(const char* name, FakeFilter* owner, PIN_DIRECTION direction)
        : Counted(name), owner(owner), direction(direction)
    {
    }
    FAKE_REFS
    STDMETHODIMP QueryInterface(REFIID, void** out) override
    {
        *out = nullptr;
        return E_NOINTERFACE;
    }
    STDMETHODIMP ConnectedTo(IPin** pin) override
    {
        *pin = peer;
        if (!peer)
            return VFW_E_NOT_CONNECTED;
        peer->AddRef();
        return S_OK;
    }
    STDMETHODIMP QueryPinInfo(PIN_INFO* info) override
    {
        info->pFilter = owner;
        owner->AddRef();
        info->dir = direction;
        info->achName[0] = 0;
        return S_OK;
    }
    STDMETHODIMP Disconnect() override
    {
        Note(std::string("Disconnect ") + name);
        peer = nullptr;
        return S_OK;
    }
    NOT_USED(Connect, IPin*, const AM_MEDIA_TYPE*)
    NOT_USED(ReceiveConnection, IPin*, const AM_MEDIA_TYPE*)
    NOT_USED(ConnectionMediaType, AM_MEDIA_TYPE*)
    NOT_USED(QueryDirection, PIN_DIRECTION*)
    NOT_USED(QueryId, LPWSTR*)
    NOT_USED(QueryAccept, const AM_MEDIA_TYPE*)
    NOT_USED(EnumMediaTypes, IEnumMediaTypes**)
    NOT_USED(QueryInternalConnections, IPin**, ULONG*)
    NOT_USED(EndOfStream)
    NOT_USED(BeginFlush)
    NOT_USED(EndFlush)
    NOT_USED(NewSegment, REFERENCE_TIME, REFERENCE_TIME, double)

    FakeFilter* owner;
    PIN_DIRECTION direction;
    FakePin* peer = nullptr;
};

// The one pin of a filter.
class FakePinList : public IEnumPins, public Counted {
public:
    explicit FakePinList(FakePin* pin) : Counted("pins"), pin_(pin) {}
    FAKE_REFS
    STDMETHODIMP QueryInterface(REFIID, void** out) override
    {
        *out = nullptr;
        return E_NOINTERFACE;
    }
    STDMETHODIMP Next(ULONG, IPin** pins, ULONG* fetched) override
    {
        if (given_) {
            *pins = nullptr;
            return S_FALSE;
        }
        given_ = true;
        *pins = pin_;
        pin_->AddRef();
        if (fetched)
            *fetched = 1;
        return S_OK;
    }
    STDMETHODIMP Reset() override
    {
        given_ = false;
        return S_OK;
    }
    NOT_USED(Skip, ULONG)
    NOT_USED(Clone, IEnumPins**)

private:
    FakePin* pin_;
    bool given_ = false;
};

STDMETHODIMP FakeFilter::EnumPins(IEnumPins** pins)
{
    auto* list = new FakePinList(pin);
    list->AddRef();
    *pins = list;
    return S_OK;
}

// The capture pin's stream configuration: RGB24 320 x 240 at 15 frames a
// second until a format is set.
class FakeStreamConfig : public IAMStreamConfig, public ISpecifyPropertyPages, public Counted {
public:
    FakeStreamConfig() : Counted("config")
    {
        header.AvgTimePerFrame = 666666;
        header.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
        header.bmiHeader.biWidth = 320;
        header.bmiHeader.biHeight = 240;
        header.bmiHeader.biBitCount = 24;
        header.bmiHeader.biCompression = BI_RGB;
        header.bmiHeader.biSizeImage = 320 * 240 * 3;
    }
    FAKE_REFS
    STDMETHODIMP QueryInterface(REFIID iid, void** out) override
    {
        if (iid == IID_ISpecifyPropertyPages)
            return Give(static_cast<ISpecifyPropertyPages*>(this), out);
        *out = nullptr;
        return E_NOINTERFACE;
    }
    STDMETHODIMP GetFormat(AM_MEDIA_TYPE** type) override
    {
        *type = static_cast<AM_MEDIA_TYPE*>(CoTaskMemAlloc(sizeof(AM_MEDIA_TYPE)));
        ZeroMemory(*type, sizeof **type);
        (*type)->majortype = MEDIATYPE_Video;
        (*type)->subtype = subtype;
        (*type)->formattype = FORMAT_VideoInfo;
        (*type)->cbFormat = sizeof header;
        (*type)->pbFormat = static_cast<BYTE*>(CoTaskMemAlloc(sizeof header));
        CopyMemory((*type)->pbFormat, &header, sizeof header);
        return S_OK;
    }
    STDMETHODIMP SetFormat(AM_MEDIA_TYPE* type) override
    {
        subtype = type->subtype;
        CopyMemory(&header, type->pbFormat, sizeof header);
        char text[120];
        std::snprintf(text, sizeof text, "SetFormat %s %ldx%ld %d bits %08lx every %lld",
                      subtype == kI420 ? "I420" : "other", header.bmiHeader.biWidth,
                      header.bmiHeader.biHeight, header.bmiHeader.biBitCount,
                      header.bmiHeader.biCompression,
                      static_cast<long long>(header.AvgTimePerFrame));
        Note(text);
        return S_OK;
    }
    STDMETHODIMP GetPages(CAUUID* pages) override
    {
        pages->cElems = 1;
        pages->pElems = static_cast<GUID*>(CoTaskMemAlloc(sizeof(GUID)));
        pages->pElems[0] = IID_IUnknown;
        return S_OK;
    }
    NOT_USED(GetNumberOfCapabilities, int*, int*)
    NOT_USED(GetStreamCaps, int, AM_MEDIA_TYPE**, BYTE*)

    GUID subtype = MEDIASUBTYPE_RGB24;
    VIDEOINFOHEADER header = {};
};

class FakeVideoWindow : public IVideoWindow, public Counted {
public:
    FakeVideoWindow() : Counted("window") {}
    FAKE_REFS
    STDMETHODIMP QueryInterface(REFIID, void** out) override
    {
        *out = nullptr;
        return E_NOINTERFACE;
    }
    STDMETHODIMP put_Owner(OAHWND owner) override
    {
        Note(owner == reinterpret_cast<OAHWND>(frameWindow) ? "put_Owner frame"
             : owner                                        ? "put_Owner other"
                                                            : "put_Owner 0");
        return S_OK;
    }
    STDMETHODIMP put_WindowStyle(LONG style) override
    {
        Note("put_WindowStyle " + std::to_string(style));
        return S_OK;
    }
    STDMETHODIMP SetWindowPosition(LONG left, LONG top, LONG width, LONG height) override
    {
        Note("SetWindowPosition " + std::to_string(left) + " " + std::to_string(top) + " " +
             std::to_string(width) + " " + std::to_string(height));
        return S_OK;
    }
    STDMETHODIMP put_Visible(LONG visible) override
    {
        Note("put_Visible " + std::to_string(visible));
        return S_OK;
    }
    NOT_USED(GetTypeInfoCount, UINT*)
    NOT_USED(GetTypeInfo, UINT, LCID, ITypeInfo**)
    NOT_USED(GetIDsOfNames, REFIID, LPOLESTR*, UINT, LCID, DISPID*)
    NOT_USED(Invoke, DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*, UINT*)
    NOT_USED(put_Caption, BSTR)
    NOT_USED(get_Caption, BSTR*)
    NOT_USED(get_WindowStyle, LONG*)
    NOT_USED(put_WindowStyleEx, LONG)
    NOT_USED(get_WindowStyleEx, LONG*)
    NOT_USED(put_AutoShow, LONG)
    NOT_USED(get_AutoShow, LONG*)
    NOT_USED(put_WindowState, LONG)
    NOT_USED(get_WindowState, LONG*)
    NOT_USED(put_BackgroundPalette, LONG)
    NOT_USED(get_BackgroundPalette, LONG*)
    NOT_USED(get_Visible, LONG*)
    NOT_USED(put_Left, LONG)
    NOT_USED(get_Left, LONG*)
    NOT_USED(put_Width, LONG)
    NOT_USED(get_Width, LONG*)
    NOT_USED(put_Top, LONG)
    NOT_USED(get_Top, LONG*)
    NOT_USED(put_Height, LONG)
    NOT_USED(get_Height, LONG*)
    NOT_USED(get_Owner, OAHWND*)
    NOT_USED(put_MessageDrain, OAHWND)
    NOT_USED(get_MessageDrain, OAHWND*)
    NOT_USED(get_BorderColor, LONG*)
    NOT_USED(put_BorderColor, LONG)
    NOT_USED(get_FullScreenMode, LONG*)
    NOT_USED(put_FullScreenMode, LONG)
    NOT_USED(SetWindowForeground, LONG)
    NOT_USED(NotifyOwnerMessage, OAHWND, LONG, LONG_PTR, LONG_PTR)
    NOT_USED(GetWindowPosition, LONG*, LONG*, LONG*, LONG*)
    NOT_USED(GetMinIdealImageSize, LONG*, LONG*)
    NOT_USED(GetMaxIdealImageSize, LONG*, LONG*)
    NOT_USED(GetRestorePosition, LONG*, LONG*, LONG*, LONG*)
    NOT_USED(HideCursor, LONG)
    NOT_USED(IsCursorHidden, LONG*)
};

class FakeGraph : public IGraphBuilder, public IMediaControl, public Counted {
public:
    FakeGraph() : Counted("graph") {}
    FAKE_REFS
    STDMETHODIMP QueryInterface(REFIID iid, void** out) override
    {
        if (iid == IID_IMediaControl)
            return Give(static_cast<IMediaControl*>(this), out);
        *out = nullptr;
        return E_NOINTERFACE;
    }
    STDMETHODIMP AddFilter(IBaseFilter*, LPCWSTR name) override
    {
        Note(name ? "AddFilter named" : "AddFilter");
        return addFilterResult;
    }
    STDMETHODIMP RemoveFilter(IBaseFilter* filter) override
    {
        Note(std::string("RemoveFilter ") + static_cast<FakeFilter*>(filter)->name);
        return S_OK;
    }
    STDMETHODIMP Run() override
    {
        Note("Run");
        return runResult;
    }
    STDMETHODIMP Stop() override
    {
        Note("Stop");
        return S_OK;
    }
    NOT_USED(EnumFilters, IEnumFilters**)
    NOT_USED(FindFilterByName, LPCWSTR, IBaseFilter**)
    NOT_USED(ConnectDirect, IPin*, IPin*, const AM_MEDIA_TYPE*)
    NOT_USED(Reconnect, IPin*)
    NOT_USED(Disconnect, IPin*)
    NOT_USED(SetDefaultSyncSource)
    NOT_USED(Connect, IPin*, IPin*)
    NOT_USED(Render, IPin*)
    NOT_USED(RenderFile, LPCWSTR, LPCWSTR)
    NOT_USED(AddSourceFilter, LPCWSTR, LPCWSTR, IBaseFilter**)
    NOT_USED(SetLogFile, DWORD_PTR)
    NOT_USED(Abort)
    NOT_USED(ShouldOperationContinue)
    NOT_USED(GetTypeInfoCount, UINT*)
    NOT_USED(GetTypeInfo, UINT, LCID, ITypeInfo**)
    NOT_USED(GetIDsOfNames, REFIID, LPOLESTR*, UINT, LCID, DISPID*)
    NOT_USED(Invoke, DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*, UINT*)
    NOT_USED(Pause)
    NOT_USED(GetState, LONG, OAFilterState*)
    NOT_USED(RenderFile, BSTR)
    NOT_USED(AddSourceFilter, BSTR, IDispatch**)
    NOT_USED(get_FilterCollection, IDispatch**)
    NOT_USED(get_RegFilterCollection, IDispatch**)
    NOT_USED(StopWhenReady)

    HRESULT addFilterResult = S_OK;
    HRESULT runResult = S_OK;
};

struct FakeWorld;
FakeWorld* world;

class FakeBuilder : public ICaptureGraphBuilder, public Counted {
public:
    FakeBuilder() : Counted("builder") {}
    FAKE_REFS
    STDMETHODIMP QueryInterface(REFIID, void** out) override
    {
        *out = nullptr;
        return E_NOINTERFACE;
    }
    STDMETHODIMP SetFiltergraph(IGraphBuilder*) override
    {
        Note("SetFiltergraph");
        return S_OK;
    }
    STDMETHODIMP FindInterface(const GUID* category, IBaseFilter* filter, REFIID iid,
                               void** out) override;
    STDMETHODIMP RenderStream(const GUID* category, IUnknown* source, IBaseFilter*,
                              IBaseFilter*) override;
    NOT_USED(GetFiltergraph, IGraphBuilder**)
    NOT_USED(SetOutputFileName, const GUID*, LPCOLESTR, IBaseFilter**, IFileSinkFilter**)
    NOT_USED(ControlStream, const GUID*, IBaseFilter*, REFERENCE_TIME*, REFERENCE_TIME*, WORD, WORD)
    NOT_USED(AllocCapFile, LPCOLESTR, DWORDLONG)
    NOT_USED(CopyCaptureFile, LPOLESTR, LPOLESTR, int, IAMCopyCaptureFileProgress*)
};

class FakePropertyBag : public IPropertyBag, public Counted {
public:
    FakePropertyBag() : Counted("bag") {}
    FAKE_REFS
    STDMETHODIMP QueryInterface(REFIID, void** out) override
    {
        *out = nullptr;
        return E_NOINTERFACE;
    }
    STDMETHODIMP Read(LPCOLESTR property, VARIANT* value, IErrorLog*) override
    {
        if (lstrcmpW(property, L"FriendlyName") != 0 || value->vt != VT_BSTR)
            return E_INVALIDARG;
        if (readFails) {
            // The caller frees whatever string the variant holds after the
            // failure; it must hold none.
            nothingToFree = value->bstrVal == nullptr;
            return E_FAIL;
        }
        value->bstrVal = SysAllocString(friendlyName.c_str());
        return S_OK;
    }
    NOT_USED(Write, LPCOLESTR, VARIANT*)

    std::wstring friendlyName;
    bool readFails = false;
    bool nothingToFree = false;
};

class FakeMoniker : public IMoniker, public Counted {
public:
    FakeMoniker() : Counted("moniker") {}
    FAKE_REFS
    STDMETHODIMP QueryInterface(REFIID, void** out) override
    {
        *out = nullptr;
        return E_NOINTERFACE;
    }
    STDMETHODIMP BindToStorage(IBindCtx*, IMoniker*, REFIID iid, void** out) override
    {
        if (iid != IID_IPropertyBag)
            return E_NOINTERFACE;
        return bag.Give(static_cast<IPropertyBag*>(&bag), out);
    }
    STDMETHODIMP BindToObject(IBindCtx*, IMoniker*, REFIID iid, void** out) override;
    NOT_USED(GetClassID, CLSID*)
    NOT_USED(IsDirty)
    NOT_USED(Load, IStream*)
    NOT_USED(Save, IStream*, BOOL)
    NOT_USED(GetSizeMax, ULARGE_INTEGER*)
    NOT_USED(Reduce, IBindCtx*, DWORD, IMoniker**, IMoniker**)
    NOT_USED(ComposeWith, IMoniker*, BOOL, IMoniker**)
    NOT_USED(Enum, BOOL, IEnumMoniker**)
    NOT_USED(IsEqual, IMoniker*)
    NOT_USED(Hash, DWORD*)
    NOT_USED(IsRunning, IBindCtx*, IMoniker*, IMoniker*)
    NOT_USED(GetTimeOfLastChange, IBindCtx*, IMoniker*, FILETIME*)
    NOT_USED(Inverse, IMoniker**)
    NOT_USED(CommonPrefixWith, IMoniker*, IMoniker**)
    NOT_USED(RelativePathTo, IMoniker*, IMoniker**)
    NOT_USED(GetDisplayName, IBindCtx*, IMoniker*, LPOLESTR*)
    NOT_USED(ParseDisplayName, IBindCtx*, IMoniker*, LPOLESTR, ULONG*, IMoniker**)
    NOT_USED(IsSystemMoniker, DWORD*)

    FakePropertyBag bag;
    int position = 0;
};

class FakeMonikerList : public IEnumMoniker, public Counted {
public:
    FakeMonikerList() : Counted("monikers") {}
    FAKE_REFS
    STDMETHODIMP QueryInterface(REFIID, void** out) override
    {
        *out = nullptr;
        return E_NOINTERFACE;
    }
    STDMETHODIMP Next(ULONG, IMoniker** monikers, ULONG* fetched) override;
    STDMETHODIMP Reset() override
    {
        next = 0;
        return S_OK;
    }
    NOT_USED(Skip, ULONG)
    NOT_USED(Clone, IEnumMoniker**)

    size_t next = 0;
};

class FakeDeviceEnumerator : public ICreateDevEnum, public Counted {
public:
    FakeDeviceEnumerator() : Counted("devices") {}
    FAKE_REFS
    STDMETHODIMP QueryInterface(REFIID, void** out) override
    {
        *out = nullptr;
        return E_NOINTERFACE;
    }
    STDMETHODIMP CreateClassEnumerator(REFCLSID category, IEnumMoniker** monikers, DWORD) override;
};

// Every fake object, the devices they list and the faults they inject.
struct FakeWorld {
    explicit FakeWorld(std::vector<std::wstring> names) : monikers_(names.size())
    {
        for (size_t i = 0; i < names.size(); ++i) {
            monikers_[i].bag.friendlyName = names[i];
            monikers_[i].position = static_cast<int>(i);
        }
        capturePin.peer = nullptr;
        capture.pin = &capturePin;
        renderer.pin = &rendererPin;
    }
    std::vector<Counted*> Everything()
    {
        std::vector<Counted*> all = {&devices,  &monikerList, &builder,     &graph,  &capture,
                                     &renderer, &capturePin,  &rendererPin, &config, &window};
        for (FakeMoniker& moniker : monikers_) {
            all.push_back(&moniker);
            all.push_back(&moniker.bag);
        }
        return all;
    }
    // The names of fakes of which the code under test still holds (or gave
    // back too many) references.
    std::string Unbalanced()
    {
        std::string names;
        for (Counted* fake : Everything())
            if (fake->refs != 0 || fake->overReleased)
                names += std::string(fake->name) + " ";
        return names;
    }

    std::vector<FakeMoniker> monikers_;
    FakeDeviceEnumerator devices;
    FakeMonikerList monikerList;
    FakeBuilder builder;
    FakeGraph graph;
    FakeFilter capture{"capture"};
    FakeFilter renderer{"renderer"};
    FakePin capturePin{"capture pin", &capture, PINDIR_OUTPUT};
    FakePin rendererPin{"renderer pin", &renderer, PINDIR_INPUT};
    FakeStreamConfig config;
    FakeVideoWindow window;
    HRESULT classEnumeratorResult = S_OK;
    bool graphFails = false;
};

STDMETHODIMP FakeMonikerList::Next(ULONG, IMoniker** monikers, ULONG* fetched)
{
    if (next >= world->monikers_.size()) {
        *monikers = nullptr;
        return S_FALSE;
    }
    *monikers = &world->monikers_[next++];
    (*monikers)->AddRef();
    if (fetched)
        *fetched = 1;
    return S_OK;
}

STDMETHODIMP FakeMoniker::BindToObject(IBindCtx*, IMoniker*, REFIID iid, void** out)
{
    Note("BindToObject " + std::to_string(position));
    if (iid != IID_IBaseFilter)
        return E_NOINTERFACE;
    return world->capture.Give(static_cast<IBaseFilter*>(&world->capture), out);
}

STDMETHODIMP FakeDeviceEnumerator::CreateClassEnumerator(REFCLSID category, IEnumMoniker** monikers,
                                                         DWORD)
{
    *monikers = nullptr;
    if (category != CLSID_VideoInputDeviceCategory)
        return E_INVALIDARG;
    if (world->classEnumeratorResult != S_OK)
        return world->classEnumeratorResult;
    return world->monikerList.Give(static_cast<IEnumMoniker*>(&world->monikerList),
                                   reinterpret_cast<void**>(monikers));
}

STDMETHODIMP FakeBuilder::FindInterface(const GUID* category, IBaseFilter* filter, REFIID iid,
                                        void** out)
{
    *out = nullptr;
    if (!category || *category != PIN_CATEGORY_CAPTURE || filter != &world->capture)
        return E_INVALIDARG;
    if (iid == IID_IAMStreamConfig)
        return world->config.Give(static_cast<IAMStreamConfig*>(&world->config), out);
    if (iid == IID_IVideoWindow && world->capturePin.peer)
        return world->window.Give(static_cast<IVideoWindow*>(&world->window), out);
    return E_NOINTERFACE;
}

STDMETHODIMP FakeBuilder::RenderStream(const GUID*, IUnknown*, IBaseFilter*, IBaseFilter*)
{
    Note("RenderStream");
    world->capturePin.peer = &world->rendererPin;
    world->rendererPin.peer = &world->capturePin;
    return S_OK;
}

HRESULT WINAPI CreateFakeObject(REFCLSID id, LPUNKNOWN, DWORD, REFIID, LPVOID* out)
{
    *out = nullptr;
    if (id == CLSID_SystemDeviceEnum)
        return world->devices.Give(static_cast<ICreateDevEnum*>(&world->devices), out);
    if (id == CLSID_CaptureGraphBuilder)
        return world->builder.Give(static_cast<ICaptureGraphBuilder*>(&world->builder), out);
    if (id == CLSID_FilterGraph && !world->graphFails)
        return world->graph.Give(static_cast<IGraphBuilder*>(&world->graph), out);
    return REGDB_E_CLASSNOTREG;
}

HRESULT WINAPI ShowFakeFrame(HWND owner, UINT x, UINT y, LPCOLESTR caption, ULONG objectCount,
                             LPUNKNOWN* objects, ULONG pageCount, LPCLSID, LCID locale, DWORD,
                             LPVOID)
{
    bool placed = owner == frameWindow && x == 30 && y == 30 && !caption && objectCount == 1 &&
                  pageCount == 1 && locale == 0;
    const char* over = objects[0] == static_cast<IBaseFilter*>(&world->capture)      ? "capture"
                       : objects[0] == static_cast<IAMStreamConfig*>(&world->config) ? "config"
                                                                                     : "other";
    Note(std::string("PropertyFrame ") + over + (placed ? "" : " misplaced"));
    return S_OK;
}

const VideoPlatform kFakePlatform = {CreateFakeObject, ShowFakeFrame};

// Whether the calls appear in the log in this order, others between them.
::testing::AssertionResult InOrder(const std::vector<std::string>& expected)
{
    size_t found = 0;
    for (const std::string& call : calls)
        if (found < expected.size() && call == expected[found])
            ++found;
    if (found == expected.size())
        return ::testing::AssertionSuccess();
    std::string log;
    for (const std::string& call : calls)
        log += "\n  " + call;
    return ::testing::AssertionFailure()
           << "missing \"" << expected[found] << "\" in order; calls:" << log;
}

bool Called(const std::string& call)
{
    for (const std::string& made : calls)
        if (made == call)
            return true;
    return false;
}

class PreviewGraph : public ::testing::Test {
protected:
    void Use(std::vector<std::wstring> names)
    {
        world = new FakeWorld(std::move(names));
        calls.clear();
    }
    void SetUp() override
    {
        SetVideoPlatform(&kFakePlatform);
        frameWindow = CreateWindowA("STATIC", "", WS_POPUP, 0, 0, 357, 293, nullptr, nullptr,
                                    nullptr, nullptr);
    }
    void TearDown() override
    {
        SetVideoPlatform(nullptr);
        DestroyWindow(frameWindow);
        delete world;
        world = nullptr;
    }
};

TEST_F(PreviewGraph, TheLastDeviceWhoseNameBeginsWithTheCameraNameIsChosen)
{
    Use({L"USB Camera", L"ZX600 Video Capture 2", L"zx600 video capture", L"ZX600 Video Capture",
         L"ZX600 Video"});
    OpenVideo(frameWindow);
    LONG index = 0;
    FindCameraDevice(&index);
    EXPECT_EQ(index, 3);
    EXPECT_EQ(world->Unbalanced(), "");
    CloseVideo();

    Use({L"USB Camera", L"ZX600 Video Captur"});
    OpenVideo(frameWindow);
    index = 7;
    FindCameraDevice(&index);
    EXPECT_EQ(index, 7) << "no match leaves the index alone";
    EXPECT_EQ(world->Unbalanced(), "");
    CloseVideo();

    Use({L"ZX600 Video Capture"});
    world->classEnumeratorResult = S_FALSE;
    OpenVideo(frameWindow);
    FindCameraDevice(&index);
    EXPECT_EQ(index, 7) << "an empty category ends the lookup";
    EXPECT_EQ(world->Unbalanced(), "");
    CloseVideo();

    Use({L"ZX600 Video Capture", L"ZX600 Video Capture"});
    world->monikers_[1].bag.readFails = true;
    OpenVideo(frameWindow);
    FindCameraDevice(&index);
    EXPECT_EQ(index, 0) << "a device whose name cannot be read is passed over";
    EXPECT_TRUE(world->monikers_[1].bag.nothingToFree);
    EXPECT_EQ(world->Unbalanced(), "");
    CloseVideo();
}

TEST_F(PreviewGraph, RendersForcedI420IntoTheFrameRunsHaltsAndClosesInOrder)
{
    Use({L"USB Camera", L"ZX600 Video Capture"});
    EXPECT_TRUE(ShowPreview()) << "before OpenVideo nothing is bound";
    EXPECT_TRUE(calls.empty());

    OpenVideo(frameWindow);
    LONG index = 0;
    FindCameraDevice(&index);
    calls.clear();
    SelectVideoDevice(index);
    EXPECT_TRUE(
        InOrder({"BindToObject 1", "SetFiltergraph", "AddFilter",
                 "SetFormat I420 320x240 12 bits 30323449 every 333333", "RenderStream",
                 "put_Owner frame", "put_WindowStyle 1073741824", "SetWindowPosition 0 0 357 293",
                 "put_Visible -1", "SetFormat I420 320x240 12 bits 30323449 every 333333", "Run"}));

    calls.clear();
    SelectVideoDevice(index);
    EXPECT_TRUE(calls.empty()) << "the selected device is not bound again";

    calls.clear();
    EXPECT_TRUE(ShowPreview());
    EXPECT_TRUE(Called("SetFormat I420 320x240 12 bits 30323449 every 333333"))
        << "the format is forced again";
    EXPECT_FALSE(Called("RenderStream"));
    EXPECT_FALSE(Called("Run")) << "a running graph is not run again";

    EXPECT_TRUE(HaltPreview());
    EXPECT_FALSE(HaltPreview());

    calls.clear();
    RestartPreview(1, nullptr);
    EXPECT_TRUE(
        InOrder({"put_Owner 0", "put_Visible 0", "Release window", "Disconnect renderer pin",
                 "Disconnect capture pin", "RemoveFilter renderer", "RenderStream", "Run"}));
    EXPECT_FALSE(Called("Stop")) << "a halted graph is not stopped again";

    calls.clear();
    CloseVideo();
    EXPECT_TRUE(
        InOrder({"Stop", "put_Owner 0", "put_Visible 0", "Release window", "RemoveFilter renderer",
                 "Release graph", "Release builder", "Release capture", "Release config"}));
    EXPECT_EQ(world->Unbalanced(), "");
}

TEST_F(PreviewGraph, FailuresReleaseWhatWasTakenAndLeaveThePreviewQuiet)
{
    Use({L"ZX600 Video Capture"});
    world->graph.addFilterResult = E_FAIL;
    OpenVideo(frameWindow);
    SelectVideoDevice(0);
    EXPECT_TRUE(InOrder({"AddFilter", "Release graph", "Release builder", "Release capture"}));
    EXPECT_FALSE(Called("RenderStream"));
    EXPECT_EQ(world->Unbalanced(), "") << "a failed binding keeps nothing";
    EXPECT_FALSE(HaltPreview());
    EXPECT_TRUE(ShowFilterPages());
    EXPECT_TRUE(ShowFormatPages());
    EXPECT_FALSE(Called("PropertyFrame capture"));
    CloseVideo();

    Use({L"ZX600 Video Capture"});
    world->graphFails = true;
    OpenVideo(frameWindow);
    SelectVideoDevice(0);
    EXPECT_EQ(world->Unbalanced(), "") << "no graph: builder and filter given back";
    CloseVideo();

    Use({L"ZX600 Video Capture"});
    world->graph.runResult = E_FAIL;
    OpenVideo(frameWindow);
    SelectVideoDevice(0);
    EXPECT_TRUE(InOrder({"Run", "Stop"})) << "a failed run is stopped at once";
    EXPECT_FALSE(HaltPreview()) << "the graph does not count as running";
    CloseVideo();
    EXPECT_EQ(world->Unbalanced(), "");

    Use({});
    OpenVideo(frameWindow);
    SelectVideoDevice(0);
    EXPECT_EQ(world->Unbalanced(), "") << "no device at all";
    CloseVideo();
}

TEST_F(PreviewGraph, PropertyPagesOfTheFilterAndOfTheRebuiltCapturePin)
{
    Use({L"ZX600 Video Capture"});
    OpenVideo(frameWindow);
    SelectVideoDevice(0);

    calls.clear();
    EXPECT_TRUE(ShowFilterPages());
    EXPECT_TRUE(InOrder({"PropertyFrame capture"}));
    EXPECT_FALSE(Called("Stop")) << "the preview runs on";

    calls.clear();
    EXPECT_TRUE(ShowFormatPages());
    EXPECT_TRUE(
        InOrder({"Stop", "RemoveFilter renderer", "PropertyFrame config",
                 "SetFormat I420 320x240 12 bits 30323449 every 333333", "RenderStream", "Run"}));

    world->capture.hasPages = false;
    calls.clear();
    EXPECT_TRUE(ShowFilterPages());
    EXPECT_TRUE(calls.empty()) << "a filter without pages shows nothing";

    CloseVideo();
    EXPECT_EQ(world->Unbalanced(), "");
}

}  // namespace

// The filter object with its one capture pin. The pin lives inside the filter
// and counts its references there. A streaming thread delivers a frame of the
// test pattern every frame interval while the filter runs.
#include "sim/capture_filter/capture_filter.h"

#include <new>

#include "sim/capture_filter/frame_format.h"

namespace {

const wchar_t kPinName[] = L"Capture";
const GUID kAnyType = {};
// The media types the pin lists: its format in either encoding.
const ULONG kMediaTypeCount = 2;

// IEnumXXXX::Skip over a list of `total` items: S_OK when all `count` items
// were skipped, S_FALSE when the list ended first.
HRESULT SkipItems(ULONG& position, ULONG count, ULONG total)
{
    if (count > total - position) {
        position = total;
        return S_FALSE;
    }
    position += count;
    return S_OK;
}

class CaptureFilter;

class CapturePin final : public IPin,
                         public IAMStreamConfig,
                         public IKsPropertySet,
                         public ISpecifyPropertyPages {
public:
    explicit CapturePin(CaptureFilter* filter);
    ~CapturePin();

    // IUnknown
    STDMETHODIMP QueryInterface(REFIID iid, void** object) override;
    STDMETHODIMP_(ULONG) AddRef() override;
    STDMETHODIMP_(ULONG) Release() override;

    // IPin
    STDMETHODIMP Connect(IPin* receivePin, const AM_MEDIA_TYPE* type) override;
    STDMETHODIMP ReceiveConnection(IPin*, const AM_MEDIA_TYPE*) override { return E_UNEXPECTED; }
    STDMETHODIMP Disconnect() override;
    STDMETHODIMP ConnectedTo(IPin** pin) override;
    STDMETHODIMP ConnectionMediaType(AM_MEDIA_TYPE* type) override;
    STDMETHODIMP QueryPinInfo(PIN_INFO* info) override;
    STDMETHODIMP QueryDirection(PIN_DIRECTION* direction) override;
    STDMETHODIMP QueryId(LPWSTR* id) override;
    STDMETHODIMP QueryAccept(const AM_MEDIA_TYPE* type) override;
    STDMETHODIMP EnumMediaTypes(IEnumMediaTypes** types) override;
    STDMETHODIMP QueryInternalConnections(IPin**, ULONG*) override { return E_NOTIMPL; }
    STDMETHODIMP EndOfStream() override { return E_UNEXPECTED; }
    STDMETHODIMP BeginFlush() override { return E_UNEXPECTED; }
    STDMETHODIMP EndFlush() override { return E_UNEXPECTED; }
    STDMETHODIMP NewSegment(REFERENCE_TIME, REFERENCE_TIME, double) override { return S_OK; }

    // IAMStreamConfig
    STDMETHODIMP SetFormat(AM_MEDIA_TYPE* type) override;
    STDMETHODIMP GetFormat(AM_MEDIA_TYPE** type) override;
    STDMETHODIMP GetNumberOfCapabilities(int* count, int* size) override;
    STDMETHODIMP GetStreamCaps(int index, AM_MEDIA_TYPE** type, BYTE* caps) override;

    // IKsPropertySet: the pin category only.
    STDMETHODIMP Set(REFGUID, DWORD, LPVOID, DWORD, LPVOID, DWORD) override
    {
        return E_PROP_ID_UNSUPPORTED;
    }
    STDMETHODIMP Get(REFGUID set, DWORD id, LPVOID, DWORD, LPVOID data, DWORD size,
                     DWORD* returned) override;
    STDMETHODIMP QuerySupported(REFGUID set, DWORD id, DWORD* support) override;

    // ISpecifyPropertyPages
    STDMETHODIMP GetPages(CAUUID* pages) override { return ListCapturePage(pages); }

    HRESULT Start();
    HRESULT BeginRunning();
    void Halt();

private:
    HRESULT TryConnection(IPin* receivePin, const FrameFormat& format);
    HRESULT DecideAllocator(IMemInputPin* input, const FrameFormat& format);
    void ReleaseConnection();
    static DWORD WINAPI StreamThread(void* pin);
    void Stream();

    CaptureFilter* filter_;
    FrameFormat format_;
    IPin* peer_ = nullptr;
    IMemInputPin* input_ = nullptr;
    IMemAllocator* allocator_ = nullptr;
    AM_MEDIA_TYPE connection_ = {};
    HANDLE stopEvent_;
    HANDLE thread_ = nullptr;
};

class CaptureFilter final : public IBaseFilter, public ISpecifyPropertyPages {
public:
    CaptureFilter() : pin_(this)
    {
        InitializeCriticalSection(&lock);
        InterlockedIncrement(&liveObjects);
    }
    ~CaptureFilter();

    // IUnknown
    STDMETHODIMP QueryInterface(REFIID iid, void** object) override;
    STDMETHODIMP_(ULONG) AddRef() override { return InterlockedIncrement(&references_); }
    STDMETHODIMP_(ULONG) Release() override;

    // IPersist, IMediaFilter, IBaseFilter
    STDMETHODIMP GetClassID(CLSID* id) override;
    STDMETHODIMP Stop() override;
    STDMETHODIMP Pause() override;
    STDMETHODIMP Run(REFERENCE_TIME start) override;
    STDMETHODIMP GetState(DWORD timeout, FILTER_STATE* state) override;
    STDMETHODIMP SetSyncSource(IReferenceClock* clock) override;
    STDMETHODIMP GetSyncSource(IReferenceClock** clock) override;
    STDMETHODIMP EnumPins(IEnumPins** pins) override;
    STDMETHODIMP FindPin(LPCWSTR id, IPin** pin) override;
    STDMETHODIMP QueryFilterInfo(FILTER_INFO* info) override;
    STDMETHODIMP JoinFilterGraph(IFilterGraph* graph, LPCWSTR name) override;
    STDMETHODIMP QueryVendorInfo(LPWSTR*) override { return E_NOTIMPL; }

    // ISpecifyPropertyPages
    STDMETHODIMP GetPages(CAUUID* pages) override { return ListCapturePage(pages); }

    CRITICAL_SECTION lock;
    FILTER_STATE state = State_Stopped;
    IFilterGraph* graph = nullptr;  // not counted: the graph owns the filter
    CapturePin* Pin() { return &pin_; }

private:
    LONG references_ = 1;
    CapturePin pin_;
    IReferenceClock* clock_ = nullptr;
    wchar_t name_[MAX_FILTER_NAME] = L"";
};

// An enumerator over the filter's one pin.
class PinList final : public SingleInterfaceObject<IEnumPins, IID_IEnumPins> {
public:
    PinList(CaptureFilter* filter, ULONG position) : filter_(filter), position_(position)
    {
        filter_->AddRef();
    }
    ~PinList() { filter_->Release(); }

    STDMETHODIMP Next(ULONG count, IPin** pins, ULONG* fetched) override
    {
        ULONG given = 0;
        if (count && position_ == 0) {
            pins[0] = filter_->Pin();
            pins[0]->AddRef();
            position_ = given = 1;
        }
        if (fetched)
            *fetched = given;
        return given == count ? S_OK : S_FALSE;
    }
    STDMETHODIMP Skip(ULONG count) override { return SkipItems(position_, count, 1); }
    STDMETHODIMP Reset() override
    {
        position_ = 0;
        return S_OK;
    }
    STDMETHODIMP Clone(IEnumPins** copy) override
    {
        *copy = new (std::nothrow) PinList(filter_, position_);
        return *copy ? S_OK : E_OUTOFMEMORY;
    }

private:
    CaptureFilter* filter_;
    ULONG position_;
};

// An enumerator over the pin's media types: the current format first, then
// the same frame size in the other encoding.
class MediaTypeList final : public SingleInterfaceObject<IEnumMediaTypes, IID_IEnumMediaTypes> {
public:
    MediaTypeList(const FrameFormat& first, ULONG position) : first_(first), position_(position) {}

    STDMETHODIMP Next(ULONG count, AM_MEDIA_TYPE** types, ULONG* fetched) override
    {
        ULONG given = 0;
        while (given < count && position_ < kMediaTypeCount) {
            FrameFormat format = first_;
            format.i420 = position_ == 0 ? first_.i420 : !first_.i420;
            types[given] = NewMediaType(format);
            if (!types[given])
                break;
            ++given;
            ++position_;
        }
        if (fetched)
            *fetched = given;
        return given == count ? S_OK : S_FALSE;
    }
    STDMETHODIMP Skip(ULONG count) override { return SkipItems(position_, count, kMediaTypeCount); }
    STDMETHODIMP Reset() override
    {
        position_ = 0;
        return S_OK;
    }
    STDMETHODIMP Clone(IEnumMediaTypes** copy) override
    {
        *copy = new (std::nothrow) MediaTypeList(first_, position_);
        return *copy ? S_OK : E_OUTOFMEMORY;
    }

private:
    FrameFormat first_;
    ULONG position_;
};

// ---- CapturePin

CapturePin::CapturePin(CaptureFilter* filter) : filter_(filter), format_(FormatAt(0))
{
    stopEvent_ = CreateEventW(nullptr, TRUE, FALSE, nullptr);
}

CapturePin::~CapturePin()
{
    Halt();
    ReleaseConnection();
    CloseHandle(stopEvent_);
}

STDMETHODIMP CapturePin::QueryInterface(REFIID iid, void** object)
{
    if (iid == IID_IUnknown || iid == IID_IPin)
        *object = static_cast<IPin*>(this);
    else if (iid == IID_IAMStreamConfig)
        *object = static_cast<IAMStreamConfig*>(this);
    else if (iid == IID_IKsPropertySet)
        *object = static_cast<IKsPropertySet*>(this);
    else if (iid == IID_ISpecifyPropertyPages)
        *object = static_cast<ISpecifyPropertyPages*>(this);
    else {
        *object = nullptr;
        return E_NOINTERFACE;
    }
    AddRef();
    return S_OK;
}

STDMETHODIMP_(ULONG) CapturePin::AddRef()
{
    return filter_->AddRef();
}

STDMETHODIMP_(ULONG) CapturePin::Release()
{
    return filter_->Release();
}

STDMETHODIMP CapturePin::Connect(IPin* receivePin, const AM_MEDIA_TYPE* type)
{
    if (!receivePin)
        return E_POINTER;
    EnterCriticalSection(&filter_->lock);
    HRESULT result = VFW_E_NO_ACCEPTABLE_TYPES;
    if (peer_)
        result = VFW_E_ALREADY_CONNECTED;
    else if (filter_->state != State_Stopped)
        result = VFW_E_NOT_STOPPED;
    else {
        FrameFormat wanted = format_;
        for (int attempt = 0; attempt < 2 && FAILED(result); ++attempt) {
            FrameFormat candidate = wanted;
            candidate.i420 = attempt == 0 ? wanted.i420 : !wanted.i420;
            AM_MEDIA_TYPE offered;
            FillMediaType(candidate, &offered);
            bool partialMatch =
                !type || ((type->majortype == kAnyType || type->majortype == offered.majortype) &&
                          (type->subtype == kAnyType || type->subtype == offered.subtype));
            if (offered.pbFormat && partialMatch)
                result = TryConnection(receivePin, candidate);
            ClearMediaType(&offered);
        }
    }
    LeaveCriticalSection(&filter_->lock);
    return result;
}

HRESULT CapturePin::TryConnection(IPin* receivePin, const FrameFormat& format)
{
    AM_MEDIA_TYPE type;
    FillMediaType(format, &type);
    if (!type.pbFormat)
        return E_OUTOFMEMORY;
    HRESULT result = receivePin->ReceiveConnection(this, &type);
    if (FAILED(result)) {
        ClearMediaType(&type);
        return result;
    }
    IMemInputPin* input = nullptr;
    result = receivePin->QueryInterface(IID_IMemInputPin, reinterpret_cast<void**>(&input));
    if (SUCCEEDED(result))
        result = DecideAllocator(input, format);
    if (FAILED(result)) {
        if (input)
            input->Release();
        receivePin->Disconnect();
        ClearMediaType(&type);
        return result;
    }
    peer_ = receivePin;
    peer_->AddRef();
    input_ = input;
    connection_ = type;
    format_ = format;
    return S_OK;
}

HRESULT CapturePin::DecideAllocator(IMemInputPin* input, const FrameFormat& format)
{
    IMemAllocator* allocator = nullptr;
    if (FAILED(input->GetAllocator(&allocator))) {
        HRESULT created = CoCreateInstance(CLSID_MemoryAllocator, nullptr, CLSCTX_INPROC_SERVER,
                                           IID_IMemAllocator, reinterpret_cast<void**>(&allocator));
        if (FAILED(created))
            return created;
    }
    ALLOCATOR_PROPERTIES wanted = {3, static_cast<LONG>(FrameBytes(format)), 1, 0};
    ALLOCATOR_PROPERTIES actual;
    HRESULT result = allocator->SetProperties(&wanted, &actual);
    if (SUCCEEDED(result) && actual.cbBuffer < wanted.cbBuffer)
        result = VFW_E_SIZENOTSET;
    if (SUCCEEDED(result))
        result = input->NotifyAllocator(allocator, FALSE);
    if (FAILED(result)) {
        allocator->Release();
        return result;
    }
    allocator_ = allocator;
    return S_OK;
}

void CapturePin::ReleaseConnection()
{
    if (allocator_) {
        allocator_->Release();
        allocator_ = nullptr;
    }
    if (input_) {
        input_->Release();
        input_ = nullptr;
    }
    if (peer_) {
        peer_->Release();
        peer_ = nullptr;
    }
    ClearMediaType(&connection_);
}

STDMETHODIMP CapturePin::Disconnect()
{
    EnterCriticalSection(&filter_->lock);
    HRESULT result = S_FALSE;
    if (filter_->state != State_Stopped)
        result = VFW_E_NOT_STOPPED;
    else if (peer_) {
        ReleaseConnection();
        result = S_OK;
    }
    LeaveCriticalSection(&filter_->lock);
    return result;
}

STDMETHODIMP CapturePin::ConnectedTo(IPin** pin)
{
    if (!pin)
        return E_POINTER;
    EnterCriticalSection(&filter_->lock);
    *pin = peer_;
    if (peer_)
        peer_->AddRef();
    LeaveCriticalSection(&filter_->lock);
    return *pin ? S_OK : VFW_E_NOT_CONNECTED;
}

STDMETHODIMP CapturePin::ConnectionMediaType(AM_MEDIA_TYPE* type)
{
    if (!type)
        return E_POINTER;
    EnterCriticalSection(&filter_->lock);
    HRESULT result = VFW_E_NOT_CONNECTED;
    if (peer_)
        result = CopyMediaType(&connection_, type);
    else
        ZeroMemory(type, sizeof *type);
    LeaveCriticalSection(&filter_->lock);
    return result;
}

STDMETHODIMP CapturePin::QueryPinInfo(PIN_INFO* info)
{
    info->pFilter = filter_;
    filter_->AddRef();
    info->dir = PINDIR_OUTPUT;
    lstrcpynW(info->achName, kPinName, MAX_PIN_NAME);
    return S_OK;
}

STDMETHODIMP CapturePin::QueryDirection(PIN_DIRECTION* direction)
{
    *direction = PINDIR_OUTPUT;
    return S_OK;
}

STDMETHODIMP CapturePin::QueryId(LPWSTR* id)
{
    *id = static_cast<LPWSTR>(CoTaskMemAlloc(sizeof kPinName));
    if (!*id)
        return E_OUTOFMEMORY;
    CopyMemory(*id, kPinName, sizeof kPinName);
    return S_OK;
}

STDMETHODIMP CapturePin::QueryAccept(const AM_MEDIA_TYPE* type)
{
    FrameFormat format;
    return ReadMediaType(type, &format) ? S_OK : S_FALSE;
}

STDMETHODIMP CapturePin::EnumMediaTypes(IEnumMediaTypes** types)
{
    EnterCriticalSection(&filter_->lock);
    *types = new (std::nothrow) MediaTypeList(format_, 0);
    LeaveCriticalSection(&filter_->lock);
    return *types ? S_OK : E_OUTOFMEMORY;
}

// A new format applies to the next connection; while connected, only the
// connection's own format is accepted.
STDMETHODIMP CapturePin::SetFormat(AM_MEDIA_TYPE* type)
{
    FrameFormat format;
    if (!type)
        return E_POINTER;
    if (!ReadMediaType(type, &format))
        return VFW_E_INVALIDMEDIATYPE;
    EnterCriticalSection(&filter_->lock);
    HRESULT result = S_OK;
    if (filter_->state != State_Stopped)
        result = VFW_E_NOT_STOPPED;
    else if (peer_ && (format.i420 != format_.i420 || format.width != format_.width ||
                       format.height != format_.height || format.interval != format_.interval))
        result = VFW_E_ALREADY_CONNECTED;
    else
        format_ = format;
    LeaveCriticalSection(&filter_->lock);
    return result;
}

STDMETHODIMP CapturePin::GetFormat(AM_MEDIA_TYPE** type)
{
    if (!type)
        return E_POINTER;
    EnterCriticalSection(&filter_->lock);
    *type = NewMediaType(format_);
    LeaveCriticalSection(&filter_->lock);
    return *type ? S_OK : E_OUTOFMEMORY;
}

STDMETHODIMP CapturePin::GetNumberOfCapabilities(int* count, int* size)
{
    *count = kFormatCount;
    *size = sizeof(VIDEO_STREAM_CONFIG_CAPS);
    return S_OK;
}

STDMETHODIMP CapturePin::GetStreamCaps(int index, AM_MEDIA_TYPE** type, BYTE* capsBytes)
{
    if (index < 0 || index >= kFormatCount)
        return S_FALSE;
    FrameFormat format = FormatAt(index);
    *type = NewMediaType(format);
    if (!*type)
        return E_OUTOFMEMORY;
    auto* caps = reinterpret_cast<VIDEO_STREAM_CONFIG_CAPS*>(capsBytes);
    ZeroMemory(caps, sizeof *caps);
    caps->guid = FORMAT_VideoInfo;
    caps->InputSize = caps->MinCroppingSize = caps->MaxCroppingSize = {format.width, format.height};
    caps->MinOutputSize = caps->MaxOutputSize = {format.width, format.height};
    caps->CropGranularityX = caps->CropGranularityY = 1;
    caps->MinFrameInterval = caps->MaxFrameInterval = format.interval;
    caps->MinBitsPerSecond = caps->MaxBitsPerSecond =
        static_cast<LONG>(FrameBytes(format) * 8 * 30);
    return S_OK;
}

STDMETHODIMP CapturePin::Get(REFGUID set, DWORD id, LPVOID, DWORD, LPVOID data, DWORD size,
                             DWORD* returned)
{
    if (set != AMPROPSETID_Pin)
        return E_PROP_SET_UNSUPPORTED;
    if (id != AMPROPERTY_PIN_CATEGORY)
        return E_PROP_ID_UNSUPPORTED;
    if (returned)
        *returned = sizeof(GUID);
    if (!data)
        return returned ? S_OK : E_POINTER;
    if (size < sizeof(GUID))
        return E_UNEXPECTED;
    *static_cast<GUID*>(data) = PIN_CATEGORY_CAPTURE;
    return S_OK;
}

STDMETHODIMP CapturePin::QuerySupported(REFGUID set, DWORD id, DWORD* support)
{
    if (set != AMPROPSETID_Pin)
        return E_PROP_SET_UNSUPPORTED;
    if (id != AMPROPERTY_PIN_CATEGORY)
        return E_PROP_ID_UNSUPPORTED;
    if (support)
        *support = KSPROPERTY_SUPPORT_GET;
    return S_OK;
}

// Pausing commits the buffers; running starts the stream.
HRESULT CapturePin::Start()
{
    return allocator_ ? allocator_->Commit() : S_OK;
}

HRESULT CapturePin::BeginRunning()
{
    if (!input_ || thread_)
        return S_OK;
    ResetEvent(stopEvent_);
    thread_ = CreateThread(nullptr, 0, StreamThread, this, 0, nullptr);
    return thread_ ? S_OK : E_FAIL;
}

void CapturePin::Halt()
{
    SetEvent(stopEvent_);
    if (allocator_)
        allocator_->Decommit();
    if (thread_) {
        WaitForSingleObject(thread_, INFINITE);
        CloseHandle(thread_);
        thread_ = nullptr;
    }
}

DWORD WINAPI CapturePin::StreamThread(void* pin)
{
    CoInitializeEx(nullptr, COINIT_MULTITHREADED);
    static_cast<CapturePin*>(pin)->Stream();
    CoUninitialize();
    return 0;
}

void CapturePin::Stream()
{
    DWORD interval = static_cast<DWORD>(format_.interval / 10000);
    for (unsigned frame = 0; WaitForSingleObject(stopEvent_, interval) == WAIT_TIMEOUT; ++frame) {
        IMediaSample* sample = nullptr;
        if (FAILED(allocator_->GetBuffer(&sample, nullptr, nullptr, 0)))
            return;
        BYTE* bits = nullptr;
        DWORD bytes = FrameBytes(format_);
        HRESULT result = sample->GetPointer(&bits);
        if (SUCCEEDED(result) && static_cast<DWORD>(sample->GetSize()) >= bytes) {
            PaintFrame(format_, frame, bits);
            sample->SetActualDataLength(static_cast<LONG>(bytes));
            sample->SetSyncPoint(TRUE);
            result = input_->Receive(sample);
        }
        sample->Release();
        if (result != S_OK)
            return;
    }
}

// ---- CaptureFilter

CaptureFilter::~CaptureFilter()
{
    if (clock_)
        clock_->Release();
    DeleteCriticalSection(&lock);
    InterlockedDecrement(&liveObjects);
}

STDMETHODIMP CaptureFilter::QueryInterface(REFIID iid, void** object)
{
    if (iid == IID_IUnknown || iid == IID_IPersist || iid == IID_IMediaFilter ||
        iid == IID_IBaseFilter)
        *object = static_cast<IBaseFilter*>(this);
    else if (iid == IID_ISpecifyPropertyPages)
        *object = static_cast<ISpecifyPropertyPages*>(this);
    else {
        *object = nullptr;
        return E_NOINTERFACE;
    }
    AddRef();
    return S_OK;
}

STDMETHODIMP_(ULONG) CaptureFilter::Release()
{
    ULONG left = InterlockedDecrement(&references_);
    if (!left)
        delete this;
    return left;
}

STDMETHODIMP CaptureFilter::GetClassID(CLSID* id)
{
    *id = CLSID_Zx600Capture;
    return S_OK;
}

STDMETHODIMP CaptureFilter::Stop()
{
    EnterCriticalSection(&lock);
    pin_.Halt();
    state = State_Stopped;
    LeaveCriticalSection(&lock);
    return S_OK;
}

STDMETHODIMP CaptureFilter::Pause()
{
    EnterCriticalSection(&lock);
    HRESULT result = S_OK;
    if (state == State_Stopped)
        result = pin_.Start();
    if (SUCCEEDED(result))
        state = State_Paused;
    LeaveCriticalSection(&lock);
    return SUCCEEDED(result) ? VFW_S_CANT_CUE : result;
}

STDMETHODIMP CaptureFilter::Run(REFERENCE_TIME)
{
    EnterCriticalSection(&lock);
    HRESULT result = S_OK;
    if (state == State_Stopped)
        result = pin_.Start();
    if (SUCCEEDED(result))
        result = pin_.BeginRunning();
    if (SUCCEEDED(result))
        state = State_Running;
    LeaveCriticalSection(&lock);
    return result;
}

STDMETHODIMP CaptureFilter::GetState(DWORD, FILTER_STATE* current)
{
    *current = state;
    return state == State_Paused ? VFW_S_CANT_CUE : S_OK;
}

STDMETHODIMP CaptureFilter::SetSyncSource(IReferenceClock* clock)
{
    EnterCriticalSection(&lock);
    if (clock)
        clock->AddRef();
    if (clock_)
        clock_->Release();
    clock_ = clock;
    LeaveCriticalSection(&lock);
    return S_OK;
}

STDMETHODIMP CaptureFilter::GetSyncSource(IReferenceClock** clock)
{
    EnterCriticalSection(&lock);
    *clock = clock_;
    if (clock_)
        clock_->AddRef();
    LeaveCriticalSection(&lock);
    return S_OK;
}

STDMETHODIMP CaptureFilter::EnumPins(IEnumPins** pins)
{
    *pins = new (std::nothrow) PinList(this, 0);
    return *pins ? S_OK : E_OUTOFMEMORY;
}

STDMETHODIMP CaptureFilter::FindPin(LPCWSTR id, IPin** pin)
{
    if (lstrcmpW(id, kPinName) != 0) {
        *pin = nullptr;
        return VFW_E_NOT_FOUND;
    }
    *pin = &pin_;
    pin_.AddRef();
    return S_OK;
}

STDMETHODIMP CaptureFilter::QueryFilterInfo(FILTER_INFO* info)
{
    lstrcpynW(info->achName, name_, MAX_FILTER_NAME);
    info->pGraph = graph;
    if (graph)
        graph->AddRef();
    return S_OK;
}

STDMETHODIMP CaptureFilter::JoinFilterGraph(IFilterGraph* joined, LPCWSTR name)
{
    EnterCriticalSection(&lock);
    graph = joined;
    lstrcpynW(name_, name ? name : L"", MAX_FILTER_NAME);
    LeaveCriticalSection(&lock);
    return S_OK;
}

}  // namespace

HRESULT CreateCaptureFilter(REFIID iid, void** object)
{
    auto* filter = new (std::nothrow) CaptureFilter;
    if (!filter)
        return E_OUTOFMEMORY;
    HRESULT result = filter->QueryInterface(iid, object);
    filter->Release();
    return result;
}

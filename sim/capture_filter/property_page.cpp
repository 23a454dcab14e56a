// The one property page of the filter and of its capture pin: it names the
// device and the pin's current format. Nothing on it can be changed.
#include "sim/capture_filter/capture_filter.h"

#include <cwchar>
#include <new>

#include "sim/capture_filter/frame_format.h"

namespace {

const wchar_t kPageTitle[] = L"ZX600";
constexpr SIZE kPageSize = {240, 80};

class CapturePage final : public SingleInterfaceObject<IPropertyPage, IID_IPropertyPage> {
public:
    ~CapturePage()
    {
        Deactivate();
        SetObjects(0, nullptr);
        SetPageSite(nullptr);
    }

    STDMETHODIMP SetPageSite(IPropertyPageSite* site) override
    {
        if (site)
            site->AddRef();
        if (site_)
            site_->Release();
        site_ = site;
        return S_OK;
    }
    STDMETHODIMP Activate(HWND parent, LPCRECT rect, BOOL) override
    {
        wchar_t text[128];
        DescribeObject(text, sizeof text / sizeof text[0]);
        window_ = CreateWindowExW(0, L"STATIC", text, WS_CHILD | SS_LEFT, rect->left, rect->top,
                                  rect->right - rect->left, rect->bottom - rect->top, parent,
                                  nullptr, filterModule, nullptr);
        return window_ ? S_OK : E_FAIL;
    }
    STDMETHODIMP Deactivate() override
    {
        if (window_)
            DestroyWindow(window_);
        window_ = nullptr;
        return S_OK;
    }
    STDMETHODIMP GetPageInfo(PROPPAGEINFO* info) override
    {
        ZeroMemory(info, sizeof *info);
        info->cb = sizeof *info;
        info->pszTitle = static_cast<LPOLESTR>(CoTaskMemAlloc(sizeof kPageTitle));
        if (!info->pszTitle)
            return E_OUTOFMEMORY;
        CopyMemory(info->pszTitle, kPageTitle, sizeof kPageTitle);
        info->size = kPageSize;
        return S_OK;
    }
    STDMETHODIMP SetObjects(ULONG count, IUnknown** objects) override
    {
        if (object_)
            object_->Release();
        object_ = count ? objects[0] : nullptr;
        if (object_)
            object_->AddRef();
        return S_OK;
    }
    STDMETHODIMP Show(UINT command) override
    {
        if (window_)
            ShowWindow(window_, command);
        return S_OK;
    }
    STDMETHODIMP Move(LPCRECT rect) override
    {
        if (window_)
            MoveWindow(window_, rect->left, rect->top, rect->right - rect->left,
                       rect->bottom - rect->top, TRUE);
        return S_OK;
    }
    STDMETHODIMP IsPageDirty() override { return S_FALSE; }
    STDMETHODIMP Apply() override { return S_OK; }
    STDMETHODIMP Help(LPCOLESTR) override { return E_NOTIMPL; }
    STDMETHODIMP TranslateAccelerator(MSG*) override { return S_FALSE; }

private:
    void DescribeObject(wchar_t* text, size_t room)
    {
        IAMStreamConfig* config = nullptr;
        AM_MEDIA_TYPE* type = nullptr;
        FrameFormat format;
        if (object_ &&
            SUCCEEDED(
                object_->QueryInterface(IID_IAMStreamConfig, reinterpret_cast<void**>(&config))) &&
            config->GetFormat(&type) == S_OK && ReadMediaType(type, &format))
            swprintf(text, room, L"Capture pin: %ld x %ld %ls", format.width, format.height,
                     format.i420 ? L"I420" : L"RGB24");
        else
            swprintf(text, room, L"%ls", kFriendlyName);
        FreeMediaType(type);
        if (config)
            config->Release();
    }

    IPropertyPageSite* site_ = nullptr;
    IUnknown* object_ = nullptr;
    HWND window_ = nullptr;
};

}  // namespace

HRESULT CreateCapturePage(REFIID iid, void** object)
{
    auto* page = new (std::nothrow) CapturePage;
    if (!page)
        return E_OUTOFMEMORY;
    HRESULT result = page->QueryInterface(iid, object);
    page->Release();
    return result;
}

HRESULT ListCapturePage(CAUUID* pages)
{
    if (!pages)
        return E_POINTER;
    pages->pElems = static_cast<GUID*>(CoTaskMemAlloc(sizeof(GUID)));
    pages->cElems = pages->pElems ? 1 : 0;
    if (!pages->pElems)
        return E_OUTOFMEMORY;
    pages->pElems[0] = CLSID_Zx600CapturePage;
    return S_OK;
}

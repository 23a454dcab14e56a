// The in-process server: class objects for the filter and its property page,
// and the registration of the filter in the video input device category.
#include <initguid.h>

#include "runtime/module_runtime.h"
#include "sim/capture_filter/capture_filter.h"

#include <cstdio>

const wchar_t kFriendlyName[] = L"ZX600 Video Capture";
HINSTANCE filterModule;
LONG liveObjects;

namespace {

LONG serverLocks;

using Creator = HRESULT (*)(REFIID, void**);

class ClassObject : public IClassFactory {
public:
    explicit ClassObject(Creator create) : create_(create) {}

    STDMETHODIMP QueryInterface(REFIID iid, void** object) override
    {
        if (iid != IID_IUnknown && iid != IID_IClassFactory) {
            *object = nullptr;
            return E_NOINTERFACE;
        }
        *object = static_cast<IClassFactory*>(this);
        return S_OK;
    }
    // Class objects are static: they live as long as the module.
    STDMETHODIMP_(ULONG) AddRef() override { return 2; }
    STDMETHODIMP_(ULONG) Release() override { return 1; }
    STDMETHODIMP CreateInstance(IUnknown* outer, REFIID iid, void** object) override
    {
        *object = nullptr;
        return outer ? CLASS_E_NOAGGREGATION : create_(iid, object);
    }
    STDMETHODIMP LockServer(BOOL lock) override
    {
        if (lock)
            InterlockedIncrement(&serverLocks);
        else
            InterlockedDecrement(&serverLocks);
        return S_OK;
    }

private:
    Creator create_;
};

ClassObject filterClass(CreateCaptureFilter);
ClassObject pageClass(CreateCapturePage);

// HKEY_CLASSES_ROOT\CLSID\{...} with its name and in-process server.
bool RegisterClassKey(REFCLSID id, const wchar_t* name)
{
    wchar_t clsid[40];
    wchar_t key[80];
    wchar_t module[MAX_PATH];
    StringFromGUID2(id, clsid, 40);
    swprintf(key, 80, L"CLSID\\%ls\\InprocServer32", clsid);
    DWORD length = GetModuleFileNameW(filterModule, module, MAX_PATH);
    if (!length || length >= MAX_PATH)
        return false;
    HKEY server;
    if (RegCreateKeyExW(HKEY_CLASSES_ROOT, key, 0, nullptr, 0, KEY_WRITE, nullptr, &server,
                        nullptr))
        return false;
    static const wchar_t model[] = L"Both";
    bool written =
        !RegSetValueExW(server, nullptr, 0, REG_SZ, reinterpret_cast<const BYTE*>(module),
                        (length + 1) * sizeof(wchar_t)) &&
        !RegSetValueExW(server, L"ThreadingModel", 0, REG_SZ, reinterpret_cast<const BYTE*>(model),
                        sizeof model);
    RegCloseKey(server);
    swprintf(key, 80, L"CLSID\\%ls", clsid);
    return written && !RegSetValueW(HKEY_CLASSES_ROOT, key, REG_SZ, name, 0);
}

void UnregisterClassKey(REFCLSID id)
{
    wchar_t clsid[40];
    wchar_t key[80];
    StringFromGUID2(id, clsid, 40);
    swprintf(key, 80, L"CLSID\\%ls", clsid);
    RegDeleteTreeW(HKEY_CLASSES_ROOT, key);
}

IFilterMapper2* OpenFilterMapper()
{
    IFilterMapper2* mapper = nullptr;
    CoCreateInstance(CLSID_FilterMapper2, nullptr, CLSCTX_INPROC_SERVER, IID_IFilterMapper2,
                     reinterpret_cast<void**>(&mapper));
    return mapper;
}

HRESULT RegisterInVideoInputCategory()
{
    IFilterMapper2* mapper = OpenFilterMapper();
    if (!mapper)
        return E_FAIL;
    static const GUID anySubtype = {};
    REGPINTYPES pinType = {&MEDIATYPE_Video, &anySubtype};
    REGFILTERPINS pin = {};
    pin.bOutput = TRUE;
    pin.nMediaTypes = 1;
    pin.lpMediaType = &pinType;
    REGFILTER2 filter = {};
    filter.dwVersion = 1;
    filter.dwMerit = MERIT_DO_NOT_USE;
    filter.cPins = 1;
    filter.rgPins = &pin;
    HRESULT result =
        mapper->RegisterFilter(CLSID_Zx600Capture, kFriendlyName, nullptr,
                               &CLSID_VideoInputDeviceCategory, kFriendlyName, &filter);
    mapper->Release();
    return result;
}

}  // namespace

extern "C" BOOL WINAPI DllMain(HINSTANCE module, DWORD reason, LPVOID reserved)
{
    if (reason == DLL_PROCESS_ATTACH) {
        filterModule = module;
        DisableThreadLibraryCalls(module);
    }
    GiveBackRuntimeAtUnload(reason, reserved);
    return TRUE;
}

extern "C" HRESULT WINAPI DllGetClassObject(REFCLSID id, REFIID iid, void** object)
{
    if (id == CLSID_Zx600Capture)
        return filterClass.QueryInterface(iid, object);
    if (id == CLSID_Zx600CapturePage)
        return pageClass.QueryInterface(iid, object);
    *object = nullptr;
    return CLASS_E_CLASSNOTAVAILABLE;
}

extern "C" HRESULT WINAPI DllCanUnloadNow()
{
    return liveObjects == 0 && serverLocks == 0 ? S_OK : S_FALSE;
}

extern "C" HRESULT WINAPI DllRegisterServer()
{
    if (!RegisterClassKey(CLSID_Zx600Capture, kFriendlyName) ||
        !RegisterClassKey(CLSID_Zx600CapturePage, L"ZX600 Video Capture Property Page"))
        return SELFREG_E_CLASS;
    HRESULT initialised = CoInitialize(nullptr);
    HRESULT result = RegisterInVideoInputCategory();
    if (SUCCEEDED(initialised))
        CoUninitialize();
    return result;
}

extern "C" HRESULT WINAPI DllUnregisterServer()
{
    HRESULT initialised = CoInitialize(nullptr);
    if (IFilterMapper2* mapper = OpenFilterMapper()) {
        mapper->UnregisterFilter(&CLSID_VideoInputDeviceCategory, kFriendlyName,
                                 CLSID_Zx600Capture);
        mapper->Release();
    }
    if (SUCCEEDED(initialised))
        CoUninitialize();
    UnregisterClassKey(CLSID_Zx600Capture);
    UnregisterClassKey(CLSID_Zx600CapturePage);
    return S_OK;
}

#include "widgets/control_subclass.h"

HWND SubclassControl(HWND parent, int controlId, SUBCLASSPROC procedure, void* object)
{
    HWND control = GetDlgItem(parent, controlId);
    if (control == nullptr ||
        !SetWindowSubclass(control, procedure, reinterpret_cast<UINT_PTR>(object),
                           reinterpret_cast<DWORD_PTR>(object))) {
        return nullptr;
    }
    return control;
}

void ReleaseControlSubclass(HWND& control, SUBCLASSPROC procedure, void* object)
{
    if (control != nullptr) {
        RemoveWindowSubclass(control, procedure, reinterpret_cast<UINT_PTR>(object));
        control = nullptr;
    }
}

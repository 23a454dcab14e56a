// The takeover of a dialog's control by a widget object: the object is both
// the subclass's id and its reference data, so that one procedure serves
// every object of a class.
#pragma once

#include <windows.h>

#include <commctrl.h>

// Subclasses the control with that id in the parent. The control, or null
// when the parent has no such control or the subclass is refused.
HWND SubclassControl(HWND parent, int controlId, SUBCLASSPROC procedure, void* object);

// Lets go of the control taken over, if any, and clears the handle; the
// control goes on working as before.
void ReleaseControlSubclass(HWND& control, SUBCLASSPROC procedure, void* object);

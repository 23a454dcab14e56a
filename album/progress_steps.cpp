#include "album/progress_steps.h"

#include <commctrl.h>

#include "resources/resource_ids.h"

namespace {

const COLORREF kStepColour = RGB(255, 255, 0);

HWND ProgressBar(HWND window)
{
    return GetDlgItem(window, IDC_PROGRESS);
}

}  // namespace

void StartSteps(HWND window, int last)
{
    HWND progress = ProgressBar(window);
    SendMessageA(progress, PBM_SETRANGE32, 0, last);
    SendMessageA(progress, PBM_SETSTEP, 1, 0);
    SendMessageA(progress, PBM_SETBARCOLOR, 0, kStepColour);
}

void ShowStep(HWND window, int position)
{
    SendMessageA(ProgressBar(window), PBM_SETPOS, position, 0);
}

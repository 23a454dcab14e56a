#include "album_session.h"

#include "resources/resource_ids.h"
#include "tools/acquire/event_loop.h"

bool AlbumReady(HWND album)
{
    return album != nullptr && IsWindowEnabled(GetDlgItem(album, IDC_UPLOAD)) &&
           !IsWindowEnabled(GetDlgItem(album, IDC_ALBUM));
}

bool PumpUntilAlbumReady(TwainApp& app, HWND album, DWORD timeout)
{
    const DWORD start = GetTickCount();
    while (!AlbumReady(album)) {
        if (GetTickCount() - start > timeout) {
            return false;
        }
        MSG message;
        if (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
            PassEvent(app, message);
        } else {
            MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
        }
    }
    return true;
}

bool OpenAndEnableCamera(TwainApp& app)
{
    return OpenSourceNamed(app, "Camera") && EnableSource(app, true);
}

bool DisableAndClose(TwainApp& app)
{
    const bool disabled = DisableSource(app, true);
    return CloseOpenSource(app) && disabled;
}

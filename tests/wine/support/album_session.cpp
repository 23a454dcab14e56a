#include "album_session.h"

#include "tools/acquire/album_user.h"
#include "tools/acquire/event_loop.h"

namespace {

// Passes one waiting message to the source, or waits a little for one.
void PassNextEvent(TwainApp& app)
{
    MSG message;
    if (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
        PassEvent(app, message);
    } else {
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
    }
}

}  // namespace

void PumpApplication(TwainApp& app, DWORD milliseconds)
{
    const DWORD start = GetTickCount();
    while (GetTickCount() - start < milliseconds) {
        PassNextEvent(app);
    }
}

bool PumpUntilAlbumReady(TwainApp& app, HWND album, DWORD timeout)
{
    const DWORD start = GetTickCount();
    while (!AlbumReady(album)) {
        if (GetTickCount() - start > timeout) {
            return false;
        }
        PassNextEvent(app);
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

bool RunAlbumSession(TwainApp& app, DWORD timeout)
{
    const bool ready = OpenAndEnableCamera(app) && PumpUntilAlbumReady(app, AlbumWindow(), timeout);
    return DisableAndClose(app) && ready;
}

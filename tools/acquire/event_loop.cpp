#include "event_loop.h"

#include <cstdio>

#include "album_user.h"

namespace {

const UINT_PTR kCloseTimer = 1;
const UINT_PTR kAlbumUserTimer = 2;
const UINT kAlbumUserTick = 100;

bool CallUserInterface(TwainApp& app, TW_UINT16 MSG, bool showUI)
{
    TW_USERINTERFACE ui = {};
    ui.ShowUI = showUI;
    ui.ModalUI = FALSE;
    ui.hParent = app.window;
    return CallSource(app, DG_CONTROL, DAT_USERINTERFACE, MSG, &ui) == TWRC_SUCCESS;
}

void OnTransferReady(TwainApp& app, TransferOptions& transfers)
{
    printf("The source has pictures ready\n");
    const int saved = TransferPictures(app, transfers);
    printf("Saved %d picture%s\n", saved, saved == 1 ? "" : "s");
}

bool IsTimer(const TwainApp& app, const MSG& message, UINT_PTR timer)
{
    return message.message == WM_TIMER && message.hwnd == app.window && message.wParam == timer;
}

// Returns when the source asks to be closed, the time is up, or the thread quits.
void RunEventLoop(TwainApp& app, SessionOptions& options)
{
    if (options.closeAfterMs != 0) {
        SetTimer(app.window, kCloseTimer, options.closeAfterMs, nullptr);
    }
    AlbumUser user = {};
    if (options.uploadStills) {
        SetTimer(app.window, kAlbumUserTimer, kAlbumUserTick, nullptr);
    }
    MSG message;
    while (GetMessageA(&message, nullptr, 0, 0) > 0) {
        TW_UINT16 notification = PassEvent(app, message);
        if (notification == MSG_XFERREADY) {
            OnTransferReady(app, options.transfers);
            if (user.pressed) {
                CloseAlbumWindow();
            }
        } else if (notification == MSG_CLOSEDSREQ) {
            printf("The source asks to be closed\n");
            break;
        }
        if (IsTimer(app, message, kAlbumUserTimer) && PressUpLoadWhenReady(user)) {
            KillTimer(app.window, kAlbumUserTimer);
        }
        if (IsTimer(app, message, kCloseTimer)) {
            printf("Time is up\n");
            break;
        }
    }
    KillTimer(app.window, kAlbumUserTimer);
    if (options.closeAfterMs != 0) {
        KillTimer(app.window, kCloseTimer);
    }
}

}  // namespace

bool EnableSource(TwainApp& app, bool showUI)
{
    return CallUserInterface(app, MSG_ENABLEDS, showUI);
}

bool DisableSource(TwainApp& app, bool showUI)
{
    return CallUserInterface(app, MSG_DISABLEDS, showUI);
}

TW_UINT16 PassEvent(TwainApp& app, MSG& message)
{
    TW_EVENT event = {&message, MSG_NULL};
    if (CallSource(app, DG_CONTROL, DAT_EVENT, MSG_PROCESSEVENT, &event) == TWRC_NOTDSEVENT) {
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
    return event.TWMessage;
}

bool RunSession(TwainApp& app, SessionOptions& options)
{
    if (!EnableSource(app, options.showUI)) {
        fprintf(stderr, "acquire: the source refused to be enabled (condition code %u)\n",
                ConditionCode(app));
        return false;
    }
    printf("Enabled the source%s\n", options.showUI ? "" : " without its user interface");
    RunEventLoop(app, options);
    bool disabled = DisableSource(app, options.showUI);
    printf(disabled ? "Disabled the source\n" : "The source refused to be disabled\n");
    bool closed = CloseOpenSource(app);
    printf(closed ? "Closed the source\n" : "The source refused to be closed\n");
    return disabled && closed;
}

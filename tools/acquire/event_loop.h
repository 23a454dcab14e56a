// Enabling the open source and running the application's message loop, in
// which every message passes through the source first.
#pragma once

#include "picture_transfers.h"
#include "twain_app.h"

struct SessionOptions {
    bool showUI = true;
    // How long the loop runs before the source is closed; 0 waits until the
    // user closes the source's window.
    unsigned closeAfterMs = 3000;
    // Acts as the album window's user: selects every still, presses UpLoad,
    // and closes the window once the pictures are taken.
    bool uploadStills = false;
    // How the pictures that the source announces are taken and saved.
    TransferOptions transfers;
};

// DAT_USERINTERFACE with our window as the parent.
bool EnableSource(TwainApp& app, bool showUI);
bool DisableSource(TwainApp& app, bool showUI);

// Passes one message to the source (MSG_PROCESSEVENT) and dispatches it if
// it was not the source's. Returns the notification it brought, or MSG_NULL.
TW_UINT16 PassEvent(TwainApp& app, MSG& message);

// Enables the source, runs the message loop, in which the pictures that the
// source announces are taken, until the source asks to be closed or the time
// is up, then disables and closes it.
bool RunSession(TwainApp& app, SessionOptions& options);

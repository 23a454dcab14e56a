// The live video of the album window's video mode: a DirectShow preview graph
// over the camera's video capture filter ("ZX600 Video Capture"), rendered into
// a child video window of the album's video frame control (control 1054).
// One process-wide instance, driven only from the album window's thread; every
// failure is silent and leaves the frame empty.
#pragma once

#include <windows.h>

// Initialises COM for the thread, keeps the frame window, forgets any selected
// device and registers "STOPRUN". Always succeeds.
bool OpenVideo(HWND frameWindow);

// Writes the position of the last video input device whose friendly name
// begins with "ZX600 Video Capture" to *deviceIndex; leaves it alone when no
// device matches (the caller presets it to 0).
void FindCameraDevice(LONG* deviceIndex);

// Binds the device at that position of the video input category, then renders
// and runs its preview. Nothing happens when the position is already selected.
void SelectVideoDevice(LONG deviceIndex);

// Asks for the preview, renders it and runs it. Always succeeds.
bool ShowPreview();

// Halts and unrenders the preview (repainting repaintWindow, which may be
// null); renders and runs it again when restart is nonzero.
void RestartPreview(int restart, HWND repaintWindow);

// Stops the running graph; true only if it was running and stopped.
bool HaltPreview();

// Modal property pages of the capture filter. Always succeeds.
bool ShowFilterPages();

// Modal property pages of the capture pin's stream configuration; the preview
// is halted meanwhile and rebuilt afterwards. Always succeeds.
bool ShowFormatPages();

// Halts, unrenders and releases everything, then uninitialises COM. Always
// succeeds.
bool CloseVideo();

// The registered "STOPRUN" message (0 before the first OpenVideo): the album
// window calls RestartPreview(wParam, itself) on it.
UINT StopRunMessage();

// The "VideoClip Size" dialog (template 168), in which the user picks the
// still size of the video snap, and the sensor type that decides its offer.
#pragma once

#include <windows.h>

enum ClipSize { kClip640x480 = 0, kClip1280x960 = 1, kClip1280x1024 = 2 };

// The size picked last; 1280 x 960 when the source is loaded, 640 x 480 each
// time the dialog opens. Read by the video snap only.
extern int g_clipSizeChoice;

// The Size button's command: locks and disables the button and opens the
// dialog modeless over the album window's video panel.
void OpenClipSizeDialog(HWND album);

// True when the camera's sensor type (registry value "SensorType" under
// HKLM\Software\Ardenza ZC600A\CONTROL) reads 0 within ten tries: the
// sensor then offers 1280 x 960, otherwise 1280 x 1024.
bool QuerySensorType();

// The album window's eleven widget objects: its ten guarded buttons and its
// scroll-reporting list. They live as long as the library and are attached
// anew to the controls of each album window.
#pragma once

#include <windows.h>

#include "widgets/guarded_button.h"
#include "widgets/scroll_report_list.h"

const int kAlbumButtonCount = 10;

// The buttons' control ids, in the order they are attached.
extern const int kAlbumButtonIds[kAlbumButtonCount];

// The button objects, kAlbumButtonIds[i] being the control of g_albumButtons[i].
extern GuardedButton g_albumButtons[kAlbumButtonCount];
extern ScrollReportList g_albumList;

// Attaches the ten buttons in their order, then the list (control 1036).
void AttachAlbumWidgets(HWND album);

// The object of the button with that control id, or null.
GuardedButton* AlbumButton(int controlId);

// SetAccept on all ten buttons.
void SetAlbumButtonsAccept(int accept, UINT delay);

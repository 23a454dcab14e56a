// The album: the objects stored in the camera, shown in the album window's
// list view (control 1036) as type icons labelled with their 8.3 names.
// Item i of the list, image i of the image list and FDB record i stand for
// the same object; the newest object is last. The operations report success
// as a flag and show no message; the window shows its own.
#pragma once

#include <windows.h>

#include <commctrl.h>

// The album shows at most this many objects: the first ones (oldest first)
// when the camera holds more.
const unsigned long kAlbumMaxObjects = 1000;
// A label slot holds the 12 characters of "NAME    .EXT" and its terminator.
const size_t kAlbumLabelSize = 80;

struct AlbumList {
    // The camera's object count at the last read, changed by the operations.
    unsigned long objectCount;
    // The album window whose list shows the items below.
    HWND window;
    HIMAGELIST imageList;
    // Per item: the text the list asks for, and the bitmap made from its
    // type icon.
    char labels[kAlbumMaxObjects][kAlbumLabelSize];
    HBITMAP bitmaps[kAlbumMaxObjects];
};

extern AlbumList g_album;

// Creates the image list (60 x 64, ILC_COLORDDB) and sets it on the
// window's list. An album kept for an earlier window is released first.
bool CreateAlbumImageList(HWND window);

// Deletes the item bitmaps and destroys the image list, provided they are
// the window's.
void ReleaseAlbumList(HWND window);

// Fills the list from all records of the camera's file database. A failing
// count read counts as an empty camera.
bool LoadAlbum(HWND window);

// Adds the newest record as the last item.
bool AppendNewestObject(HWND window);

// Removes the last item; with withCamera, first deletes the newest object
// in the camera.
bool DeleteLastObject(HWND window, bool withCamera);

// Empties the list; with withCamera, first deletes every object in the camera.
bool DeleteAllObjects(HWND window, bool withCamera);

// Takes a still with the camera and appends it.
bool SnapStill(HWND window);

// Answers the list's request for an item's text (LVN_GETDISPINFOA from
// control 1036) with the item's label. False for any other notification.
bool AnswerItemText(NMHDR* notification);

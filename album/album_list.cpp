#include "album/album_list.h"

#include <vector>

#include "album/camera_library.h"
#include "album/progress_steps.h"
#include "album/type_icons.h"
#include "resources/resource_ids.h"

AlbumList g_album = {};

namespace {

const int kAppendSteps = 10;
const int kSnapSteps = 10;
const DWORD kSettleTime = 100;
// A full load moves the bar at most this often (milliseconds).
const DWORD kLoadFrameTime = 100;
const LONG kPixelsPerMetre = 2834;
// Room the list is told the text callback has.
const int kItemTextRoom = 64;

HWND AlbumListView(HWND window)
{
    return GetDlgItem(window, IDC_ALBUM_LIST);
}

unsigned long ShownItemCount(unsigned long count)
{
    return count < kAlbumMaxObjects ? count : kAlbumMaxObjects;
}

void SetAlbumImageList(HWND window)
{
    SendMessageA(AlbumListView(window), LVM_SETIMAGELIST, LVSIL_NORMAL,
                 reinterpret_cast<LPARAM>(g_album.imageList));
}

BITMAPINFOHEADER TypeIconHeader()
{
    BITMAPINFOHEADER header = {};
    header.biSize = sizeof header;
    header.biWidth = kTypeIconWidth;
    header.biHeight = kTypeIconHeight;
    header.biPlanes = 1;
    header.biBitCount = kTypeIconBitsPerPixel;
    header.biCompression = BI_RGB;
    header.biSizeImage = 0;
    header.biXPelsPerMeter = kPixelsPerMetre;
    header.biYPelsPerMeter = kPixelsPerMetre;
    return header;
}

// A device-dependent bitmap of the list's screen (its device context given)
// made from the icon's bits.
HBITMAP MakeItemBitmap(HDC screen, const BITMAPINFOHEADER& header, const unsigned char* icon)
{
    BITMAPINFO info = {};
    info.bmiHeader = header;
    return CreateDIBitmap(screen, &header, CBM_INIT, icon, &info, DIB_RGB_COLORS);
}

HBITMAP MakeItemBitmap(HWND window, const BITMAPINFOHEADER& header, const unsigned char* icon)
{
    HWND list = AlbumListView(window);
    HDC screen = GetDC(list);
    HBITMAP bitmap = MakeItemBitmap(screen, header, icon);
    ReleaseDC(list, screen);
    return bitmap;
}

// Keeps the outcome of giving the bitmap to the image list; the bitmap is
// deleted when the image list refused it.
bool KeepIfImaged(HBITMAP bitmap, bool imaged)
{
    if (!imaged && bitmap != nullptr) {
        DeleteObject(bitmap);
    }
    return imaged;
}

// Adds the bitmap, itself as the mask, as the next image.
bool AddItemImage(HBITMAP bitmap)
{
    return KeepIfImaged(bitmap, bitmap != nullptr &&
                                    ImageList_Add(g_album.imageList, bitmap, bitmap) != -1);
}

// Puts the bitmap, itself as the mask, into image `index` of an image list
// made large enough beforehand.
bool ReplaceItemImage(HBITMAP bitmap, unsigned long index)
{
    return KeepIfImaged(
        bitmap, bitmap != nullptr &&
                    ImageList_Replace(g_album.imageList, static_cast<int>(index), bitmap, bitmap));
}

void DeleteItemBitmap(HBITMAP& bitmap)
{
    if (bitmap != nullptr) {
        DeleteObject(bitmap);
        bitmap = nullptr;
    }
}

void DeleteItemBitmaps()
{
    for (HBITMAP& bitmap : g_album.bitmaps) {
        DeleteItemBitmap(bitmap);
    }
}

// Keeps the item's bitmap and label in their slots.
void StoreItem(unsigned long index, HBITMAP bitmap, const char* label)
{
    DeleteItemBitmap(g_album.bitmaps[index]);
    g_album.bitmaps[index] = bitmap;
    lstrcpynA(g_album.labels[index], label, kAlbumLabelSize);
}

// Inserts item `index` showing image `index`; its text comes from the
// label slot through LVN_GETDISPINFOA.
bool InsertItem(HWND window, unsigned long index)
{
    LVITEMA item = {};
    item.mask = LVIF_TEXT | LVIF_IMAGE | LVIF_PARAM | LVIF_STATE;
    item.iItem = static_cast<int>(index);
    item.pszText = LPSTR_TEXTCALLBACKA;
    item.cchTextMax = kItemTextRoom;
    item.iImage = static_cast<int>(index);
    item.lParam = reinterpret_cast<LPARAM>(g_album.labels[index]);
    return SendMessageA(AlbumListView(window), LVM_INSERTITEMA, 0,
                        reinterpret_cast<LPARAM>(&item)) != -1;
}

// Deletes item `index`, its bitmap and its image.
void RemoveItem(HWND window, unsigned long index)
{
    DeleteItemBitmap(g_album.bitmaps[index]);
    SendMessageA(AlbumListView(window), LVM_DELETEITEM, index, 0);
    ImageList_Remove(g_album.imageList, static_cast<int>(index));
}

// Empties the list, the image list and the bitmap slots, whatever an
// earlier failure left in them, so that image i stays the image of item i.
void ForgetItems(HWND window)
{
    SendMessageA(AlbumListView(window), LVM_DELETEALLITEMS, 0, 0);
    ImageList_RemoveAll(g_album.imageList);
    DeleteItemBitmaps();
}

// One step of the full load: record `index` becomes item `index`, its
// bitmap made on the list's device context `screen`. `position` follows
// the progress position that the step gives the bar: the item's index, or 0
// when the image list refuses its bitmap.
bool LoadItem(HWND window, HDC screen, const std::vector<unsigned char>& records,
              unsigned long index, int& position)
{
    const unsigned char* record = FdbRecordAt(records.data(), index);
    char label[kFdbLabelLength + 1];
    if (!MakeFdbLabel(record, label, sizeof label)) {
        return false;
    }
    const unsigned char* icon = TypeIconFor(record, true);
    if (icon == nullptr) {
        return false;
    }
    position = static_cast<int>(index);
    HBITMAP bitmap = MakeItemBitmap(screen, TypeIconHeader(), icon);
    if (!ReplaceItemImage(bitmap, index)) {
        position = 0;
        return false;
    }
    StoreItem(index, bitmap, label);
    return InsertItem(window, index);
}

// Lists records 0 to shown - 1. The list is drawn once, complete, and the
// bar moves once a frame, rather than both at every item: the list and the
// bar end as an item-by-item load leaves them.
bool LoadItems(HWND window, const std::vector<unsigned char>& records, unsigned long shown)
{
    // Room for every image at once: an image list grown image by image
    // copies all its images again at each growth.
    ImageList_SetImageCount(g_album.imageList, shown);
    HWND list = AlbumListView(window);
    HWND bar = GetDlgItem(window, IDC_PROGRESS);
    // Bitmaps made on a memory context that holds a bitmap of the list's
    // screen have the screen's format, as those made on the list's own
    // context, and are made many times faster.
    HDC listContext = GetDC(list);
    HDC screen = CreateCompatibleDC(listContext);
    HBITMAP screenFormat = CreateCompatibleBitmap(listContext, 1, 1);
    HGDIOBJ formerBitmap = SelectObject(screen, screenFormat);
    // While the list does not draw, an inserted item neither rearranges nor
    // repaints the icons listed before it.
    SendMessageA(list, WM_SETREDRAW, FALSE, 0);
    int position = -1;
    DWORD lastStep = GetTickCount();
    unsigned long listed = 0;
    while (listed < shown && LoadItem(window, screen, records, listed, position)) {
        ++listed;
        if (GetTickCount() - lastStep >= kLoadFrameTime) {
            ShowStep(window, position);
            UpdateWindow(bar);
            lastStep = GetTickCount();
        }
    }
    SelectObject(screen, formerBitmap);
    DeleteObject(screenFormat);
    DeleteDC(screen);
    ReleaseDC(list, listContext);
    if (listed < shown) {
        // Image i stays the image of item i: the images of records not
        // listed go.
        ImageList_SetImageCount(g_album.imageList, listed);
    }
    if (position >= 0) {
        ShowStep(window, position);
    }
    SendMessageA(list, WM_SETREDRAW, TRUE, 0);
    InvalidateRect(list, nullptr, TRUE);
    UpdateWindow(window);
    return listed == shown;
}

// Reads the camera's object count into the album; a failing read leaves 0.
bool ReadObjectCount()
{
    g_album.objectCount = 0;
    unsigned long count = 0;
    if (GetFDBCount(&count) != 0) {
        return false;
    }
    g_album.objectCount = count;
    return true;
}

}  // namespace

bool CreateAlbumImageList(HWND window)
{
    if (g_album.imageList != nullptr) {
        ReleaseAlbumList(g_album.window);
    }
    g_album.imageList = ImageList_Create(kTypeIconWidth, kTypeIconHeight, ILC_COLORDDB, 1, 0);
    if (g_album.imageList == nullptr) {
        return false;
    }
    g_album.window = window;
    SetAlbumImageList(window);
    return true;
}

void ReleaseAlbumList(HWND window)
{
    if (window != g_album.window || g_album.imageList == nullptr) {
        return;
    }
    DeleteItemBitmaps();
    // The list would destroy its image list again when it is destroyed.
    SendMessageA(AlbumListView(window), LVM_SETIMAGELIST, LVSIL_NORMAL, 0);
    ImageList_Destroy(g_album.imageList);
    g_album.imageList = nullptr;
    g_album.window = nullptr;
}

bool LoadAlbum(HWND window)
{
    WaitFWIdle();
    if (!ReadObjectCount() || g_album.objectCount == 0) {
        return true;
    }
    std::vector<unsigned char> records;
    if (!ReadFdbContext(g_album.objectCount, records)) {
        return false;
    }
    const unsigned long shown = ShownItemCount(g_album.objectCount);
    StartSteps(window, static_cast<int>(shown - 1));
    SetAlbumImageList(window);
    ForgetItems(window);
    if (!LoadItems(window, records, shown)) {
        return false;
    }
    PauseForCamera(kSettleTime);
    ShowStep(window, 0);
    return true;
}

bool AppendNewestObject(HWND window)
{
    StartSteps(window, kAppendSteps);
    ShowStep(window, 3);
    WaitFWIdle();
    if (!ReadObjectCount()) {
        return false;
    }
    const unsigned long count = g_album.objectCount;
    // Nothing to show: an empty camera, or a newest object beyond the
    // album's slots.
    if (count == 0 || count > kAlbumMaxObjects) {
        return true;
    }
    ShowStep(window, 4);
    std::vector<unsigned char> records;
    if (!ReadFdbContext(count, records)) {
        ShowStep(window, 0);
        return false;
    }
    ShowStep(window, 5);
    const unsigned long index = count - 1;
    const unsigned char* record = FdbRecordAt(records.data(), index);
    char label[kFdbLabelLength + 1];
    if (!MakeFdbLabel(record, label, sizeof label)) {
        return false;
    }
    ShowStep(window, 6);
    const unsigned char* icon = TypeIconFor(record, false);
    if (icon == nullptr) {
        return false;
    }
    ShowStep(window, 7);
    const BITMAPINFOHEADER header = TypeIconHeader();
    ShowStep(window, 8);
    HBITMAP bitmap = MakeItemBitmap(window, header, icon);
    ShowStep(window, 9);
    if (!AddItemImage(bitmap)) {
        ShowStep(window, 0);
        return false;
    }
    StoreItem(index, bitmap, label);
    ShowStep(window, 10);
    SetAlbumImageList(window);
    if (!InsertItem(window, index)) {
        return false;
    }
    UpdateWindow(window);
    PauseForCamera(kSettleTime);
    return true;
}

bool DeleteLastObject(HWND window, bool withCamera)
{
    if (g_album.objectCount == 0) {
        return true;
    }
    WaitFWIdle();
    if (withCamera && DeleteFDBObject(kDeleteNewest) != 0) {
        return false;
    }
    WaitFWIdle();
    const unsigned long last = g_album.objectCount - 1;
    if (last < kAlbumMaxObjects) {
        RemoveItem(window, last);
    }
    g_album.objectCount = last;
    return true;
}

bool DeleteAllObjects(HWND window, bool withCamera)
{
    if (g_album.objectCount == 0) {
        return true;
    }
    if (withCamera && DeleteFDBObject(kDeleteAll) != 0) {
        return false;
    }
    WaitFWIdle();
    // All at once: removed one by one, each image would have the image list
    // copy all images before it.
    ForgetItems(window);
    g_album.objectCount = 0;
    return true;
}

bool SnapStill(HWND window)
{
    StartSteps(window, kSnapSteps);
    ShowStep(window, 1);
    if (Capture_DOSFAT_DSC() != 0) {
        ShowStep(window, 0);
        return false;
    }
    WaitFWIdle();
    ShowStep(window, 2);
    WaitFWIdle();
    const bool appended = AppendNewestObject(window);
    if (!appended) {
        unsigned long count = 0;
        if (GetFDBCount(&count) == 0) {
            g_album.objectCount = count;
        }
    }
    ShowStep(window, 0);
    return appended;
}

bool AnswerItemText(NMHDR* notification)
{
    if (notification->idFrom != IDC_ALBUM_LIST || notification->code != LVN_GETDISPINFOA) {
        return false;
    }
    LVITEMA& item = reinterpret_cast<NMLVDISPINFOA*>(notification)->item;
    const char* label = reinterpret_cast<const char*>(item.lParam);
    if (item.iSubItem != 0 || (item.mask & LVIF_TEXT) == 0 || label == nullptr) {
        return true;
    }
    if (item.pszText != nullptr && item.cchTextMax > 0) {
        lstrcpynA(item.pszText, label, item.cchTextMax);
    } else {
        item.pszText = const_cast<char*>(label);
    }
    return true;
}

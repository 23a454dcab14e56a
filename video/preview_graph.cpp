// The preview graph; the operations are filled in step by step.
#include "video/preview_graph.h"

static UINT stopRunMessage;

bool OpenVideo(HWND) { stopRunMessage = RegisterWindowMessageA("STOPRUN"); return true; }
void FindCameraDevice(LONG*) {}
void SelectVideoDevice(LONG) {}
bool ShowPreview() { return true; }
void RestartPreview(int, HWND) {}
bool HaltPreview() { return false; }
bool ShowFilterPages() { return true; }
bool ShowFormatPages() { return true; }
bool CloseVideo() { return true; }
UINT StopRunMessage() { return stopRunMessage; }

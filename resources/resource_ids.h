// Identifiers of the source's resources, shared by the resource script and the code.
#pragma once

#define IDI_CAMERA 118

// Banners of the album window, for screens up to and above 100 dots per inch.
#define IDB_BANNER_SMALL 134
#define IDB_BANNER_LARGE 166

// Faces of the album window's buttons.
#define IDB_FACE_SNAP 140
#define IDB_FACE_UPLOAD 141
#define IDB_FACE_SAVE 143
#define IDB_FACE_ALBUM 144
#define IDB_FACE_VIDEO 148
#define IDB_FACE_FILTER 152
#define IDB_FACE_DELETE_LAST 157
#define IDB_FACE_DELETE_ALL 158
#define IDB_FACE_CAPTURE_PIN 160
#define IDB_FACE_CLIP_SIZE 169

// Controls of the album window "TW_SOURCE_DIALOG".
#define IDC_ALBUM_LIST 1036
#define IDC_PROGRESS 1040
#define IDC_UPLOAD 1048
#define IDC_SNAP 1049
#define IDC_VIDEO 1050
#define IDC_ALBUM 1051
#define IDC_SAVE 1052
#define IDC_FILTER_PAGES 1053
#define IDC_VIDEO_PANEL 1054
#define IDC_DELETE_LAST 1055
#define IDC_BANNER_SMALL 1056
#define IDC_DELETE_ALL 1057
#define IDC_CAPTURE_PIN_PAGES 1058
#define IDC_BANNER_LARGE 1059
#define IDC_CLIP_SIZE 1060

// The "VideoClip Size" dialog and its radio buttons.
#define IDD_CLIP_SIZE 168
#define IDC_CLIP_640X480 1071
#define IDC_CLIP_1280X960 1072
#define IDC_CLIP_1280X1024 1073

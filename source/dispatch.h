// The form of every triplet handler and of the dispatch tables that find them.
#pragma once

#include "twain.h"

struct TripletArgs {
    pTW_IDENTITY pOrigin;
    TW_UINT32 DG;
    TW_UINT16 DAT;
    TW_UINT16 MSG;
    TW_MEMREF pData;
};

typedef TW_UINT16 (*TripletHandler)(const TripletArgs& args);

struct DispatchEntry {
    TW_UINT16 dat;
    TripletHandler handler;
};

// Rows in search order; each table ends with a row whose handler is null.
extern const DispatchEntry ControlDispatch[];
extern const DispatchEntry ImageDispatch[];

// The handler of the first row whose DAT matches, or null.
TripletHandler FindHandler(const DispatchEntry* table, TW_UINT16 dat);

// Whether the source's present state accepts the triplet.
bool Accepted(const TripletArgs& args);

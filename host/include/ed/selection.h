#pragma once

#include "acad/adscodes.h"
#include "acad/status.h"
#include "db/objectid.h"

#pragma GCC visibility push(default)

// Picking one entity. An answer is a point "x,y[,z]", which takes the entity of the space being
// worked in whose geometry passes nearest, within PICKBOX drawing units; or "#handle". A point
// that hits nothing, or a handle of no entity, answers RTERROR; an empty answer RTNONE unless
// acedInitGet asked for RSG_NONULL; keywords RTKWORD; cancel RTCAN.
int acedEntSel(const wchar_t* prompt, ads_name entity, ads_point pickedPoint);

// The usual selection when mode is null: answers of points and handles add one entity each,
// "W" then two corners adds what lies wholly inside the window, "C" then two corners what the
// window touches, "ALL" everything in the space, "L" the newest entity, "P" what the last
// selection held; "R" switches to removing and "A" back to adding; an empty answer ends. A handle
// that names no entity is refused (a script's selection fails there). RTNORM with a set that
// holds something, RTERROR for an empty selection or a refused answer, RTCAN when cancelled.
// Other modes, points and filters are not supported (RTERROR).
int acedSSGet(const wchar_t* mode, const void* pt1, const void* pt2, const resbuf* filter,
              ads_name selectionSet);
int acedSSLength(const ads_name selectionSet, Adesk::Int32* length);
int acedSSName(const ads_name selectionSet, Adesk::Int32 index, ads_name entity);
int acedSSFree(const ads_name selectionSet);

Acad::ErrorStatus acdbGetObjectId(AcDbObjectId& id, const ads_name entity);
Acad::ErrorStatus acdbGetAdsName(ads_name& entity, AcDbObjectId id);

#pragma GCC visibility pop

#pragma once
// Free pools of context and object records. Released records wait in a free
// list (at most 100 contexts and 200 objects) with their released marker
// set, so that calls on a stale handle find the marker and do nothing;
// beyond that they are freed. Both lists share one mutex, created on first
// use; at unload both lists are freed.
//
// Threads: any thread; each call takes the pool mutex for its own step.

#include "gdi/gdi-records.h"

enum { GDI_MAX_POOLED_CONTEXTS = 100, GDI_MAX_POOLED_OBJECTS = 200 };

// A zeroed record, from the pool or freshly allocated; null when memory is short.
GDI_ContextRec* GDI_AllocContextRec();
GDI_ObjectRec* GDI_AllocObjectRec();

// Clears the record, marks it released and pools it (or frees it when the
// pool is full or the layer has been unloaded). The caller has released
// everything the record referred to.
void GDI_FreeContextRec(GDI_ContextRec* rec);
void GDI_FreeObjectRec(GDI_ObjectRec* rec);

// Records waiting in the pools (for diagnostics and tests).
int GDI_PooledContextCount();
int GDI_PooledObjectCount();

// Frees both pools; later releases free their records directly. Called by
// the layer's unloader; safe to call more than once.
void GDI_FreePools();

#pragma once
// The records the plug-in core exchanges with hosts and files: the
// serialisation chunk, presets and the MIDI and SysEx messages.

#include "framework/ByteChunk.h"
#include "framework/IMidiMsg.h"
#include "framework/IPreset.h"
#include "framework/ISysEx.h"

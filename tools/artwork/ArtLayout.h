#pragma once
// Where the effect's editor puts each image, and the sizes the artwork gives
// them: the panel is 303 x 436 with the knobs' and the switch's top-left
// corners fixed by the editor's layout.
//
// Threads: constants only.

namespace ArtLayout {

const int kPanelWidth = 303;
const int kPanelHeight = 436;

// Knob strips: 31 frames of kKnobSize square stacked vertically; frame 1
// shows value 0, frame 31 value 1.
const int kKnobSize = 64;
const int kKnobFrames = 31;
const float kKnobRadius = 25.0f;  // the knob's skirt, centred in the frame
const float kPi = 3.14159265358979f;
const float kKnobSweep = 0.75f * kPi;  // each side of straight up

// Pointer angle (0 up, clockwise) of a knob showing normalized value v.
inline float KnobAngle(float v) { return -kKnobSweep + 2.0f * kKnobSweep * v; }

struct KnobPlace {
  const char* file;
  const char* label;
  int left, top;
};
const KnobPlace kKnobs[3] = {
    {"TON.png", "TONE", 180, 104},
    {"SUS.png", "SUSTAIN", 113, 33},
    {"OUT.png", "OUTPUT", 44, 104},
};

// Bypass switch strip: two frames stacked vertically, frame 1 effect on,
// frame 2 bypassed. It spans the lower face so the footswitch and its LED
// sit on the knobs' centre line.
const int kSwitchLeft = 11;
const int kSwitchTop = 225;
const int kSwitchWidth = 268;
const int kSwitchHeight = 176;
const float kCentreX = 145.0f;  // the knobs' and the switch's axis
const float kLedX = kCentreX, kLedY = 248.0f;
const float kFootswitchX = kCentreX, kFootswitchY = 322.0f;

// The product plate along the bottom edge; the link's hot area starts at
// (205, 410).
const int kPlateTop = 405;

}  // namespace ArtLayout

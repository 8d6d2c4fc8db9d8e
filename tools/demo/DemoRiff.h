#pragma once
// The built-in demo riff: a few bars of palm-muted power chords on a
// plucked-string model, stereo, identical on every run and every build.
// Pure functions of their arguments: any thread, no lock.

// Number of frames the whole riff (with its final ring-out) takes; 0 for a
// sample rate outside 0 < rate <= 1 MHz.
int DemoRiffFrames(double sampleRate);

// Writes the first nFrames frames of the riff into left and right; frames
// beyond the end of the riff are silence. Does nothing for nFrames <= 0 or
// a sample rate that DemoRiffFrames refuses.
void SynthesizeDemoRiff(float* left, float* right, int nFrames, double sampleRate);

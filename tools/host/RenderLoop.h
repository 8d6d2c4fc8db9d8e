#pragma once
// The render itself: the whole feed, then the tail the plug-in asks for,
// through the plug-in in blocks of one precision, into the output file and
// (when asked) the dry file of exactly what the plug-in was fed.
//
// Threads: main thread; the plug-in's audio callbacks are called from it
// too, so nothing else runs meanwhile.

#include <string>

class FeedSource;
class HostedPlugin;
class SoundWriter;

struct RenderSession {
  HostedPlugin* plugin;
  FeedSource* feed;
  SoundWriter* out;
  SoundWriter* dry;  // null: no dry file
  int block;
  double rate;
  long long tailFrames;
  bool showProgress;
};

// The tail the plug-in asks for at rate, in frames (at most a minute).
long long TailFrames(HostedPlugin* plugin, double rate);

// Runs the render in float or double; false with a reason when a file
// could not be written.
bool RenderFloat(const RenderSession& session, std::string* error);
bool RenderDouble(const RenderSession& session, std::string* error);

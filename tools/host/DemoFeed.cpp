#include "tools/host/FeedSource.h"

#ifdef QUARRY_HAVE_DEMO_RIFF
#include "tools/demo/DemoRiff.h"
#endif

std::unique_ptr<FeedSource> MakeDemoFeed(int sampleRate, std::string* error)
{
#ifdef QUARRY_HAVE_DEMO_RIFF
  const int frames = DemoRiffFrames(sampleRate);
  if (frames <= 0) {
    *error = "the demo riff cannot be made at " + std::to_string(sampleRate) + " Hz";
    return nullptr;
  }
  std::vector<float> left(static_cast<size_t>(frames)), right(static_cast<size_t>(frames));
  SynthesizeDemoRiff(left.data(), right.data(), frames, sampleRate);
  std::vector<double> interleaved(static_cast<size_t>(frames) * 2);
  for (int i = 0; i < frames; ++i) {
    interleaved[2 * static_cast<size_t>(i)] = left[i];
    interleaved[2 * static_cast<size_t>(i) + 1] = right[i];
  }
  return std::unique_ptr<FeedSource>(new MemoryFeed(std::move(interleaved), 2, sampleRate));
#else
  (void)sampleRate;
  *error = "this build has no demo riff; give an input file with -i";
  return nullptr;
#endif
}

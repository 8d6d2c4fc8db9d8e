#include "tools/demo/DemoRiff.h"

#include <algorithm>
#include <vector>

namespace {

constexpr double kBeat = 60.0 / 140.0;  // 140 BPM
constexpr double kEighth = kBeat / 2;
constexpr double kRingOut = 0.6;        // seconds after the last note
constexpr double kMaxSampleRate = 1e6;  // keeps frame counts within int

struct Note {
  double start;   // in eighths
  double length;  // in eighths
  double root;    // Hz; the chord adds the fifth and the octave
  bool muted;     // palm-muted notes die away quickly
};

// Two bars in E minor, played twice with a different ending.
const Note kRiff[] = {
    {0, 1, 82.41, true},    {1, 1, 82.41, true},    {2, 1, 98.00, false},   {3, 1, 82.41, true},
    {4, 1, 110.00, false},  {5, 1, 82.41, true},    {6, 1, 116.54, false},  {7, 1, 110.00, false},
    {8, 1, 82.41, true},    {9, 1, 82.41, true},    {10, 1, 98.00, false},  {11, 1, 82.41, true},
    {12, 2, 146.83, false}, {14, 1, 130.81, false}, {15, 1, 123.47, false}, {16, 1, 82.41, true},
    {17, 1, 82.41, true},   {18, 1, 98.00, false},  {19, 1, 82.41, true},   {20, 1, 110.00, false},
    {21, 1, 82.41, true},   {22, 1, 116.54, false}, {23, 1, 110.00, false}, {24, 1, 82.41, true},
    {25, 1, 82.41, true},   {26, 1, 98.00, false},  {27, 1, 82.41, true},   {28, 4, 82.41, false},
};

// Deterministic noise for the pluck.
class Lcg {
public:
  explicit Lcg(unsigned seed) : mState(seed) {}
  double Next()  // -1 .. 1
  {
    mState = mState * 1664525u + 1013904223u;
    return static_cast<double>(mState >> 8) / 8388608.0 - 1.0;
  }

private:
  unsigned mState;
};

// Karplus-Strong string: a delay line of one period, refilled with the
// damped average of neighbouring samples, which rings at about
// sampleRate / (length + 0.5) and loses its highs as it decays.
class PluckedString {
public:
  PluckedString(double freq, double sampleRate, double damping, Lcg& noise)
      : mLine(std::max(2, static_cast<int>(sampleRate / freq))), mDamping(damping)
  {
    // A pick near the bridge: the noise burst smoothed a little.
    double previous = 0.0;
    for (double& v : mLine) {
      const double n = noise.Next();
      v = 0.5 * (n + previous);
      previous = n;
    }
  }

  double Next()
  {
    const int n = static_cast<int>(mLine.size());
    const int next = mPos + 1 == n ? 0 : mPos + 1;
    const double out = mLine[mPos];
    mLine[mPos] = mDamping * 0.5 * (out + mLine[next]);
    mPos = next;
    return out;
  }

private:
  std::vector<double> mLine;
  int mPos = 0;
  double mDamping;
};

// Adds one chord (root, fifth, octave) to the buffers: root a little to the
// left, fifth a little to the right, octave in the middle.
void AddChord(const Note& note, double sampleRate, Lcg& noise, std::vector<double>& left,
              std::vector<double>& right)
{
  const double damping = note.muted ? 0.985 : 0.9965;
  PluckedString root(note.root, sampleRate, damping, noise);
  PluckedString fifth(note.root * 1.5, sampleRate, damping, noise);
  PluckedString octave(note.root * 2.0, sampleRate, damping, noise);

  const int begin = static_cast<int>(note.start * kEighth * sampleRate);
  const int held = static_cast<int>(note.length * kEighth * sampleRate);
  const int release = static_cast<int>(0.02 * sampleRate);  // the fretting hand lets go
  const int total = static_cast<int>(left.size());
  const double level = note.muted ? 0.22 : 0.18;
  for (int i = 0; i < held + release && begin + i < total; ++i) {
    double env = level;
    if (i >= held) env = level * (1.0 - static_cast<double>(i - held) / release);
    const double r = root.Next();
    const double f = fifth.Next();
    const double o = octave.Next();
    left[begin + i] += env * (0.6 * r + 0.4 * f + 0.35 * o);
    right[begin + i] += env * (0.4 * r + 0.6 * f + 0.35 * o);
  }
}

double RiffSeconds()
{
  double end = 0.0;
  for (const Note& note : kRiff) end = std::max(end, (note.start + note.length) * kEighth);
  return end + kRingOut;
}

}  // namespace

int DemoRiffFrames(double sampleRate)
{
  if (!(sampleRate > 0.0 && sampleRate <= kMaxSampleRate)) return 0;
  return static_cast<int>(RiffSeconds() * sampleRate);
}

void SynthesizeDemoRiff(float* left, float* right, int nFrames, double sampleRate)
{
  if (nFrames <= 0 || !(sampleRate > 0.0 && sampleRate <= kMaxSampleRate)) return;
  const int riffFrames = std::min(nFrames, DemoRiffFrames(sampleRate));
  std::vector<double> l(riffFrames, 0.0), r(riffFrames, 0.0);
  Lcg noise(0x5175u);
  for (const Note& note : kRiff) AddChord(note, sampleRate, noise, l, r);
  for (int i = 0; i < nFrames; ++i) {
    left[i] = i < riffFrames ? static_cast<float>(l[i]) : 0.0f;
    right[i] = i < riffFrames ? static_cast<float>(r[i]) : 0.0f;
  }
}

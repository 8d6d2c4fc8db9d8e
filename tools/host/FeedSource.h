#pragma once
// Where the audio fed to the plug-in comes from: a sound file or samples
// held in memory (the built-in demo riff). Frames are read interleaved, as
// doubles.
//
// Threads: main thread only.

#include <memory>
#include <string>
#include <vector>

#include "tools/host/SoundFiles.h"

class FeedSource {
public:
  virtual ~FeedSource() {}
  virtual int Channels() const = 0;
  virtual int SampleRate() const = 0;
  virtual long long Frames() const = 0;  // -1 when unknown
  // Up to frames interleaved frames; the number read, 0 at the end.
  virtual long long Read(double* interleaved, long long frames) = 0;
};

class FileFeed : public FeedSource {
public:
  explicit FileFeed(std::unique_ptr<SoundReader> reader) : m_reader(std::move(reader)) {}
  int Channels() const override { return m_reader->Channels(); }
  int SampleRate() const override { return m_reader->SampleRate(); }
  long long Frames() const override { return m_reader->Frames(); }
  long long Read(double* interleaved, long long frames) override
  {
    return m_reader->Read(interleaved, frames);
  }

private:
  std::unique_ptr<SoundReader> m_reader;
};

class MemoryFeed : public FeedSource {
public:
  MemoryFeed(std::vector<double> interleaved, int channels, int sampleRate)
      : m_samples(std::move(interleaved)), m_channels(channels), m_rate(sampleRate)
  {
  }
  int Channels() const override { return m_channels; }
  int SampleRate() const override { return m_rate; }
  long long Frames() const override { return static_cast<long long>(m_samples.size()) / m_channels; }
  long long Read(double* interleaved, long long frames) override;

private:
  std::vector<double> m_samples;
  int m_channels;
  int m_rate;
  long long m_pos = 0;  // in frames
};

// The built-in demo riff at the given rate; null with a reason when this
// build has none.
std::unique_ptr<FeedSource> MakeDemoFeed(int sampleRate, std::string* error);

#pragma once
// Sound files through libsndfile: reading any format it knows, and writing
// a result whose container follows the output file's extension. Writers go
// through a temporary file that replaces the target only when complete.
//
// A WAV output is a plain RIFF file while its data is known to fit the
// 4 GiB that RIFF's 32-bit sizes can count, and RF64 otherwise (a render
// of unknown length starts as RF64 and is turned back into plain WAV when
// it closes small enough). Containers with the same limit and no such
// extension (AIFF, AU) refuse a render that would not fit before writing
// it, or stop with a clear failure when its length was not known.
//
// Threads: main thread only.

#include <sndfile.h>

#include <memory>
#include <string>

#include "tools/host/LevelMeter.h"
#include "tools/host/SafeOutputFile.h"

class SoundReader {
public:
  ~SoundReader();
  // Null with a one-line reason in error when the file cannot be read.
  static std::unique_ptr<SoundReader> Open(const std::string& path, std::string* error);

  int Channels() const { return m_info.channels; }
  int SampleRate() const { return m_info.samplerate; }
  // The frame count, or -1 when the format does not tell it in advance.
  long long Frames() const;
  // Reads up to frames interleaved frames; returns the number read (0 at
  // the end).
  long long Read(double* interleaved, long long frames);

private:
  SoundReader() = default;
  SNDFILE* m_file = nullptr;
  SF_INFO m_info = {};
};

// The sample format asked for with --format; kAuto lets the container
// choose (32-bit float wherever it takes it).
enum class SampleFormat { kAuto, kPcm16, kPcm24, kPcm32, kFloat };

struct SoundLayout {
  int channels = 2;
  int sampleRate = 44100;
  SampleFormat format = SampleFormat::kAuto;
  bool preferDouble = false;      // with kAuto: 64-bit float where the container takes it
  long long expectedFrames = -1;  // -1 when the length is not known in advance
  bool noClobber = false;         // refuse to replace an existing file
};

class SoundWriter {
public:
  ~SoundWriter();  // an uncommitted file is discarded
  // Chooses the container from the extension of path (.wav .aif .aiff .flac
  // .ogg .caf .au .w64 .rf64 ...) and the sample format from layout. Null with
  // a one-line reason when the container cannot take the format, the
  // channels, the rate or the expected length.
  static std::unique_ptr<SoundWriter> Create(const std::string& path, const SoundLayout& layout,
                                             std::string* error);

  bool Write(const float* interleaved, long long frames, std::string* error);
  bool Write(const double* interleaved, long long frames, std::string* error);
  // Finishes the file and puts it in place of the target.
  bool Commit(std::string* error);

  const std::string& Path() const { return m_out.Target(); }
  // What was written so far.
  const LevelMeter& Levels() const { return m_levels; }
  long long FramesWritten() const { return m_frames; }
  // True when the sample format cannot hold values beyond full scale, so
  // that Levels().beyond samples were clipped.
  bool Clips() const;
  // "16-bit", "32-bit float" ...
  std::string SampleFormatName() const;

private:
  SoundWriter(const std::string& path, bool noClobber) : m_out(path, noClobber) {}
  template <class T>
  bool WriteFrames(const T* interleaved, long long frames, std::string* error);

  SafeOutputFile m_out;
  SNDFILE* m_file = nullptr;
  SF_INFO m_info = {};
  long long m_maxDataBytes = -1;  // -1: the container sets no limit
  long long m_frames = 0;
  LevelMeter m_levels;
};

// libsndfile's major format for a file name's extension, or 0.
int SoundFormatForExtension(const std::string& path);

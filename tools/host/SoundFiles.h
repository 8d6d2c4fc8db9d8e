#pragma once
// Sound files through libsndfile: reading any format it knows, and writing
// a result whose format follows the output file's extension (32-bit float
// samples wherever the format can hold them). Writers go through a
// temporary file that replaces the target only when complete.
//
// Threads: main thread only.

#include <sndfile.h>

#include <memory>
#include <string>

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

class SoundWriter {
public:
  ~SoundWriter();  // an uncommitted file is discarded
  // Chooses the container from the extension of path (.wav .aif .aiff .flac
  // .ogg .caf .au .w64 .rf64 ...) and the sample format: 32-bit float when
  // the container takes it, else the best the container offers; with
  // preferDouble a container that takes 64-bit float gets it.
  static std::unique_ptr<SoundWriter> Create(const std::string& path, int channels, int sampleRate,
                                             bool preferDouble, std::string* error);

  bool Write(const float* interleaved, long long frames, std::string* error);
  bool Write(const double* interleaved, long long frames, std::string* error);
  // Finishes the file and puts it in place of the target.
  bool Commit(std::string* error);

private:
  explicit SoundWriter(const std::string& path) : m_out(path) {}
  SafeOutputFile m_out;
  SNDFILE* m_file = nullptr;
};

// libsndfile's major format for a file name's extension, or 0.
int SoundFormatForExtension(const std::string& path);

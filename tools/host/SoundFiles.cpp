#include "tools/host/SoundFiles.h"

#include <strings.h>

#include <cstring>

SoundReader::~SoundReader()
{
  if (m_file) sf_close(m_file);
}

std::unique_ptr<SoundReader> SoundReader::Open(const std::string& path, std::string* error)
{
  std::unique_ptr<SoundReader> reader(new SoundReader());
  reader->m_file = sf_open(path.c_str(), SFM_READ, &reader->m_info);
  if (!reader->m_file) {
    *error = "cannot read " + path + ": " + sf_strerror(nullptr);
    return nullptr;
  }
  if (reader->m_info.channels < 1 || reader->m_info.samplerate < 1) {
    *error = "cannot read " + path + ": no audio channels or no sample rate";
    return nullptr;
  }
  return reader;
}

long long SoundReader::Frames() const
{
  return m_info.seekable && m_info.frames >= 0 && m_info.frames < SF_COUNT_MAX
             ? static_cast<long long>(m_info.frames)
             : -1;
}

long long SoundReader::Read(double* interleaved, long long frames)
{
  return static_cast<long long>(sf_readf_double(m_file, interleaved, frames));
}

int SoundFormatForExtension(const std::string& path)
{
  static const struct {
    const char* ext;
    int format;
  } kFormats[] = {
      {"wav", SF_FORMAT_WAV},   {"wave", SF_FORMAT_WAV},  {"aif", SF_FORMAT_AIFF}, {"aiff", SF_FORMAT_AIFF},
      {"aifc", SF_FORMAT_AIFF}, {"flac", SF_FORMAT_FLAC}, {"ogg", SF_FORMAT_OGG},  {"oga", SF_FORMAT_OGG},
      {"caf", SF_FORMAT_CAF},   {"au", SF_FORMAT_AU},     {"snd", SF_FORMAT_AU},   {"w64", SF_FORMAT_W64},
      {"rf64", SF_FORMAT_RF64}, {"raw", SF_FORMAT_RAW},   {"wv", SF_FORMAT_WVE},
  };
  const size_t dot = path.rfind('.');
  const size_t slash = path.rfind('/');
  if (dot == std::string::npos || (slash != std::string::npos && dot < slash)) return 0;
  const std::string ext = path.substr(dot + 1);
  for (const auto& f : kFormats)
    if (strcasecmp(ext.c_str(), f.ext) == 0) return f.format;
  return 0;
}

SoundWriter::~SoundWriter()
{
  if (m_file) sf_close(m_file);
}

std::unique_ptr<SoundWriter> SoundWriter::Create(const std::string& path, int channels, int sampleRate,
                                                 bool preferDouble, std::string* error)
{
  const int major = SoundFormatForExtension(path);
  if (!major) {
    *error = "cannot tell the sound format of " + path +
             " from its extension (use .wav, .aiff, .flac, .ogg, .caf, .au, .w64 or .rf64)";
    return nullptr;
  }
  // In order of preference: the first sample format the container takes.
  const int kSubtypes[] = {preferDouble ? SF_FORMAT_DOUBLE : SF_FORMAT_FLOAT, SF_FORMAT_FLOAT,
                           SF_FORMAT_VORBIS, SF_FORMAT_PCM_24, SF_FORMAT_PCM_16};
  SF_INFO info = {};
  info.channels = channels;
  info.samplerate = sampleRate;
  for (int subtype : kSubtypes) {
    info.format = major | subtype;
    if (sf_format_check(&info)) break;
    info.format = 0;
  }
  if (!info.format) {
    *error = "the format of " + path + " cannot hold " + std::to_string(channels) + " channels at " +
             std::to_string(sampleRate) + " Hz";
    return nullptr;
  }
  std::unique_ptr<SoundWriter> writer(new SoundWriter(path));
  if (!writer->m_out.Create(error)) return nullptr;
  writer->m_file = sf_open(writer->m_out.TempPath().c_str(), SFM_WRITE, &info);
  if (!writer->m_file) {
    *error = "cannot write " + path + ": " + sf_strerror(nullptr);
    return nullptr;
  }
  // Integer formats clip loud samples instead of wrapping them around.
  sf_command(writer->m_file, SFC_SET_CLIPPING, nullptr, SF_TRUE);
  // The PEAK chunk carries a time stamp; without it the same render gives
  // the same file, byte for byte.
  sf_command(writer->m_file, SFC_SET_ADD_PEAK_CHUNK, nullptr, SF_FALSE);
  return writer;
}

bool SoundWriter::Write(const float* interleaved, long long frames, std::string* error)
{
  if (sf_writef_float(m_file, interleaved, frames) == frames) return true;
  *error = "cannot write " + m_out.Target() + ": " + sf_strerror(m_file);
  return false;
}

bool SoundWriter::Write(const double* interleaved, long long frames, std::string* error)
{
  if (sf_writef_double(m_file, interleaved, frames) == frames) return true;
  *error = "cannot write " + m_out.Target() + ": " + sf_strerror(m_file);
  return false;
}

bool SoundWriter::Commit(std::string* error)
{
  const int result = sf_close(m_file);
  m_file = nullptr;
  if (result != 0) {
    *error = "cannot finish " + m_out.Target() + ": " + sf_error_number(result);
    return false;
  }
  return m_out.Commit(error);
}

#include "tools/host/SoundFiles.h"

#include <strings.h>

#include <cstdio>
#include <cstring>
#include <vector>

namespace {

struct Container {
  const char* ext;
  int format;
  const char* name;
  long long maxDataBytes;  // -1: no limit
};

// RIFF, AIFF and AU count their data in 32-bit fields; the margin leaves
// room for the header inside the 4 GiB.
const long long k32BitDataLimit = 0xFFFFFFFFLL - 65536;

const Container kContainers[] = {
    {"wav", SF_FORMAT_WAV, "WAV", -1},
    {"wave", SF_FORMAT_WAV, "WAV", -1},
    {"aif", SF_FORMAT_AIFF, "AIFF", k32BitDataLimit},
    {"aiff", SF_FORMAT_AIFF, "AIFF", k32BitDataLimit},
    {"aifc", SF_FORMAT_AIFF, "AIFF", k32BitDataLimit},
    {"flac", SF_FORMAT_FLAC, "FLAC", -1},
    {"ogg", SF_FORMAT_OGG, "Ogg", -1},
    {"oga", SF_FORMAT_OGG, "Ogg", -1},
    {"caf", SF_FORMAT_CAF, "CAF", -1},
    {"au", SF_FORMAT_AU, "AU", k32BitDataLimit},
    {"snd", SF_FORMAT_AU, "AU", k32BitDataLimit},
    {"w64", SF_FORMAT_W64, "W64", -1},
    {"rf64", SF_FORMAT_RF64, "RF64", -1},
    {"raw", SF_FORMAT_RAW, "raw", -1},
    {"wv", SF_FORMAT_WVE, "WVE", -1},
};

const Container* ContainerFor(const std::string& path)
{
  const size_t dot = path.rfind('.');
  const size_t slash = path.rfind('/');
  if (dot == std::string::npos || (slash != std::string::npos && dot < slash)) return nullptr;
  const std::string ext = path.substr(dot + 1);
  for (const Container& c : kContainers)
    if (strcasecmp(ext.c_str(), c.ext) == 0) return &c;
  return nullptr;
}

struct Subtype {
  SampleFormat format;
  int subtype;
  const char* word;  // as --format takes it
  const char* name;
  int bytes;
};

const Subtype kSubtypes[] = {
    {SampleFormat::kPcm16, SF_FORMAT_PCM_16, "16", "16-bit", 2},
    {SampleFormat::kPcm24, SF_FORMAT_PCM_24, "24", "24-bit", 3},
    {SampleFormat::kPcm32, SF_FORMAT_PCM_32, "32", "32-bit", 4},
    {SampleFormat::kFloat, SF_FORMAT_FLOAT, "float", "32-bit float", 4},
};

int BytesPerSample(int subtype)
{
  for (const Subtype& s : kSubtypes)
    if (s.subtype == subtype) return s.bytes;
  return subtype == SF_FORMAT_DOUBLE ? 8 : 0;
}

bool Takes(int format, const SoundLayout& layout)
{
  SF_INFO info = {};
  info.channels = layout.channels;
  info.samplerate = layout.sampleRate;
  info.format = format;
  return sf_format_check(&info) != 0;
}

// The full libsndfile format for the layout in a container, or 0 with a reason.
int ChooseFormat(const Container& c, const SoundLayout& layout, const std::string& path, std::string* error)
{
  if (layout.format == SampleFormat::kAuto) {
    const int preferred[] = {layout.preferDouble ? SF_FORMAT_DOUBLE : SF_FORMAT_FLOAT, SF_FORMAT_FLOAT,
                             SF_FORMAT_VORBIS, SF_FORMAT_PCM_24, SF_FORMAT_PCM_16};
    for (int subtype : preferred)
      if (Takes(c.format | subtype, layout)) return c.format | subtype;
    *error = "the format of " + path + " cannot hold " + std::to_string(layout.channels) + " channels at " +
             std::to_string(layout.sampleRate) + " Hz";
    return 0;
  }
  std::string taken;
  for (const Subtype& s : kSubtypes) {
    if (!Takes(c.format | s.subtype, layout)) continue;
    if (s.format == layout.format) return c.format | s.subtype;
    taken += std::string(taken.empty() ? "" : " or ") + s.word;
  }
  const char* asked = "";
  for (const Subtype& s : kSubtypes)
    if (s.format == layout.format) asked = s.name;
  *error = std::string(c.name) + " files cannot hold " + asked + " samples (" + path + "; " +
           (taken.empty() ? "leave --format out for this format" : "it takes --format " + taken) + ")";
  return 0;
}

std::string GiB(long long bytes)
{
  char text[32];
  std::snprintf(text, sizeof text, "%.2f GiB", static_cast<double>(bytes) / (1024.0 * 1024 * 1024));
  return text;
}

sf_count_t WriteSamples(SNDFILE* file, const float* interleaved, sf_count_t frames)
{
  return sf_writef_float(file, interleaved, frames);
}

sf_count_t WriteSamples(SNDFILE* file, const double* interleaved, sf_count_t frames)
{
  return sf_writef_double(file, interleaved, frames);
}

}  // namespace

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
  const Container* c = ContainerFor(path);
  return c ? c->format : 0;
}

SoundWriter::~SoundWriter()
{
  if (m_file) sf_close(m_file);
}

std::unique_ptr<SoundWriter> SoundWriter::Create(const std::string& path, const SoundLayout& layout,
                                                 std::string* error)
{
  const Container* c = ContainerFor(path);
  if (!c) {
    *error = "cannot tell the sound format of " + path +
             " from its extension (use .wav, .aiff, .flac, .ogg, .caf, .au, .w64 or .rf64)";
    return nullptr;
  }
  std::unique_ptr<SoundWriter> writer(new SoundWriter(path, layout.noClobber));
  writer->m_info.channels = layout.channels;
  writer->m_info.samplerate = layout.sampleRate;
  writer->m_info.format = ChooseFormat(*c, layout, path, error);
  if (!writer->m_info.format) return nullptr;

  const long long frameBytes =
      static_cast<long long>(BytesPerSample(writer->m_info.format & SF_FORMAT_SUBMASK)) * layout.channels;
  const long long expectedBytes = layout.expectedFrames >= 0 ? layout.expectedFrames * frameBytes : -1;
  bool rf64 = false;
  if (c->format == SF_FORMAT_WAV) {
    // Plain WAV only when the data is known to fit its 32-bit sizes.
    rf64 = expectedBytes < 0 || expectedBytes > k32BitDataLimit;
    if (rf64) writer->m_info.format = SF_FORMAT_RF64 | (writer->m_info.format & SF_FORMAT_SUBMASK);
  } else if (c->maxDataBytes >= 0 && frameBytes > 0) {
    if (expectedBytes > c->maxDataBytes) {
      *error = path + " would hold " + GiB(expectedBytes) + " of samples; " + c->name +
               " files end at 4 GiB (use .wav, .w64, .caf or .flac)";
      return nullptr;
    }
    writer->m_maxDataBytes = c->maxDataBytes;
  }

  if (!writer->m_out.Create(error)) return nullptr;
  writer->m_file = sf_open(writer->m_out.TempPath().c_str(), SFM_WRITE, &writer->m_info);
  if (!writer->m_file) {
    *error = "cannot write " + path + ": " + sf_strerror(nullptr);
    return nullptr;
  }
  if (rf64) sf_command(writer->m_file, SFC_RF64_AUTO_DOWNGRADE, nullptr, SF_TRUE);
  // Integer formats clip loud samples instead of wrapping them around.
  sf_command(writer->m_file, SFC_SET_CLIPPING, nullptr, SF_TRUE);
  // The PEAK chunk carries a time stamp; without it the same render gives
  // the same file, byte for byte.
  sf_command(writer->m_file, SFC_SET_ADD_PEAK_CHUNK, nullptr, SF_FALSE);
  return writer;
}

template <class T>
bool SoundWriter::WriteFrames(const T* interleaved, long long frames, std::string* error)
{
  if (m_maxDataBytes >= 0) {
    const long long frameBytes =
        static_cast<long long>(BytesPerSample(m_info.format & SF_FORMAT_SUBMASK)) * m_info.channels;
    if ((m_frames + frames) * frameBytes > m_maxDataBytes) {
      *error = "cannot write " + m_out.Target() + ": the render outgrew the 4 GiB this format can hold " +
               "(use .wav, .w64, .caf or .flac)";
      return false;
    }
  }
  if (WriteSamples(m_file, interleaved, frames) != frames) {
    *error = "cannot write " + m_out.Target() + ": " + sf_strerror(m_file);
    return false;
  }
  m_levels.Measure(interleaved, static_cast<size_t>(frames) * static_cast<size_t>(m_info.channels));
  m_frames += frames;
  return true;
}

bool SoundWriter::Write(const float* interleaved, long long frames, std::string* error)
{
  return WriteFrames(interleaved, frames, error);
}

bool SoundWriter::Write(const double* interleaved, long long frames, std::string* error)
{
  return WriteFrames(interleaved, frames, error);
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

bool SoundWriter::Clips() const
{
  const int subtype = m_info.format & SF_FORMAT_SUBMASK;
  return subtype == SF_FORMAT_PCM_S8 || subtype == SF_FORMAT_PCM_U8 || subtype == SF_FORMAT_PCM_16 ||
         subtype == SF_FORMAT_PCM_24 || subtype == SF_FORMAT_PCM_32;
}

std::string SoundWriter::SampleFormatName() const
{
  const int subtype = m_info.format & SF_FORMAT_SUBMASK;
  for (const Subtype& s : kSubtypes)
    if (s.subtype == subtype) return s.name;
  if (subtype == SF_FORMAT_DOUBLE) return "64-bit float";
  if (subtype == SF_FORMAT_VORBIS) return "Vorbis";
  return "8-bit";
}

#pragma once
// quarry-host run as a user runs it: a fresh folder per test, the tool run
// through the shell with its output captured, and sound files written and
// read with libsndfile.

#include <dirent.h>
#include <sndfile.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "tests/temp_folder.h"

struct RunResult {
  int status;
  std::string out;
  std::string err;
};

inline std::string ReadText(const std::string& path)
{
  std::ifstream f(path);
  std::stringstream ss;
  ss << f.rdbuf();
  return ss.str();
}

class HostToolTest : public ::testing::Test {
protected:
  void SetUp() override { ASSERT_TRUE(temp.Made()); }

  std::string Path(const std::string& name) const { return dir + "/" + name; }

  RunResult Run(const std::string& args) { return RunFed("", args); }

  // Runs with stdin fed by a shell command (none: /dev/null).
  RunResult RunFed(const std::string& feeder, const std::string& args)
  {
    const std::string cmd = (feeder.empty() ? "" : "{ " + feeder + "; } | ") + "'" + QUARRY_HOST_PATH + "' " +
                            args + " >'" + Path("stdout") + "' 2>'" + Path("stderr") + "'" +
                            (feeder.empty() ? " </dev/null" : "");
    const int raw = std::system(cmd.c_str());
    RunResult r;
    r.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
    r.out = ReadText(Path("stdout"));
    r.err = ReadText(Path("stderr"));
    std::remove(Path("stdout").c_str());
    std::remove(Path("stderr").c_str());
    return r;
  }

  void WriteWav(const std::string& name, int channels, const std::vector<float>& interleaved,
                int rate = 44100)
  {
    SF_INFO info = {};
    info.channels = channels;
    info.samplerate = rate;
    info.format = SF_FORMAT_WAV | SF_FORMAT_FLOAT;
    SNDFILE* f = sf_open(Path(name).c_str(), SFM_WRITE, &info);
    ASSERT_NE(f, nullptr);
    sf_writef_float(f, interleaved.data(), static_cast<sf_count_t>(interleaved.size() / channels));
    sf_close(f);
  }

  std::vector<float> ReadWav(const std::string& name, int* channels)
  {
    SF_INFO info = {};
    SNDFILE* f = sf_open(Path(name).c_str(), SFM_READ, &info);
    if (!f) return {};
    std::vector<float> data(static_cast<size_t>(info.frames * info.channels));
    sf_readf_float(f, data.data(), info.frames);
    sf_close(f);
    *channels = info.channels;
    return data;
  }

  std::vector<std::string> Entries() const
  {
    std::vector<std::string> names;
    DIR* d = opendir(dir.c_str());
    while (dirent* ent = readdir(d))
      if (ent->d_name[0] != '.' || (ent->d_name[1] && ent->d_name[1] != '.')) names.push_back(ent->d_name);
    closedir(d);
    return names;
  }

  std::string Probe() const { return std::string("'") + VST_PROBE_PATH + "'"; }

  std::vector<float> Ramp(int frames, int channels)
  {
    std::vector<float> v(static_cast<size_t>(frames * channels));
    for (size_t i = 0; i < v.size(); ++i) v[i] = static_cast<float>(std::sin(0.01 * i) * 0.8);
    return v;
  }

  TempFolder temp{"host-test"};
  const std::string dir = temp.Path();
};

inline int LineCount(const std::string& text)
{
  int n = 0;
  for (char c : text) n += c == '\n';
  return n;
}

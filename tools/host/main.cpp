// quarry-host: a small command-line VST 2.4 host. "info" shows what a
// plug-in reports about itself; "render" runs a sound file (or the built-in
// demo riff) through it as a host would and writes the result.

#include <unistd.h>

#include <climits>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "tools/host/Commands.h"

namespace {

const char* kUsage =
    "usage:\n"
    "  quarry-host info [PLUGIN]\n"
    "  quarry-host render [PLUGIN] [-i IN] -o OUT [--set NAME=VALUE]... [--rate HZ]\n"
    "                     [--block N] [--precision float|double] [--dry FILE]\n"
    "                     [--load-fxp F] [--load-fxb F] [--save-fxp F] [--save-fxb F]\n"
    "\n"
    "PLUGIN defaults to the Quarry.so beside quarry-host. Without -i the built-in\n"
    "demo riff is rendered; --dry writes exactly what was fed to the plug-in.\n"
    "--set takes a parameter's name or index and a plain value in its own unit.\n"
    "OUT is 32-bit float unless its type (extension) calls for another format.\n";

std::string DefaultPluginPath()
{
  char exe[PATH_MAX];
  const ssize_t n = readlink("/proc/self/exe", exe, sizeof exe - 1);
  if (n <= 0) return "Quarry.so";
  exe[n] = '\0';
  std::string path(exe);
  const size_t slash = path.rfind('/');
  return (slash == std::string::npos ? std::string(".") : path.substr(0, slash)) + "/Quarry.so";
}

bool ParseInt(const std::string& text, long lo, long hi, long* value)
{
  char* end = nullptr;
  errno = 0;
  const long v = std::strtol(text.c_str(), &end, 10);
  if (text.empty() || errno != 0 || *end != '\0' || v < lo || v > hi) return false;
  *value = v;
  return true;
}

// Walks argv; "--opt value" and "--opt=value" are both accepted.
class ArgReader {
public:
  ArgReader(int argc, char** argv, int first) : m_argc(argc), m_argv(argv), m_i(first) {}
  bool Done() const { return m_i >= m_argc; }
  std::string Next() { return m_argv[m_i++]; }
  bool Value(const std::string& option, std::string* value)
  {
    if (m_inline) {
      *value = m_inlineValue;
      m_inline = false;
      return true;
    }
    if (m_i >= m_argc) {
      ReportFailure(option + " needs a value");
      return false;
    }
    *value = m_argv[m_i++];
    return true;
  }
  // Splits "--opt=value"; the value is then taken by Value().
  std::string Option(const std::string& arg)
  {
    m_inline = false;
    const size_t eq = arg.find('=');
    if (arg.compare(0, 2, "--") != 0 || eq == std::string::npos) return arg;
    m_inline = true;
    m_inlineValue = arg.substr(eq + 1);
    return arg.substr(0, eq);
  }
  bool HasUnusedInline() const { return m_inline; }

private:
  int m_argc;
  char** m_argv;
  int m_i;
  bool m_inline = false;
  std::string m_inlineValue;
};

bool ParseRender(int argc, char** argv, RenderOptions* o)
{
  ArgReader args(argc, argv, 2);
  while (!args.Done()) {
    const std::string arg = args.Next();
    const std::string opt = args.Option(arg);
    std::string v;
    if (opt == "-i" || opt == "--input") {
      if (!args.Value(opt, &o->input)) return false;
    } else if (opt == "-o" || opt == "--output") {
      if (!args.Value(opt, &o->output)) return false;
    } else if (opt == "--dry") {
      if (!args.Value(opt, &o->dry)) return false;
    } else if (opt == "--set") {
      if (!args.Value(opt, &v)) return false;
      o->assignments.push_back(v);
    } else if (opt == "--rate") {
      long rate;
      if (!args.Value(opt, &v)) return false;
      if (!ParseInt(v, 1000, 1536000, &rate)) {
        ReportFailure("--rate takes a sample rate in Hz from 1000 to 1536000, not '" + v + "'");
        return false;
      }
      o->rate = static_cast<double>(rate);
    } else if (opt == "--block") {
      long block;
      if (!args.Value(opt, &v)) return false;
      if (!ParseInt(v, 1, 65536, &block)) {
        ReportFailure("--block takes a frame count from 1 to 65536, not '" + v + "'");
        return false;
      }
      o->block = static_cast<int>(block);
    } else if (opt == "--precision") {
      if (!args.Value(opt, &v)) return false;
      if (v != "float" && v != "double") {
        ReportFailure("--precision takes float or double, not '" + v + "'");
        return false;
      }
      o->doublePrecision = v == "double";
    } else if (opt == "--load-fxp") {
      if (!args.Value(opt, &o->loadFxp)) return false;
    } else if (opt == "--load-fxb") {
      if (!args.Value(opt, &o->loadFxb)) return false;
    } else if (opt == "--save-fxp") {
      if (!args.Value(opt, &o->saveFxp)) return false;
    } else if (opt == "--save-fxb") {
      if (!args.Value(opt, &o->saveFxb)) return false;
    } else if (!arg.empty() && arg[0] == '-') {
      ReportFailure("unknown option " + arg + " (see quarry-host --help)");
      return false;
    } else if (o->plugin.empty()) {
      o->plugin = arg;
    } else {
      ReportFailure("unexpected argument " + arg + " (one plug-in only)");
      return false;
    }
    if (args.HasUnusedInline()) {
      ReportFailure(opt + " takes no value");
      return false;
    }
  }
  if (o->output.empty()) {
    ReportFailure("render needs -o OUT");
    return false;
  }
  if (o->output == o->dry) {
    ReportFailure("OUT and the --dry file must differ");
    return false;
  }
  if (o->plugin.empty()) o->plugin = DefaultPluginPath();
  return true;
}

}  // namespace

void ReportFailure(const std::string& message) { std::fprintf(stderr, "quarry-host: %s\n", message.c_str()); }

int main(int argc, char** argv)
{
  if (argc < 2) {
    std::fputs(kUsage, stderr);
    return 2;
  }
  const std::string command = argv[1];
  if (command == "-h" || command == "--help" || command == "help") {
    std::fputs(kUsage, stdout);
    return 0;
  }
  if (command == "info") {
    if (argc > 3) {
      ReportFailure("info takes one plug-in at most");
      return 2;
    }
    return RunInfo(argc == 3 ? argv[2] : DefaultPluginPath());
  }
  if (command == "render") {
    RenderOptions options;
    if (!ParseRender(argc, argv, &options)) return 2;
    return RunRender(options);
  }
  ReportFailure("unknown command '" + command + "' (use info or render)");
  return 2;
}

// quarry-host: a small command-line VST 2.4 host. "info" shows what a
// plug-in reports about itself; "render" runs a sound file (or the built-in
// demo riff) through it as a host would and writes the result.

#include <CLI/CLI.hpp>

#include <cstdio>
#include <string>

#include "tools/host/HostCommand.h"
#include "tools/host/Messages.h"

namespace {

const char* kDescription =
    "quarry-host runs VST 2.4 plug-ins from the command line. PLUGIN defaults to the\n"
    "Quarry.so beside quarry-host, or where an install put it.";

// "help" and "help COMMAND" print to stdout, as --help does.
bool PrintHelpCommand(CLI::App& app, int argc, char** argv)
{
  if (argc < 2 || std::string(argv[1]) != "help" || argc > 3) return false;
  CLI::App* command = nullptr;
  if (argc == 3)
    for (CLI::App* sub : app.get_subcommands([&](CLI::App* s) { return s->get_name() == argv[2]; }))
      command = sub;
  std::fputs((command ? command->help(app.get_name()) : app.help()).c_str(), stdout);
  return true;
}

// One line, whatever CLI11 has to say.
std::string OneLine(std::string text)
{
  for (char& c : text)
    if (c == '\n') c = ' ';
  while (!text.empty() && text.back() == ' ') text.pop_back();
  return text;
}

}  // namespace

int main(int argc, char** argv)
{
  CLI::App app(kDescription, "quarry-host");
  app.set_version_flag("--version", "quarry-host " QUARRY_HOST_VERSION);
  app.require_subcommand(1);
  bool quiet = false;
  app.add_flag("-q,--quiet", quiet, "Print only warnings and errors: no progress, notes or summaries");

  std::vector<std::unique_ptr<HostCommand>> commands = MakeHostCommands();
  HostCommand* chosen = nullptr;
  for (auto& command : commands) {
    CLI::App* sub = app.add_subcommand(command->Name(), command->Summary());
    sub->fallthrough();  // -q may follow the command
    command->AddOptions(sub);
    HostCommand* self = command.get();
    sub->parse_complete_callback([self, &chosen] { chosen = self; });
  }
  app.footer("Run 'quarry-host COMMAND --help' for a command's options.");

  if (argc < 2) {
    std::fputs(app.help().c_str(), stderr);
    return kUsageExitStatus;
  }
  if (PrintHelpCommand(app, argc, argv)) return 0;
  try {
    app.parse(argc, argv);
  } catch (const CLI::Success& e) {
    return app.exit(e);  // --help and --version
  } catch (const CLI::ParseError& e) {
    CLI::App* sub = app.get_subcommands().empty() ? nullptr : app.get_subcommands().front();
    const std::string helpLine = sub ? "quarry-host " + sub->get_name() + " --help" : "quarry-host --help";
    ReportFailure(OneLine(e.what()) + " (see " + helpLine + ")");
    return kUsageExitStatus;
  }
  SetQuiet(quiet);
  return chosen ? chosen->Run() : kUsageExitStatus;
}

// The commands of quarry-host: adding one is a file and a line here.
#include "tools/host/HostCommand.h"

std::unique_ptr<HostCommand> MakeInfoCommand();
std::unique_ptr<HostCommand> MakeRenderCommand();

std::vector<std::unique_ptr<HostCommand>> MakeHostCommands()
{
  std::vector<std::unique_ptr<HostCommand>> commands;
  for (auto make : {MakeInfoCommand, MakeRenderCommand}) commands.push_back(make());
  return commands;
}

// The commands of quarry-host: adding one is a file and a line here.
#include "tools/host/HostCommand.h"

std::unique_ptr<HostCommand> MakeInfoCommand();
std::unique_ptr<HostCommand> MakeRenderCommand();
std::unique_ptr<HostCommand> MakeEditCommand();
std::unique_ptr<HostCommand> MakeSnapshotCommand();

std::vector<std::unique_ptr<HostCommand>> MakeHostCommands()
{
  std::vector<std::unique_ptr<HostCommand>> commands;
  for (auto make : {MakeInfoCommand, MakeRenderCommand, MakeEditCommand, MakeSnapshotCommand})
    commands.push_back(make());
  return commands;
}

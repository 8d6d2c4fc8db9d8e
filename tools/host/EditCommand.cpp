// "edit": a plug-in's editor in a window of its own, so that a user can try
// it without a DAW. Every parameter change the editor reports is printed as
// one line; closing the window can save the program the user arrived at,
// ready for "render --load-fxp".

#include <CLI/CLI.hpp>

#include <cstdio>

#include "tools/host/EditorHost.h"
#include "tools/host/EditorWindow.h"
#include "tools/host/HostCommand.h"
#include "tools/host/HostedPlugin.h"
#include "tools/host/Messages.h"
#include "tools/host/ParameterText.h"
#include "tools/host/ProgramFiles.h"
#include "tools/host/SafeOutputFile.h"

namespace {

// "NAME = DISPLAY LABEL", as the plug-in shows the parameter now.
void PrintChange(HostedPlugin* plugin, int index)
{
  if (index < 0 || index >= plugin->Effect()->numParams) return;
  const std::string label = ParamLabel(plugin, index);
  std::printf("%s = %s%s%s\n", ParamName(plugin, index).c_str(), ParamDisplay(plugin, index).c_str(),
              label.empty() ? "" : " ", label.c_str());
  std::fflush(stdout);
}

class EditCommand : public HostCommand {
public:
  const char* Name() const override { return "edit"; }
  const char* Summary() const override
  {
    return "Open a plug-in's editor in a window; print each parameter change; save the program on close";
  }

  void AddOptions(CLI::App* c) override
  {
    AddEditorHostOptions(c, &mOptions);
    c->add_option("--save-fxp", mSaveFxp, "Save the program to a program file when the window is closed")
        ->type_name("F");
  }

  int Run() override
  {
    std::string error;
    std::unique_ptr<HostedPlugin> plugin = StartPluginForEditor(&mOptions, &error);
    if (!plugin) return EditorCommandFailed(error);
    // A program file that could not be saved at the end would lose the
    // user's work: find out now.
    if (!mSaveFxp.empty() && !SafeOutputFile(mSaveFxp).Create(&error)) return EditorCommandFailed(error);
    std::unique_ptr<EditorWindow> window = OpenEditorWindow(plugin.get(), false, &error);
    if (!window) return EditorCommandFailed(error);
    HostedPlugin* host = plugin.get();
    window->SetAutomationHandler([host](int index, float) { PrintChange(host, index); });
    if (!IsQuiet()) ReportNote("close the editor's window to finish");
    window->RunUntilClosed();
    window.reset();
    if (!mSaveFxp.empty()) {
      if (!SaveProgramFile(host, mSaveFxp, false, &error)) return EditorCommandFailed(error);
      if (!IsQuiet()) ReportNote("program saved to " + mSaveFxp);
    }
    return 0;
  }

private:
  EditorHostOptions mOptions;
  std::string mSaveFxp;
};

}  // namespace

std::unique_ptr<HostCommand> MakeEditCommand() { return std::make_unique<EditCommand>(); }

// "snapshot": a plug-in's editor opened on the X display, left to draw, and
// its window's pixels written to a PNG file: a picture of the editor at the
// settings given, for documentation and checks.

#include <CLI/CLI.hpp>

#include <cstdio>

#include "pix/pix_membitmap.h"
#include "tools/artwork/ArtPng.h"
#include "tools/host/EditorHost.h"
#include "tools/host/EditorWindow.h"
#include "tools/host/HostCommand.h"
#include "tools/host/HostedPlugin.h"
#include "tools/host/Messages.h"
#include "tools/host/SafeOutputFile.h"

namespace {

// The editor draws on its idle ticks: at least this many before the
// picture counts as settled, and never more than three seconds' worth.
const int kMinTicks = 5;
const int kMaxTicks = 75;

bool WritePicture(const std::vector<uint32_t>& pixels, int width, int height, const std::string& path,
                  std::string* error)
{
  PIX_MemBitmap bitmap(width, height);
  PIX_pixel* bits = bitmap.getBits();
  if (!bits) {
    *error = "no memory for a " + std::to_string(width) + " x " + std::to_string(height) + " picture";
    return false;
  }
  const int span = bitmap.getRowSpan();
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x)
      bits[static_cast<size_t>(y) * span + x] = 0xFF000000u | pixels[static_cast<size_t>(y) * width + x];
  SafeOutputFile file(path);
  if (!file.Create(error)) return false;
  if (!WriteArtPng(file.TempPath().c_str(), &bitmap)) {
    *error = "cannot write " + path;
    return false;
  }
  return file.Commit(error);
}

class SnapshotCommand : public HostCommand {
public:
  const char* Name() const override { return "snapshot"; }
  const char* Summary() const override
  {
    return "Open a plug-in's editor on the X display and write its picture to a PNG file";
  }

  void AddOptions(CLI::App* c) override
  {
    AddEditorHostOptions(c, &mOptions);
    c->add_option("-o,--output", mOutput, "PNG file to write")->type_name("OUT.png")->required();
  }

  int Run() override
  {
    std::string error;
    std::unique_ptr<HostedPlugin> plugin = StartPluginForEditor(&mOptions, &error);
    if (!plugin) return EditorCommandFailed(error);
    std::unique_ptr<EditorWindow> window = OpenEditorWindow(plugin.get(), true, &error);
    if (!window) return EditorCommandFailed(error);
    std::vector<uint32_t> pixels;
    if (!window->CaptureSettled(kMinTicks, kMaxTicks, &pixels, &error)) return EditorCommandFailed(error);
    const int width = window->Width(), height = window->Height();
    window.reset();
    if (!WritePicture(pixels, width, height, mOutput, &error)) return EditorCommandFailed(error);
    if (!IsQuiet()) std::printf("%s: %d x %d pixels\n", mOutput.c_str(), width, height);
    return 0;
  }

private:
  EditorHostOptions mOptions;
  std::string mOutput;
};

}  // namespace

std::unique_ptr<HostCommand> MakeSnapshotCommand() { return std::make_unique<SnapshotCommand>(); }

// "snapshot": a plug-in's editor opened on the X display, left to draw, and
// its window's pixels written to a PNG file: a picture of the editor at the
// settings given, for documentation and checks.

#include <CLI/CLI.hpp>

#include <png.h>

#include <cstdio>
#include <cstring>
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

// An 8-bit RGB PNG through libpng, put in place only when complete.
bool WritePicture(const std::vector<uint32_t>& pixels, int width, int height, const std::string& path,
                  std::string* error)
{
  std::vector<png_byte> rgb;
  rgb.reserve(pixels.size() * 3);
  for (uint32_t p : pixels) rgb.insert(rgb.end(), {png_byte(p >> 16), png_byte(p >> 8), png_byte(p)});
  png_image image;
  std::memset(&image, 0, sizeof image);
  image.version = PNG_IMAGE_VERSION;
  image.width = static_cast<png_uint_32>(width);
  image.height = static_cast<png_uint_32>(height);
  image.format = PNG_FORMAT_RGB;
  SafeOutputFile file(path);
  if (!file.Create(error)) return false;
  if (!png_image_write_to_file(&image, file.TempPath().c_str(), 0, rgb.data(), 0, nullptr)) {
    *error = "cannot write " + path + " (" + image.message + ")";
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

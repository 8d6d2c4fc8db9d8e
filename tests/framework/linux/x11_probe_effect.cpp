#include "tests/framework/linux/x11_probe_effect.h"

#include <cstdio>
#include <string>

#include "framework/editor/IPopupMenu.h"
#include "framework/editor/controls/IKnobControls.h"
#include "framework/editor/controls/IPanelControl.h"
#include "framework/linux/IGraphicsLinux.h"

namespace {

int ModBits(const IMouseMod* mod)
{
  return (mod->mL ? kModL : 0) | (mod->mR ? kModR : 0) | (mod->mS ? kModS : 0) | (mod->mC ? kModC : 0) |
         (mod->mA ? kModA : 0);
}

ProbeX11Effect* Probe(IEffectBase* plug) { return static_cast<ProbeX11Effect*>(plug); }

// A coloured rectangle that calls one platform service when clicked.
class ProbeButton : public IPanelControl {
public:
  enum EAction { kMenu, kMessageBox, kOpenFile, kSaveFile, kURL, kTextEntry, kMouseLog, kPaths };

  ProbeButton(IEffectBase* plug, IRECT rect, const IColor* color, EAction action)
      : IPanelControl(plug, rect, color), mAction(action)
  {
  }

  void OnMouseDown(int x, int y, IMouseMod* mod) override
  {
    IGraphicsLinux* gui = static_cast<IGraphicsLinux*>(GetGUI());
    switch (mAction) {
      case kMenu:
        ShowMenu(gui);
        break;
      case kMessageBox:
        Probe(mPlug)->Report(kReportMessageBox, gui->ShowMessageBox("He said \"stop\"; rm -rf ~ & echo $HOME",
                                                                    "Caption; 'quoted'", 4));
        break;
      case kOpenFile:
      case kSaveFile: {
        BASE_String file, dir;
        file.Set("preset");
        dir.Set("/tmp/probe dir");
        const bool save = mAction == kSaveFile;
        gui->PromptForFile(&file, save ? kFileSave : kFileOpen, &dir, "fxp fxb");
        Probe(mPlug)->Report(kReportFile, save ? 1 : 0, (std::string(file.Get()) + "\n" + dir.Get()).c_str());
        break;
      }
      case kURL:
        Probe(mPlug)->Report(kReportURL, gui->OpenURL("https://example.com/a page?q=\"x\";y") ? 1 : 0);
        break;
      case kTextEntry:
        gui->CreateTextEntry(this, GetText(), &mRECT, "hello", nullptr);
        break;
      case kMouseLog:
        Probe(mPlug)->Report(kReportMouseDown, ModBits(mod), "", static_cast<float>(x * 1000 + y));
        break;
      case kPaths: {
        BASE_String plugin, host;
        gui->PluginPath(&plugin);
        gui->HostPath(&host);
        const std::string text = std::string(gui->GetGUIAPI()) + "\n" + plugin.Get() + "\n" + host.Get();
        Probe(mPlug)->Report(kReportPaths, gui->GetUserOSVersion(), text.c_str());
        break;
      }
    }
  }
  void OnMouseDblClick(int x, int y, IMouseMod* mod) override
  {
    if (mAction == kMouseLog)
      Probe(mPlug)->Report(kReportMouseDblClick, ModBits(mod), "", static_cast<float>(x * 1000 + y));
  }
  void OnMouseUp(int x, int y, IMouseMod* mod) override
  {
    if (mAction == kMouseLog)
      Probe(mPlug)->Report(kReportMouseUp, ModBits(mod), "", static_cast<float>(x * 1000 + y));
  }
  void OnMouseWheel(int, int, IMouseMod* mod, int d) override
  {
    if (mAction == kMouseLog) Probe(mPlug)->Report(kReportWheel, d, "", static_cast<float>(ModBits(mod)));
  }
  void TextFromTextEntry(const char* text) override { Probe(mPlug)->Report(kReportText, 0, text); }

private:
  // A menu with number prefixes, a check, a separator, a disabled and an
  // indented item and a submenu.
  void ShowMenu(IGraphics* gui)
  {
    IPopupMenu sub;
    sub.AddItem("Sub one");
    sub.AddItem("Sub two");
    sub.AddItem("Sub three", -1, IPopupMenuItem::kChecked);
    IPopupMenu menu;
    menu.SetPrefix(2);
    menu.AddItem("Alpha");
    menu.AddItem("Beta", -1, IPopupMenuItem::kChecked);
    menu.AddSeparator();
    menu.AddItem("Gamma", -1, IPopupMenuItem::kDisabled);
    menu.AddItem("Delta", -1, IPopupMenuItem::kIndented);
    menu.AddItem("More", &sub);
    IPopupMenu* chosen = gui->CreateIPopupMenu(&menu, &mRECT);
    const char* which = chosen == &menu ? "main" : (chosen == &sub ? "sub" : "");
    Probe(mPlug)->Report(kReportMenu, chosen ? chosen->GetChosenItemIdx() : -1, which);
  }

  EAction mAction;
};

// Takes the space bar and the arrows; reports every key it is offered.
class ProbeKeyCatcher : public IControl {
public:
  explicit ProbeKeyCatcher(IEffectBase* plug) : IControl(plug, IRECT()) {}
  bool Draw(IGraphics*) override { return true; }
  bool OnKeyDown(int, int, int key) override
  {
    Probe(mPlug)->Report(kReportKey, key);
    return key <= 4;
  }
};

const IColor kPanel(255, 60, 60, 70);
const IColor kBlue(255, 40, 80, 200);
const IColor kGreen(255, 40, 160, 60);
const IColor kOrange(255, 230, 140, 30);
const IColor kPurple(255, 140, 60, 170);

}  // namespace

ProbeX11Effect::ProbeX11Effect(IEffectInstanceInfo info) : ProbeEffect(info)
{
  IGraphicsLinux* gui = MakeGraphics(this, kEditorWidth, kEditorHeight);
  gui->AttachPanelBackground(&kPanel);

  IBitmap knob = gui->LoadIBitmap(109, "resources/img/TON.png", 31);
  IKnobMultiControl* gain = new IKnobMultiControl(this, 10, 10, kGain, &knob);
  gain->DisablePrompt(false);
  gain->SetTooltip("Gain");
  gui->AttachControl(gain);

  IKnobLineControl* mode = new IKnobLineControl(this, IRECT(90, 10, 154, 74), kMode, &COLOR_WHITE);
  mode->DisablePrompt(false);
  gui->AttachControl(mode);

  gui->AttachControl(new ProbeButton(this, IRECT(170, 10, 230, 40), &kBlue, ProbeButton::kMenu));
  gui->AttachControl(new ProbeButton(this, IRECT(170, 50, 230, 80), &kGreen, ProbeButton::kMessageBox));
  gui->AttachControl(new ProbeButton(this, IRECT(240, 10, 310, 40), &kOrange, ProbeButton::kOpenFile));
  gui->AttachControl(new ProbeButton(this, IRECT(240, 50, 310, 80), &kPurple, ProbeButton::kSaveFile));
  gui->AttachControl(new ProbeButton(this, IRECT(10, 90, 70, 120), &kBlue, ProbeButton::kURL));
  ProbeButton* textButton =
      new ProbeButton(this, IRECT(80, 90, 200, 120), &COLOR_WHITE, ProbeButton::kTextEntry);
  const IText fieldText(12, &COLOR_BLACK, "Sans", IText::kStyleNormal, IText::kAlignNear, 0,
                        IText::kQualityDefault, &COLOR_YELLOW, &COLOR_BLACK);
  textButton->SetText(&fieldText);
  gui->AttachControl(textButton);
  gui->AttachControl(new ProbeButton(this, IRECT(210, 90, 310, 190), &kGreen, ProbeButton::kMouseLog));
  gui->AttachControl(new ProbeButton(this, IRECT(10, 130, 70, 190), &kOrange, ProbeButton::kPaths));
  gui->AttachKeyCatcher(new ProbeKeyCatcher(this));

  gui->HandleMouseOver(true);
  gui->EnableTooltips(true);
  AttachGraphics(gui);
}

void ProbeX11Effect::Report(int kind, int value, const char* text, float opt)
{
  audioMasterCallback host = GetHostCallback();
  if (host) host(GetAEffect(), audioMasterVendorSpecific, kind, value, const_cast<char*>(text), opt);
}

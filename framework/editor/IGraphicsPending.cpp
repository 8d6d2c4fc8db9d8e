// Placeholders for the editor operations still to be written: input
// routing, control operations driven from the editor, prompting, automation
// queries, bitmap management beyond loading, the shape and text drawing
// operations and the font cache. Each does nothing and answers as an
// editor that has nothing to offer (no control hit, nothing chosen,
// nothing drawn), so platforms and tests can link against the whole
// interface meanwhile.

#include "framework/editor/IGraphics.h"

// ---- Input ----

void IGraphics::OnMouseDown(int, int, IMouseMod*) {}
void IGraphics::OnMouseUp(int, int, IMouseMod*) {}
void IGraphics::OnMouseDrag(int, int, IMouseMod*) {}
bool IGraphics::OnMouseDblClick(int, int, IMouseMod*) { return false; }
void IGraphics::OnMouseWheel(int, int, IMouseMod*, int) {}
bool IGraphics::OnMouseOver(int, int, IMouseMod*) { return false; }
void IGraphics::OnMouseOut() {}
bool IGraphics::OnKeyDown(int, int, int) { return false; }
int IGraphics::GetMouseControlIdx(int, int, bool) { return -1; }

// ---- Controls driven from the editor ----

void IGraphics::SetParameterFromGUI(int, double) {}
void IGraphics::HideControl(int, bool) {}
void IGraphics::GrayOutControl(int, bool) {}
void IGraphics::ClampControl(int, double, double, bool) {}
void IGraphics::AssignParamNameToolTips() {}
void IGraphics::PromptUserInput(IControl*, IParam*, IRECT*) {}
void IGraphics::SetFromStringAfterPrompt(IControl*, IParam*, const char*) {}
int IGraphics::GetParamIdxForPTAutomation(int, int) { return -1; }
int IGraphics::GetLastClickedParamForPTAutomation() { return -1; }

// ---- Bitmap management ----

void IGraphics::RetainBitmap(IBitmap*) {}
void IGraphics::ReleaseBitmap(IBitmap*) {}
IBitmap IGraphics::ScaleBitmap(IBitmap*, int, int) { return IBitmap(); }
IBitmap IGraphics::CropBitmap(IBitmap*, IRECT*) { return IBitmap(); }

// ---- Drawing ----

bool IGraphics::DrawRotatedBitmap(IBitmap*, int, int, double, int, const IChannelBlend*) { return true; }
bool IGraphics::DrawRotatedMask(IBitmap*, IBitmap*, IBitmap*, int, int, double, const IChannelBlend*)
{
  return true;
}
bool IGraphics::DrawPoint(const IColor*, float, float, const IChannelBlend*, bool) { return true; }
bool IGraphics::ForcePixel(const IColor*, int, int) { return true; }
IColor IGraphics::GetPoint(int, int) { return COLOR_TRANSPARENT; }
bool IGraphics::DrawLine(const IColor*, float, float, float, float, const IChannelBlend*, bool)
{
  return true;
}
bool IGraphics::DrawArc(const IColor*, float, float, float, float, float, const IChannelBlend*, bool)
{
  return true;
}
bool IGraphics::DrawCircle(const IColor*, float, float, float, const IChannelBlend*, bool) { return true; }
bool IGraphics::RoundRect(const IColor*, IRECT*, const IChannelBlend*, int, bool) { return true; }
bool IGraphics::FillRoundRect(const IColor*, IRECT*, const IChannelBlend*, int, bool) { return true; }
bool IGraphics::FillCircle(const IColor*, int, int, float, const IChannelBlend*, bool) { return true; }
bool IGraphics::FillTriangle(const IColor*, int, int, int, int, int, int, IChannelBlend*) { return true; }
bool IGraphics::FillIConvexPolygon(const IColor*, int*, int*, int, const IChannelBlend*) { return true; }
bool IGraphics::DrawRect(const IColor*, IRECT*) { return true; }
bool IGraphics::DrawVerticalLine(const IColor*, int, int, int) { return true; }
bool IGraphics::DrawHorizontalLine(const IColor*, int, int, int) { return true; }
bool IGraphics::DrawVerticalLine(const IColor*, IRECT*, float) { return true; }
bool IGraphics::DrawHorizontalLine(const IColor*, IRECT*, float) { return true; }
bool IGraphics::DrawRadialLine(const IColor*, float, float, float, float, float, const IChannelBlend*, bool)
{
  return true;
}

// ---- Text ----

bool IGraphics::DrawIText(IText*, const char* str, IRECT*, bool) { return !str || !str[0]; }
PIX_IFont* IGraphics::CacheFont(IText*) { return nullptr; }

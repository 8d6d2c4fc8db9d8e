#pragma once
// A loaded image as the editor's controls see it: the rasteriser bitmap and
// how it divides into frames. A strip of N frames lies side by side when the
// frames are horizontal, otherwise stacked top to bottom.
//
// Threads: a plain value, copied freely. The pixels belong to the
// process-wide bitmap cache (BitmapStorage), not to the IBitmap.

class PIX_IBitmap;

struct IBitmap {
  PIX_IBitmap* mData = nullptr;  // not owned; null for an image that could not be loaded
  int mW = 0;                    // width of the whole image
  int mH = 0;                    // height of the whole image
  int mN = 1;                    // number of frames, at least 1
  bool mFramesAreHorizontal = false;

  IBitmap() {}
  IBitmap(PIX_IBitmap* data, int w, int h, int n = 1, bool framesAreHorizontal = false)
      : mData(data), mW(w), mH(h), mN(n < 1 ? 1 : n), mFramesAreHorizontal(framesAreHorizontal)
  {
  }

  // The size of one frame (integer division; a count below 1 counts as 1).
  int FrameWidth() const { return mFramesAreHorizontal ? mW / Frames() : mW; }
  int FrameHeight() const { return mFramesAreHorizontal ? mH : mH / Frames(); }
  int Frames() const { return mN < 1 ? 1 : mN; }
};

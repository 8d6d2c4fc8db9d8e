#pragma once
// The audio channels of one direction of a plug-in (all its inputs, or all
// its outputs): whether each is connected, the buffer it reads or writes in
// the current block, its scratch buffer and its label. The plug-in base
// keeps one set for its inputs and one for its outputs; the data pointers
// (one slot per channel) are what processing receives.
//
// A connected channel's slot points at the host's buffer (double blocks) or
// at its scratch buffer holding converted samples (float blocks); an
// unconnected channel's slot points at its scratch buffer. Scratch buffers
// hold at most kMaxScratchFrames frames, so a larger block size costs no
// more memory; callers process longer blocks in pieces.
//
// Threads: owned by the plug-in base. Connections, sizes and labels change
// on host threads between blocks, buffers are attached and converted on the
// audio thread; every caller holds the plug-in mutex.

#include "base/heapbuf.h"
#include "base/ptrlist.h"
#include "base/string.h"

class IChannelBuffers {
public:
  struct Channel {
    bool mConnected = false;
    double** mSlot = nullptr;  // this channel's entry among the data pointers
    float* mFDest = nullptr;   // outputs: the host's float buffer during a float block
    BASE_TypedBuf<double> mScratchBuf;
    BASE_String mLabel;
  };

  // 128 KiB of doubles per channel: far above any real-time block, and
  // splitting longer offline blocks costs nothing measurable.
  static const int kMaxScratchFrames = 16384;

  IChannelBuffers() = default;
  ~IChannelBuffers();
  IChannelBuffers(const IChannelBuffers&) = delete;
  IChannelBuffers& operator=(const IChannelBuffers&) = delete;

  // Creates n unconnected channels with empty scratch buffers; called once.
  // Fewer are created when memory runs out.
  void Create(int n);
  int NChannels() const { return mChannels.GetSize(); }
  int NConnected() const;
  // False for an index outside the channels.
  bool IsConnected(int idx) const;
  // Channels idx .. idx + n - 1 (cut at the channel count); a channel that
  // becomes unconnected points at its scratch buffer.
  void SetConnections(int idx, int n, bool connected);

  // Resizes every scratch buffer to frames (at most kMaxScratchFrames) and
  // zeroes it; slots that pointed at the old scratch memory follow it.
  // Returns the frames every scratch buffer now holds.
  int SetScratchFrames(int frames);
  void ZeroScratch();

  // The data pointers handed to processing, one per channel.
  double** Data() const { return mData.Get(); }
  // The buffer channel idx reads or writes in this block; null outside.
  double* Slot(int idx) const;

  // Attaching host buffers to channels idx .. idx + n - 1: the k-th
  // connected channel takes the k-th host buffer (no other entry of the
  // host's array is read). A missing array or entry reads as silence and is
  // written into scratch. At most the scratch length is converted.
  void AttachDouble(int idx, int n, double** ppData, int nFrames);
  void AttachFloatInputs(int idx, int n, float** ppData, int nFrames);
  void AttachFloatOutputs(int idx, int n, float** ppData);
  // Points every unconnected channel at its scratch buffer and clears its
  // first nFrames (bounded), so unconnected inputs read silence whatever an
  // earlier block left there.
  void SilenceUnconnected(int nFrames);
  // Writes (or adds) nFrames of every connected output to its host float
  // buffer. A result that would be a subnormal float is written as zero.
  void StoreToFloat(int nFrames) const;
  void AddToFloat(int nFrames) const;

  // Labels; "" and no-op for an index outside the channels.
  void SetLabel(int idx, const char* label);
  const char* GetLabel(int idx) const;

private:
  template <class Sample, class Use>
  void ForConnected(int idx, int n, Sample** ppData, Use use);
  template <class Store>
  void ConvertToFloat(int nFrames, Store store) const;

  BASE_PtrList<Channel> mChannels;
  BASE_TypedBuf<double*> mData;
};

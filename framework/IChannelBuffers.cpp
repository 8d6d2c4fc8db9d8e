#include "framework/IChannelBuffers.h"

#include <cstdint>
#include <cstring>

namespace {

// Clears the first nFrames (bounded by the scratch length) and returns the
// scratch buffer.
double* SilentScratch(BASE_TypedBuf<double>& scratch, int nFrames)
{
  double* buf = scratch.Get();
  const int n = nFrames < scratch.GetSize() ? nFrames : scratch.GetSize();
  if (buf && n > 0) memset(buf, 0, static_cast<size_t>(n) * sizeof(double));
  return buf;
}

// Hosts and the hardware below them handle subnormal floats slowly, and no
// listener can tell them from silence: they leave the plug-in as zeros of
// the same sign. A float with a zero exponent field is zero or subnormal;
// keeping only its sign bit makes it a zero. (Bit operations, so the loop
// vectorises.)
inline float FlushSubnormal(float f)
{
  uint32_t bits;
  memcpy(&bits, &f, sizeof(bits));
  bits &= (bits & 0x7f800000u) ? 0xffffffffu : 0x80000000u;
  memcpy(&f, &bits, sizeof(f));
  return f;
}

struct StoreFloat {
  void operator()(float* dest, double value) const { *dest = FlushSubnormal(static_cast<float>(value)); }
};

struct AddFloat {
  void operator()(float* dest, double value) const
  {
    *dest = FlushSubnormal(*dest + FlushSubnormal(static_cast<float>(value)));
  }
};

}  // namespace

IChannelBuffers::~IChannelBuffers()
{
  mChannels.Empty(true);
  mData.Resize(0);
}

void IChannelBuffers::Create(int n)
{
  // The slot array never changes size afterwards, so the channels may keep
  // pointers to their slots.
  double** slots = n > 0 ? mData.Resize(n) : nullptr;
  if (!slots) return;
  for (int i = 0; i < n; ++i) {
    slots[i] = nullptr;
    Channel* ch = new Channel;
    ch->mSlot = slots + i;
    if (!mChannels.Add(ch)) delete ch;
  }
}

int IChannelBuffers::NConnected() const
{
  int count = 0;
  const int n = NChannels();
  for (int i = 0; i < n; ++i) count += mChannels.Get(i)->mConnected ? 1 : 0;
  return count;
}

bool IChannelBuffers::IsConnected(int idx) const
{
  const Channel* ch = mChannels.Get(idx);
  return ch && ch->mConnected;
}

void IChannelBuffers::SetConnections(int idx, int n, bool connected)
{
  const int end = idx + n < NChannels() ? idx + n : NChannels();
  for (int i = idx < 0 ? 0 : idx; i < end; ++i) {
    Channel* ch = mChannels.Get(i);
    ch->mConnected = connected;
    if (!connected) *ch->mSlot = ch->mScratchBuf.Get();
  }
}

int IChannelBuffers::SetScratchFrames(int frames)
{
  int count = frames > 0 ? frames : 0;
  if (count > kMaxScratchFrames) count = kMaxScratchFrames;
  int held = count;
  const int n = NChannels();
  for (int i = 0; i < n; ++i) {
    Channel* ch = mChannels.Get(i);
    double* old = ch->mScratchBuf.Get();
    ch->mScratchBuf.Resize(count);
    BASE_TypedBuf<double>& buf = ch->mScratchBuf;
    if (buf.Get()) memset(buf.Get(), 0, static_cast<size_t>(buf.GetSize()) * sizeof(double));
    // A slot that pointed at the old scratch memory must follow it, or the
    // next block would read or write freed memory.
    if (!ch->mConnected || *ch->mSlot == old) *ch->mSlot = buf.Get();
    if (buf.GetSize() < held) held = buf.GetSize();
  }
  return held;
}

void IChannelBuffers::ZeroScratch()
{
  const int n = NChannels();
  for (int i = 0; i < n; ++i) {
    BASE_TypedBuf<double>& buf = mChannels.Get(i)->mScratchBuf;
    SilentScratch(buf, buf.GetSize());
  }
}

double* IChannelBuffers::Slot(int idx) const
{
  const Channel* ch = mChannels.Get(idx);
  return ch ? *ch->mSlot : nullptr;
}

template <class Sample, class Use>
void IChannelBuffers::ForConnected(int idx, int n, Sample** ppData, Use use)
{
  const int end = idx + n < NChannels() ? idx + n : NChannels();
  int next = 0;
  for (int i = idx < 0 ? 0 : idx; i < end; ++i) {
    Channel* ch = mChannels.Get(i);
    if (ch->mConnected) use(ch, ppData ? ppData[next++] : nullptr);
  }
}

void IChannelBuffers::AttachDouble(int idx, int n, double** ppData, int nFrames)
{
  ForConnected(idx, n, ppData, [nFrames](Channel* ch, double* host) {
    *ch->mSlot = host ? host : SilentScratch(ch->mScratchBuf, nFrames);
  });
}

void IChannelBuffers::AttachFloatInputs(int idx, int n, float** ppData, int nFrames)
{
  // With nothing to convert no host buffer is taken: the slots point at
  // scratch.
  ForConnected(idx, n, nFrames > 0 ? ppData : nullptr, [nFrames](Channel* ch, float* host) {
    double* scratch = SilentScratch(ch->mScratchBuf, host ? 0 : nFrames);
    const int frames = nFrames < ch->mScratchBuf.GetSize() ? nFrames : ch->mScratchBuf.GetSize();
    if (host)
      for (int s = 0; s < frames; ++s) scratch[s] = host[s];
    *ch->mSlot = scratch;
  });
}

void IChannelBuffers::AttachFloatOutputs(int idx, int n, float** ppData)
{
  ForConnected(idx, n, ppData, [](Channel* ch, float* host) {
    *ch->mSlot = ch->mScratchBuf.Get();
    ch->mFDest = host;
  });
}

void IChannelBuffers::SilenceUnconnected(int nFrames)
{
  const int n = NChannels();
  for (int i = 0; i < n; ++i) {
    Channel* ch = mChannels.Get(i);
    if (!ch->mConnected) *ch->mSlot = SilentScratch(ch->mScratchBuf, nFrames);
  }
}

template <class Store>
void IChannelBuffers::ConvertToFloat(int nFrames, Store store) const
{
  const int n = NChannels();
  for (int i = 0; i < n; ++i) {
    const Channel* ch = mChannels.Get(i);
    const double* src = *ch->mSlot;
    float* dest = ch->mFDest;
    if (!ch->mConnected || !src || !dest) continue;
    for (int s = 0; s < nFrames; ++s) store(dest + s, src[s]);
  }
}

void IChannelBuffers::StoreToFloat(int nFrames) const { ConvertToFloat(nFrames, StoreFloat()); }

void IChannelBuffers::AddToFloat(int nFrames) const { ConvertToFloat(nFrames, AddFloat()); }

void IChannelBuffers::SetLabel(int idx, const char* label)
{
  Channel* ch = mChannels.Get(idx);
  if (ch) ch->mLabel.Set(label ? label : "");
}

const char* IChannelBuffers::GetLabel(int idx) const
{
  const Channel* ch = mChannels.Get(idx);
  return ch ? ch->mLabel.Get() : "";
}

#include "framework/vst/EffectEntry.h"

BASE_Mutex& EffectEntryMutex()
{
  // A function-local static: constructed (thread-safely) by the first
  // instantiation, destroyed with the library's other statics at unload.
  static BASE_Mutex mutex;
  return mutex;
}

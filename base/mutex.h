#pragma once
// Recursive mutex and its scope lock. Recursive because the plug-in's
// paths nest: a parameter change from the editor holds the plug-in mutex
// while the effect's change handler takes it again.

#include <pthread.h>

class BASE_Mutex {
public:
  BASE_Mutex();
  ~BASE_Mutex();
  BASE_Mutex(const BASE_Mutex&) = delete;
  BASE_Mutex& operator=(const BASE_Mutex&) = delete;

  // Any thread; blocks until the calling thread owns the mutex.
  void Enter();
  // The owning thread; releases one level of ownership.
  void Leave();

private:
  pthread_mutex_t m_mutex;
};

// Holds a mutex for the lifetime of the scope.
class BASE_MutexLock {
public:
  explicit BASE_MutexLock(BASE_Mutex& mutex) : m_mutex(mutex) { m_mutex.Enter(); }
  ~BASE_MutexLock() { m_mutex.Leave(); }
  BASE_MutexLock(const BASE_MutexLock&) = delete;
  BASE_MutexLock& operator=(const BASE_MutexLock&) = delete;

private:
  BASE_Mutex& m_mutex;
};

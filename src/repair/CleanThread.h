// The worker thread of a threaded clean: runs the backup, the removal and
// the finish step, which it always reaches, whatever the steps raise.
#pragma once

#include <thread>

namespace kelvara {

class TRegCleaner;

class TCleanThread {
 public:
  explicit TCleanThread(TRegCleaner& owner) : Owner(owner) {}
  TCleanThread(const TCleanThread&) = delete;
  TCleanThread& operator=(const TCleanThread&) = delete;
  // Waits for the thread, unless it is the calling thread (an owner that
  // drops the cleaner from a notification): then it is let go.
  ~TCleanThread();

  void Start();
  // Lets the thread finish on its own: used when a new clean starts from
  // the finishing notification of the previous one.
  void Detach();

  TRegCleaner& Owner;

 private:
  std::thread fThread;
};

}  // namespace kelvara

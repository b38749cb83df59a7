// The worker thread of a threaded scan: runs the scan and always finishes
// it, whatever the rules raise.
#pragma once

#include <thread>

namespace kelvara {

class TRegScanner;

class TScanThread {
 public:
  explicit TScanThread(TRegScanner& owner) : Owner(owner) {}
  TScanThread(const TScanThread&) = delete;
  TScanThread& operator=(const TScanThread&) = delete;
  // Waits for the thread, unless it is the calling thread (an owner that
  // drops the engine from a notification): then it is let go.
  ~TScanThread();

  void Start();
  // Lets the thread finish on its own: used when a new scan starts from a
  // notification of the previous one, whose thread is still returning.
  void Detach();

  TRegScanner& Owner;

 private:
  std::thread fThread;
};

}  // namespace kelvara

#include "repair/CleanThread.h"

#include "repair/RegCleaner.h"

namespace kelvara {

void TCleanThread::Start() {
  fThread = std::thread([this] { Owner.Run(); });
}

void TCleanThread::Detach() {
  if (fThread.joinable()) fThread.detach();
}

TCleanThread::~TCleanThread() {
  if (!fThread.joinable()) return;
  if (fThread.get_id() == std::this_thread::get_id()) {
    fThread.detach();
  } else {
    fThread.join();
  }
}

}  // namespace kelvara

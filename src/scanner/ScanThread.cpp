#include "scanner/ScanThread.h"

#include "scanner/RegScanner.h"

namespace kelvara {

void TScanThread::Start() {
  fThread = std::thread([this] {
    try {
      Owner.RunScan();
    } catch (...) {
      // A failure outside the categories ends the scan like its end.
    }
    Owner.FinishScan();
  });
}

void TScanThread::Detach() {
  if (fThread.joinable()) fThread.detach();
}

TScanThread::~TScanThread() {
  if (!fThread.joinable()) return;
  if (fThread.get_id() == std::this_thread::get_id()) {
    fThread.detach();
  } else {
    fThread.join();
  }
}

}  // namespace kelvara

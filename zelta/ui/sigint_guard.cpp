#include "zelta/ui/sigint_guard.h"

namespace zelta::ui {
namespace {

volatile std::sig_atomic_t gInterrupted = 0;
int gActive = 0;
struct sigaction gPrevious {};

}  // namespace

SigintGuard::SigintGuard() {
  if (gActive++ > 0) return;
  gInterrupted = 0;
  struct sigaction action {};
  action.sa_handler = &SigintGuard::OnSignal;
  sigemptyset(&action.sa_mask);
  sigaction(SIGINT, &action, &gPrevious);
}

SigintGuard::~SigintGuard() {
  if (--gActive > 0) return;
  sigaction(SIGINT, &gPrevious, nullptr);
}

bool SigintGuard::Interrupted() { return gInterrupted != 0; }

int SigintGuard::ActiveCount() { return gActive; }

void SigintGuard::OnSignal(int) {
  if (gInterrupted) {
    // Asked twice: the run is not listening, so end the process the default way.
    signal(SIGINT, SIG_DFL);
    raise(SIGINT);
    return;
  }
  gInterrupted = 1;
}

}  // namespace zelta::ui

// Catches Ctrl-C (SIGINT) while a progress window is open and turns it into a cancel request.
#pragma once

#include <csignal>

namespace zelta::ui {

// While at least one guard lives, SIGINT sets the interrupted flag instead of ending the
// process; a second SIGINT before the flag is taken ends the process as usual, so a run that
// never looks at the flag can still be stopped. The last guard to go restores the handler
// that was there before. Guards live on the host's user-interface thread.
class SigintGuard {
 public:
  SigintGuard();
  ~SigintGuard();
  SigintGuard(const SigintGuard&) = delete;
  SigintGuard& operator=(const SigintGuard&) = delete;

  // True once SIGINT arrived since the first guard was made.
  static bool Interrupted();
  static int ActiveCount();

 private:
  static void OnSignal(int);
};

}  // namespace zelta::ui

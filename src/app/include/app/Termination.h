#pragma once
// A request from the system to end the program (SIGTERM when the session
// ends or a user runs kill, SIGINT from Ctrl+C in the terminal that started
// it, SIGHUP when that terminal closes). The program then closes its main
// window as the user would, so the options are saved, but without waiting
// for anyone: nothing that needs an answer is shown.

#include <functional>

namespace modVantrel {

// Calls onRequest on the user-interface thread when the first such signal
// arrives; a second one ends the program at once. Needs a
// running QCoreApplication; does nothing on platforms without these signals.
void OnTerminationRequest(std::function<void()> onRequest);

// True once a request has arrived.
[[nodiscard]] bool TerminationRequested();

}  // namespace modVantrel

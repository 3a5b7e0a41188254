#pragma once

#include <functional>

// The program's entry after the application object exists: the one-client-per-user check (a
// second start brings the running client forward and ends with 0), the connectivity check, the data
// module, the hidden main window, the login window (which loads the configuration), the modal login
// and, after a successful login, the main window's event loop. Returns the process exit code.
int runProgramEntry(const std::function<bool()> &connectivityCheck);

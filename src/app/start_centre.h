// The start-up sequence of the start centre.
#pragma once

namespace sc {

// Installs the system's link hand, reads the product name from the description file beside the
// executable, makes it the application title, creates the main window and runs the message
// loop until the program ends. Returns the process exit code.
int runStartCentre();

} // namespace sc

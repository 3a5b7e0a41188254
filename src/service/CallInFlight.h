#pragma once

// Whether a service call is waiting for its answer right now. Timer handlers fire during that
// wait (windows keep repainting); they check this and leave their turn to the next tick.
bool serviceCallInFlight();

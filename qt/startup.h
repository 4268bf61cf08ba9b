// What the program checks and declares before its window exists.
#pragma once

namespace startup {

// False when no platform is chosen and neither an X nor a Wayland display is
// there: the toolkit would only abort with a long message.
bool displayAvailable();
int reportNoDisplay();
void describeApplication();

} // namespace startup

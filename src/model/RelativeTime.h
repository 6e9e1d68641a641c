#pragma once

#include "platform/Clock.h"

#include <string>

namespace zorlet {

// How long ago `date` was, as the dialog list and the conversation show it:
// seconds, minutes and hours ago, "昨天" and "前天", then the date itself
// ("MM-dd" within the current year, else "yyyy-MM-dd"). A date that is now
// or in the future reads "0秒前". Now and the calendar zone come from the
// main loop's clock.
std::string showBefore(SystemTime date);

}  // namespace zorlet

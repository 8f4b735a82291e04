// The table in use: starts as a copy of the backend's.
#include "os/os.h"

namespace os {

Calls& Current() {
  static Calls calls = Backend();
  return calls;
}

}  // namespace os

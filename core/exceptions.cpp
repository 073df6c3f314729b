#include "core/exceptions.h"

void RaiseRangeError() {
  throw ERangeError("Range check error");
}

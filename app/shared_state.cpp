#include "app/shared_state.h"

#include "platform/folders.h"

AnsiString NewUpdateText;
uint64_t NewUpdateSerial = 0;

AnsiString DataFolder() {
  // When the shell cannot name the folder the result is used all the same:
  // the update list files are then simply not found.
  bool ok = false;
  return platform::GetSpecialFolderPath(platform::CSIDL_COMMON_APPDATA, ok) + "\\Quorvane";
}

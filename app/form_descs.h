#pragma once
// The two dialogs described as data, as their form resources describe them.

#include "ui/form.h"

const ui::TFormDesc& UpdateFormDesc();
const ui::TFormDesc& CopyFormDesc();

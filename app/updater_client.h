#pragma once
// The settings that the main dialog gives its HTTP client, in one place for
// the dialog and for the command-line client that stands in for it.

#include "http/http_client.h"

// Every design-time setting of the updater's client but its event handlers
// and its read limit.
void SetUpUpdaterClient(TNetHTTP& http);

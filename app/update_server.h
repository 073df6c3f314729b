#pragma once
// Where the updater finds its update server, and how long it waits for it.
// All are build settings that the environment overrides, so that the demo
// and the tests can point the program at a local server.

#include "core/ansistring.h"

// The base URL, "scheme://host[:port][/prefix]" without a trailing "/":
// QD_UPDATE_URL from the environment when set, else the built-in one. A
// trailing "/" is dropped, so that the resources are "/qd.zip" below it and
// never "//qd.zip".
AnsiString UpdateServerBaseURL();

// The longest wait for data from the server, in milliseconds:
// QD_READ_TIMEOUT_MS from the environment when it is a positive number, else
// the built-in limit. Never 0, which would mean no limit at all.
int UpdateServerReadTimeout();

// The longest wait for the server to accept a connection, in milliseconds:
// QD_CONNECT_TIMEOUT_MS from the environment when it is a positive number,
// else the built-in limit. Never 0, with which a server whose packets are
// dropped would hold the dialog for as long as the system tries.
int UpdateServerConnectTimeout();

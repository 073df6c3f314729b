#pragma once
// The proxy settings file "..\\proxy.def" (beside the working directory, in
// its parent) and the unscrambling of the credentials stored in it.
//
// Lines, counted from 0: 0 is "0" for no proxy; 1 is "1" when the proxy
// needs a user name and password; 2 the proxy host; 3 its port; 4 the user
// name and 5 the password, each plain or "$" and the scrambled form.

#include "core/ansistring.h"
#include "http/http_client.h"
#include "http/proxy_info.h"

// The text credentials are scrambled with; its characters are used in turn,
// the first again for every 17th byte.
extern const char kCredentialKey[17];

// The plain form of a scrambled credential given without its "$" marker.
// Never fails.
AnsiString UnscrambleCredential(const AnsiString& text);

// Sets the proxy record of the HTTP client from the file. BasicAuthentication
// always becomes true. Without the file, or with fewer than six lines whose
// first is not "0", nothing else changes. Raises the string list's file error
// for a file that cannot be read, EConvertError for a port line that is not a
// number (after ProxyServer is set), and ERangeError for an empty user name
// or password line when credentials are asked for; what was set before the
// failure stays set.
void ApplyProxySettings(TNetProxyConnectionInfo& ProxyParams);
// The same for the client's ProxyParams.
void ApplyProxySettings(TNetHTTP& client);

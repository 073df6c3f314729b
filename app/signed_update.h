#pragma once
// The checks of a signed update: the manifest's signature under one of the
// trusted keys, its form, and each downloaded file against its line.

#include <string_view>

#include "app/trusted_keys.h"
#include "app/update_manifest.h"
#include "core/exceptions.h"

// The update failed a check; the message is the one the user sees.
QD_DECLARE_EXCEPTION(EUpdateRefused, Exception);

extern const char* const NotSignedMessage;
extern const char* const OlderUpdateMessage;

// The manifest when signature is valid for its exact bytes under any of the
// keys and the text is a manifest; else EUpdateRefused with
// NotSignedMessage.
TUpdateManifest VerifyManifest(const TTrustedKeys& keys, std::string_view manifest,
                               std::string_view signature);

// Raises EUpdateRefused with NotSignedMessage unless bytes have the size and
// SHA-256 that the manifest's line gives.
void CheckManifestFile(const TManifestFile& expected, std::string_view bytes);

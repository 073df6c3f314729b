#pragma once
// Plain cells that hold a web address: how they are recognised, what part of
// them is shown, and whether a click may hand them to the shell.

#include <string_view>

namespace ui {

// A text containing "://" or "mailto:" is shown as a web address.
bool IsWebAddressText(std::string_view text);

// The part of an address shown when the grid does not show addresses in full:
// everything after the first "://", or, without one, after the first
// "mailto:".
std::string_view WebAddressShownPart(std::string_view text);

// Whether a click may open the text with the shell. The update list comes
// from the network, so only texts that are themselves an http, https or ftp
// address or a mail address qualify (scheme in any letter case); a file://
// path or any other scheme could start a local program. Blanks, double
// quotation marks and control characters never occur in a well-formed address
// and could split it into several arguments in the handler that the shell
// starts, so such texts are refused too, as are texts that name a grid cell
// ("CELL://", any letter case).
bool IsOpenableAddress(std::string_view text);

}  // namespace ui

#pragma once
// The exceptions of the HTTP exchange. ENetHTTPProtocolException carries an
// HTTP error status: ReplyCode is the status code (-1 when the status line
// held no number), the message is the status line as the server sent it,
// and ReplyBody the body of the error response (its first MiB).
//
//   try { text = http.GetString(url); }
//   catch (const ENetHTTPProtocolException& e) { /* e.ReplyCode == 404 */ }

#include "core/ansistring.h"
#include "net/exceptions.h"

class ENetProtocolReplyError : public ENetException {
 public:
  ENetProtocolReplyError(int AReplyCode, AnsiString AMessage)
      : ENetException(std::move(AMessage)), ReplyCode(AReplyCode) {}
  int ReplyCode;
};

class ENetHTTPProtocolException : public ENetProtocolReplyError {
 public:
  ENetHTTPProtocolException(int AReplyCode, AnsiString AMessage, AnsiString AReplyBody)
      : ENetProtocolReplyError(AReplyCode, std::move(AMessage)), ReplyBody(std::move(AReplyBody)) {}
  AnsiString ReplyBody;
};

// A URL with neither a known protocol nor a port; the message is empty.
QD_DECLARE_EXCEPTION(ENetUnknownProtocol, ENetException);

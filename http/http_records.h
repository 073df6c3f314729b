#pragma once
// The request and response records of the HTTP client, the pair that holds
// them, and the small types of the exchange.

#include <cstdint>

#include "core/streams.h"
#include "http/header_records.h"
#include "net/io_handler.h"

class TNetCustomHTTP;

enum TNetHTTPMethod { hmHead, hmGet, hmPost, hmOptions, hmTrace, hmPut, hmConnect };
enum TNetHTTPProtocolVersion { pv1_0, pv1_1 };
enum TNetConnectionKind { ckDirect, ckDirectSecure, ckProxy, ckProxySecure };

enum TNetHTTPOption : unsigned {
  hoInProcessAuth = 1,
  hoKeepOrigProtocol = 2,
  hoForceEncodeParams = 4,
};
using TNetHTTPOptions = unsigned;

// What follows a response: another pass, the end, no decision, or another
// pass for the caller's URL after an in-process authentication.
enum TNetNextStep { nsGoAgain, nsDone, nsUndecided, nsRetrySameTarget };

// The request-line verb with its trailing blank, "GET " and so on.
const char* MethodText(TNetHTTPMethod AMethod);

// The base of I/O handlers that encrypt; an https target needs one.
class TNetSecureIOHandler : public TNetIOHandler {};

class TNetHTTPRequest : public TNetRequestHeaderInfo {
 public:
  explicit TNetHTTPRequest(TNetCustomHTTP* AClient) : Client(AClient) {}

  TNetCustomHTTP* Client;
  // The caller's URL, then the target of the request line.
  AnsiString Target;
  TNetHTTPMethod Verb = hmGet;
  TStream* UploadStream = nullptr;
  TNetConnectionKind ConnectionKind = ckDirect;
};

class TNetHTTPResponse : public TNetResponseHeaderInfo {
 public:
  explicit TNetHTTPResponse(TNetCustomHTTP* AClient) : Client(AClient) {}

  TNetCustomHTTP* Client;
  AnsiString StatusLine;
  int StatusCode = -1;
  TNetHTTPProtocolVersion StatusVersion = pv1_1;
  bool KeepConnection = false;
  // Receives the body; not owned, may be absent.
  TStream* BodyStream = nullptr;
};

// The client's request and response records, with the decisions that follow
// a response.
class TNetHTTPProtocol {
 public:
  // The read limits, in milliseconds, under which an error body is read
  // and a redirect's or an answered challenge's body is dropped.
  static constexpr int ErrorBodyReadTimeout = 2000;
  static constexpr int DroppedBodyReadTimeout = 4000;

  explicit TNetHTTPProtocol(TNetCustomHTTP* AClient)
      : Client(AClient), Request(AClient), Response(AClient) {}

  TNetNextStep DecideNextStep();
  // Reads the error body (its first MiB is kept) and raises
  // ENetHTTPProtocolException for the response.
  [[noreturn]] void RaiseProtocolError();
  // Reads the body and drops it.
  void DiscardBody();

  TNetCustomHTTP* Client;
  TNetHTTPRequest Request;
  TNetHTTPResponse Response;

 private:
  // DiscardBody under DroppedBodyReadTimeout, with any failure swallowed.
  void DropBodyQuietly();
};

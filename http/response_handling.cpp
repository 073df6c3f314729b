// What follows a response head: redirects, error statuses, challenges and
// the reading of the body.

#include "core/convert.h"
#include "core/scoped_value.h"
#include "http/body_streams.h"
#include "http/chunk_size.h"
#include "http/http_client.h"
#include "http/text_tokens.h"

namespace {

bool ContainsText(const AnsiString& text, const AnsiString& sub) {
  return Pos(UpperCase(sub), UpperCase(text)) > 0;
}

}  // namespace

bool TNetCustomHTTP::FireRedirect(AnsiString& ALocation, TNetHTTPMethod& AVerb, int APassCount) {
  bool handled = HandleRedirects;
  if (OnRedirect) {
    int numRedirect = APassCount;
    OnRedirect(this, ALocation, numRedirect, handled, AVerb);
  }
  return handled;
}

void TNetHTTPProtocol::RaiseProtocolError() {
  TNetBoundedTextStream body(TNetCustomHTTP::MaxReplyBody);
  {
    TScopedValue<TStream*> stream(Response.BodyStream, &body);
    TScopedValue<int> limit(Client->ReadTimeout, ErrorBodyReadTimeout);
    Client->ReadBody(Response);
  }
  throw ENetHTTPProtocolException(Response.StatusCode, Response.StatusLine, body.DataString());
}

void TNetHTTPProtocol::DiscardBody() {
  TNetBoundedTextStream body(0);
  TScopedValue<TStream*> stream(Response.BodyStream, &body);
  Client->ReadBody(Response);
}

void TNetHTTPProtocol::DropBodyQuietly() {
  if (!Client->IsConnected()) return;
  TScopedValue<int> limit(Client->ReadTimeout, DroppedBodyReadTimeout);
  try {
    DiscardBody();
  } catch (const Exception&) {
    // A redirect's or a challenge's body is of no use; a failure to read it
    // does not change what follows.
  }
}

TNetNextStep TNetHTTPProtocol::DecideNextStep() {
  TNetNextStep result = nsUndecided;
  const int code = Response.StatusCode;
  const int responseClass = code / 100;
  if ((responseClass == 3 && code != 304) || !Response.Location.empty()) {
    AnsiString location = Response.Location;
    TNetHTTPMethod verb = Request.Verb;
    if (Client->HandleRedirects && Client->FPassCount < Client->RedirectMaximum) {
      if (!Client->FireRedirect(location, verb, Client->FPassCount)) RaiseProtocolError();
      result = nsGoAgain;
      Request.Target = location;
      Request.Verb = verb;
    } else {
      result = nsDone;
      if (!Client->FireRedirect(location, verb, Client->FPassCount)) RaiseProtocolError();
      Response.Location = location;
    }
    DropBodyQuietly();
    return result;
  }
  bool answered = false;
  bool inProcess = false;
  if (responseClass != 2) {
    result = nsGoAgain;
    if (code == 401) {
      TNetAuthentication* auth = Request.Authenticator.get();
      if ((auth != nullptr && auth->RetryCount >= Client->AuthRetries) ||
          !Client->AskAuthorization(Request, Response)) {
        if (Request.Authenticator) Request.Authenticator->Reset();
        RaiseProtocolError();
      }
    } else if (code == 407) {
      TNetAuthentication* auth = Client->ProxyParams.Authenticator();
      if ((auth != nullptr && auth->RetryCount >= Client->AuthRetries) ||
          !Client->AskProxyAuthorization(Request, Response)) {
        if (TNetAuthentication* current = Client->ProxyParams.Authenticator()) {
          current->Reset();
          Client->ProxyParams.ProxyUsername.clear();
          Client->ProxyParams.ProxyPassword.clear();
        }
        RaiseProtocolError();
      }
    } else {
      RaiseProtocolError();
    }
    answered = true;
    inProcess = (Client->HTTPOptions & hoInProcessAuth) != 0;
  }
  if (Client->IsConnected()) {
    if (answered && inProcess) {
      DropBodyQuietly();
      result = nsRetrySameTarget;
    } else {
      if (code != 204) {
        TScopedValue<bool> callerBody(Client->FReadingCallerBody, true);
        Client->ReadBody(Response);
      }
      result = nsDone;
    }
  }
  return result;
}

void TNetCustomHTTP::ReadBody(TNetHTTPResponse& AResponse) {
  TStream* stream = AResponse.BodyStream;
  if (stream == nullptr) return;
  // Only the caller's own body must arrive whole; error, redirect and
  // dropped bodies end quietly with what arrived.
  const bool mustBeWhole = FReadingCallerBody && stream == RecordPair.Response.BodyStream;
  if (AResponse.ContentLength > 0) {
    const int64_t start = stream->Position();
    try {
      ReadIntoStream(*stream, AResponse.ContentLength, false);
    } catch (const ENetConnClosedGracefully&) {
      if (mustBeWhole) throw;
    }
    if (mustBeWhole && stream->Position() - start < AResponse.ContentLength) {
      throw ENetConnClosedGracefully("Connection Closed Gracefully.");
    }
  } else if (ContainsText(AResponse.HeaderLines.GetHeader("Transfer-Encoding"), "chunked")) {
    ReportStatus(stText, {"Chunk Started"});
    for (;;) {
      int size;
      try {
        size = ReadChunkSize();
      } catch (const ENetChunkSizeError&) {
        // The framing is lost, so nothing more can be read from this
        // connection. The caller's body fails; any other body ends with
        // what arrived, and its own outcome (an error status, a redirect)
        // stands.
        CloseConnection();
        if (mustBeWhole) throw;
        return;
      }
      if (size == 0) break;
      ReadIntoStream(*stream, size, false);
      ReadLine("\n", -1, -1);
    }
    ReadLine("\n", -1, -1);
  } else if (AResponse.HeaderLines.IndexOfHeader("Content-Length") < 0) {
    ReadIntoStream(*stream, -1, true);
  }
}

int TNetCustomHTTP::ReadChunkSize() {
  return ParseChunkSize(ReadLine("\n", -1, -1));
}

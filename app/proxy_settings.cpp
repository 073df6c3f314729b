#include "app/proxy_settings.h"

#include "core/convert.h"
#include "core/exceptions.h"
#include "core/stringlist.h"
#include "platform/files.h"

const char kCredentialKey[17] = "VelkorMandrithex";

namespace {

const char kProxyFile[] = "..\\proxy.def";

// A credential line: "$" and the scrambled form, or the plain text. The first
// character is looked at even when there is none, which the runtime answers
// with its range error.
AnsiString credential(const AnsiString& line) {
  if (line.empty()) RaiseRangeError();
  return line[0] == '$' ? UnscrambleCredential(line.substr(1)) : line;
}

}  // namespace

AnsiString UnscrambleCredential(const AnsiString& text) {
  AnsiString plain = text;
  // Both passes run over the whole text, the subtraction first.
  for (char& c : plain) c = static_cast<char>(static_cast<unsigned char>(c) - 40);
  for (size_t i = 0; i < plain.size(); ++i) {
    // A byte equal to its key character stays as it is rather than becoming
    // a zero byte.
    const char k = kCredentialKey[i % 16];
    if (plain[i] != k) plain[i] = static_cast<char>(plain[i] ^ k);
  }
  return plain;
}

void ApplyProxySettings(TNetProxyConnectionInfo& ProxyParams) {
  TStringList lines;
  if (platform::FileExists(kProxyFile)) lines.LoadFromFile(kProxyFile);
  ProxyParams.BasicAuthentication = true;
  if (lines.Count() >= 1 && lines[0] == "0") {
    ProxyParams.ProxyServer.clear();
    ProxyParams.ProxyPort = 0;
    ProxyParams.ProxyUsername.clear();
    ProxyParams.ProxyPassword.clear();
    return;
  }
  // A short file keeps whatever an earlier call set.
  if (lines.Count() < 6) return;
  ProxyParams.ProxyServer = lines[2];
  ProxyParams.ProxyPort = StrToInt(lines[3]);
  if (lines[1] == "1") {
    ProxyParams.ProxyUsername = credential(lines[4]);
    ProxyParams.ProxyPassword = credential(lines[5]);
  } else {
    ProxyParams.ProxyUsername.clear();
    ProxyParams.ProxyPassword.clear();
  }
}

void ApplyProxySettings(TNetHTTP& client) {
  ApplyProxySettings(client.ProxyParams);
}

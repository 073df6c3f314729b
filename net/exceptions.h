#pragma once
// The exception families of the network layer. Every class carries the text
// the user sees; the classes let handlers tell the failures apart, and a few
// carry a code beside the text.

#include "core/exceptions.h"

QD_DECLARE_EXCEPTION(ENetException, Exception);
// Failures that end a transfer in an expected way, such as the peer closing.
QD_DECLARE_EXCEPTION(ENetSilentException, ENetException);
QD_DECLARE_EXCEPTION(ENetConnClosedGracefully, ENetSilentException);

// A failed socket call: the Windows Sockets error code and the message
// "Socket Error # <code>\r\n<text of the code>".
class ENetSocketError : public ENetException {
 public:
  ENetSocketError(int errorCode, AnsiString message)
      : ENetException(std::move(message)), ErrorCode(errorCode) {}
  int ErrorCode;
};

// A failure to load the socket library or to find one of its functions. The
// message is BaseMessage, followed by ": " and the system's text when a
// system error code is given.
class ENetWS2StubError : public ENetException {
 public:
  ENetWS2StubError(AnsiString baseMessage, int systemErrorCode, AnsiString systemErrorText)
      : ENetException(systemErrorCode != 0 ? baseMessage + ": " + systemErrorText : baseMessage),
        SystemErrorCode(systemErrorCode),
        SystemErrorText(std::move(systemErrorText)),
        BaseMessage(std::move(baseMessage)) {}
  int SystemErrorCode;
  AnsiString SystemErrorText;
  AnsiString BaseMessage;
};

QD_DECLARE_EXCEPTION(ENetStackError, ENetException);
QD_DECLARE_EXCEPTION(ENetStackInitializationFailed, ENetStackError);
QD_DECLARE_EXCEPTION(ENetStackSetSizeExceeded, ENetStackError);
QD_DECLARE_EXCEPTION(ENetInvalidIPAddress, ENetStackError);

QD_DECLARE_EXCEPTION(ENetSocketHandleError, ENetException);
QD_DECLARE_EXCEPTION(ENetCouldNotBindSocket, ENetSocketHandleError);
QD_DECLARE_EXCEPTION(ENetCanNotBindPortInRange, ENetSocketHandleError);
QD_DECLARE_EXCEPTION(ENetInvalidPortRange, ENetSocketHandleError);

QD_DECLARE_EXCEPTION(ENetInvalidSocket, ENetException);
QD_DECLARE_EXCEPTION(ENetClosedSocket, ENetException);
QD_DECLARE_EXCEPTION(ENetConnectTimeout, ENetException);
QD_DECLARE_EXCEPTION(ENetConnectException, ENetException);

QD_DECLARE_EXCEPTION(ENetTCPConnectionError, ENetException);
QD_DECLARE_EXCEPTION(ENetNotConnected, ENetTCPConnectionError);
QD_DECLARE_EXCEPTION(ENetNotEnoughDataInBuffer, ENetTCPConnectionError);
QD_DECLARE_EXCEPTION(ENetNoDataToRead, ENetTCPConnectionError);
QD_DECLARE_EXCEPTION(ENetIOHandlerPropInvalid, ENetTCPConnectionError);
QD_DECLARE_EXCEPTION(ENetFileNotFound, ENetTCPConnectionError);
QD_DECLARE_EXCEPTION(ENetAlreadyConnected, ENetException);
QD_DECLARE_EXCEPTION(ENetReadTimeout, ENetException);
QD_DECLARE_EXCEPTION(ENetReadLnMaxLineLengthExceeded, ENetException);

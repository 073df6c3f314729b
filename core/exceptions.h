#pragma once
// The exception families of the runtime. Every exception carries the message
// text that the user sees; the derived classes only let handlers tell the
// families apart.

#include <exception>
#include <string>

#include "core/ansistring.h"

class Exception : public std::exception {
 public:
  explicit Exception(AnsiString message) : Message(std::move(message)) {}
  const char* what() const noexcept override { return Message.c_str(); }
  AnsiString Message;
};

#define QD_DECLARE_EXCEPTION(Name, Base) \
  class Name : public Base {             \
   public:                               \
    using Base::Base;                    \
  }

QD_DECLARE_EXCEPTION(EConvertError, Exception);
QD_DECLARE_EXCEPTION(ERangeError, Exception);
QD_DECLARE_EXCEPTION(EOutOfMemory, Exception);
QD_DECLARE_EXCEPTION(EOSError, Exception);
QD_DECLARE_EXCEPTION(EStreamError, Exception);
QD_DECLARE_EXCEPTION(EReadError, EStreamError);
QD_DECLARE_EXCEPTION(EWriteError, EStreamError);
QD_DECLARE_EXCEPTION(EFileStreamError, EStreamError);
QD_DECLARE_EXCEPTION(EFOpenError, EFileStreamError);
QD_DECLARE_EXCEPTION(EFCreateError, EFileStreamError);
QD_DECLARE_EXCEPTION(EListError, Exception);

// The runtime's range error for an index outside a list or a text.
[[noreturn]] void RaiseRangeError();

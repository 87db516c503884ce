// The exception classes of the run-time layer. Every exception the system
// raises derives from Exception; EAbort is the silent one that handlers ignore.
#pragma once

#include <stdexcept>
#include <string>

class Exception : public std::exception {
public:
  explicit Exception(std::string message) : FMessage(std::move(message)) {}
  ~Exception() override = default;

  const std::string& Message() const noexcept { return FMessage; }
  void SetMessage(std::string message) { FMessage = std::move(message); }
  const char* what() const noexcept override { return FMessage.c_str(); }

private:
  std::string FMessage;
};

// Declares a class derived from Base that takes the message in its constructor.
#define ZV_DECLARE_EXCEPTION(Name, Base) \
  class Name : public Base {             \
  public:                                \
    using Base::Base;                    \
  };

ZV_DECLARE_EXCEPTION(EAbort, Exception)
ZV_DECLARE_EXCEPTION(EConvertError, Exception)
ZV_DECLARE_EXCEPTION(EListError, Exception)
ZV_DECLARE_EXCEPTION(EOutOfMemory, Exception)
ZV_DECLARE_EXCEPTION(EInvalidOperation, Exception)
ZV_DECLARE_EXCEPTION(EInvalidPointer, Exception)
ZV_DECLARE_EXCEPTION(EAccessViolation, Exception)
ZV_DECLARE_EXCEPTION(EExternal, Exception)
// A failed internal consistency check (the run time's assertion failure).
ZV_DECLARE_EXCEPTION(EAssertionFailed, Exception)

ZV_DECLARE_EXCEPTION(EMathError, Exception)
ZV_DECLARE_EXCEPTION(EOverflow, EMathError)
ZV_DECLARE_EXCEPTION(EUnderflow, EMathError)
ZV_DECLARE_EXCEPTION(EZeroDivide, EMathError)
ZV_DECLARE_EXCEPTION(EInvalidOp, EMathError)

ZV_DECLARE_EXCEPTION(EIntError, Exception)
ZV_DECLARE_EXCEPTION(EDivByZero, EIntError)
ZV_DECLARE_EXCEPTION(ERangeError, EIntError)
ZV_DECLARE_EXCEPTION(EIntOverflow, EIntError)

ZV_DECLARE_EXCEPTION(EStreamError, Exception)
ZV_DECLARE_EXCEPTION(EFCreateError, EStreamError)
ZV_DECLARE_EXCEPTION(EFOpenError, EStreamError)
ZV_DECLARE_EXCEPTION(EFilerError, EStreamError)
ZV_DECLARE_EXCEPTION(EReadError, EFilerError)
ZV_DECLARE_EXCEPTION(EWriteError, EFilerError)
ZV_DECLARE_EXCEPTION(EClassNotFound, EFilerError)

ZV_DECLARE_EXCEPTION(ERegistryException, Exception)
ZV_DECLARE_EXCEPTION(EIniFileException, Exception)

// An input/output failure with the class library's error number
// (2 file not found, 3 path not found, 5 access denied, 100 end of file, ...).
class EInOutError : public Exception {
public:
  EInOutError(std::string message, int errorCode, int sysError = 0)
      : Exception(std::move(message)), ErrorCode(errorCode), SysError(sysError) {}
  int ErrorCode;
  int SysError;  // the errno behind it, 0 when none
};

// Raises the silent exception: unwinds to the nearest handler without a message.
[[noreturn]] void Abort();

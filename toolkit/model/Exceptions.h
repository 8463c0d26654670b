#pragma once

// The toolkit's exception classes. Every error the toolkit raises derives from
// Exception and carries its text in Message, so one catch-all can show it.

#include <exception>
#include <string>
#include <utility>

class Exception : public std::exception {
 public:
  explicit Exception(std::string Msg) : Message(std::move(Msg)) {}
  const char* what() const noexcept override { return Message.c_str(); }
  virtual const char* ClassName() const { return "Exception"; }

  std::string Message;
};

// Declares an exception class that only differs from its base by its name.
#define TOOLKIT_EXCEPTION(Name, Base)                        \
  class Name : public Base {                                 \
   public:                                                   \
    using Base::Base;                                        \
    const char* ClassName() const override { return #Name; } \
  }

TOOLKIT_EXCEPTION(EConvertError, Exception);     // a value that does not fit its type
TOOLKIT_EXCEPTION(EComponentError, Exception);   // names and ownership of components
TOOLKIT_EXCEPTION(EListError, Exception);        // an index outside a list or collection
TOOLKIT_EXCEPTION(EStringListError, Exception);  // string list rules (sorted, duplicates)
TOOLKIT_EXCEPTION(EPropertyError, Exception);    // a property that does not exist or cannot be used
TOOLKIT_EXCEPTION(EVariantError, Exception);     // a variant that cannot become the type asked for
TOOLKIT_EXCEPTION(EStreamError, Exception);
TOOLKIT_EXCEPTION(EFilerError, EStreamError);
TOOLKIT_EXCEPTION(EWriteError, EFilerError);
TOOLKIT_EXCEPTION(EClassNotFound, EFilerError);

// Reading a form description failed. Line and Column point into the text (1-based);
// they are 0 when the error has no place in the text. The place is already part of Message.
class EReadError : public EFilerError {
 public:
  explicit EReadError(std::string Msg) : EFilerError(std::move(Msg)) {}
  EReadError(const std::string& Msg, int ALine, int AColumn);
  const char* ClassName() const override { return "EReadError"; }

  int Line = 0;
  int Column = 0;
};

// For a catch-all that reports what it caught: the message of the exception being handled
// (an Exception's Message, a std::exception's what()), else "unknown exception".
std::string CurrentExceptionMessage();

#include "toolkit/model/Exceptions.h"

// The place follows the classic "<message> on line <n>" form, with the column added.
EReadError::EReadError(const std::string& Msg, int ALine, int AColumn)
    : EFilerError(Msg + " on line " + std::to_string(ALine) + ", column " +
                  std::to_string(AColumn)),
      Line(ALine),
      Column(AColumn) {}

std::string CurrentExceptionMessage() {
  try {
    throw;
  } catch (const std::exception& e) {  // Exception too: what() is its Message
    return e.what();
  } catch (...) {
    return "unknown exception";
  }
}

#pragma once

// TMethod: an event handler as a value, whatever the event's parameters: the object
// the handler is bound to, the function, and the handler's name so that a form
// description can name it again. TEvent (Events.h) is the typed form events use.

#include <any>
#include <string>

class TObject;

struct TMethod {
  TObject* Data = nullptr;  // the object the handler is bound to; null for a free function
  std::string Name;         // the published name of the handler; empty when bound in code
  std::any Code;            // a std::function of the event's signature; empty when unassigned

  bool Assigned() const { return Code.has_value(); }
  // Two handlers are the same when bound to the same object under the same name.
  friend bool operator==(const TMethod& A, const TMethod& B) {
    return A.Data == B.Data && A.Name == B.Name && A.Assigned() == B.Assigned();
  }
};

#pragma once

// TPersistent: an object that can copy itself from another (Assign) and take part
// in form descriptions beyond its published properties (DefineProperties).

#include <string>

#include "toolkit/model/Object.h"

class TFiler;

class TPersistent : public TObject {
  TOOLKIT_CLASS(TPersistent, TObject)

  // Copies Source into this object. A class that does not know Source's class
  // passes on to Source->AssignTo(this); when neither knows the other, the result
  // is EConvertError "Cannot assign a TX to a TY".
  virtual void Assign(TPersistent* Source);
  // The object's name as the designer shows it, e.g. "Form1.Button1".
  virtual std::string GetNamePath() const;

 protected:
  virtual void AssignTo(TPersistent* Dest);
  // Extra properties for form descriptions: call Filer->DefineProperty for each.
  virtual void DefineProperties(TFiler* Filer);
  // The object that holds this one (a collection for its items), for names and lookups.
  virtual TPersistent* GetOwner() const { return nullptr; }
  [[noreturn]] void AssignError(TPersistent* Source);

 private:
  friend class TReader;
  friend class TWriter;
  friend TComponent* GetOwnerComponent(TPersistent* Instance);
};

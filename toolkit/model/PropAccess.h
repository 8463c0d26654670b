#pragma once

// Getting and setting published properties by name, and their text forms.
//
// Text forms: integers in decimal (or a name such as clWindow where the type has
// names for values), enumerations by member name, sets as `[a, b]`, Booleans as
// True/False, floats as FloatToStr writes them, component references by name and
// handlers by their published name. A text that does not fit the property's type
// raises EConvertError naming the text and the property.

#include <cstdint>
#include <string>
#include <string_view>

#include "toolkit/model/Object.h"
#include "toolkit/model/Variant.h"

class TComponent;
class TPersistent;

PPropInfo GetPropInfo(const TObject* Instance, std::string_view PropName);  // null when none
PPropInfo GetPropInfo(TClass AClass, std::string_view PropName);
bool IsPublishedProp(const TObject* Instance, std::string_view PropName);

// The stored specifier: always, never, or the class's predicate.
bool IsStoredProp(TObject* Instance, PPropInfo PropInfo);
// True when a form description leaves the value out: it equals the declared default;
// without one, a string is empty, a float 0, a reference or handler unassigned, a
// variant Unassigned. Ordinals without a declared default are never default.
bool IsDefaultPropValue(TObject* Instance, PPropInfo PropInfo);

// Raw access by kind. Ordinals (integers, characters, enumerations, sets as bits) are
// range-checked on the way in.
std::int64_t GetOrdProp(TObject* Instance, PPropInfo PropInfo);
void SetOrdProp(TObject* Instance, PPropInfo PropInfo, std::int64_t Value);
std::string GetStrProp(TObject* Instance, PPropInfo PropInfo);
void SetStrProp(TObject* Instance, PPropInfo PropInfo, const std::string& Value);
double GetFloatProp(TObject* Instance, PPropInfo PropInfo);
void SetFloatProp(TObject* Instance, PPropInfo PropInfo, double Value);
TObject* GetObjectProp(TObject* Instance, PPropInfo PropInfo);
// The object must be of the property's class (or null).
void SetObjectProp(TObject* Instance, PPropInfo PropInfo, TObject* Value);
TMethod GetMethodProp(TObject* Instance, PPropInfo PropInfo);
// The handler must have the event's parameters (or be unassigned).
void SetMethodProp(TObject* Instance, PPropInfo PropInfo, const TMethod& Value);
Variant GetVariantProp(TObject* Instance, PPropInfo PropInfo);
void SetVariantProp(TObject* Instance, PPropInfo PropInfo, const Variant& Value);
std::string GetEnumProp(TObject* Instance, PPropInfo PropInfo);
void SetEnumProp(TObject* Instance, PPropInfo PropInfo, std::string_view Value);
std::string GetSetProp(TObject* Instance, PPropInfo PropInfo, bool Brackets = true);
void SetSetProp(TObject* Instance, PPropInfo PropInfo, std::string_view Value);

// The text form of a property's value, and setting a property from it.
std::string GetPropText(TObject* Instance, PPropInfo PropInfo);
void SetPropText(TObject* Instance, PPropInfo PropInfo, std::string_view Text);

// As a variant: integers as Int64, Booleans as Boolean, enumerations and sets as
// their text, characters and strings as String, floats as Double, objects as
// Object, handlers as Method. Setting takes any variant that converts; a String is
// read as the text form. PropName may be a dotted path through object properties.
Variant GetPropValue(TObject* Instance, PPropInfo PropInfo);
void SetPropValue(TObject* Instance, PPropInfo PropInfo, const Variant& Value);
Variant GetPropValue(TObject* Instance, std::string_view PropName);
void SetPropValue(TObject* Instance, std::string_view PropName, const Variant& Value);

// "Button1", "Owner" or "Form2.Button1" below Root.
TComponent* FindNestedComponent(TComponent* Root, std::string_view NamePath);
// The component an object belongs to: itself, or the component its owners lead to
// (a collection item's collection's owner). Null when there is none.
TComponent* GetOwnerComponent(TPersistent* Instance);

#pragma once

// The classes form descriptions can name. A form finds the classes of its published
// fields by itself; every other class is registered here, by its class name.

#include <functional>
#include <initializer_list>
#include <string_view>

#include "toolkit/model/Object.h"

// Registering the same class twice is harmless; another class under a name already
// taken raises EFilerError.
void RegisterClass(TClass AClass);
void RegisterClasses(std::initializer_list<TClass> Classes);
void UnRegisterClass(TClass AClass);
TClass GetClass(std::string_view ClassName);   // null when not registered
TClass FindClass(std::string_view ClassName);  // EClassNotFound when not registered

// Components outside the form being read (other forms) that references may name as
// `Form2.Button1`: each registered function is asked for the first name in turn.
using TFindGlobalComponent = std::function<TComponent*(std::string_view Name)>;
int RegisterFindGlobalComponentProc(TFindGlobalComponent Proc);  // returns a handle
void UnregisterFindGlobalComponentProc(int Handle);
TComponent* FindGlobalComponent(std::string_view Name);

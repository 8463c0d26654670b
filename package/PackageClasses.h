#pragma once

// Registers the package's classes that a form description can name (the language component,
// the language combo box, the button panel, the form base class), so that a program calls it
// once before it reads its forms. A second call is harmless.
void RegisterPackageClasses();

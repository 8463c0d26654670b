#pragma once

// Registers the selection controls that a form description can name, so that a program calls
// it once before it reads its forms. A second call is harmless.
void RegisterControlsClasses();

#pragma once

// Registers every control and dialog class of the toolkit, so that a form description
// can name any of them. Application->Initialize() does it too; a second call is harmless.
void RegisterStandardClasses();

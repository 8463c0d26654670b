#pragma once

// The package's exception classes. Both derive from the toolkit's Exception, so the
// one catch-all of a run or of the start-up shows them like any other error.

#include "toolkit/model/Exceptions.h"

// An error the program cannot work around: a selector value no branch handles, a
// program folder that cannot be named.
TOOLKIT_EXCEPTION(ECriticalError, Exception);

// The language component was asked for something it does not have: a language it
// does not know, a translated property that does not exist.
TOOLKIT_EXCEPTION(EPolyverbError, Exception);

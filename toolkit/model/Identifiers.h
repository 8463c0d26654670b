#pragma once

// Identifiers as form descriptions and the property metadata use them: names of
// components, properties, enumeration members and handlers. They are ASCII and
// compared without regard to the case of A-Z, as the classic toolkit does.

#include <string_view>

// A letter or underscore, then letters, digits and underscores.
bool IsValidIdent(std::string_view Ident);

// Equal ignoring the case of A-Z only (independent of the locale).
bool SameIdent(std::string_view A, std::string_view B);

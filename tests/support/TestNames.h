#pragma once

// Readable names for the cases of parameterised tests, so that the test list and the
// results say which case it is rather than the bytes of its parameter.

#include <string>
#include <string_view>

namespace testsupport {

// A sentence as a test name: its letters and digits, every word capitalised, and a few
// signs spelt out, as GoogleTest wants names ("',' expected on line 3" ->
// "CommaExpectedOnLine3").
std::string TestNameFrom(std::string_view Sentence);

}  // namespace testsupport

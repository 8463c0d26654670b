# Writes OUTPUT, a C++ file that defines SYMBOL as a pointer to the bytes of INPUT plus a
# zero. The bytes are written as numbers, so no text in the file can end a literal early.
get_filename_component(name ${INPUT} NAME)
file(READ ${INPUT} bytes HEX)
string(REGEX REPLACE "([0-9a-f][0-9a-f])" "0x\\1," bytes "${bytes}")
string(REGEX REPLACE "(0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,)"
       "\\1\n" bytes "${bytes}")
file(WRITE ${OUTPUT} "// Generated from ${name}; do not edit.
namespace {
const unsigned char kBytes[] = {
${bytes}0x00};
}  // namespace
extern const char* const ${SYMBOL};
const char* const ${SYMBOL} = reinterpret_cast<const char*>(kBytes);
")

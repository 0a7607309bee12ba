# Writes INPUT as a byte array into OUTPUT: the default items travel inside the program.
file(READ ${INPUT} content HEX)
string(LENGTH "${content}" hexLength)
math(EXPR byteCount "${hexLength} / 2")
string(REGEX REPLACE "([0-9a-f][0-9a-f])" "0x\\1," bytes "${content}")
string(REGEX REPLACE "(0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,)" "\\1\n" bytes "${bytes}")
file(WRITE ${OUTPUT} "// Generated from the default items file; do not edit.\n#include <cstddef>\nextern const unsigned char kEmbeddedItems[] = {\n${bytes}0x00};\nextern const size_t kEmbeddedItemsSize = ${byteCount};\n")

# cmake -DIN=<file> -DOUT=<file> -P EmbedBytes.cmake
# Writes the bytes of IN as a C initialiser list ("0x89,0x50,...", 16 to a
# line) to OUT, for including inside the braces of an unsigned char array.
file(READ ${IN} hex HEX)
string(REGEX REPLACE "([0-9a-f][0-9a-f][0-9a-f][0-9a-f][0-9a-f][0-9a-f][0-9a-f][0-9a-f][0-9a-f][0-9a-f][0-9a-f][0-9a-f][0-9a-f][0-9a-f][0-9a-f][0-9a-f][0-9a-f][0-9a-f][0-9a-f][0-9a-f][0-9a-f][0-9a-f][0-9a-f][0-9a-f][0-9a-f][0-9a-f][0-9a-f][0-9a-f][0-9a-f][0-9a-f][0-9a-f][0-9a-f])" "\\1\n" hex "${hex}")
string(REGEX REPLACE "([0-9a-f][0-9a-f])" "0x\\1," bytes "${hex}")
file(WRITE ${OUT}.tmp "${bytes}\n")
file(RENAME ${OUT}.tmp ${OUT})

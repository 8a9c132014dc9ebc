# Writes the file IN as a C++ source OUT that defines NAME, a function returning its bytes:
#   cmake -DIN=... -DOUT=... -DNAME=... -P EmbedText.cmake
# The bytes are written in hexadecimal, so that any text (quotes, backslashes, CR LF) survives.
file(READ "${IN}" bytes HEX)
string(REGEX REPLACE "([0-9a-f][0-9a-f])" "'\\\\x\\1'," array "${bytes}")
file(WRITE "${OUT}.tmp"
    "// Made by cmake/EmbedText.cmake from ${IN}: not to be edited.\n"
    "#include <QByteArray>\n"
    "QByteArray ${NAME}() {\n"
    "    static const char bytes[] = {${array}'\\0'};\n"
    "    return QByteArray::fromRawData(bytes, sizeof(bytes) - 1);\n"
    "}\n")
file(COPY_FILE "${OUT}.tmp" "${OUT}" ONLY_IF_DIFFERENT)
file(REMOVE "${OUT}.tmp")

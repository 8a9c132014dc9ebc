#pragma once

#include <QByteArray>
#include <QString>

// How the program turns file bytes into text: a line that is valid UTF-8 is read as UTF-8, any
// other line as Windows-1251, so that files of older 8-bit installations still read and one
// damaged line does not garble the rest. The program writes its own files in UTF-8.
namespace TextCodec {
// One line of a file. `guessed` is set when the line holds bytes beyond ASCII that are not valid
// UTF-8 (read as Windows-1251); `utf8Letters` when it holds valid UTF-8 beyond ASCII.
QString DecodeLine(QByteArrayView bytes, bool* guessed = nullptr, bool* utf8Letters = nullptr);
QString DecodeWindows1251(QByteArrayView bytes);
QByteArray EncodeFileText(const QString& text);

// Serial bytes map one to one to characters (Latin-1) and back; characters above U+00FF
// become '?', as they cannot travel on the line.
QString FromSerialBytes(const char* bytes, qsizetype count);
QByteArray ToSerialBytes(const QString& text);
} // namespace TextCodec

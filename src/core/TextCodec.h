#pragma once

#include <QByteArray>
#include <QString>

// How the program turns file bytes into text: a file that is valid UTF-8 is read as UTF-8,
// any other file as Windows-1251, so that files of older 8-bit installations still read.
// The program writes its own files in UTF-8.
namespace TextCodec {
QString DecodeFileBytes(const QByteArray& bytes);
QString DecodeWindows1251(const QByteArray& bytes);
QByteArray EncodeFileText(const QString& text);

// Serial bytes map one to one to characters (Latin-1) and back; characters above U+00FF
// become '?', as they cannot travel on the line.
QString FromSerialBytes(const char* bytes, qsizetype count);
QByteArray ToSerialBytes(const QString& text);
} // namespace TextCodec

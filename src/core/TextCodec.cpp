#include "TextCodec.h"

#include <QStringDecoder>

#include <array>

namespace {
// Windows-1251, bytes 0x80..0xBF; 0xC0..0xFF are the contiguous Cyrillic letters А..я.
// The one unassigned byte, 0x98, maps to the C1 control of the same value.
constexpr std::array<char16_t, 64> kHighHalf = {
    0x0402, 0x0403, 0x201A, 0x0453, 0x201E, 0x2026, 0x2020, 0x2021, // 80
    0x20AC, 0x2030, 0x0409, 0x2039, 0x040A, 0x040C, 0x040B, 0x040F, // 88
    0x0452, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014, // 90
    0x0098, 0x2122, 0x0459, 0x203A, 0x045A, 0x045C, 0x045B, 0x045F, // 98
    0x00A0, 0x040E, 0x045E, 0x0408, 0x00A4, 0x0490, 0x00A6, 0x00A7, // A0
    0x0401, 0x00A9, 0x0404, 0x00AB, 0x00AC, 0x00AD, 0x00AE, 0x0407, // A8
    0x00B0, 0x00B1, 0x0406, 0x0456, 0x0491, 0x00B5, 0x00B6, 0x00B7, // B0
    0x0451, 0x2116, 0x0454, 0x00BB, 0x0458, 0x0405, 0x0455, 0x0457, // B8
};
} // namespace

namespace TextCodec {

QString DecodeWindows1251(QByteArrayView bytes) {
    QString text;
    text.resize(bytes.size());
    QChar* out = text.data();
    for (qsizetype i = 0; i < bytes.size(); ++i) {
        const auto b = static_cast<unsigned char>(bytes[i]);
        if (b < 0x80)
            out[i] = QChar(b);
        else if (b < 0xC0)
            out[i] = QChar(kHighHalf[b - 0x80]);
        else
            out[i] = QChar(char16_t(0x0410 + (b - 0xC0)));
    }
    return text;
}

QString DecodeLine(QByteArrayView bytes, bool* guessed, bool* utf8Letters) {
    bool ascii = true;
    for (const char c : bytes) {
        if (static_cast<unsigned char>(c) >= 0x80) {
            ascii = false;
            break;
        }
    }
    if (ascii)
        return QString::fromLatin1(bytes.data(), bytes.size());
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    QString text = utf8.decode(bytes);
    if (!utf8.hasError()) {
        if (utf8Letters)
            *utf8Letters = true;
        return text;
    }
    if (guessed)
        *guessed = true;
    return DecodeWindows1251(bytes);
}

QByteArray EncodeFileText(const QString& text) {
    return text.toUtf8();
}

QString FromSerialBytes(const char* bytes, qsizetype count) {
    return QString::fromLatin1(bytes, count);
}

QByteArray ToSerialBytes(const QString& text) {
    return text.toLatin1();
}

} // namespace TextCodec

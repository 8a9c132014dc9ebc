#include "Decimal.h"

#include <QLocale>
#include <QRegularExpression>

#include <charconv>
#include <cmath>

namespace Decimal {

QChar Separator() {
    const QString point = QLocale().decimalPoint();
    return point.isEmpty() ? QChar('.') : point.front();
}

QString FormatGeneral(double value) {
    if (std::isnan(value))
        return "NAN";
    if (std::isinf(value))
        return value < 0 ? "-INF" : "INF";
    if (value == 0)
        return "0";

    // 15 significant digits, rounded by the C library: d.dddddddddddddde±XX
    // (to_chars ignores the C locale, which Qt sets from the environment.)
    char buffer[40];
    const auto written =
        std::to_chars(buffer, buffer + sizeof buffer, std::fabs(value), std::chars_format::scientific, 14);
    const QString text = QString::fromLatin1(buffer, written.ptr - buffer);
    const qsizetype ePos = text.indexOf('e');
    QString digits = text.left(ePos);
    digits.remove('.');
    const int exponent = text.mid(ePos + 1).toInt();
    while (digits.size() > 1 && digits.endsWith('0'))
        digits.chop(1);

    const QChar sep = Separator();
    QString result = value < 0 ? "-" : "";
    if (exponent < -5 || exponent >= 15) {
        result += digits.front();
        if (digits.size() > 1)
            result += sep + digits.mid(1);
        result += 'E';
        result += QString::number(exponent);
        return result;
    }
    if (exponent < 0) {
        result += '0';
        result += sep;
        result += QString(-exponent - 1, '0');
        result += digits;
        return result;
    }
    const int intDigits = exponent + 1;
    if (digits.size() <= intDigits) {
        result += digits + QString(intDigits - digits.size(), '0');
    } else {
        result += digits.left(intDigits);
        result += sep;
        result += digits.mid(intDigits);
    }
    return result;
}

std::optional<double> Parse(const QString& text) {
    QString t = text.trimmed();
    const QChar sep = Separator();
    if (sep != '.') {
        if (t.contains('.'))
            return std::nullopt;
        t.replace(sep, '.');
    }
    static const QRegularExpression form(R"(^[+-]?(\d+(\.\d*)?|\.\d+)([eE][+-]?\d+)?$)");
    if (!form.match(t).hasMatch())
        return std::nullopt;
    const QByteArray latin = t.toLatin1();
    const char* first = latin.constData();
    const char* last = first + latin.size();
    if (*first == '+')
        ++first; // from_chars takes no plus sign
    double value = 0;
    const auto [end, error] = std::from_chars(first, last, value);
    if (error != std::errc() || end != last || !std::isfinite(value))
        return std::nullopt;
    return value;
}

std::optional<qint32> ParseInteger(const QString& text) {
    static const QRegularExpression form(R"(^[+-]?\d+$)");
    const QString t = text.trimmed();
    if (!form.match(t).hasMatch())
        return std::nullopt;
    bool ok = false;
    const qlonglong value = t.toLongLong(&ok);
    if (!ok || value < INT32_MIN || value > INT32_MAX)
        return std::nullopt;
    return static_cast<qint32>(value);
}

} // namespace Decimal

#pragma once

#include <QString>

#include <optional>

// The one pair of helpers through which the program writes and reads decimal numbers. Both use
// the decimal separator of the default QLocale (the system's), and never thousands separators.
namespace Decimal {

// The system decimal separator.
QChar Separator();

// The general form: the shortest text with up to 15 significant digits and no trailing zeros
// (1, 2.5, 0.333333333333333). A value whose magnitude is below 0.00001, or which has more than
// 15 digits before the separator, is written in scientific form: the significant digits, the
// letter E and the exponent, with a sign only for negative exponents (1E-6, 1.5E20).
QString FormatGeneral(double value);

// Reads a decimal number written with the system separator: an optional sign, digits with at
// most one separator, an optional exponent (E or e, optional sign, digits). Blanks around the
// number are allowed. Empty on anything else, including infinities and values out of range.
std::optional<double> Parse(const QString& text);

// Reads a whole decimal integer: an optional sign and digits, nothing else, within 32 bits.
std::optional<qint32> ParseInteger(const QString& text);

} // namespace Decimal

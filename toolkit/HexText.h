#pragma once

#include <QString>

#include <cstdint>

namespace toolkit {

// The digits of the hex text that travels on the wire and rests in the
// settings file.
inline const QString kStandardHexAlphabet = QStringLiteral("0123456789ABCDEF");

// Four hex digits per UTF-16 code unit, most significant first; Plain off
// XORs each unit with 0xFFFF first. Another alphabet is applied by sixteen
// chained replacement passes over the standard digits.
QString TextToHex(const QString& text, const QString& alphabet = kStandardHexAlphabet,
                  bool plain = true);

// The inverse: groups of four (a shorter last group read as it is); a group
// that is not hex digits alone reads as 0. Lower-case digits are accepted.
QString HexToText(const QString& hexText, const QString& alphabet = kStandardHexAlphabet,
                  bool plain = true);

// Upper-case hex with at least Digits digits.
QString IntToHexText(std::uint32_t value, int digits);

// Hex digits alone, no prefix, no blanks or sign; Default otherwise.
int HexToInt(const QString& text, int defaultValue);

} // namespace toolkit

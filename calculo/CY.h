#pragma once

#include "plataforma/com/CY.h"

// Sums and differences of two CYs: exact 64-bit integer arithmetic.
// Products and quotients: exact DECIMAL arithmetic, rounded half to even to
// 0.0001. A double operand of a product or quotient enters the decimal
// arithmetic with its 15 significant digits; a double operand of a sum, a
// difference or a comparison is first converted to a CY (half to even at four
// decimals). A result outside the 64-bit range, or a division by zero, gives 0
// (neither has a defined value).
CY operator+(CY a, CY b);
CY operator-(CY a, CY b);
CY operator-(CY a);
CY operator*(CY a, CY b);
CY operator/(CY a, CY b);

CY operator+(CY a, double b);
CY operator-(CY a, double b);
CY operator*(CY a, double b);
CY operator/(CY a, double b);
CY operator+(double a, CY b);
CY operator-(double a, CY b);
CY operator*(double a, CY b);
CY operator/(double a, CY b);

CY& operator+=(CY& a, CY b);
CY& operator-=(CY& a, CY b);
CY& operator*=(CY& a, CY b);
CY& operator/=(CY& a, CY b);
CY& operator+=(CY& a, double b);
CY& operator-=(CY& a, double b);
CY& operator*=(CY& a, double b);
CY& operator/=(CY& a, double b);

inline bool operator==(CY a, CY b) { return a.int64 == b.int64; }
inline bool operator!=(CY a, CY b) { return a.int64 != b.int64; }
inline bool operator<(CY a, CY b) { return a.int64 < b.int64; }
inline bool operator>(CY a, CY b) { return a.int64 > b.int64; }
inline bool operator<=(CY a, CY b) { return a.int64 <= b.int64; }
inline bool operator>=(CY a, CY b) { return a.int64 >= b.int64; }

bool operator==(CY a, double b);
bool operator!=(CY a, double b);
bool operator<(CY a, double b);
bool operator>(CY a, double b);
bool operator<=(CY a, double b);
bool operator>=(CY a, double b);
bool operator==(double a, CY b);
bool operator!=(double a, CY b);
bool operator<(double a, CY b);
bool operator>(double a, CY b);
bool operator<=(double a, CY b);
bool operator>=(double a, CY b);

// Conversions: a double becomes a CY rounded half to even at four
// decimals (0 when out of range); a CY becomes a double as exactly as a double
// allows.
CY CYDeDouble(double d);
double CYParaDouble(CY cy);

#pragma once
// A boxed number that keeps the C type it was made from, named by its type-encoding letter:
// c char/BOOL, C unsigned char, s short, S unsigned short, i int, I unsigned int, l long,
// L unsigned long, q long long, Q unsigned long long, f float, d double, B bool.
// The letter matters: BOOL values ("c") are written to JSON as true/false, others as numbers.

#include <cstdint>
#include <string>
#include <type_traits>

namespace pf {

class Number {
 public:
  Number() : Number(0) {}
  explicit Number(bool v) : type_('c'), i_(v ? 1 : 0) {}
  explicit Number(char v) : type_('c'), i_(static_cast<signed char>(v)) {}
  explicit Number(signed char v) : type_('c'), i_(v) {}
  explicit Number(unsigned char v) : type_('C'), i_(v) {}
  explicit Number(short v) : type_('s'), i_(v) {}
  explicit Number(unsigned short v) : type_('S'), i_(v) {}
  explicit Number(int v) : type_('i'), i_(v) {}
  explicit Number(unsigned int v) : type_('I'), i_(v) {}
  explicit Number(long v) : type_('l'), i_(v) {}
  explicit Number(unsigned long v) : type_('L'), u_(v) {}
  explicit Number(long long v) : type_('q'), i_(v) {}
  explicit Number(unsigned long long v) : type_('Q'), u_(v) {}
  explicit Number(float v) : type_('f'), d_(v) {}
  explicit Number(double v) : type_('d'), d_(v) {}

  // A C++ bool stored with the letter "B" (the platform's _Bool), as opposed to BOOL's "c".
  static Number cppBool(bool v);
  // A number of the given letter from a 64-bit integer or a double, converted as C would.
  static Number withLetter(char letter, long long v);
  static Number withLetter(char letter, double v);

  char typeLetter() const { return type_; }
  bool isFloating() const { return type_ == 'f' || type_ == 'd'; }
  bool isUnsigned64() const { return type_ == 'L' || type_ == 'Q'; }
  // A BOOL or char number: what JSON writes as true/false.
  bool isBoolean() const { return type_ == 'c' || type_ == 'B'; }

  bool boolValue() const;
  char charValue() const { return static_cast<char>(longLongValue()); }
  int intValue() const { return static_cast<int>(longLongValue()); }
  long long longLongValue() const;
  unsigned long long unsignedLongLongValue() const;
  float floatValue() const { return static_cast<float>(doubleValue()); }
  double doubleValue() const;

  // Decimal text: integers without fraction, floats in the shortest form that reads back ("%.7g"/"%.17g").
  std::string stringValue() const;

  // Numeric comparison across letters, as the platform compared numbers.
  bool operator==(const Number& other) const;
  bool operator<(const Number& other) const;

 private:
  char type_;
  union {
    long long i_;
    unsigned long long u_;
    double d_;
  };
};

}  // namespace pf

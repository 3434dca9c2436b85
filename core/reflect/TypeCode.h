#pragma once
// The small numeric type codes shared by the object store and the JSON mapper. Each property type
// (an encoding letter or a class name) reduces to one of them.

namespace TypeCode {

inline constexpr unsigned None = 0;  // no such property
inline constexpr unsigned Bool = 1;
inline constexpr unsigned Char = 2;
inline constexpr unsigned UnsignedChar = 3;
inline constexpr unsigned Short = 4;
inline constexpr unsigned UnsignedShort = 5;
inline constexpr unsigned Int = 6;
inline constexpr unsigned UnsignedInt = 7;
inline constexpr unsigned Long = 8;
inline constexpr unsigned UnsignedLong = 9;
inline constexpr unsigned LongLong = 10;
inline constexpr unsigned UnsignedLongLong = 11;
inline constexpr unsigned Float = 12;
inline constexpr unsigned Double = 13;
inline constexpr unsigned Date = 100;
inline constexpr unsigned Number = 101;
inline constexpr unsigned String = 102;
inline constexpr unsigned Dictionary = 200;
inline constexpr unsigned Array = 201;
inline constexpr unsigned Object = 202;

}  // namespace TypeCode

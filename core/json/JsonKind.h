#pragma once
// The JSON kind of a value: what it becomes when written, and how a declared type code reads.

namespace JsonKind {

inline constexpr unsigned None = 0;
inline constexpr unsigned Null = 1;
inline constexpr unsigned Boolean = 2;
inline constexpr unsigned Number = 3;
inline constexpr unsigned String = 4;
inline constexpr unsigned Date = 5;
inline constexpr unsigned Object = 100;
inline constexpr unsigned Array = 101;
inline constexpr unsigned ModelObject = 102;

}  // namespace JsonKind

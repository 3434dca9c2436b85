#pragma once
// The error domain of the HTTP engine and its codes.

inline constexpr char NetworkRequestErrorDomain[] = "HttpRequestErrorDomain";

enum class HttpRequestErrorCode : long {
  ConnectionFailure = 1,
  TimedOut = 2,
  Authentication = 3,
  Cancelled = 4,
  UnableToCreateRequest = 5,
  InternalErrorWhileBuildingRequest = 6,
  InternalErrorWhileApplyingCredentials = 7,
  FileManagement = 8,
  TooManyRedirects = 9,
  UnhandledException = 10,
  Compression = 11,
  // A body, or what it inflates to, larger than the request may keep in memory.
  ResponseTooLarge = 12,
};

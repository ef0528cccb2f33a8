#pragma once
// Typed errors of the suite. Their text is GBK and reads as the platform's own would,
// because the programs' one handler shows it to the user unchanged.
#include <stdexcept>
#include <string>

namespace platform {

// Base of every error the core raises; what() is GBK text.
class Error : public std::runtime_error {
 public:
  explicit Error(const std::string& text) : std::runtime_error(text) {}
};

// A value that is not what its field needs ("'abc' is not a valid integer value").
class ConvertError : public Error {
 public:
  using Error::Error;
};

// A file that cannot be opened, read or written.
class FileError : public Error {
 public:
  using Error::Error;
};

// A picture that cannot be decoded.
class LoadError : public Error {
 public:
  using Error::Error;
};

}  // namespace platform

// The three value types every routine of the program is written on.
//
// Conventions used throughout text/:
//  - A Text is a byte string in code page 936 (GBK) that never holds a zero
//    byte: wherever bytes become a Text, it ends before the first zero byte.
//  - Positions are 1-based byte positions; a search that finds nothing
//    gives -1. A two-byte character occupies two positions.
//  - A byte of 0x80 or above starts a two-byte character whose second byte
//    is the next byte, whatever its value.
//  - Absent and empty are one value: a default-constructed Text is the
//    empty text, and every routine treats it that way.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace morvane {

class Text {
 public:
  Text() = default;
  // From a zero-terminated string; nullptr is the empty text.
  Text(const char* s) : bytes_(s ? s : "") {}  // NOLINT: literals are texts
  // From arbitrary bytes: the text ends before the first zero byte.
  explicit Text(std::string_view bytes) : bytes_(bytes.substr(0, bytes.find('\0'))) {}
  explicit Text(std::string&& bytes) : bytes_(std::move(bytes)) { CutAtZero(); }

  [[nodiscard]] std::string_view view() const { return bytes_; }
  [[nodiscard]] const std::string& str() const { return bytes_; }
  // Zero-terminated, for platform calls.
  [[nodiscard]] const char* c_str() const { return bytes_.c_str(); }
  [[nodiscard]] int size() const { return static_cast<int>(bytes_.size()); }
  [[nodiscard]] bool empty() const { return bytes_.empty(); }

  // Appends bytes up to the first zero byte among them. Amortised linear,
  // which keeps ConcatText in a loop linear overall.
  void Append(std::string_view bytes) { bytes_.append(bytes.substr(0, bytes.find('\0'))); }

  friend bool operator==(const Text& a, const Text& b) { return a.bytes_ == b.bytes_; }

 private:
  void CutAtZero() {
    std::size_t z = bytes_.find('\0');
    if (z != std::string::npos) bytes_.resize(z);
  }
  std::string bytes_;
};

// A counted byte sequence of any values, zero bytes included.
class Bytes {
 public:
  Bytes() = default;
  explicit Bytes(std::string_view bytes) : data_(bytes) {}
  explicit Bytes(std::string&& bytes) : data_(std::move(bytes)) {}

  [[nodiscard]] std::string_view view() const { return data_; }
  [[nodiscard]] const char* data() const { return data_.data(); }
  // Writable storage for platform calls that fill a receive buffer.
  [[nodiscard]] char* data() { return data_.data(); }
  [[nodiscard]] int size() const { return static_cast<int>(data_.size()); }
  [[nodiscard]] bool empty() const { return data_.empty(); }

  void Append(std::string_view bytes) { data_.append(bytes); }
  void Reserve(std::size_t n) { data_.reserve(n); }

  friend bool operator==(const Bytes& a, const Bytes& b) { return a.data_ == b.data_; }

 private:
  std::string data_;
};

// An ordered list of texts numbered from 1; it owns its items.
class TextList {
 public:
  [[nodiscard]] int count() const { return static_cast<int>(items_.size()); }
  // 0-based access for the list routines; callers use ListItem.
  [[nodiscard]] const Text& at0(std::size_t i) const { return items_[i]; }
  void push_back(Text t) { items_.push_back(std::move(t)); }

 private:
  std::vector<Text> items_;
};

}  // namespace morvane

// The URL, header list and proxy for curl; see curl_wire.h.
#include "platform/posix/curl_wire.h"

#include <algorithm>
#include <cctype>

namespace morvane::curlwire {

namespace {

bool SameName(std::string_view a, std::string_view b) {
  return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
           return std::tolower(static_cast<unsigned char>(x)) ==
                  std::tolower(static_cast<unsigned char>(y));
         });
}

std::string_view Trim(std::string_view s) {
  while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) s.remove_prefix(1);
  while (!s.empty() && (s.back() == ' ' || s.back() == '\t')) s.remove_suffix(1);
  return s;
}

bool IsHostByte(unsigned char c) {
  return std::isalnum(c) || c == '-' || c == '.' || c == '_' || c >= 0x80;
}

}  // namespace

bool HasLineBreak(std::string_view s) {
  return s.find_first_of(std::string_view("\r\n\0", 3)) != s.npos;
}

bool IsHostName(std::string_view host) {
  return !host.empty() && std::all_of(host.begin(), host.end(), [](char c) {
    return IsHostByte(static_cast<unsigned char>(c));
  });
}

std::optional<std::string> RequestTarget(std::string_view path) {
  if (HasLineBreak(path)) return std::nullopt;
  std::string target;
  if (path.empty() || path.front() != '/') target += '/';
  static const char kHex[] = "0123456789ABCDEF";
  for (const char ch : path) {
    const auto c = static_cast<unsigned char>(ch);
    if (c <= 0x20 || c == 0x7F || c == '#') {
      target += '%';
      target += kHex[c >> 4];
      target += kHex[c & 15];
    } else {
      target += ch;
    }
  }
  return target;
}

std::optional<std::vector<std::string>> HeaderList(std::string_view block) {
  std::vector<std::string> list;
  std::vector<std::string_view> names;
  while (!block.empty()) {
    const std::size_t end = block.find("\r\n");
    const std::string_view line = block.substr(0, end);
    block = end == block.npos ? std::string_view() : block.substr(end + 2);
    if (HasLineBreak(line)) return std::nullopt;
    const std::size_t colon = line.find(':');
    // curl drops a line without a colon anyway; skip it openly.
    if (line.empty() || colon == line.npos) continue;
    names.push_back(Trim(line.substr(0, colon)));
    if (Trim(line.substr(colon + 1)).empty()) {
      list.push_back(std::string(line.substr(0, colon)) + ";");
    } else {
      list.emplace_back(line);
    }
  }
  for (const char* own : {"Accept", "Expect", "Content-Type"}) {
    if (std::none_of(names.begin(), names.end(),
                     [&](std::string_view n) { return SameName(n, own); })) {
      list.push_back(std::string(own) + ":");
    }
  }
  return list;
}

std::string ProxyFor(std::string_view list, bool secure) {
  std::string_view plain, scheme;
  while (!list.empty()) {
    const std::size_t end = list.find_first_of(" ;");
    const std::string_view entry = list.substr(0, end);
    list = end == list.npos ? std::string_view() : list.substr(end + 1);
    if (entry.empty()) continue;
    const std::size_t eq = entry.find('=');
    if (eq == entry.npos) {
      if (plain.empty()) plain = entry;
    } else if (SameName(entry.substr(0, eq), secure ? "https" : "http") && scheme.empty()) {
      scheme = entry.substr(eq + 1);
    }
  }
  const std::string_view chosen = scheme.empty() ? plain : scheme;
  if (chosen.empty() || HasLineBreak(chosen)) return {};
  std::string proxy = "http://" + std::string(chosen);
  if (chosen.find(':') == chosen.npos) proxy += ":80";
  return proxy;
}

}  // namespace morvane::curlwire
